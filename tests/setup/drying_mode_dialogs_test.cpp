// The skins of the drying mode, continuous flow and bracket dialogs: what they show and enable,
// their touch targets, the way the setups chain through the shell, and screenshots.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QTimer>
#include <functional>

#include "link/status_map.h"
#include "platform/clock.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "setup/bracket_dialog.h"
#include "setup/continuous_flow_dialog.h"
#include "setup/drying_mode_dialog.h"
#include "setup/setup_subsystem.h"
#include "setup/temperature_entry_dialog.h"
#include "shell/main_window.h"
#include "shell/settings.h"
#include "shell/view_context.h"

namespace orvandry::setup {
namespace {

namespace sm = link::status_map;
namespace cf = continuous_flow_id;
namespace dm = drying_mode_id;

void SaveScreenshot(QWidget& widget, const char* name) {
  const QString dir = qEnvironmentVariable("ORVANDRY_SCREENSHOT_DIR");
  if (!dir.isEmpty()) widget.grab().save(dir + "/" + QString::fromLatin1(name) + ".png");
}

// Runs `inside` on the modal dialog that opens next, then closes it if it is still open.
void WhenOpen(const std::function<void(QWidget&)>& inside) {
  QTimer::singleShot(0, [inside] {
    QWidget* dialog = QApplication::activeModalWidget();
    ASSERT_NE(dialog, nullptr);
    inside(*dialog);
    if (dialog->isVisible()) qobject_cast<QDialog*>(dialog)->reject();
  });
}

class DryingModeDialogs : public ::testing::Test {
 protected:
  DryingModeDialogs() {
    shared.first_frame_accepted = true;
    Report(0, 0x05, 0x0A, 0x81, 0x30);
    shared.dryer_state.SetT16(sm::kMoistureControlValue, 160);
    shared.dryer_state.SetBe16(sm::kMoistureSetpoint, 155);
    shared.dryer_state.SetT16(sm::kGrainTempSetpoint, 110);
    shared.dryer_state.Set(sm::kMeteringCopySource, 5);
    for (std::uint8_t i = 0; i < 4; ++i)
      shared.dryer_state.Set(sm::kBracketSettings + i, i % 2 == 0 ? 6 : 3);
    window.show();
  }
  void Report(std::uint8_t selector, std::uint8_t mode, std::uint8_t config, std::uint8_t drying,
              std::uint8_t display) {
    shared.dryer_state.Set(sm::kBatchSelector, selector);
    shared.dryer_state.Set(sm::kMeteringMode, mode);
    shared.dryer_state.Set(sm::kConfigBits, config);
    shared.dryer_state.Set(sm::kDryingMode, drying);
    shared.dryer_state.Set(sm::kDisplaySettings, display);
  }
  // Every button a finger can reach: at least 40 x 40, inside the client area, none overlapping.
  static void ExpectTouchTargets(platform::Dialog& dialog) {
    const QRect client = [&] {
      const platform::Rect r = dialog.ClientRect();
      return QRect(r.x, r.y, r.w, r.h);
    }();
    std::vector<QAbstractButton*> buttons;
    for (auto* b : dialog.findChildren<QAbstractButton*>()) {
      if (b->testAttribute(Qt::WA_TransparentForMouseEvents)) continue;  // an indicator
      SCOPED_TRACE(b->objectName().toStdString());
      EXPECT_GE(b->width(), 40);
      EXPECT_GE(b->height(), 40);
      EXPECT_TRUE(client.contains(b->geometry()));
      for (auto* other : buttons) EXPECT_FALSE(other->geometry().intersects(b->geometry()));
      buttons.push_back(b);
    }
    EXPECT_GE(buttons.size(), 4U);
  }

  link::LinkShared shared;
  shell::Settings settings;
  platform::ScriptedPrompter prompter;
  platform::MemorySettingsStore store;
  platform::FakeClock clock;
  SetupSubsystem setup;
  shell::MainWindow window{shared, settings, prompter, store, clock, {&setup}};
};

TEST_F(DryingModeDialogs, EachDialogHasFingerSizedButtonsAndIsPhotographed) {
  bool opened[3] = {};
  WhenOpen([&](QWidget& w) {
    auto& dialog = dynamic_cast<DryingModeDialog&>(w);
    ExpectTouchTargets(dialog);
    dialog.OnControl(dm::kStagedBatch);
    SaveScreenshot(dialog, "drying-mode-staged-batch");
    opened[0] = true;
  });
  window.OpenDialog({.template_id = dm::kTemplate});
  WhenOpen([&](QWidget& w) {
    auto& dialog = dynamic_cast<ContinuousFlowDialog&>(w);
    ExpectTouchTargets(dialog);
    SaveScreenshot(dialog, "continuous-flow-temperature-five-speed");
    dialog.OnControl(cf::kMoisture);
    dialog.OnControl(cf::kVariable);
    dialog.OnControl(cf::kSafetyToggle);
    SaveScreenshot(dialog, "continuous-flow-moisture-variable-no-limit");
    opened[1] = true;
  });
  window.OpenDialog({.template_id = cf::kTemplate});
  for (std::uint8_t mode : {4, 5}) {
    Report(0, mode, 0, 0, 0);
    WhenOpen([&](QWidget& w) {
      auto& dialog = dynamic_cast<BracketDialog&>(w);
      ExpectTouchTargets(dialog);
      EXPECT_EQ(dialog.Brackets().Moisture(), mode == 4);
      dialog.OnControl(bracket_id::kSelect);
      SaveScreenshot(dialog, mode == 4 ? "bracket-moisture-inner" : "bracket-temperature-inner");
      opened[2] = true;
    });
    window.OpenDialog({.template_id = bracket_id::kTemplate});
  }
  EXPECT_TRUE(opened[0] && opened[1] && opened[2]);
  EXPECT_FALSE(shared.pending.AnyRaised()) << "closed without ACCEPT";
}

TEST_F(DryingModeDialogs, DryingModeShowsTheModeAndDisablesStagedBatchWhereTheHardwareForbidsIt) {
  struct Case {
    std::uint8_t selector;
    std::uint8_t hardware;
    bool staged_enabled;
    bool staged_ticked;
  };
  const Case cases[] = {{0, 0x00, true, false}, {1, 0x00, true, true}, {1, 0x20, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.selector * 10 + c.hardware);
    Report(c.selector, c.selector != 0 ? 6 : 1, 0, 0, 0);
    shared.dryer_state.Set(sm::kHardwareOptions, c.hardware);
    DryingModeDialog dialog(&window, window);
    EXPECT_EQ(dialog.Button(dm::kStagedBatch)->isEnabled(), c.staged_enabled);
    EXPECT_EQ(dialog.Indicator(dm::kStagedBatchIndicator)->isEnabled(), c.staged_enabled);
    EXPECT_EQ(dialog.Indicator(dm::kStagedBatchIndicator)->isChecked(), c.staged_ticked);
    EXPECT_EQ(dialog.Indicator(dm::kContinuousFlowIndicator)->isChecked(), !c.staged_ticked);
  }
}

TEST_F(DryingModeDialogs, ContinuousFlowEnablesTheOptionsOfItsScheme) {
  struct Case {
    std::uint8_t mode;
    std::uint8_t display;
    int ticked_scheme;
    int ticked_option;
    bool temperature_options;
    bool five_speed_group;
    const char* toggle;
  };
  const Case cases[] = {
      {1, 0x30, cf::kTemperatureIndicator, cf::kTempTwoSpeedIndicator, true, false, "DISABLE"},
      {5, 0x00, cf::kTemperatureIndicator, cf::kTempFiveSpeedIndicator, true, true, "ENABLE"},
      {3, 0x20, cf::kMoistureIndicator, cf::kVariableIndicator, false, false, "DISABLE"},
      {4, 0x10, cf::kMoistureIndicator, cf::kMoistureFiveSpeedIndicator, false, true, "ENABLE"},
      {2, 0x00, cf::kTemperatureIndicator, cf::kTempTwoSpeedIndicator, true, false, "ENABLE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.mode));
    Report(0, c.mode, 0, 0x80, c.display);
    ContinuousFlowDialog dialog(&window, window.Context());
    int ticked = 0;
    for (int indicator :
         {cf::kTemperatureIndicator, cf::kMoistureIndicator, cf::kTempTwoSpeedIndicator,
          cf::kTempFiveSpeedIndicator, cf::kVariableIndicator, cf::kMoistureFiveSpeedIndicator}) {
      const bool expected = indicator == c.ticked_scheme || indicator == c.ticked_option;
      EXPECT_EQ(dialog.Indicator(indicator)->isChecked(), expected) << indicator;
      ticked += expected ? 1 : 0;
    }
    EXPECT_EQ(ticked, 2);
    EXPECT_EQ(dialog.Button(cf::kTempFiveSpeed)->isEnabled(), c.temperature_options);
    EXPECT_EQ(dialog.Button(cf::kVariable)->isEnabled(), !c.temperature_options);
    EXPECT_EQ(dialog.Button(cf::kFiveSpeedSetup)->isEnabled(), c.five_speed_group);
    EXPECT_EQ(dialog.Button(cf::kAutoCentering)->isEnabled(), c.five_speed_group);
    EXPECT_EQ(dialog.Button(cf::kSafetyToggle)->text().toStdString(), c.toggle);
    EXPECT_EQ(dialog.Button(cf::kMaxGrainTemp)->isEnabled(), std::string(c.toggle) == "DISABLE");
    EXPECT_TRUE(dialog.Indicator(cf::kAutoCenteringIndicator)->isChecked());
    EXPECT_TRUE(dialog.Indicator(cf::kUpperSensorDisabled)->isChecked());
  }
  EXPECT_FALSE(shared.pending.AnyRaised()) << "showing sends nothing";
}

TEST_F(DryingModeDialogs, AcceptingTheContinuousFlowSetupClosesTheDryingModeDialogToo) {
  struct Case {
    int close;
    bool drying_mode_closed;
  };
  for (const Case& c : {Case{cf::kAccept, true}, Case{cf::kCancel, false}}) {
    SCOPED_TRACE(c.close);
    bool setup_opened = false;
    bool drying_mode_still_open = false;
    WhenOpen([&](QWidget& drying_mode) {
      WhenOpen([&](QWidget& w) {
        auto& flow = dynamic_cast<ContinuousFlowDialog&>(w);
        EXPECT_EQ(flow.parentWidget(), &drying_mode) << "a child of the drying mode dialog";
        setup_opened = true;
        flow.OnControl(cf::kMoisture);
        flow.OnControl(c.close);
      });
      dynamic_cast<DryingModeDialog&>(drying_mode).OnControl(dm::kMcSetup);
      drying_mode_still_open = drying_mode.isVisible();
    });
    window.OpenDialog({.template_id = dm::kTemplate});
    EXPECT_TRUE(setup_opened);
    EXPECT_EQ(drying_mode_still_open, !c.drying_mode_closed);
    EXPECT_EQ(shared.pending.IsRaised(link::Rec::kMeteringMode), c.close == cf::kAccept);
    shared.pending.Lower(link::Rec::kMeteringMode);
  }
}

TEST_F(DryingModeDialogs, MaxGrainTempIsTypedInTheTemperatureEntryAndShownInTheBox) {
  namespace te = temperature_entry_id;
  Report(0, 0x05, 0, 0, 0x30);
  ContinuousFlowDialog dialog(&window, window.Context());
  bool typed = false;
  WhenOpen([&](QWidget& w) {
    auto& entry = dynamic_cast<TemperatureEntryDialog&>(w);
    for (int digit : {1, 8, 0}) entry.Button(te::kDigits[digit])->click();
    entry.Button(te::kAccept)->click();
    typed = true;
  });
  dialog.OnControl(cf::kMaxGrainTemp);
  ASSERT_TRUE(typed);
  EXPECT_TRUE(shared.pending.IsRaised(link::Rec::kMoistureControlValue));
  EXPECT_EQ(shared.request.GetT16(sm::kMoistureControlValue), 180);
  EXPECT_EQ(dialog.Flow().MaxGrainTempText(), "180 F");
  // Out of its 100..200 range the entry refuses, and nothing else goes.
  shared.pending.Lower(link::Rec::kMoistureControlValue);
  WhenOpen([&](QWidget& w) {
    auto& entry = dynamic_cast<TemperatureEntryDialog&>(w);
    for (int digit : {2, 5, 0}) entry.Button(te::kDigits[digit])->click();
    prompter.Script(platform::Answer::kOk);
    entry.Button(te::kAccept)->click();
  });
  dialog.OnControl(cf::kMaxGrainTemp);
  EXPECT_FALSE(shared.pending.AnyRaised());
  EXPECT_EQ(prompter.Questions().size(), 1U);
}

}  // namespace
}  // namespace orvandry::setup
