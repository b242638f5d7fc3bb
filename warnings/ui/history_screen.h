#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <vector>

#include "platform/prompter.h"
#include "warnings/history_export.h"
#include "warnings/history_rows.h"
#include "warnings/shutdown_history_store.h"
#include "warnings/warning_code.h"

namespace orvandry::warnings::ui {

// What the history screen needs of the shutdown help.
class HistoryHelp {
 public:
  virtual ~HistoryHelp() = default;
  virtual void SetHelpFromHistory(bool on) = 0;
  // Opens the help for `code` over the history screen and returns when it closes.
  virtual void ShowHelp(WarningCode code) = 0;
};

// The rules of the shutdown history screen, one method per control; the dialog is their skin.
//
// The list is rebuilt from the store on opening, on every sort button and after a clear, with each
// record read going in at the top: in time order the newest shutdown is the first row.
//
// EXIT doubles as the hidden clear: the shell's 1 s tick counts `exit_hold_countdown` down while
// EXIT is held and puts it back to kExitHoldSeconds while it is not; an EXIT that finds it at 0
// was held for that long and asks to clear instead of closing.
class HistoryScreen {
 public:
  static constexpr int kListId = 1105;
  static constexpr int kSortByWarningId = 1109;
  static constexpr int kSortByTimeId = 1111;
  static constexpr int kSortByNodeId = 1112;
  static constexpr int kSortedByWarningId = 1045;
  static constexpr int kSortedByTimeId = 1046;
  static constexpr int kSortedByNodeId = 1047;
  static constexpr int kShowHelpId = 1113;
  static constexpr int kCopyToUsbId = 1110;
  static constexpr int kExitId = 1107;
  static constexpr int kClearHistoryId = 1108;

  static constexpr int kExitHoldSeconds = 5;
  // After a long press the countdown is parked above its start, so the release that follows the
  // clear question cannot count as another long press.
  static constexpr int kExitHoldAfterClear = 10;

  enum class ExitAction { kClose, kStayOpen };

  HistoryScreen(ShutdownHistoryStore& store, platform::Prompter& prompter,
                std::filesystem::path usb_dir, HistoryHelp& help, int& exit_hold_countdown);

  // Counts the records and fills the list newest first.
  void Open();
  // The three sort buttons.
  void SortBy(ShutdownOrder order);
  // "Show Help File" with the selected row, if any.
  void ShowHelpFile(std::optional<std::size_t> selected_row);
  // EXIT released.
  ExitAction Exit();
  // CLEAR HISTORY: asks first; only Yes clears.
  void ClearHistory();
  // COPY TO USB FLASH CARD: the card check, the question, the copy and its outcome. Returns the
  // copy's result, or nothing when the operator stopped before it.
  std::optional<ExportResult> CopyToUsb();

  const std::vector<HistoryRow>& rows() const { return rows_; }
  ShutdownOrder order() const { return order_; }
  // Whether one of the three "Sorted by" indicators is ticked.
  bool Ticked(int indicator_id) const;
  // The count read on opening and after a clear.
  std::size_t count() const { return count_; }

 private:
  void Fill(ShutdownOrder order);

  ShutdownHistoryStore& store_;
  platform::Prompter& prompter_;
  std::filesystem::path usb_dir_;
  HistoryHelp& help_;
  int& exit_hold_countdown_;
  std::vector<HistoryRow> rows_;
  ShutdownOrder order_ = ShutdownOrder::ByTime;
  std::size_t count_ = 0;
};

}  // namespace orvandry::warnings::ui
