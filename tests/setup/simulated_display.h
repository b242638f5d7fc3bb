#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <tuple>

#include "link/link_cycle.h"
#include "link/status_intake.h"
#include "platform/clock.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "shell/main_window.h"
#include "shell/settings.h"
#include "sim/controller_core.h"
#include "simulated_line.h"

namespace orvandry::setup::testing {

// The display's main window with the given subsystems, its link cycling in virtual time over a
// simulated line to the simulated controller. A fixture derives from it next to ::testing::Test.
template <class... Subsystems>
class SimulatedDisplay {
 protected:
  explicit SimulatedDisplay(sim::Scenario scenario = {}) : core{5, std::move(scenario)} {}

  // One 350 ms link cycle, its intake delivered and the events it posted handled.
  void Cycle() {
    now += 0.35;
    cycle.RunOnce();
    window.DeliverIntake();
    QApplication::processEvents();
  }
  // Runs `inside` on the dialog of this type once it is the open modal one, then closes it.
  template <class Dialog>
  static void WhenOpen(const std::function<void(Dialog&)>& inside) {
    QTimer::singleShot(0, [inside] {
      auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      inside(*dialog);
      if (dialog->isVisible()) dialog->reject();
    });
  }
  // Opens the template through the shell and runs `inside` on the dialog while it is open.
  template <class Dialog>
  void WhileOpen(int template_id, const std::function<void(Dialog&)>& inside) {
    bool opened = false;
    WhenOpen<Dialog>([&](Dialog& dialog) {
      opened = true;
      inside(dialog);
    });
    ASSERT_TRUE(window.OpenDialog({.template_id = template_id}));
    EXPECT_TRUE(opened) << template_id;
  }
  std::uint8_t& Controller(std::size_t offset) { return core.model().table()[offset]; }

  link::LinkShared shared;
  shell::Settings settings;
  platform::ScriptedPrompter prompter;
  platform::MemorySettingsStore store;
  platform::FakeClock clock;
  std::tuple<Subsystems...> subsystems;
  shell::MainWindow window{shared, settings, prompter,
                           store,  clock,    {&std::get<Subsystems>(subsystems)...}};
  link::StatusIntake intake{shared, &window};
  sim::ControllerCore core;
  double now = 0;
  SimulatedLine line{core, now};
  link::LinkCycle cycle{shared, line, intake};
};

}  // namespace orvandry::setup::testing
