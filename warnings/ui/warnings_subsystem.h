#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <memory>

#include "link/link_shared.h"
#include "platform/paths.h"
#include "platform/prompter.h"
#include "shell/subsystem.h"
#include "shell/view_context.h"
#include "shell/window_table.h"
#include "warnings/shutdown_clock.h"
#include "warnings/shutdown_history_store.h"
#include "warnings/shutdown_recorder.h"
#include "warnings/ui/warning_help.h"

namespace orvandry::platform {
class ChildWindow;
}

namespace orvandry::warnings::ui {

class WarningWindow;
class HistoryDialog;

// The warnings side of the display as a subsystem of the shell: the shutdown history store and
// its recorder, the shutdown help, the warning window, and the history screen (template 197).
// Lives on the UI thread; only PostWarningCodeChanged may be called from another thread.
class WarningsSubsystem final : public QObject, public shell::Subsystem {
  Q_OBJECT

 public:
  static constexpr int kHistoryClearHold = 5;  // seconds EXIT is held before the history clears

  // `clock` defaults to the system's clocks.
  WarningsSubsystem(const platform::Paths& paths, link::LinkShared& shared,
                    platform::Prompter& prompter, std::unique_ptr<ShutdownClock> clock = nullptr);
  ~WarningsSubsystem() override;

  // Start-up, once: creates the history store or checks the existing one. A damaged store is
  // rescued and the operator told how much was kept and where the damaged file went; a store that
  // can only be read, or not opened at all, is reported, since shutdowns will then not be kept.
  StoreResult Start();

  // shell::Subsystem
  void Attach(shell::ShellHost& host) override { host_ = &host; }
  platform::ChildWindow* CreateWindow(const shell::WindowDef& def, QWidget* parent) override;
  void Started() override { Start(); }
  bool OpenDialog(const shell::DialogRequest& request) override {
    return dialogs_.OpenIfOwned(request);
  }
  void OnWarningCode(std::uint8_t node_id, std::uint8_t warning_id) override {
    OnWarningCodeChanged(node_id, warning_id);
  }
  // The history screen's EXIT hold counter.
  void OnSecondTick() override;
  // Closes the help when all is well; animates the door warning's picture; steps the reconnect
  // track with the fast blink.
  void OnTenthTick(const shell::TenthTick& tick) override;

  platform::ChildWindow* CreateWarningWindow(QWidget* parent, const shell::WindowDef& def,
                                             shell::ViewContext& ctx);

  // The live warning code changed (UI thread). Applies the recording rule.
  RecordResult OnWarningCodeChanged(std::uint8_t node_id, std::uint8_t warning_id);
  // The same from any thread (the link thread's intake): queued to the UI thread, in order.
  void PostWarningCodeChanged(std::uint8_t node_id, std::uint8_t warning_id);

  // Opens the shutdown history screen over `parent` and returns when it closes.
  // `exit_hold_countdown` is the EXIT hold counter the 1 s tick keeps (history_clear_hold()).
  void OpenHistory(QWidget* parent, int& exit_hold_countdown);
  int& history_clear_hold() { return history_clear_hold_; }
  // 1 s tick: whether the history screen is open with EXIT held down.
  bool HistoryClearButtonHeld() const;

  // 100 ms tick, no warning and the link alive.
  void CloseWarningHelp() { help_.CloseUnlessFromHistory(); }
  // 100 ms tick while the door warning is live.
  void AdvanceHelpAnimation(int frame) { help_.AdvanceAnimation(frame); }
  // 100 ms tick, every 300 ms (with the repaint of the warning window's strip).
  void RequestReconnectStep();

  ShutdownHistoryStore& store() { return store_; }
  int help_picture_frame() const { return help_picture_frame_; }
  WarningHelp& help() { return help_; }
  WarningWindow* warning_window() const;
  HistoryDialog* history_dialog() const;
  const RecordResult& last_record() const { return last_record_; }

  // How the history screen is run: modally (the default) or, in tests, inspected and closed.
  using HistoryRunner = std::function<void(HistoryDialog&)>;
  void SetHistoryRunner(HistoryRunner runner) { history_runner_ = std::move(runner); }

 private:
  // Tells the operator once that new shutdowns cannot be stored, and why; told again only after
  // the history has taken a record in between.
  void TellIfReadOnly(const StoreResult& result);

  platform::Paths paths_;
  link::LinkShared& shared_;
  platform::Prompter& prompter_;
  std::unique_ptr<ShutdownClock> clock_;
  ShutdownHistoryStore store_;
  ShutdownRecorder recorder_;
  WarningHelp help_;
  QPointer<QWidget> warning_window_;
  QPointer<QWidget> history_;
  HistoryRunner history_runner_;
  RecordResult last_record_;
  shell::ShellHost* host_ = nullptr;
  shell::DialogTable dialogs_;
  int history_clear_hold_ = kHistoryClearHold;
  int help_picture_frame_ = 0;
  bool read_only_told_ = false;
};

}  // namespace orvandry::warnings::ui
