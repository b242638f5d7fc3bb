#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "link/link_shared.h"
#include "shell/settings.h"
#include "shell/subsystem.h"
#include "shell/window_table.h"

namespace orvandry::platform {
class Prompter;
class SettingsStore;
}  // namespace orvandry::platform

namespace orvandry::shell {

// Shows and hides the windows of the main screen.
class WindowHost {
 public:
  virtual ~WindowHost() = default;
  virtual void SetVisible(Win win, bool visible) = 0;
};

// What the main screen's rules ask of the main window.
class ShellActions {
 public:
  virtual ~ShellActions() = default;
  // Opens a modal dialog through the subsystem that owns its template; returns when it closes.
  // False when no subsystem owns the template.
  virtual bool OpenDialog(const DialogRequest& request) = 0;
  // Shows the manuals folder; false when the browser cannot be started.
  virtual bool OpenManuals() = 0;
  // Step 2 of the view rule: the subsystems set up what depends on the drying mode (the batch
  // drying window its timer buttons) before the right half is shown.
  virtual void ViewRuleApplying() = 0;
  // True while a modal dialog or a question is open.
  virtual bool ModalOpen() const = 0;
};

// The main screen's rules: which views fill the right half, hiding and restoring the main screen
// around the selection screens, the main window's commands, the M/C button and the view
// selection window. Plain logic; the Qt main window forwards to it.
class MainScreen {
 public:
  MainScreen(link::LinkShared& shared, Settings& settings, WindowHost& windows,
             ShellActions& actions, platform::Prompter& prompter, platform::SettingsStore& store);

  void ApplyViewRule();
  void HideMainScreen(int command);
  void RestoreMainScreen();
  void OnCommand(int command);
  // The message loop's three requests from the link thread, in order. They wait while a modal
  // dialog or a question is open and are taken once the loop is back at the main level; a request
  // raised again meanwhile is still one request (a flag, not a queue). Returns the commands taken.
  std::vector<int> ProcessRequestFlags();

  bool McButtonGreyed() const { return shared_.mc_lockout.load(std::memory_order_relaxed) != 0; }

  // The editing limits of the setpoint entries the M/C button starts.
  static constexpr int kMcEntryMax = 160;
  static constexpr int kMcEntryMin = 50;
  static constexpr int kMcEntryDefault = 105;

 private:
  void McButton();
  void MeteringSpeedRequest();
  void SelectView(bool graph);
  bool LearningPeriodBlocks();
  std::uint8_t State(std::size_t offset) const { return shared_.dryer_state.Get(offset); }

  link::LinkShared& shared_;
  Settings& settings_;
  WindowHost& windows_;
  ShellActions& actions_;
  platform::Prompter& prompter_;
  platform::SettingsStore& store_;
};

}  // namespace orvandry::shell
