#include "shell/main_screen.h"

#include "link/setting_edit.h"
#include "link/status_map.h"
#include "platform/prompter.h"
#include "platform/settings_store.h"

namespace orvandry::shell {
namespace sm = link::status_map;
using platform::Answer;
using platform::Buttons;
using platform::Icon;

namespace {

constexpr const char* kNotPermittedTitle = " REQUESTED FUNCTION NOT PERMITTED";
constexpr const char* kLearningText =
    "The Moisture Control learning period has not expired.  Modifying the MC Setpoint is not "
    "recommended until the learning period is complete.  Do wish to modify the moisture control "
    "setpoint?";
constexpr const char* kLearningTitle = "MOISTURE CONTROL LEARNING PERIOD STILL ACTIVE";

}  // namespace

MainScreen::MainScreen(link::LinkShared& shared, Settings& settings, WindowHost& windows,
                       ShellActions& actions, platform::Prompter& prompter,
                       platform::SettingsStore& store)
    : shared_(shared),
      settings_(settings),
      windows_(windows),
      actions_(actions),
      prompter_(prompter),
      store_(store) {}

void MainScreen::ApplyViewRule() {
  // The dryer's echo of the display's request decides the view.
  settings_.view_selection = (State(sm::kDisplaySettings) & 0x40) != 0 ? 1 : 0;
  actions_.ViewRuleApplying();
  const bool batch = State(sm::kBatchSelector) != 0;
  const bool graph = !batch && settings_.view_selection == 1;
  windows_.SetVisible(Win::kGraphDrawingArea, graph);
  windows_.SetVisible(Win::kGraph, graph);
  windows_.SetVisible(Win::kStatusChart, !batch && !graph);
  windows_.SetVisible(Win::kPlenumPanel, !graph);
  windows_.SetVisible(Win::kBatchDrying, batch);
}

void MainScreen::HideMainScreen(int command) {
  for (Win w : {Win::kLineGraph, Win::kUnloadStatus, Win::kRightStatusBar, Win::kPlenumPanel,
                Win::kStatusChart, Win::kButtonBar, Win::kBarButtons, Win::kGraphDrawingArea,
                Win::kDryerPic, Win::kBatchDrying})
    windows_.SetVisible(w, false);
  switch (command) {
    case command::kTimers:
      windows_.SetVisible(Win::kTimerSelect, true);
      break;
    case command::kTemps:
      windows_.SetVisible(Win::kTempSelect, true);
      break;
    case command::kSetup:
      windows_.SetVisible(Win::kWarning, false);
      // While the hardware setup screen is open a change of the batch selector must not pull
      // the main screen's views back over it.
      shared_.view_rule_enabled.store(false, std::memory_order_relaxed);
      windows_.SetVisible(Win::kSetupSelect, true);
      break;
    default:
      break;
  }
}

void MainScreen::RestoreMainScreen() {
  windows_.SetVisible(Win::kDryerPic, true);
  windows_.SetVisible(Win::kRightStatusBar, true);
  ApplyViewRule();
  windows_.SetVisible(Win::kButtonBar, true);
  windows_.SetVisible(Win::kBarButtons, true);
}

void MainScreen::OnCommand(int command) {
  switch (command) {
    case command::kTimers:
    case command::kTemps:
    case command::kSetup:
      HideMainScreen(command);
      break;
    case command::kView:
      windows_.SetVisible(Win::kViewSelection, true);
      break;
    case command::kMc:
      McButton();
      break;
    case command::kMeteringSpeed:
      MeteringSpeedRequest();
      break;
    case command::kDefaults:
      actions_.OpenDialog({.template_id = dialog::kDefaults, .parent_window = Win::kLineGraph});
      break;
    case command::kExitView:
      windows_.SetVisible(Win::kViewSelection, false);
      break;
    case command::kGraphView:
      SelectView(true);
      break;
    case command::kChartView:
      SelectView(false);
      break;
    case command::kManuals:
      windows_.SetVisible(Win::kViewSelection, false);
      if (!actions_.OpenManuals())
        prompter_.Ask(" Could not execute Explorer Program!", " Trying to Open Manuals",
                      Buttons::kOk, Icon::kNone);
      break;
    case command::kHistory:
      windows_.SetVisible(Win::kViewSelection, false);
      actions_.OpenDialog({.template_id = dialog::kShutdownHistory});
      break;
    case command::kSystemInfo:
      windows_.SetVisible(Win::kViewSelection, false);
      actions_.OpenDialog({.template_id = dialog::kSystemInfo});
      break;
    case command::kSoftwareInfo:
      windows_.SetVisible(Win::kViewSelection, false);
      actions_.OpenDialog({.template_id = dialog::kSoftwareInfo});
      break;
    default:
      break;  // 36968 and everything else: no action
  }
}

void MainScreen::SelectView(bool graph) {
  // The request goes to the dryer whether or not the change is allowed here; the dryer's echo is
  // what the view rule follows.
  // Only the view bit changes: the rest of the byte (the units) is the dryer's own, or what is
  // still on its way to it.
  link::SettingEdit edit(shared_);
  edit.Load(link::Rec::kDisplaySettings);
  const std::uint8_t byte = edit.Get(sm::kDisplaySettings);
  edit.Set(sm::kDisplaySettings, graph ? (byte | 0x40) : (byte & static_cast<std::uint8_t>(~0x40)));
  // Before the dryer has reported there is no view of its to change; the button does nothing.
  if (edit.Commit(link::Rec::kDisplaySettings) == link::CommitResult::kNotConnected) return;

  if (State(sm::kBatchSelector) != 0) {
    prompter_.Ask(graph ? "Graph is not available in Batch Drying."
                        : "Status Chart is not available in Batch Drying.",
                  kNotPermittedTitle, Buttons::kOk, Icon::kNone);
    return;
  }
  windows_.SetVisible(Win::kPlenumPanel, !graph);
  windows_.SetVisible(Win::kStatusChart, !graph);
  windows_.SetVisible(Win::kGraphDrawingArea, graph);
  windows_.SetVisible(Win::kGraph, graph);
  windows_.SetVisible(Win::kViewSelection, false);
  settings_.view_selection = graph ? 1 : 0;
  store_.WriteByte(kScreenViewSelection,
                   settings_.view_selection);  // a failure changes nothing here
}

bool MainScreen::LearningPeriodBlocks() {
  const bool learning = (State(sm::kMeteringMode) & 0x07) == 3 &&
                        State(sm::kMcLearningMinutes) != 0 &&
                        (State(sm::kStatusBits179) & 0x04) != 0;
  if (!learning) return false;
  return prompter_.Ask(kLearningText, kLearningTitle, Buttons::kYesNoCancel, Icon::kWarning) !=
         Answer::kYes;
}

void MainScreen::McButton() {
  const std::uint8_t mode_byte = State(sm::kMeteringMode);
  const int mode = mode_byte & 0x07;
  const std::uint8_t batch = State(sm::kBatchSelector);
  const std::uint8_t config = State(sm::kConfigBits);

  if (shared_.metering_source.load(std::memory_order_relaxed) == link::MeteringSource::kDisplay) {
    if (prompter_.Ask("Do you wish to set the metering rolls speed?",
                      " SET METERING SPEED VIA DISPLAY?", Buttons::kYesNoCancel,
                      Icon::kQuestion) == Answer::kYes)
      actions_.OpenDialog({.template_id = dialog::kMeteringSpeed});
  }
  if (McButtonGreyed()) return;

  auto entry = [&](std::size_t offset) {
    actions_.OpenDialog({.template_id = dialog::kTemperatureEntry,
                         .parent_window = Win::kTempSelect,
                         .offset = offset,
                         .max = kMcEntryMax,
                         .min = kMcEntryMin,
                         .fallback = kMcEntryDefault});
  };
  auto grain_setpoint_entry = [&] { entry(sm::kGrainTempSetpoint); };

  const bool staged_moisture = ((mode_byte & 0x06) == 0x06 || (config & 0x30) != 0) && batch == 1;
  if (staged_moisture) {
    if ((config & 0x40) != 0 && (mode_byte & 0x80) != 0) {
      actions_.OpenDialog(
          {.template_id = dialog::kMoistureSetpoint, .parent_window = Win::kLineGraph});
    } else if ((config & 0x02) != 0) {
      HideMainScreen(command::kTemps);
    } else {
      grain_setpoint_entry();  // as mode 5
    }
    return;
  }
  switch (mode) {
    case 1:
      if (batch == 3) {
        entry(sm::kGrainLowTemp);
        entry(sm::kGrainHighTemp);
      } else {
        grain_setpoint_entry();
      }
      break;
    case 3:
      if (LearningPeriodBlocks()) return;
      actions_.OpenDialog(
          {.template_id = dialog::kMoistureSetpoint, .parent_window = Win::kLineGraph});
      break;
    case 4:
      actions_.OpenDialog(
          {.template_id = dialog::kMoistureSetpoint, .parent_window = Win::kLineGraph});
      break;
    case 5:
      grain_setpoint_entry();
      break;
    default:
      break;
  }
}

void MainScreen::MeteringSpeedRequest() {
  if (LearningPeriodBlocks()) return;
  actions_.OpenDialog({.template_id = dialog::kMeteringSpeed});
}

std::vector<int> MainScreen::ProcessRequestFlags() {
  std::vector<int> taken;
  // Each request is looked at only while nothing modal is open, and again after each one, since
  // the one before may have opened a dialog that is still up when the loop comes back here.
  auto take = [&](std::atomic<std::uint8_t>& flag, int command) {
    if (actions_.ModalOpen() || flag.exchange(0) == 0) return;
    taken.push_back(command);
    if (command != command::kDefaults || !shared_.defaults_confirmed.load()) OnCommand(command);
  };
  take(shared_.metering_speed_request, command::kMeteringSpeed);
  take(shared_.defaults_request, command::kDefaults);
  take(shared_.byte251_request, command::kByte251);
  return taken;
}

}  // namespace orvandry::shell
