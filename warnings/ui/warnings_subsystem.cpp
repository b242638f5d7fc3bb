#include "warnings/ui/warnings_subsystem.h"

#include "link/status_map.h"
#include "warnings/ui/history_dialog.h"
#include "warnings/ui/ui_texts.h"
#include "warnings/ui/warning_window.h"

namespace orvandry::warnings::ui {

WarningsSubsystem::WarningsSubsystem(const platform::Paths& paths, link::LinkShared& shared,
                                     platform::Prompter& prompter,
                                     std::unique_ptr<ShutdownClock> clock)
    : paths_(paths),
      shared_(shared),
      prompter_(prompter),
      clock_(clock ? std::move(clock) : std::make_unique<SystemShutdownClock>()),
      store_(paths.DataDir()),
      recorder_(store_, *clock_),
      help_(paths.DataDir(), shared, prompter) {
  dialogs_.Add(shell::dialog::kShutdownHistory, [this](const shell::DialogRequest& request) {
    OpenHistory(request.parent, history_clear_hold_);
  });
}

WarningsSubsystem::~WarningsSubsystem() = default;

StoreResult WarningsSubsystem::Start() {
  const StoreResult result = store_.InitShutdownHistory();
  if (result.damaged() || !result.damaged_file.empty()) {
    texts::TellIfDamaged(prompter_, result);
  } else if (!result.ok()) {
    prompter_.Ask(texts::StoreFailedMessage(store_.path().string(), result.detail),
                  texts::kStoreProblemCaption, platform::Buttons::kOk, platform::Icon::kError);
  }
  if (result.ok()) TellIfReadOnly(result);
  return result;
}

platform::ChildWindow* WarningsSubsystem::CreateWindow(const shell::WindowDef& def,
                                                       QWidget* parent) {
  if (def.win != shell::Win::kWarning || host_ == nullptr) return nullptr;
  return CreateWarningWindow(parent, def, host_->Context());
}

platform::ChildWindow* WarningsSubsystem::CreateWarningWindow(QWidget* parent,
                                                              const shell::WindowDef& def,
                                                              shell::ViewContext& ctx) {
  auto* window = new WarningWindow(parent, def, ctx);
  window->SetHelp(&help_);
  warning_window_ = window;
  return window;
}

WarningWindow* WarningsSubsystem::warning_window() const {
  return static_cast<WarningWindow*>(warning_window_.data());
}

HistoryDialog* WarningsSubsystem::history_dialog() const {
  return static_cast<HistoryDialog*>(history_.data());
}

RecordResult WarningsSubsystem::OnWarningCodeChanged(std::uint8_t node_id,
                                                     std::uint8_t warning_id) {
  // A record that cannot be written is not announced one by one: the operator is dealing with the
  // shutdown itself, and the history screen shows what was kept. A history that has become
  // read-only is told once; damage met on the way is told, as at start-up.
  last_record_ = recorder_.OnWarningCodeChanged(node_id, warning_id);
  // A copy: the question runs the event loop, where a later code may be recorded meanwhile.
  const RecordResult result = last_record_;
  texts::TellIfDamaged(prompter_, result.store);
  if (result.outcome == RecordOutcome::kRecorded) read_only_told_ = false;
  if (result.outcome == RecordOutcome::kFailed) TellIfReadOnly(result.store);
  return result;
}

void WarningsSubsystem::TellIfReadOnly(const StoreResult& result) {
  if (!result.read_only || read_only_told_) return;
  read_only_told_ = true;
  prompter_.Ask(texts::StoreReadOnlyMessage(result.read_only_reason), texts::kStoreProblemCaption,
                platform::Buttons::kOk, platform::Icon::kError);
}

void WarningsSubsystem::PostWarningCodeChanged(std::uint8_t node_id, std::uint8_t warning_id) {
  QMetaObject::invokeMethod(
      this, [this, node_id, warning_id] { OnWarningCodeChanged(node_id, warning_id); },
      Qt::QueuedConnection);
}

void WarningsSubsystem::OpenHistory(QWidget* parent, int& exit_hold_countdown) {
  if (history_) return;  // modal: one at a time
  HistoryDialog dialog(parent, store_, prompter_, paths_.UsbDir(), help_, exit_hold_countdown);
  history_ = &dialog;
  if (history_runner_)
    history_runner_(dialog);
  else
    dialog.exec();
  history_ = nullptr;
  // However the screen closed, help opened afterwards belongs to the live warning again.
  help_.SetOpenedFromHistory(false);
}

void WarningsSubsystem::OnSecondTick() {
  // The history screen's EXIT clears the history after being held (the screen reads the count).
  if (HistoryClearButtonHeld()) {
    if (history_clear_hold_ > 0) --history_clear_hold_;
  } else {
    history_clear_hold_ = kHistoryClearHold;
  }
}

void WarningsSubsystem::OnTenthTick(const shell::TenthTick& tick) {
  // The door warning's help picture is an animation of seven frames.
  constexpr std::uint8_t kDoorNode = 14;
  constexpr std::uint8_t kDoorWarning = 5;
  constexpr int kDoorFrames = 7;
  if (!tick.warning_shown) {
    CloseWarningHelp();
  } else if (shared_.dryer_state.Get(link::status_map::kWarningNode) == kDoorNode &&
             shared_.dryer_state.Get(link::status_map::kWarningId) == kDoorWarning) {
    AdvanceHelpAnimation(help_picture_frame_);
    help_picture_frame_ = (help_picture_frame_ + 1) % kDoorFrames;
  }
  if (tick.blink_step) RequestReconnectStep();
}

bool WarningsSubsystem::HistoryClearButtonHeld() const {
  const HistoryDialog* dialog = history_dialog();
  return dialog != nullptr && dialog->ExitHeld();
}

void WarningsSubsystem::RequestReconnectStep() {
  if (WarningWindow* window = warning_window()) window->RequestReconnectStep();
}

}  // namespace orvandry::warnings::ui
