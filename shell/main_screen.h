#pragma once

#include <cstddef>
#include <cstdint>

#include "link/link_shared.h"
#include "shell/settings.h"
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

// What the shell asks of the screens and dialogs that other subsystems provide.
class ShellActions {
 public:
  virtual ~ShellActions() = default;
  // Opens a modal dialog by template number and returns when it closes.
  virtual void OpenDialog(int template_id) = 0;
  // Opens the temperature entry dialog for the two bytes at `offset` (low byte first).
  virtual void OpenTemperatureEntry(std::size_t offset, int max_f, int min_f, int default_f) = 0;
  // Shows the manuals folder; false when the browser cannot be started.
  virtual bool OpenManuals() = 0;
  // Lets the batch drying window set up its timer buttons.
  virtual void UpdateBatchButtons() = 0;
};

// The main screen's rules: which views fill the right half, hiding and restoring the main screen
// around the selection screens, the main window's commands, the M/C button and the view
// selection window. Plain logic; the Qt main window forwards to it.
class MainScreen {
 public:
  MainScreen(link::LinkShared& shared, Settings& settings, WindowHost& windows,
             ShellActions& actions, platform::Prompter& prompter,
             platform::SettingsStore& store);

  void ApplyViewRule();
  void HideMainScreen(int command);
  void RestoreMainScreen();
  void OnCommand(int command);
  // The message loop's three requests from the link thread, in order, after every message.
  void ProcessRequestFlags();

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
