#include "shell/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QPainter>
#include <QUrl>

#include "link/status_map.h"
#include "platform/child_window.h"
#include "platform/clock.h"
#include "platform/colour.h"
#include "platform/picture_button.h"
#include "platform/prompter.h"
#include "platform/settings_store.h"
#include "platform/window_frame.h"
#include "shell/view_selection_window.h"

namespace orvandry::shell {
namespace {

constexpr int kPollTickMs = 175;
constexpr int kSecondTickMs = 1000;
constexpr int kTenthTickMs = 100;

std::size_t At(Win win) {
  return static_cast<std::size_t>(win);
}

bool IsSelectionScreen(Win win) {
  for (const WindowDef& def : kChildWindows)
    if (def.win == win) return def.frame == Frame::kSelectionScreen;
  return false;
}

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
    case ViewId::kRightStatusBar:
      return Win::kRightStatusBar;
    case ViewId::kLeftStatusBar:
      return Win::kLeftStatusBar;
    case ViewId::kPlenumPanel:
    case ViewId::kPlenumPanelArea:
      return Win::kPlenumPanel;
    case ViewId::kBatchDryingWindow:
      return Win::kBatchDrying;
    case ViewId::kDryerPicture:
      return Win::kDryerPic;
    case ViewId::kUnloadStatusWindow:
    case ViewId::kUnloadStatusRpmArea:
    case ViewId::kUnloadStatusChild:
      return Win::kUnloadStatus;
    case ViewId::kStatusChart:
      return Win::kStatusChart;
    case ViewId::kWarningWindow:
      return Win::kWarning;
    case ViewId::kHardwareSetupSelect:
    case ViewId::kSetupSelect:
      return Win::kSetupSelect;
    case ViewId::kOutOfGrainPanel:
    case ViewId::kLoadStartupDelayPanel:
    case ViewId::kUnloadCleanoutDelayPanel:
    case ViewId::kFanPanel:
      return Win::kTimerSelect;
    case ViewId::kPlenumSetpointPanel:
    case ViewId::kGrainSetpointPanel:
      return Win::kTempSelect;
    case ViewId::kLineGraphWindow:
    case ViewId::kLineGraphSetpointArea:
    case ViewId::kLineGraphSelectorArea:
    case ViewId::kLineGraphModeArea:
    case ViewId::kLineGraphGrainTempChild:
    case ViewId::kLineGraphMoistureChildren:
      return Win::kLineGraph;
    default:
      break;
  }
  found = false;
  return Win::kCount;
}

}  // namespace

MainWindow::MainWindow(link::LinkShared& shared, Settings& settings, platform::Prompter& prompter,
                       platform::SettingsStore& store, platform::Clock& clock,
                       std::vector<Subsystem*> subsystems)
    : shared_(shared),
      settings_(settings),
      prompter_(prompter),
      store_(store),
      subsystems_(std::move(subsystems)) {
  setObjectName("ORVANDRY_MAIN_WINDOW");
  setFixedSize(640, 480);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setWindowTitle("Orvandry");
  screen_ = std::make_unique<MainScreen>(shared_, settings_, *this, *this, prompter, store);
  housekeeping_ = std::make_unique<Housekeeping>(shared_, clock, settings_, *this, prompter,
                                                 poll_ticker_.blink_word);
  context_.reset(new ViewContext{shared_, poll_ticker_.blink_word, housekeeping_->phases, settings_,
                                 prompter, clock, [this] { return ModalOpen(); }});
  for (Subsystem* s : subsystems_) s->Attach(*this);
  CreateChildren();
  screen_->ApplyViewRule();
  for (Subsystem* s : subsystems_) s->Wired();
}

MainWindow::~MainWindow() {
  for (Subsystem* s : subsystems_) s->ShuttingDown();
}

void MainWindow::CreateChildren() {
  for (const WindowDef& def : kChildWindows) {
    platform::ChildWindow* window = nullptr;
    for (Subsystem* s : subsystems_)
      if ((window = s->CreateWindow(def, this)) != nullptr) break;
    if (window == nullptr && def.win == Win::kViewSelection)
      window = new ViewSelectionWindow(this, def, [this](int id) { screen_->OnCommand(id); });
    if (window == nullptr)
      window = new platform::ChildWindow(
          this, def.class_name, def.caption, {def.x, def.y, def.width, def.height},
          FrameFlagsFor(def.frame), platform::Bgr(def.background_bgr));
    windows_[At(def.win)] = window;
    window->setVisible(def.initially == Initially::kShown);
  }
  // The graph window's drawing area, when the graph window has one of its own.
  windows_[At(Win::kGraphDrawingArea)] =
      windows_[At(Win::kGraph)]->findChild<platform::ChildWindow*>(kGraphDrawingAreaClass);
  for (std::size_t i = 0; i < kBarButtons.size(); ++i) {
    const BarButtonDef& b = kBarButtons[i];
    auto* button = new platform::PictureButton(
        this, b.text, b.command, {b.x, kBarButtonY, kBarButtonWidth, kBarButtonHeight},
        b.normal_face, b.pressed_face);
    connect(button, &QAbstractButton::clicked, this,
            [this, id = b.command] { screen_->OnCommand(id); });
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
  auto* w = Window(win);
  if (w == nullptr) return;
  w->setVisible(visible);
  if (visible && IsSelectionScreen(win)) w->raise();
}

void MainWindow::Start(std::function<void()> signal_poll) {
  signal_poll_ = std::move(signal_poll);
  connect(&poll_timer_, &QTimer::timeout, this, &MainWindow::PollTick);
  connect(&second_timer_, &QTimer::timeout, this, &MainWindow::OneSecondTick);
  connect(&tenth_timer_, &QTimer::timeout, this, &MainWindow::HundredMsTick);
  poll_timer_.start(kPollTickMs);
  second_timer_.start(kSecondTickMs);
  tenth_timer_.start(kTenthTickMs);
  for (Subsystem* s : subsystems_) s->Started();
}

void MainWindow::OneSecondTick() {
  housekeeping_->OneSecondTick();
  for (Subsystem* s : subsystems_) s->OnSecondTick();
}

void MainWindow::HundredMsTick() {
  const TenthTick tick = housekeeping_->HundredMsTick();
  for (Subsystem* s : subsystems_) s->OnTenthTick(tick);
  // A request that waited for a dialog or a question is taken within 100 ms of its closing.
  TakeControllerRequests();
}

void MainWindow::PollTick() {
  const link::PollTickActions a = poll_ticker_.Tick(shared_);
  if (a.repaint_right_status_bar) Repaint(Win::kRightStatusBar);
  if (a.repaint_warning_window) Repaint(Win::kWarning);
  if (a.signal_poll && signal_poll_) signal_poll_();
  if (a.repaint_setup_views) {
    Repaint(Win::kLineGraph);
    Repaint(Win::kPlenumPanel);
  }
}

void MainWindow::OnWarningCodeChanged(std::uint8_t node_id, std::uint8_t warning_id) {
  bool post = false;
  {
    std::lock_guard lock(intake_mutex_);
    pending_codes_.emplace_back(node_id, warning_id);
    post = !codes_posted_;
    codes_posted_ = true;
  }
  if (post) QMetaObject::invokeMethod(this, &MainWindow::DeliverWarningCodes, Qt::QueuedConnection);
}

void MainWindow::DeliverWarningCodes() {
  std::vector<std::pair<std::uint8_t, std::uint8_t>> codes;
  {
    std::lock_guard lock(intake_mutex_);
    codes.swap(pending_codes_);
    codes_posted_ = false;
  }
  for (const auto& [node, warning] : codes)
    for (Subsystem* s : subsystems_) s->OnWarningCode(node, warning);
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
  RepaintViews(result.repaints);
  for (Subsystem* s : subsystems_) s->OnIntake(result);
  // The dryer's three requests are looked at once the frame that raised them is in.
  TakeControllerRequests();
}

void MainWindow::TakeControllerRequests() {
  for (int command : screen_->ProcessRequestFlags())
    for (Subsystem* s : subsystems_) s->OnControllerRequest(command);
}

bool MainWindow::SetSampleMinutes(std::uint8_t minutes) {
  settings_.sample_minutes = minutes;
  housekeeping_->short_term_countdown = 0;
  Repaint(Win::kStatusChart);
  return store_.WriteByte(kTempDataLogSampleTime, minutes);
}

bool MainWindow::ModalOpen() const {
  return open_dialogs_ > 0 || prompter_.Asking() || QApplication::activeModalWidget() != nullptr;
}

void MainWindow::RepaintViews(const link::RepaintSet& repaints) {
  for (int v = 0; v < static_cast<int>(link::ViewId::kCount); ++v) {
    const auto view = static_cast<link::ViewId>(v);
    if (!repaints.Has(view)) continue;
    if (view == link::ViewId::kMcButton) {
      UpdateMcFace();
      continue;
    }
    bool found = false;
    const Win win = WindowOf(view, found);
    if (!found) continue;
    // A view whose figures came out the same draws nothing anew and is not painted.
    if (auto* w = Window(win); w != nullptr && w->isVisible()) w->Refresh();
  }
}

void MainWindow::Repaint(Win win) {
  // Without a drawing area of its own, the graph window draws the graph.
  if (win == Win::kGraphDrawingArea && Window(win) == nullptr) win = Win::kGraph;
  if (auto* w = Window(win); w != nullptr && w->isVisible()) w->Refresh();
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

bool MainWindow::OpenDialog(const DialogRequest& request) {
  DialogRequest resolved = request;
  if (resolved.parent == nullptr)
    resolved.parent = resolved.parent_window < Win::kCount
                          ? static_cast<QWidget*>(Window(resolved.parent_window))
                          : static_cast<QWidget*>(this);
  struct Open {
    int& count;
    explicit Open(int& c) : count(c) { ++count; }
    ~Open() { --count; }
  } open(open_dialogs_);
  for (Subsystem* s : subsystems_)
    if (s->OpenDialog(resolved)) return true;
  return false;  // a template whose subsystem has not arrived yet: nothing opens
}

void MainWindow::OpenDialog(int template_id, Win parent) {
  OpenDialog(DialogRequest{.template_id = template_id, .parent_window = parent});
}

void MainWindow::ViewRuleApplying() {
  for (Subsystem* s : subsystems_) s->OnViewRule();
}

bool MainWindow::OpenManuals() {
  if (manuals_folder_.isEmpty() || !QDir(manuals_folder_).exists()) return false;
  return QDesktopServices::openUrl(QUrl::fromLocalFile(manuals_folder_));
}

void MainWindow::SetWarningWindowVisible(bool visible) {
  auto* w = Window(Win::kWarning);
  if (w->isVisible() != visible) w->setVisible(visible);
  if (!visible) return;
  // Above the main screen's views and pop-overs, but never above a full-screen selection screen:
  // those stay on top of every other window (and Setup's hiding of the warning holds that way).
  w->raise();
  KeepSelectionScreensOnTop();
}

void MainWindow::KeepSelectionScreensOnTop() {
  for (const WindowDef& def : kChildWindows)
    if (IsSelectionScreen(def.win))
      if (auto* screen = Window(def.win); screen != nullptr && screen->isVisible()) screen->raise();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  event->ignore();
}

void MainWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  ++paints_;
  emit Painted();
}

}  // namespace orvandry::shell
