#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>

#include "link/link_shared.h"
#include "link/poll_tick.h"
#include "link/status_intake.h"
#include "shell/housekeeping.h"
#include "shell/main_screen.h"
#include "shell/window_table.h"
#include "views/view_context.h"

namespace orvandry::platform {
class ChildWindow;
class PictureButton;
class Clock;
}  // namespace orvandry::platform

namespace orvandry::shell {

// Creates the view for one child window; null leaves the plain window of the table (background
// only) in its place. Subsystems plug their views in through this.
using ViewFactory = std::function<platform::ChildWindow*(const WindowDef& def, QWidget* parent,
                                                         views::ViewContext& context)>;

// The display's one top-level window, 640 x 480: every child window of the main screen, the
// button bar, the three ticks, and the bridge that brings the link thread's results to the UI
// thread. The rules live in MainScreen and Housekeeping; this is their Qt skin.
class MainWindow : public QWidget,
                   public WindowHost,
                   public ShellActions,
                   public TickHost,
                   public link::IntakeListener {
  Q_OBJECT

 public:
  MainWindow(link::LinkShared& shared, Settings& settings, platform::Prompter& prompter,
             platform::SettingsStore& store, platform::Clock& clock,
             const ViewFactory& factory = {});

  views::ViewContext& view_context() { return *context_; }
  ~MainWindow() override;

  // Starts the three timers (poll 175 ms, 1 s, 100 ms). `signal_poll` starts one link
  // transaction; it is empty while there is no link.
  void StartTimers(std::function<void()> signal_poll);

  // Hooks for the warnings subsystem: called on the link thread / on the UI thread.
  void SetWarningCodeHook(std::function<void(std::uint8_t, std::uint8_t)> hook) {
    warning_hook_ = std::move(hook);
  }

  void SetManualsFolder(const QString& folder) { manuals_folder_ = folder; }

  platform::ChildWindow* Window(Win win) const;
  platform::PictureButton* BarButton(int command) const;
  MainScreen& screen() { return *screen_; }
  Housekeeping& housekeeping() { return *housekeeping_; }
  link::PollTicker& poll_ticker() { return poll_ticker_; }
  int paints() const { return paints_; }

  // The ticks, callable directly by tests.
  void PollTick();
  void OneSecondTick() { housekeeping_->OneSecondTick(); }
  void HundredMsTick() { housekeeping_->HundredMsTick(); }
  // Takes in what the link thread delivered (runs on the UI thread).
  void DeliverIntake();

  // WindowHost
  void SetVisible(Win win, bool visible) override;
  // ShellActions
  void OpenDialog(int template_id) override;
  void OpenTemperatureEntry(std::size_t offset, int max_f, int min_f, int default_f) override;
  bool OpenManuals() override;
  void UpdateBatchButtons() override {}
  // TickHost
  void RepaintStatusChart() override;
  void RepaintGraphDrawingArea() override;
  void RepaintDryerPicture() override;
  void RepaintWarningBlinkArea() override;
  void SetWarningWindowVisible(bool visible) override;
  void CloseWarningHelp() override {}
  void AdvanceHelpAnimation(int) override {}
  void UpdateOptionalSetupButtons() override {}
  void RepaintOpenDialogs() override {}
  bool HistoryClearButtonHeld() override { return false; }
  void HandleBatchTimerHolds() override {}
  void OpenDayDataLogger() override {}
  // IntakeListener (link thread)
  void OnWarningCodeChanged(std::uint8_t node_id, std::uint8_t warning_id) override;
  void OnIntakeFinished(const link::IntakeResult& result) override;

  // Repaints what one frame changed.
  void Repaint(const link::RepaintSet& repaints);

 signals:
  void Painted();

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void CreateChildren(const ViewFactory& factory);
  void UpdateMcFace();
  void Update(Win win);

  link::LinkShared& shared_;
  Settings& settings_;
  platform::Prompter& prompter_;
  std::array<platform::ChildWindow*, static_cast<std::size_t>(Win::kCount)> windows_{};
  std::array<platform::PictureButton*, 5> bar_buttons_{};
  std::unique_ptr<MainScreen> screen_;
  std::unique_ptr<Housekeeping> housekeeping_;
  link::PollTicker poll_ticker_;
  std::unique_ptr<views::ViewContext> context_;
  std::function<void()> signal_poll_;
  std::function<void(std::uint8_t, std::uint8_t)> warning_hook_;
  QTimer poll_timer_, second_timer_, tenth_timer_;
  QString manuals_folder_;
  bool mc_greyed_ = false;
  int paints_ = 0;

  // Filled on the link thread, emptied on the UI thread; one queued call per batch of frames.
  std::mutex intake_mutex_;
  link::IntakeResult pending_intake_;
  bool intake_posted_ = false;
};

}  // namespace orvandry::shell
