#pragma once

#include <QTimer>
#include <QWidget>
#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "link/link_shared.h"
#include "link/poll_tick.h"
#include "link/status_intake.h"
#include "shell/housekeeping.h"
#include "shell/main_screen.h"
#include "shell/subsystem.h"
#include "shell/view_context.h"
#include "shell/window_table.h"

namespace orvandry::platform {
class ChildWindow;
class PictureButton;
class Clock;
}  // namespace orvandry::platform

namespace orvandry::shell {

// The display's one top-level window, 640 x 480: every child window of the main screen, the
// button bar, the three ticks, and the bridge that brings the link thread's results to the UI
// thread. The rules live in MainScreen and Housekeeping; the subsystems plug in through the
// Subsystem seam (their windows, dialogs and events); this is the Qt skin that dispatches.
class MainWindow : public QWidget,
                   public WindowHost,
                   public ShellActions,
                   public TickHost,
                   public ShellHost,
                   public link::IntakeListener {
  Q_OBJECT

 public:
  // The subsystems, in the order they are asked for windows and dialogs and told of events; they
  // must outlive the window.
  MainWindow(link::LinkShared& shared, Settings& settings, platform::Prompter& prompter,
             platform::SettingsStore& store, platform::Clock& clock,
             std::vector<Subsystem*> subsystems = {});
  ~MainWindow() override;

  // Starts the three timers (poll 175 ms, 1 s, 100 ms), then tells the subsystems they have
  // started. `signal_poll` starts one link transaction; it is empty while there is no link.
  void Start(std::function<void()> signal_poll);

  void SetManualsFolder(const QString& folder) { manuals_folder_ = folder; }

  platform::PictureButton* BarButton(int command) const;
  MainScreen& screen() { return *screen_; }
  Housekeeping& housekeeping() { return *housekeeping_; }
  link::PollTicker& poll_ticker() { return poll_ticker_; }
  int paints() const { return paints_; }

  // The ticks, callable directly by tests.
  void PollTick();
  void OneSecondTick();
  void HundredMsTick();
  // Takes in what the link thread delivered (runs on the UI thread).
  void DeliverIntake();
  // The warning codes the link thread reported, in order (runs on the UI thread).
  void DeliverWarningCodes();

  // ShellHost (and WindowHost)
  ViewContext& Context() override { return *context_; }
  QWidget* MainWidget() override { return this; }
  platform::ChildWindow* Window(Win win) const override;
  void SetVisible(Win win, bool visible) override;
  void Repaint(Win win) override;
  bool OpenDialog(const DialogRequest& request) override;
  void ApplyViewRule() override { screen_->ApplyViewRule(); }
  void RestoreMainScreen() override { screen_->RestoreMainScreen(); }
  void AddRepeatSource(RepeatSource* source) override { housekeeping_->AddRepeatSource(source); }
  void SetDataLogs(DataLogs* logs) override { housekeeping_->SetDataLogs(logs); }
  bool SetSampleMinutes(std::uint8_t minutes) override;
  bool ModalOpen() const override;
  void RequestSetupRepaint() override { poll_ticker_.RequestSetupRepaint(); }
  // ShellActions
  bool OpenManuals() override;
  void ViewRuleApplying() override;
  // TickHost
  void SetWarningWindowVisible(bool visible) override;
  void OpenDialog(int template_id, Win parent) override;
  // IntakeListener (link thread)
  void OnWarningCodeChanged(std::uint8_t node_id, std::uint8_t warning_id) override;
  void OnIntakeFinished(const link::IntakeResult& result) override;

  // Repaints what one frame changed.
  void RepaintViews(const link::RepaintSet& repaints);

 signals:
  void Painted();

 protected:
  void paintEvent(QPaintEvent* event) override;
  // Nothing closes the display: not Alt+F4, not a window manager's close button. (So Qt's quit(),
  // which asks the windows first, does not end the program either; measurements and tests end it
  // with QCoreApplication::exit().)
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateChildren();
  void UpdateMcFace();
  void TakeControllerRequests();
  void KeepSelectionScreensOnTop();

  link::LinkShared& shared_;
  Settings& settings_;
  platform::Prompter& prompter_;
  platform::SettingsStore& store_;
  std::vector<Subsystem*> subsystems_;
  std::array<platform::ChildWindow*, static_cast<std::size_t>(Win::kCount)> windows_{};
  std::array<platform::PictureButton*, 5> bar_buttons_{};
  std::unique_ptr<MainScreen> screen_;
  std::unique_ptr<Housekeeping> housekeeping_;
  link::PollTicker poll_ticker_;
  std::unique_ptr<ViewContext> context_;
  std::function<void()> signal_poll_;
  QTimer poll_timer_, second_timer_, tenth_timer_;
  QString manuals_folder_;
  bool mc_greyed_ = false;
  int paints_ = 0;
  int open_dialogs_ = 0;  // dialogs opened through OpenDialog that have not returned yet

  // Filled on the link thread, emptied on the UI thread; one queued call per batch of frames.
  std::mutex intake_mutex_;
  link::IntakeResult pending_intake_;
  bool intake_posted_ = false;
  std::vector<std::pair<std::uint8_t, std::uint8_t>> pending_codes_;  // node, warning
  bool codes_posted_ = false;
};

}  // namespace orvandry::shell
