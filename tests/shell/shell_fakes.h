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
  bool OpenDialog(const DialogRequest& r) override {
    if (r.template_id == dialog::kTemperatureEntry)
      log.push_back("entry " + std::to_string(r.offset) + " " + std::to_string(r.max) + "/" +
                    std::to_string(r.min) + "/" + std::to_string(r.fallback));
    else
      log.push_back("dialog " + std::to_string(r.template_id));
    return true;
  }
  bool OpenManuals() override {
    log.push_back("manuals");
    return manuals_ok;
  }
  void ViewRuleApplying() override { ++batch_button_updates; }
  bool ModalOpen() const override { return modal_open; }

  std::vector<std::string> log;
  bool manuals_ok = true;
  bool modal_open = false;
  int batch_button_updates = 0;
};

class FakeTickHost : public TickHost {
 public:
  void Repaint(Win win) override { ++repaints[win]; }
  void SetWarningWindowVisible(bool visible) override { warning_visible = visible; }
  void OpenDialog(int template_id, Win parent) override {
    dialogs.push_back({template_id, parent});
  }

  bool ModalOpen() const override { return modal_open; }

  std::map<Win, int> repaints;
  bool modal_open = false;
  bool warning_visible = false;
  std::vector<std::pair<int, Win>> dialogs;
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
  int AppendLongTermRecord(const link::LinkShared&, const platform::LocalDateTime& now) override {
    long_term.push_back(now);
    return long_term_used;
  }
  int OpenLongTermFile() override {
    ++opens;
    return long_term_used;
  }

  bool active = false;
  std::vector<platform::LocalDateTime> short_term, graph, long_term;
  int long_term_used = 0;  // percent
  std::uint32_t opens = 0;
};

}  // namespace orvandry::shell::testing
