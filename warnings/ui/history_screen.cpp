#include "warnings/ui/history_screen.h"

#include "warnings/history_texts.h"
#include "warnings/ui/ui_texts.h"

namespace orvandry::warnings::ui {
namespace {

using platform::Answer;
using platform::Buttons;
using platform::Icon;

}  // namespace

HistoryScreen::HistoryScreen(ShutdownHistoryStore& store, platform::Prompter& prompter,
                             std::filesystem::path usb_dir, HistoryHelp& help,
                             int& exit_hold_countdown)
    : store_(store),
      prompter_(prompter),
      usb_dir_(std::move(usb_dir)),
      help_(help),
      exit_hold_countdown_(exit_hold_countdown) {}

void HistoryScreen::Open() {
  const ShutdownCount counted = store_.CountShutdowns();
  count_ = counted.count;
  texts::TellIfDamaged(prompter_, counted.result);
  Fill(ShutdownOrder::ByTime);
}

void HistoryScreen::SortBy(ShutdownOrder order) {
  Fill(order);
}

void HistoryScreen::Fill(ShutdownOrder order) {
  order_ = order;
  // A store that cannot be read leaves the list empty, or with what was read before it failed.
  const ShutdownReadout readout = store_.ReadShutdowns(order);
  rows_ = BuildHistoryRows(readout.records);
  texts::TellIfDamaged(prompter_, readout.result);
}

bool HistoryScreen::Ticked(int indicator_id) const {
  switch (indicator_id) {
    case kSortedByWarningId:
      return order_ == ShutdownOrder::ByWarning;
    case kSortedByTimeId:
      return order_ == ShutdownOrder::ByTime;
    case kSortedByNodeId:
      return order_ == ShutdownOrder::ByNode;
    default:
      return false;
  }
}

void HistoryScreen::ShowHelpFile(std::optional<std::size_t> selected_row) {
  help_.SetHelpFromHistory(true);
  if (!selected_row || *selected_row >= rows_.size()) {
    prompter_.Ask(history_texts::kNoItemSelectedText, history_texts::kNoItemSelectedCaption,
                  Buttons::kOkCancel, Icon::kInformation);
    return;
  }
  help_.ShowHelp(ParseWarningCode(rows_[*selected_row].shutdown_id));
}

HistoryScreen::ExitAction HistoryScreen::Exit() {
  help_.SetHelpFromHistory(false);
  if (exit_hold_countdown_ != 0) return ExitAction::kClose;
  exit_hold_countdown_ = kExitHoldAfterClear;
  ClearHistory();
  return ExitAction::kStayOpen;
}

void HistoryScreen::ClearHistory() {
  if (prompter_.Ask(history_texts::kClearQuestionText, history_texts::kClearQuestionCaption,
                    Buttons::kYesNo, platform::kExclamation) != Answer::kYes)
    return;
  // A failed clear leaves whatever the store still holds; the refill below shows it as it is.
  store_.ClearShutdownHistory();
  rows_.clear();
  count_ = store_.CountShutdowns().count;
  Fill(ShutdownOrder::ByTime);
}

std::optional<ExportResult> HistoryScreen::CopyToUsb() {
  for (;;) {
    while (!UsbCardPresent(usb_dir_)) {
      if (prompter_.Ask(history_texts::kCardMissingText, history_texts::kCardMissingCaption,
                        Buttons::kRetryCancel, Icon::kError) != Answer::kRetry)
        return std::nullopt;
    }
    if (prompter_.Ask(history_texts::kExportQuestionText, history_texts::kExportQuestionCaption,
                      Buttons::kYesNoCancel, Icon::kInformation) != Answer::kYes)
      return std::nullopt;

    ExportResult result = ExportShutdownHistory(store_, usb_dir_);
    texts::TellIfDamaged(prompter_, result.store);
    switch (result.status) {
      case ExportStatus::kOk:
        // Failures are reported now, so a finished copy says so too: silence must never be the
        // only sign either way.
        if (!result.message.empty())
          prompter_.Ask(result.message, history_texts::kExportQuestionCaption, Buttons::kOk,
                        Icon::kInformation);
        return result;
      case ExportStatus::kCardMissing:
        // Pulled between the check and the copy: the same question as a missing card.
        if (prompter_.Ask(history_texts::kCardMissingText, history_texts::kCardMissingCaption,
                          Buttons::kRetryCancel, Icon::kError) != Answer::kRetry)
          return result;
        continue;
      case ExportStatus::kStoreFailed:
        // The store's own messages have always come without a caption.
        prompter_.Ask(result.message, "", Buttons::kOk, Icon::kNone);
        return result;
      case ExportStatus::kCannotCreate:
      case ExportStatus::kWriteFailed:
        prompter_.Ask(result.message, history_texts::kExportFailedCaption, Buttons::kOk,
                      Icon::kError);
        return result;
    }
    return result;
  }
}

}  // namespace orvandry::warnings::ui
