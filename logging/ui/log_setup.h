#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

#include "link/setting_edit.h"
#include "logging/long_term_log.h"

namespace orvandry::platform {
class Clock;
class Prompter;
}  // namespace orvandry::platform

namespace orvandry::logging::ui {

// The short-term log's interval dialog (template 245).
namespace sample_time_id {
inline constexpr int kTemplate = 245;
inline constexpr std::array<int, 4> kButtons = {1223, 1225, 1227, 1229};
inline constexpr std::array<int, 4> kBoxes = {1222, 1224, 1226, 1228};
inline constexpr std::array<int, 4> kMinutes = {1, 5, 10, 15};
inline constexpr int kAccept = 1189;
inline constexpr int kClearTable = 1190;
}  // namespace sample_time_id

inline constexpr const char* kSampleTimeCaption = "Select Data Log Sample Time - 35";
inline constexpr const char* kClearTableText = "Are you sure you want to clear table?";
inline constexpr const char* kClearTableCaption = "DELETE SHORT TERM DATA-LOG FILES!";

// What the interval dialog does. The buttons only choose; ACCEPT puts the choice in force, and
// CLEAR TABLE (which also closes the dialog) leaves the interval as it was.
class SampleTimeSetup {
 public:
  enum class Outcome { kKeepOpen, kAccepted, kClosed };

  // `in_force` is the interval the log samples at; one the dialog does not offer shows as 5.
  explicit SampleTimeSetup(int in_force);

  int Minutes() const { return minutes_; }
  // The tick box of the chosen interval.
  int TickedBox() const;

  // `clear_log` deletes the short-term log's files (and repaints the chart).
  Outcome Press(int control_id, platform::Prompter& prompter,
                const std::function<void()>& clear_log);

 private:
  int minutes_;
};

// The day data logger dialog (template 258).
namespace day_logger_id {
inline constexpr int kTemplate = 258;
inline constexpr int kOn = 2;
inline constexpr int kOff = 3;
inline constexpr int kDelete = 4;
inline constexpr int kExport = 5;
inline constexpr int kExit = 1219;
inline constexpr int kOnIndicator = 1262;
inline constexpr int kOffIndicator = 1046;
inline constexpr int kUsedSpace = 1263;
}  // namespace day_logger_id

inline constexpr const char* kDayLoggerCaption = "DAY DATA LOGGER SETUP - 19";
inline constexpr const char* kDeleteLogText = "Delete data log file?";
inline constexpr const char* kDeleteCaption = "DELETE?";
inline constexpr const char* kCardMissingText = "Please instert flash card into USB port.";
inline constexpr const char* kCardMissingCaption = "USB FLASH CARD NOT PRESENT";
inline constexpr const char* kCopyQuestionFormat =
    "Copy dryer data log file to usb flash drive as %s.";
inline constexpr const char* kCopyCaption = "DATA LOG FILE TO USB FLASH CARD";
inline constexpr const char* kCopiedCaption =
    "Successfully copied following file to USB Flash Drive.";
inline constexpr const char* kDeleteAfterCopyText = "Copy successful.  Delete old data log file?";
inline constexpr const char* kCopyFailedText = "Could not copy file to flashdrive.";
inline constexpr const char* kCopyFailedCaption = "FAILED TO COPY";

// What the day data logger dialog does: logging on and off (the dryer's setting, through a
// PendingWrite), the used space, delete and the export to the USB card.
class DayLoggerSetup {
 public:
  enum class Outcome { kKeepOpen, kClosed };

  DayLoggerSetup(link::LinkShared& shared, LongTermLog& log, platform::Prompter& prompter,
                 platform::Clock& clock, std::filesystem::path usb_dir);

  // As the dryer reports it: the indicators follow the controller, not the press.
  bool LoggingOn() const;
  std::string UsedSpaceText() const;  // "37 %"

  Outcome Press(int control_id);

  // The export as button 5 runs it; the name written on the card, empty when nothing was.
  std::string Export();

 private:
  void SetLogging(bool on);

  link::LinkShared& shared_;
  link::SettingEdit edit_;
  LongTermLog& log_;
  platform::Prompter& prompter_;
  platform::Clock& clock_;
  std::filesystem::path usb_dir_;
};

}  // namespace orvandry::logging::ui
