#include "logging/ui/log_setup.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

#include "link/status_map.h"
#include "logging/card_copy.h"
#include "logging/log_csv.h"
#include "platform/clock.h"
#include "platform/prompter.h"

namespace orvandry::logging::ui {

namespace {

template <std::size_t N>
int IndexOf(const std::array<int, N>& values, int value) {
  for (std::size_t i = 0; i < N; ++i)
    if (values[i] == value) return static_cast<int>(i);
  return -1;
}

}  // namespace

SampleTimeSetup::SampleTimeSetup(int in_force)
    : minutes_(IndexOf(sample_time_id::kMinutes, in_force) >= 0 ? in_force : 5) {}

int SampleTimeSetup::TickedBox() const {
  return sample_time_id::kBoxes[static_cast<std::size_t>(
      IndexOf(sample_time_id::kMinutes, minutes_))];
}

SampleTimeSetup::Outcome SampleTimeSetup::Press(int control_id, platform::Prompter& prompter,
                                                const std::function<void()>& clear_log) {
  if (const int i = IndexOf(sample_time_id::kButtons, control_id); i >= 0) {
    minutes_ = sample_time_id::kMinutes[static_cast<std::size_t>(i)];
    return Outcome::kKeepOpen;
  }
  if (control_id == sample_time_id::kAccept) return Outcome::kAccepted;
  if (control_id == sample_time_id::kClearTable) {
    if (prompter.Ask(kClearTableText, kClearTableCaption, platform::Buttons::kYesNo,
                     platform::kExclamation) == platform::Answer::kYes)
      clear_log();
    return Outcome::kClosed;
  }
  return Outcome::kKeepOpen;
}

DayLoggerSetup::DayLoggerSetup(link::LinkShared& shared, LongTermLog& log,
                               platform::Prompter& prompter, platform::Clock& clock,
                               std::filesystem::path usb_dir)
    : shared_(shared),
      edit_(shared),
      log_(log),
      prompter_(prompter),
      clock_(clock),
      usb_dir_(std::move(usb_dir)) {
  edit_.Load(link::Rec::kDataLogger);
}

bool DayLoggerSetup::LoggingOn() const {
  return (shared_.dryer_state.Get(link::status_map::kDataLoggerSetting) & 0x01) != 0;
}

std::string DayLoggerSetup::UsedSpaceText() const {
  return std::to_string(log_.UsedPercent()) + " %";
}

void DayLoggerSetup::SetLogging(bool on) {
  const std::uint8_t byte = edit_.Get(link::status_map::kDataLoggerSetting);
  edit_.Set(link::status_map::kDataLoggerSetting,
            static_cast<std::uint8_t>(on ? (byte | 0x01) : (byte & ~0x01)));
  // Before the first StatusFrame nothing can be sent: the indicators keep showing the dryer's.
  if (edit_.Commit(link::Rec::kDataLogger) == link::CommitResult::kNotConnected)
    edit_.Load(link::Rec::kDataLogger);
}

DayLoggerSetup::Outcome DayLoggerSetup::Press(int control_id) {
  namespace id = day_logger_id;
  switch (control_id) {
    case id::kOn:
      SetLogging(true);
      break;
    case id::kOff:
      SetLogging(false);
      break;
    case id::kDelete:
      if (prompter_.Ask(kDeleteLogText, kDeleteCaption, platform::Buttons::kYesNo,
                        platform::Icon::kQuestion) == platform::Answer::kYes)
        log_.Delete();
      break;
    case id::kExport:
      Export();
      break;
    case id::kExit:
      return Outcome::kClosed;
    default:
      break;
  }
  return Outcome::kKeepOpen;
}

std::string DayLoggerSetup::Export() {
  std::error_code error;
  while (!std::filesystem::is_directory(usb_dir_, error)) {
    if (prompter_.Ask(kCardMissingText, kCardMissingCaption, platform::Buttons::kRetryCancel,
                      platform::Icon::kError) != platform::Answer::kRetry)
      return {};
  }
  // The question names the file that will be written.
  const std::string name = ExportFileName(clock_.Now());
  char question[160];
  std::snprintf(question, sizeof question, kCopyQuestionFormat, name.c_str());
  if (prompter_.Ask(question, kCopyCaption, platform::Buttons::kYesNoCancel,
                    platform::Icon::kInformation) != platform::Answer::kYes)
    return {};

  // Nothing is added to the log from the start of the copy until the delete question is answered:
  // a delete can then only remove what was copied.
  log_.Hold();
  const CopyResult copy = CopyToCard(log_.Path(), usb_dir_, name);
  if (!copy.ok) {
    log_.Release();
    prompter_.Ask(std::string(kCopyFailedText) + "\n(" + std::strerror(copy.error) + ")",
                  kCopyFailedCaption, platform::Buttons::kOk, platform::Icon::kError);
    return {};
  }
  // The same records as a spreadsheet's CSV beside the copy. The copy itself is complete, so a CSV
  // that cannot be written is told and the export goes on.
  const std::string csv_name = CsvNameFor(name);
  const std::optional<std::string> csv =
      LongTermCsv(log_.Path(), shared_.si_units.load(std::memory_order_relaxed) != 0);
  const CopyResult csv_copy =
      csv ? WriteTextToCard(*csv, usb_dir_, csv_name) : CopyResult{false, EIO};
  if (!csv_copy.ok)
    prompter_.Ask(std::string(kCopyFailedText) + "\n(" + csv_name + ": " +
                      std::strerror(csv_copy.error) + ")",
                  kCopyFailedCaption, platform::Buttons::kOk, platform::Icon::kError);
  prompter_.Ask(name, kCopiedCaption, platform::Buttons::kOk, platform::Icon::kInformation);
  if (prompter_.Ask(kDeleteAfterCopyText, kDeleteCaption, platform::Buttons::kYesNo,
                    platform::Icon::kQuestion) == platform::Answer::kYes)
    log_.Delete();
  log_.Release();
  return name;
}

}  // namespace orvandry::logging::ui
