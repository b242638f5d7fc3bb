#pragma once

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "shell/housekeeping.h"
#include "shell/main_screen.h"

namespace orvandry::shell::testing {

class FakeWindows : public WindowHost {
 public:
  void SetVisible(Win win, bool visible) override { visible_[win] = visible; }
  // Unset windows count as hidden.
  bool Visible(Win win) const {
    auto it = visible_.find(win);
    return it != visible_.end() && it->second;
  }
  bool Touched(Win win) const { return visible_.count(win) != 0; }

 private:
  std::map<Win, bool> visible_;
};

class FakeActions : public ShellActions {
 public:
  void OpenDialog(int template_id) override { log.push_back("dialog " + std::to_string(template_id)); }
  void OpenTemperatureEntry(std::size_t offset, int max_f, int min_f, int default_f) override {
    log.push_back("entry " + std::to_string(offset) + " " + std::to_string(max_f) + "/" +
                  std::to_string(min_f) + "/" + std::to_string(default_f));
  }
  bool OpenManuals() override {
    log.push_back("manuals");
    return manuals_ok;
  }
  void UpdateBatchButtons() override { ++batch_button_updates; }

  std::vector<std::string> log;
  bool manuals_ok = true;
  int batch_button_updates = 0;
};

class FakeTickHost : public TickHost {
 public:
  void RepaintStatusChart() override { ++status_chart_repaints; }
  void RepaintGraphDrawingArea() override { ++graph_repaints; }
  void RepaintDryerPicture() override { ++dryer_picture_repaints; }
  void RepaintWarningBlinkArea() override { ++warning_blink_repaints; }
  void SetWarningWindowVisible(bool visible) override { warning_visible = visible; }
  void CloseWarningHelp() override { ++help_closes; }
  void AdvanceHelpAnimation(int frame) override { help_frames.push_back(frame); }
  void UpdateOptionalSetupButtons() override { ++setup_button_updates; }
  void RepaintOpenDialogs() override {}
  bool HistoryClearButtonHeld() override { return history_exit_held; }
  void HandleBatchTimerHolds() override { ++batch_hold_checks; }
  void OpenDayDataLogger() override { ++day_logger_opens; }

  int status_chart_repaints = 0, graph_repaints = 0, dryer_picture_repaints = 0;
  int warning_blink_repaints = 0, help_closes = 0, setup_button_updates = 0;
  int batch_hold_checks = 0, day_logger_opens = 0;
  bool warning_visible = false;
  bool history_exit_held = false;
  std::vector<int> help_frames;
};

class FakeLogs : public DataLogs {
 public:
  void MarkShortTermActive(bool unloading) override { active = unloading; }
  void AppendShortTermSample(const link::LinkShared&, const platform::LocalDateTime& now) override {
    short_term.push_back(now);
  }
  void AppendGraphSample(const link::LinkShared&, const platform::LocalDateTime& now) override {
    graph.push_back(now);
  }
  std::uint32_t AppendLongTermRecord(const link::LinkShared&,
                                     const platform::LocalDateTime& now) override {
    long_term.push_back(now);
    return long_term_count_base + static_cast<std::uint32_t>(long_term.size());
  }
  std::uint32_t OpenLongTermFile() override { return ++opens; }

  bool active = false;
  std::vector<platform::LocalDateTime> short_term, graph, long_term;
  std::uint32_t long_term_count_base = 0;
  std::uint32_t opens = 0;
};

}  // namespace orvandry::shell::testing
