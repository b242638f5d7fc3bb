#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "link/link_shared.h"
#include "platform/clock.h"
#include "shell/settings.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::shell {

// The data logs as the 1 s tick drives them. The logging subsystem fills this in; until it does,
// the shell runs without one.
class DataLogs {
 public:
  virtual ~DataLogs() = default;
  virtual void MarkShortTermActive(bool unloading) = 0;
  virtual void AppendShortTermSample(const link::LinkShared& shared,
                                     const platform::LocalDateTime& now) = 0;
  virtual void AppendGraphSample(const link::LinkShared& shared,
                                 const platform::LocalDateTime& now) = 0;
  // Appends one long-term record; returns the number of records in the file.
  virtual std::uint32_t AppendLongTermRecord(const link::LinkShared& shared,
                                             const platform::LocalDateTime& now) = 0;
  // With long-term logging off only the file is opened (created if need be); returns its count.
  virtual std::uint32_t OpenLongTermFile() = 0;
};

// What the ticks ask of the windows. Every call is on the UI thread.
class TickHost {
 public:
  virtual ~TickHost() = default;
  virtual void RepaintStatusChart() = 0;
  virtual void RepaintGraphDrawingArea() = 0;
  virtual void RepaintDryerPicture() = 0;
  virtual void RepaintWarningBlinkArea() = 0;
  virtual void SetWarningWindowVisible(bool visible) = 0;
  // Closes the shutdown help dialog unless the shutdown history opened it.
  virtual void CloseWarningHelp() = 0;
  virtual void AdvanceHelpAnimation(int frame) = 0;
  virtual void UpdateOptionalSetupButtons() = 0;
  virtual void RepaintOpenDialogs() = 0;  // system information, day data logger
  virtual bool HistoryClearButtonHeld() = 0;
  virtual void HandleBatchTimerHolds() = 0;
  virtual void OpenDayDataLogger() = 0;
};

// A dialog whose up/down buttons repeat while held.
class RepeatSource {
 public:
  virtual ~RepeatSource() = default;
  virtual bool IsOpen() const = 0;
  // The first held repeatable button in priority order, or 0 when none is held.
  virtual int HeldButton() const = 0;
  virtual void SendRepeat(int command) = 0;
};

// The 1 s and 100 ms ticks: the clock record, the link-alive countdown, the log schedule, long
// presses, the warning window's visibility, the dryer picture's animation phases and
// hold-to-repeat.
class Housekeeping {
 public:
  static constexpr std::uint32_t kLongTermDivider = 12;
  static constexpr std::uint32_t kGraphSamplePeriod = 10;  // seconds of unloading per graph sample
  static constexpr std::uint32_t kDataLogWarnRecords = 70;
  static constexpr int kRepeatDelayTicks = 5;
  static constexpr int kHistoryClearHold = 5;

  Housekeeping(link::LinkShared& shared, platform::Clock& clock, const Settings& settings,
               TickHost& host, platform::Prompter& prompter, std::uint32_t& blink_word);

  void SetDataLogs(DataLogs* logs) { logs_ = logs; }
  void AddRepeatSource(RepeatSource* source);

  void OneSecondTick();
  void HundredMsTick();

  bool Unloading() const;

  // Read by the views and dialogs that use them.
  std::uint32_t status_chart_countdown = 0;
  int history_clear_hold = kHistoryClearHold;
  std::array<std::uint8_t, 6> fan_phase{};  // fan/heater k at k - 1
  std::uint8_t loading_phase = 0;
  std::uint8_t unloading_fast_phase = 0;
  std::uint8_t unloading_slow_phase = 0;
  std::uint8_t direction_phase_a = 0;
  std::uint8_t direction_phase_b = 0;
  std::uint8_t warning_picture_frame = 0;
  std::uint32_t short_term_countdown = 0;
  std::uint32_t graph_countdown = kGraphSamplePeriod;

 private:
  void LongTermLog(const platform::LocalDateTime& now);

  link::LinkShared& shared_;
  platform::Clock& clock_;
  const Settings& settings_;
  TickHost& host_;
  platform::Prompter& prompter_;
  std::uint32_t& blink_word_;
  DataLogs* logs_ = nullptr;
  std::vector<std::pair<RepeatSource*, int>> repeat_sources_;  // with their delays

  std::uint32_t long_term_divider_ = kLongTermDivider;
  bool data_log_warning_given_ = false;
  int blink_divider_ = 0;
  int slow_unload_divider_ = 0;
  int direction_divider_ = 0;
};

}  // namespace orvandry::shell
