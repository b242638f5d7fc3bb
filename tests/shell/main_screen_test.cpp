#include "shell/main_screen.h"

#include <gtest/gtest.h>

#include "link/status_map.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "shell/settings.h"
#include "shell_fakes.h"

namespace orvandry::shell {
namespace {

namespace sm = link::status_map;
using platform::Answer;
using platform::Buttons;
using platform::MemorySettingsStore;
using platform::ScriptedPrompter;

// --- settings -----------------------------------------------------------------------------------

TEST(SettingsLoad, MissingValuesKeepTheirDefaults) {
  MemorySettingsStore store;
  const Settings s = LoadSettings(store);
  EXPECT_EQ(s.graph_horizontal_scale, 0);
  EXPECT_EQ(s.graph_traces, 0);
  EXPECT_EQ(s.sample_minutes, 10);
  EXPECT_EQ(s.view_selection, 0);
}

TEST(SettingsLoad, OutOfRangeValuesAreCorrectedButNotWrittenBack) {
  MemorySettingsStore store;
  store.WriteByte(kGraphHorizontalScale, 7);
  store.WriteByte(kTempDataLogSampleTime, 20);
  store.WriteByte(kScreenViewSelection, 2);
  store.WriteByte(kGraphTracesOnOff, 0x41);
  const int writes = store.WriteCount();
  Settings s = LoadSettings(store);
  EXPECT_EQ(s.graph_horizontal_scale, 0);
  EXPECT_EQ(s.sample_minutes, 5);
  EXPECT_EQ(s.view_selection, 0);
  EXPECT_EQ(s.graph_traces, 0x01) << "trace 1 on, bit 6 ignored";
  EXPECT_EQ(store.WriteCount(), writes);
  EXPECT_EQ(store.ReadByte(kGraphHorizontalScale), 7);

  store.WriteByte(kGraphHorizontalScale, 3);
  store.WriteByte(kTempDataLogSampleTime, 15);
  store.WriteByte(kScreenViewSelection, 1);
  store.WriteByte(kGraphTracesOnOff, 0xFF);
  s = LoadSettings(store);
  EXPECT_EQ(s.graph_horizontal_scale, 3);
  EXPECT_EQ(s.sample_minutes, 15);
  EXPECT_EQ(s.view_selection, 1);
  EXPECT_EQ(s.graph_traces, 0x3F);
}

TEST(SettingsLoad, OnlyTheOfferedSamplePeriodsAreKept) {
  // 0 would sample every second and flood the log; 2..4 were never offered.
  const std::pair<int, int> cases[] = {{0, 5}, {1, 1},   {2, 5},  {4, 5},
                                       {5, 5}, {10, 10}, {11, 5}, {15, 15}};
  for (const auto& [stored, loaded] : cases) {
    MemorySettingsStore store;
    store.WriteByte(kTempDataLogSampleTime, static_cast<std::uint8_t>(stored));
    EXPECT_EQ(LoadSettings(store).sample_minutes, loaded) << stored;
  }
}

TEST(SettingsLoad, UnreadableValueKeepsItsDefaultAlone) {
  MemorySettingsStore store;
  store.WriteByte(kGraphHorizontalScale, 2);
  store.PlantUnreadable(kTempDataLogSampleTime);
  const Settings s = LoadSettings(store);
  EXPECT_EQ(s.graph_horizontal_scale, 2);
  EXPECT_EQ(s.sample_minutes, 10);
}

// --- the main screen
// ------------------------------------------------------------------------------

class MainScreenTest : public ::testing::Test {
 protected:
  MainScreenTest() { shared.first_frame_accepted = true; }
  void SetState(std::size_t offset, std::uint8_t value) { shared.dryer_state.Set(offset, value); }
  void ExpectRightHalf(bool chart, bool graph, bool plenum, bool batch) {
    EXPECT_EQ(windows.Visible(Win::kStatusChart), chart);
    EXPECT_EQ(windows.Visible(Win::kGraph), graph);
    EXPECT_EQ(windows.Visible(Win::kGraphDrawingArea), graph);
    EXPECT_EQ(windows.Visible(Win::kPlenumPanel), plenum);
    EXPECT_EQ(windows.Visible(Win::kBatchDrying), batch);
  }

  link::LinkShared shared;
  Settings settings;
  testing::FakeWindows windows;
  testing::FakeActions actions;
  ScriptedPrompter prompter;
  MemorySettingsStore store;
  MainScreen screen{shared, settings, windows, actions, prompter, store};
};

TEST_F(MainScreenTest, ViewRuleForEveryCombination) {
  struct Case {
    std::uint8_t batch, display_settings;
    bool chart, graph, plenum, batch_window;
  };
  const Case cases[] = {
      {0, 0x00, true, false, true, false},   // status chart view
      {0, 0x40, false, true, false, false},  // graph view
      {0, 0x80, true, false, true, false},   // units do not matter
      {1, 0x00, false, false, true, true},   // batch overrides the selection
      {1, 0x40, false, false, true, true},
      {3, 0x40, false, false, true, true},  // any non-zero selector is batch
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "byte 8 = " << int{c.batch} << ", byte 266 = " << int{c.display_settings});
    SetState(sm::kBatchSelector, c.batch);
    SetState(sm::kDisplaySettings, c.display_settings);
    screen.ApplyViewRule();
    ExpectRightHalf(c.chart, c.graph, c.plenum, c.batch_window);
    EXPECT_EQ(settings.view_selection, (c.display_settings & 0x40) ? 1 : 0);
  }
  EXPECT_EQ(actions.batch_button_updates, 6);
}

TEST_F(MainScreenTest, StoredGraphSelectionYieldsToTheMirrorAtStart) {
  settings.view_selection = 1;
  screen.ApplyViewRule();
  ExpectRightHalf(true, false, true, false);
  EXPECT_EQ(settings.view_selection, 0);
}

TEST_F(MainScreenTest, HideAndRestoreTheMainScreen) {
  screen.RestoreMainScreen();
  windows.SetVisible(Win::kWarning, true);
  screen.OnCommand(command::kTimers);
  for (Win w : {Win::kRightStatusBar, Win::kPlenumPanel, Win::kStatusChart, Win::kButtonBar,
                Win::kBarButtons, Win::kDryerPic, Win::kBatchDrying, Win::kGraphDrawingArea})
    EXPECT_FALSE(windows.Visible(w));
  EXPECT_TRUE(windows.Visible(Win::kTimerSelect));
  EXPECT_TRUE(windows.Visible(Win::kWarning)) << "only Setup hides the warning window";
  EXPECT_TRUE(shared.view_rule_enabled.load());

  screen.RestoreMainScreen();
  for (Win w : {Win::kRightStatusBar, Win::kPlenumPanel, Win::kStatusChart, Win::kButtonBar,
                Win::kBarButtons, Win::kDryerPic})
    EXPECT_TRUE(windows.Visible(w));

  screen.OnCommand(command::kSetup);
  EXPECT_FALSE(windows.Visible(Win::kWarning));
  EXPECT_TRUE(windows.Visible(Win::kSetupSelect));
  EXPECT_FALSE(shared.view_rule_enabled.load()) << "byte 8 no longer applies the view rule";

  screen.OnCommand(command::kTemps);
  EXPECT_TRUE(windows.Visible(Win::kTempSelect));
}

TEST_F(MainScreenTest, ViewSelectionChangesTheViewAndTheSetting) {
  screen.OnCommand(command::kView);
  EXPECT_TRUE(windows.Visible(Win::kViewSelection));
  screen.OnCommand(command::kGraphView);
  ExpectRightHalf(false, true, false, false);
  EXPECT_FALSE(windows.Visible(Win::kViewSelection));
  EXPECT_EQ(settings.view_selection, 1);
  EXPECT_EQ(store.ReadByte(kScreenViewSelection), 1);
  EXPECT_TRUE(shared.pending.IsRaised(link::Rec::kDisplaySettings));
  EXPECT_EQ(shared.request.Get(sm::kDisplaySettings), 0x40);

  // Pressing Table View in the chart view rewrites the setting and re-raises the request.
  shared.pending.Lower(link::Rec::kDisplaySettings);
  screen.OnCommand(command::kChartView);
  const int writes = store.WriteCount();
  shared.pending.Lower(link::Rec::kDisplaySettings);
  screen.OnCommand(command::kChartView);
  EXPECT_EQ(store.WriteCount(), writes + 1);
  EXPECT_TRUE(shared.pending.IsRaised(link::Rec::kDisplaySettings));
  EXPECT_EQ(shared.request.Get(sm::kDisplaySettings), 0x00);
  ExpectRightHalf(true, false, true, false);
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

// Only the view bit is the button's: the units and the rest of the byte are the dryer's (or what is
// still on its way to it), and nothing goes out before the dryer has reported.
TEST_F(MainScreenTest, ViewButtonsChangeOnlyTheViewBitOfTheDryersByte) {
  SetState(sm::kDisplaySettings, 0x80);  // degrees C
  screen.OnCommand(command::kGraphView);
  EXPECT_EQ(shared.request.Get(sm::kDisplaySettings), 0xC0);
  // A change to degrees F still on its way (not placed yet) is where the next press starts.
  shared.RequestByte(link::Rec::kDisplaySettings, 0x00);
  screen.OnCommand(command::kGraphView);
  EXPECT_EQ(shared.request.Get(sm::kDisplaySettings), 0x40);

  link::LinkShared fresh;
  MainScreen cold{fresh, settings, windows, actions, prompter, store};
  cold.OnCommand(command::kGraphView);
  EXPECT_FALSE(fresh.pending.AnyRaised()) << "no frame yet: nothing to change";
}

TEST_F(MainScreenTest, ViewSelectionIsRefusedInBatchDryingButStillRequested) {
  SetState(sm::kBatchSelector, 1);
  screen.ApplyViewRule();
  windows.SetVisible(Win::kViewSelection, true);
  prompter.Script(Answer::kOk);
  screen.OnCommand(command::kGraphView);
  ASSERT_NE(prompter.Last(), nullptr);
  EXPECT_EQ(prompter.Last()->text, "Graph is not available in Batch Drying.");
  EXPECT_EQ(prompter.Last()->caption, " REQUESTED FUNCTION NOT PERMITTED");
  EXPECT_EQ(prompter.Last()->buttons, Buttons::kOk);
  EXPECT_TRUE(shared.pending.IsRaised(link::Rec::kDisplaySettings));
  EXPECT_TRUE(windows.Visible(Win::kViewSelection)) << "screen unchanged";
  ExpectRightHalf(false, false, true, true);
  EXPECT_FALSE(store.ReadByte(kScreenViewSelection).has_value());

  prompter.Script(Answer::kOk);
  screen.OnCommand(command::kChartView);
  EXPECT_EQ(prompter.Last()->text, "Status Chart is not available in Batch Drying.");
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST_F(MainScreenTest, ViewSelectionOpensItsDialogsAndTheManuals) {
  for (int id : {command::kHistory, command::kSystemInfo, command::kSoftwareInfo}) {
    windows.SetVisible(Win::kViewSelection, true);
    screen.OnCommand(id);
    EXPECT_FALSE(windows.Visible(Win::kViewSelection));
  }
  EXPECT_EQ(actions.log, (std::vector<std::string>{"dialog 197", "dialog 440", "dialog 524"}));

  actions.manuals_ok = false;
  prompter.Script(Answer::kOk);
  screen.OnCommand(command::kManuals);
  EXPECT_EQ(prompter.Last()->text, " Could not execute Explorer Program!");
  EXPECT_EQ(prompter.Last()->caption, " Trying to Open Manuals");
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

// The M/C button's decisions: what opens for each combination of mode, batch and configuration.
TEST_F(MainScreenTest, McButtonDecisionTable) {
  struct Case {
    const char* name;
    std::uint8_t mode_byte, batch, config, status179, learning_minutes;
    std::vector<Answer> answers;
    std::vector<std::string> expected;
  };
  const std::string grain_entry = "entry 149 160/50/105";
  const Case cases[] = {
      {"mode 1", 0x01, 0, 0, 0, 0, {}, {grain_entry}},
      {"mode 1, selector 3",
       0x01,
       3,
       0,
       0,
       0,
       {},
       {"entry 153 160/50/105", "entry 151 160/50/105"}},
      {"mode 3", 0x03, 0, 0, 0, 0, {}, {"dialog 225"}},
      {"mode 3 learning, yes", 0x03, 0, 0, 0x04, 9, {Answer::kYes}, {"dialog 225"}},
      {"mode 3 learning, no", 0x03, 0, 0, 0x04, 9, {Answer::kNo}, {}},
      {"mode 3 learning over", 0x03, 0, 0, 0x04, 0, {}, {"dialog 225"}},
      {"mode 4", 0x04, 0, 0, 0, 0, {}, {"dialog 225"}},
      {"mode 5", 0x05, 0, 0, 0, 0, {}, {grain_entry}},
      {"mode 2", 0x02, 0, 0, 0, 0, {}, {}},
      {"mode 6 in batch, averaging+auto", 0x86, 1, 0x40, 0, 0, {}, {"dialog 225"}},
      {"mode 6 in batch, dual setpoints", 0x06, 1, 0x02, 0, 0, {}, {}},
      {"mode 6 in batch, plain", 0x06, 1, 0x00, 0, 0, {}, {grain_entry}},
      {"config bit 5 in batch", 0x01, 1, 0x20, 0, 0, {}, {grain_entry}},
      {"mode 6 not in batch", 0x06, 0, 0x00, 0, 0, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    link::LinkShared fresh_shared;
    testing::FakeActions fresh_actions;
    testing::FakeWindows fresh_windows;
    ScriptedPrompter fresh_prompter;
    for (Answer a : c.answers) fresh_prompter.Script(a);
    MainScreen s(fresh_shared, settings, fresh_windows, fresh_actions, fresh_prompter, store);
    fresh_shared.dryer_state.Set(sm::kMeteringMode, c.mode_byte);
    fresh_shared.dryer_state.Set(sm::kBatchSelector, c.batch);
    fresh_shared.dryer_state.Set(sm::kConfigBits, c.config);
    fresh_shared.dryer_state.Set(sm::kStatusBits179, c.status179);
    fresh_shared.dryer_state.Set(sm::kMcLearningMinutes, c.learning_minutes);
    s.OnCommand(command::kMc);
    EXPECT_EQ(fresh_actions.log, c.expected);
    EXPECT_TRUE(fresh_prompter.Clean()) << fresh_prompter.Problems();
    if (std::string(c.name) == "mode 6 in batch, dual setpoints") {
      EXPECT_TRUE(fresh_windows.Visible(Win::kTempSelect));
    }
  }
}

TEST_F(MainScreenTest, McButtonWithLockOutOnlyAsksAboutTheMeteringSpeed) {
  shared.mc_lockout = 1;
  SetState(sm::kMeteringMode, 0x04);
  screen.OnCommand(command::kMc);
  EXPECT_TRUE(actions.log.empty());
  EXPECT_TRUE(screen.McButtonGreyed());

  shared.metering_source = link::MeteringSource::kDisplay;
  prompter.Script(Answer::kYes);
  screen.OnCommand(command::kMc);
  EXPECT_EQ(prompter.Last()->text, "Do you wish to set the metering rolls speed?");
  EXPECT_EQ(prompter.Last()->caption, " SET METERING SPEED VIA DISPLAY?");
  EXPECT_EQ(prompter.Last()->buttons, Buttons::kYesNoCancel);
  EXPECT_EQ(actions.log, (std::vector<std::string>{"dialog 166"}));
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST_F(MainScreenTest, RequestFlagsBecomeCommandsInOrderAndAreCleared) {
  shared.metering_speed_request = 1;
  shared.defaults_request = 1;
  shared.byte251_request = 1;
  screen.ProcessRequestFlags();
  EXPECT_EQ(actions.log, (std::vector<std::string>{"dialog 166", "dialog 179"}));
  EXPECT_EQ(shared.metering_speed_request.load(), 0);
  EXPECT_EQ(shared.defaults_request.load(), 0);
  EXPECT_EQ(shared.byte251_request.load(), 0);

  // Once the operator confirmed the defaults dialog, a defaults request opens nothing.
  shared.defaults_confirmed = true;
  shared.defaults_request = 1;
  screen.ProcessRequestFlags();
  EXPECT_EQ(actions.log.size(), 2U);
  EXPECT_EQ(shared.defaults_request.load(), 0);
}

TEST_F(MainScreenTest, RequestsWaitWhileAModalIsOpenAndCoalesce) {
  actions.modal_open = true;
  for (int frame = 0; frame < 5; ++frame) {
    shared.metering_speed_request = 1;
    shared.defaults_request = 1;
    EXPECT_TRUE(screen.ProcessRequestFlags().empty());
  }
  EXPECT_TRUE(actions.log.empty()) << "nothing stacks on the open dialog";
  actions.modal_open = false;
  EXPECT_EQ(screen.ProcessRequestFlags(),
            (std::vector<int>{command::kMeteringSpeed, command::kDefaults}));
  EXPECT_EQ(actions.log, (std::vector<std::string>{"dialog 166", "dialog 179"}));
  EXPECT_TRUE(screen.ProcessRequestFlags().empty()) << "five raises were one request";
}

}  // namespace
}  // namespace orvandry::shell
