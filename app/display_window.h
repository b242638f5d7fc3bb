#pragma once

#include "shell/main_window.h"

namespace orvandry::views {
class BatchDryingWindow;
}
namespace orvandry::warnings::ui {
class WarningsSubsystem;
}

namespace orvandry::app {

// The views the factory created that the window talks to afterwards. A base of DisplayWindow
// listed before the main window, so it exists while the main window creates its children.
struct CreatedViews {
  views::BatchDryingWindow* batch = nullptr;
};

// The main window with every subsystem plugged in: the shell's window and ticks, the views of the
// main screen, and the warnings subsystem. The shell stays free of the subsystems; this is where
// they meet. (No signals of its own, so no Q_OBJECT, which lets CreatedViews come first.)
class DisplayWindow final : private CreatedViews, public shell::MainWindow {
 public:
  DisplayWindow(link::LinkShared& shared, shell::Settings& settings, platform::Prompter& prompter,
                platform::SettingsStore& store, platform::Clock& clock,
                warnings::ui::WarningsSubsystem& warnings);

  // ShellActions
  void OpenDialog(int template_id) override;
  void UpdateBatchButtons() override;
  // TickHost
  void RepaintWarningBlinkArea() override;
  void CloseWarningHelp() override;
  void AdvanceHelpAnimation(int frame) override;
  bool HistoryClearButtonHeld() override;
  void HandleBatchTimerHolds() override;

 private:
  static shell::ViewFactory MakeFactory(CreatedViews& created,
                                        warnings::ui::WarningsSubsystem& warnings);

  warnings::ui::WarningsSubsystem& warnings_;
};

}  // namespace orvandry::app
