#include "shell/main_window.h"

#include <QDesktopServices>
#include <QDir>
#include <QPainter>
#include <QUrl>

#include "link/status_map.h"
#include "platform/child_window.h"
#include "platform/clock.h"
#include "platform/colour.h"
#include "platform/picture_button.h"
#include "platform/window_frame.h"
#include "shell/view_selection_window.h"

namespace orvandry::shell {
namespace {

constexpr int kPollTickMs = 175;
constexpr int kSecondTickMs = 1000;
constexpr int kTenthTickMs = 100;

std::size_t At(Win win) { return static_cast<std::size_t>(win); }

unsigned FrameFlagsFor(Frame frame) {
  switch (frame) {
    case Frame::kTitleBar:
      return platform::kCaptionBar | platform::kSunkenEdge;
    case Frame::kSelectionScreen:
      return platform::kDialogFrame | platform::kCaptionBar | platform::kSunkenEdge;
    case Frame::kNone:
      break;
  }
  return platform::kSunkenEdge;
}

// Which window shows each view the intake can name. Views inside dialogs repaint through the
// dialogs themselves when they are open.
Win WindowOf(link::ViewId view, bool& found) {
  using link::ViewId;
  found = true;
  switch (view) {
    case ViewId::kRightStatusBar: return Win::kRightStatusBar;
    case ViewId::kLeftStatusBar: return Win::kLeftStatusBar;
    case ViewId::kPlenumPanel:
    case ViewId::kPlenumPanelArea: return Win::kPlenumPanel;
    case ViewId::kBatchDryingWindow: return Win::kBatchDrying;
    case ViewId::kDryerPicture: return Win::kDryerPic;
    case ViewId::kUnloadStatusWindow:
    case ViewId::kUnloadStatusRpmArea:
    case ViewId::kUnloadStatusChild: return Win::kUnloadStatus;
    case ViewId::kStatusChart: return Win::kStatusChart;
    case ViewId::kWarningWindow: return Win::kWarning;
    case ViewId::kHardwareSetupSelect:
    case ViewId::kSetupSelect: return Win::kSetupSelect;
    case ViewId::kOutOfGrainPanel:
    case ViewId::kLoadStartupDelayPanel:
    case ViewId::kUnloadCleanoutDelayPanel:
    case ViewId::kFanPanel: return Win::kTimerSelect;
    case ViewId::kPlenumSetpointPanel:
    case ViewId::kGrainSetpointPanel: return Win::kTempSelect;
    case ViewId::kLineGraphWindow:
    case ViewId::kLineGraphSetpointArea:
    case ViewId::kLineGraphSelectorArea:
    case ViewId::kLineGraphModeArea:
    case ViewId::kLineGraphGrainTempChild:
    case ViewId::kLineGraphMoistureChildren: return Win::kLineGraph;
    default: break;
  }
  found = false;
  return Win::kCount;
}

}  // namespace

MainWindow::MainWindow(link::LinkShared& shared, Settings& settings, platform::Prompter& prompter,
                       platform::SettingsStore& store, platform::Clock& clock,
                       const ViewFactory& factory)
    : shared_(shared), settings_(settings), prompter_(prompter) {
  setObjectName("ORVANDRY_MAIN_WINDOW");
  setFixedSize(640, 480);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setWindowTitle("Orvandry");
  screen_ = std::make_unique<MainScreen>(shared_, settings_, *this, *this, prompter, store);
  housekeeping_ = std::make_unique<Housekeeping>(shared_, clock, settings_, *this, prompter,
                                                 poll_ticker_.blink_word);
  context_.reset(new views::ViewContext{shared_, poll_ticker_.blink_word, *housekeeping_, settings_,
                                        prompter, clock});
  CreateChildren(factory);
  screen_->ApplyViewRule();
}

MainWindow::~MainWindow() = default;

void MainWindow::CreateChildren(const ViewFactory& factory) {
  for (const WindowDef& def : kChildWindows) {
    platform::ChildWindow* window = factory ? factory(def, this, *context_) : nullptr;
    if (window == nullptr && def.win == Win::kViewSelection)
      window = new ViewSelectionWindow(this, def, [this](int id) { screen_->OnCommand(id); });
    if (window == nullptr)
      window = new platform::ChildWindow(this, def.class_name, def.caption,
                                         {def.x, def.y, def.width, def.height},
                                         FrameFlagsFor(def.frame), platform::Bgr(def.background_bgr));
    windows_[At(def.win)] = window;
    window->setVisible(def.initially == Initially::kShown);
  }
  for (std::size_t i = 0; i < kBarButtons.size(); ++i) {
    const BarButtonDef& b = kBarButtons[i];
    auto* button = new platform::PictureButton(
        this, b.text, b.command, {b.x, kBarButtonY, kBarButtonWidth, kBarButtonHeight},
        b.normal_face, b.pressed_face);
    connect(button, &QAbstractButton::clicked, this, [this, id = b.command] { screen_->OnCommand(id); });
    bar_buttons_[i] = button;
  }
  // The selection screens and pop-overs stay above the main screen's views.
  for (Win w : {Win::kViewSelection, Win::kWarning, Win::kTimerSelect, Win::kTempSelect,
                Win::kSetupSelect, Win::kExtendedSetupSelect, Win::kAutoStart})
    windows_[At(w)]->raise();
  UpdateMcFace();
}

platform::ChildWindow* MainWindow::Window(Win win) const {
  return win < Win::kCount ? windows_[At(win)] : nullptr;
}

platform::PictureButton* MainWindow::BarButton(int command) const {
  for (auto* b : bar_buttons_)
    if (b->CommandId() == command) return b;
  return nullptr;
}

void MainWindow::SetVisible(Win win, bool visible) {
  if (win == Win::kBarButtons) {
    for (auto* b : bar_buttons_) b->setVisible(visible);
    return;
  }
  if (win == Win::kGraphDrawingArea) return;  // part of the graph window until it has its own
  if (auto* w = Window(win)) w->setVisible(visible);
}

void MainWindow::StartTimers(std::function<void()> signal_poll) {
  signal_poll_ = std::move(signal_poll);
  connect(&poll_timer_, &QTimer::timeout, this, &MainWindow::PollTick);
  connect(&second_timer_, &QTimer::timeout, this, &MainWindow::OneSecondTick);
  connect(&tenth_timer_, &QTimer::timeout, this, &MainWindow::HundredMsTick);
  poll_timer_.start(kPollTickMs);
  second_timer_.start(kSecondTickMs);
  tenth_timer_.start(kTenthTickMs);
}

void MainWindow::PollTick() {
  const link::PollTickActions a = poll_ticker_.Tick(shared_);
  if (a.repaint_right_status_bar) Update(Win::kRightStatusBar);
  if (a.repaint_warning_window) Update(Win::kWarning);
  if (a.signal_poll && signal_poll_) signal_poll_();
  if (a.repaint_setup_views) {
    Update(Win::kLineGraph);
    Update(Win::kPlenumPanel);
  }
}

void MainWindow::OnWarningCodeChanged(std::uint8_t node_id, std::uint8_t warning_id) {
  if (warning_hook_) warning_hook_(node_id, warning_id);
}

void MainWindow::OnIntakeFinished(const link::IntakeResult& result) {
  bool post = false;
  {
    std::lock_guard lock(intake_mutex_);
    pending_intake_.repaints.Merge(result.repaints);
    pending_intake_.apply_view_rule |= result.apply_view_rule;
    pending_intake_.update_batch_buttons |= result.update_batch_buttons;
    post = !intake_posted_;
    intake_posted_ = true;
  }
  if (post) QMetaObject::invokeMethod(this, &MainWindow::DeliverIntake, Qt::QueuedConnection);
}

void MainWindow::DeliverIntake() {
  link::IntakeResult result;
  {
    std::lock_guard lock(intake_mutex_);
    result = pending_intake_;
    pending_intake_ = {};
    intake_posted_ = false;
  }
  if (result.apply_view_rule) screen_->ApplyViewRule();
  if (result.update_batch_buttons) UpdateBatchButtons();
  Repaint(result.repaints);
  // The dryer's three requests are looked at once the frame that raised them is in.
  screen_->ProcessRequestFlags();
}

void MainWindow::Repaint(const link::RepaintSet& repaints) {
  for (int v = 0; v < static_cast<int>(link::ViewId::kCount); ++v) {
    const auto view = static_cast<link::ViewId>(v);
    if (!repaints.Has(view)) continue;
    if (view == link::ViewId::kMcButton) {
      UpdateMcFace();
      continue;
    }
    bool found = false;
    const Win win = WindowOf(view, found);
    if (found) Update(win);
  }
}

void MainWindow::Update(Win win) {
  if (auto* w = Window(win); w != nullptr && w->isVisible()) w->update();
}

void MainWindow::UpdateMcFace() {
  const bool greyed = screen_->McButtonGreyed();
  if (greyed == mc_greyed_ && bar_buttons_[4]->NormalFace() != 0) return;
  mc_greyed_ = greyed;
  const BarButtonDef& mc = kBarButtons[4];
  if (greyed)
    bar_buttons_[4]->SetFaces(kGreyedMcFace, kGreyedMcFace);
  else
    bar_buttons_[4]->SetFaces(mc.normal_face, mc.pressed_face);
}

void MainWindow::OpenDialog(int /*template_id*/) {
  // The dialogs arrive with their subsystems; until then the command does nothing.
}

void MainWindow::OpenTemperatureEntry(std::size_t, int, int, int) {}

bool MainWindow::OpenManuals() {
  if (manuals_folder_.isEmpty() || !QDir(manuals_folder_).exists()) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(manuals_folder_));
}

void MainWindow::RepaintStatusChart() { Update(Win::kStatusChart); }
void MainWindow::RepaintGraphDrawingArea() { Update(Win::kGraph); }
void MainWindow::RepaintDryerPicture() { Update(Win::kDryerPic); }
void MainWindow::RepaintWarningBlinkArea() { Update(Win::kWarning); }

void MainWindow::SetWarningWindowVisible(bool visible) {
  auto* w = Window(Win::kWarning);
  if (w->isVisible() != visible) w->setVisible(visible);
  if (visible) w->raise();
}

void MainWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  ++paints_;
  emit Painted();
}

}  // namespace orvandry::shell
