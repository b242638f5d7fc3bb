#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "link/link_shared.h"
#include "platform/clock.h"
#include "shell/animation_phases.h"
#include "shell/settings.h"
#include "shell/window_table.h"

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
  // Appends one long-term record; returns the used space of the file in whole percent (0-100).
  virtual int AppendLongTermRecord(const link::LinkShared& shared,
                                   const platform::LocalDateTime& now) = 0;
  // With long-term logging off only the file is opened; returns its used space in percent.
  virtual int OpenLongTermFile() = 0;
};

// What the ticks ask of the shell. Every call is on the UI thread.
class TickHost {
 public:
  virtual ~TickHost() = default;
  // Brings the window up to date if it is shown: it repaints what changed (windows that cannot
  // tell repaint whole).
  virtual void Repaint(Win win) = 0;
  virtual void SetWarningWindowVisible(bool visible) = 0;
  // Opens a dialog by template number over the given window (the day data logger from the
  // data-log-full question).
  virtual void OpenDialog(int template_id, Win parent) = 0;
  // True while a modal dialog or a question is open: a tick's own question then waits.
  virtual bool ModalOpen() const = 0;
};

// What the 100 ms tick found, for the subsystems that follow it.
struct TenthTick {
  bool warning_shown = false;  // a warning is live or the link is lost: the warning window is up
  bool blink_step = false;     // the fast blink bit was set on this tick (every third tick)
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

// The shell's part of the 1 s and 100 ms ticks: the clock record, the link-alive countdown, the log
// schedule, the warning window's visibility, the dryer picture's animation phases and
// hold-to-repeat. What the subsystems do on a tick they do in their own tick hooks, which the main
// window calls right after these.
class Housekeeping {
 public:
  static constexpr std::uint32_t kLongTermDivider = 12;
  // The graph log takes one sample per 10 seconds of unloading: 360 per hour of graph, 8640 per
  // 24-hour file, as its reader counts them. This is the one place the period is kept.
  static constexpr std::uint32_t kGraphSamplePeriod = 10;  // seconds of unloading per graph sample
  // The long-term log's size question comes once its used space exceeds this many percent.
  static constexpr int kDataLogWarnPercent = 70;
  static constexpr int kRepeatDelayTicks = 5;

  Housekeeping(link::LinkShared& shared, platform::Clock& clock, const Settings& settings,
               TickHost& host, platform::Prompter& prompter, std::uint32_t& blink_word);

  void SetDataLogs(DataLogs* logs) { logs_ = logs; }
  void AddRepeatSource(RepeatSource* source);

  void OneSecondTick();
  TenthTick HundredMsTick();

  bool Unloading() const;

  // Read by the views and dialogs that use them.
  AnimationPhases phases;
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
