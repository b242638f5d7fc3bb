// The service dialogs on the screen: each opens through the shell by its template number (so the
// setup boards' buttons reach it), draws readably with every button touchable, shows a running
// clock, and sends what the technician chose to the simulated dryer through the real link cycle,
// which echoes it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <functional>

#include "link/link_cycle.h"
#include "link/status_intake.h"
#include "link/status_map.h"
#include "platform/clock.h"
#include "platform/control_id.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "service/counter_output_dialogs.h"
#include "service/info_clock_dialogs.h"
#include "service/service_subsystem.h"
#include "setup/extended_setup.h"
#include "setup/setup_select.h"
#include "setup/setup_subsystem.h"
#include "setup/simulated_display.h"
#include "shell/main_window.h"
#include "shell/settings.h"
#include "sim/controller_core.h"

namespace orvandry::service {
namespace {

namespace sm = link::status_map;

class ServiceDialogs
    : public ::testing::Test,
      protected setup::testing::SimulatedDisplay<setup::SetupSubsystem, ServiceSubsystem> {
 protected:
  ServiceDialogs() {
    clock.Set({2026, 12, 7, 21, 5, 30});
    window.show();
    for (int i = 0; i < 3; ++i) Cycle();
  }

  // Every button and touchable tick lies in the client area, is at least 40 x 40 pixels and
  // overlaps no other; then the picture is saved for a look.
  void CheckAndSave(PanelDialog& dialog, const char* name) {
    const platform::Rect c = dialog.ClientRect();
    const QRect client(c.x, c.y, c.w, c.h);
    QList<QAbstractButton*> targets;
    for (QAbstractButton* b : dialog.findChildren<QAbstractButton*>())
      if (!b->testAttribute(Qt::WA_TransparentForMouseEvents)) targets.push_back(b);
    ASSERT_FALSE(targets.empty());
    for (QAbstractButton* b : targets) {
      const int control = platform::ControlIdOf(*b).value_or(-1);
      EXPECT_TRUE(client.contains(b->geometry())) << name << " " << control;
      EXPECT_GE(b->width(), PanelDialog::kMinTouch) << name << " " << control;
      EXPECT_GE(b->height(), PanelDialog::kMinTouch) << name << " " << control;
      for (QAbstractButton* other : targets) {
        if (other != b) {
          EXPECT_FALSE(b->geometry().intersects(other->geometry())) << name << " " << control;
        }
      }
    }
    const QString dir = qEnvironmentVariable("ORVANDRY_SCREENSHOT_DIR");
    if (!dir.isEmpty()) dialog.grab().save(QDir(dir).filePath(QString::fromLatin1(name) + ".png"));
  }
  QString TextOf(PanelDialog& d, int id) { return d.Text(id)->text(); }
};

TEST_F(ServiceDialogs, TheSetupBoardsAndTheViewMenuNameTheseDialogs) {
  EXPECT_EQ(shell::dialog::kSystemInfo, system_info_id::kTemplate);
  EXPECT_EQ(shell::dialog::kSoftwareInfo, release_notes_id::kTemplate);
  EXPECT_EQ(setup::setup_select_template::kTimeDate, time_date_id::kTemplate);
  EXPECT_EQ(setup::setup_select_template::kRemoteConnection, remote_id::kTemplate);
  EXPECT_EQ(setup::setup_select_template::kUnloadBushels, bushels_id::kTemplate);
  EXPECT_EQ(setup::extended_template::kTimeDate, time_date_id::kTemplate);
  EXPECT_EQ(setup::extended_template::kUnloadBushels, bushels_id::kTemplate);
  EXPECT_EQ(setup::extended_template::kSampler, sampler_id::kTemplate);
  EXPECT_EQ(setup::extended_template::kUserSettings, user_settings_id::kTemplate);
}

TEST_F(ServiceDialogs, SystemInformationRunsItsClockOnTheSecondTick) {
  WhileOpen<SystemInfoDialog>(system_info_id::kTemplate, [&](SystemInfoDialog& d) {
    EXPECT_EQ(d.Caption(), kSystemInfoCaption);
    EXPECT_EQ(TextOf(d, system_info_id::kTime), "9:05:30 PM");
    EXPECT_EQ(TextOf(d, system_info_id::kDate), "Monday  Dec 07, 2026");
    EXPECT_TRUE(TextOf(d, system_info_id::kRamSize).endsWith(" Bytes"));
    clock.Advance(1);
    window.OneSecondTick();
    EXPECT_EQ(TextOf(d, system_info_id::kTime), "9:05:31 PM");
    const QRect main = window.frameGeometry();
    EXPECT_LT(d.y(), main.top() + (main.height() - d.height()) / 2) << "above centre";
    EXPECT_GE(d.y(), main.top());
    CheckAndSave(d, "service_440_system_info");
  });
  WhileOpen<ReleaseNotesDialog>(release_notes_id::kTemplate, [&](ReleaseNotesDialog& d) {
    EXPECT_TRUE(TextOf(d, release_notes_id::kNotes).startsWith("*****"));
    CheckAndSave(d, "service_524_release_notes");
    d.Button(release_notes_id::kExit)->click();
  });
}

TEST_F(ServiceDialogs, SetTimeDateSetsThePanelClockOrRefusesClearly) {
  namespace id = time_date_id;
  WhileOpen<TimeDateDialog>(id::kTemplate, [&](TimeDateDialog& d) {
    EXPECT_EQ(TextOf(d, id::kMonth), " DECEMBER");
    EXPECT_EQ(TextOf(d, id::kWeekday), " MONDAY");
    EXPECT_EQ(TextOf(d, id::kAmPm), "PM");
    d.Button(id::kDayUp)->click();
    d.Button(id::kAm)->click();
    EXPECT_EQ(TextOf(d, id::kWeekday), " TUESDAY");
    clock.Advance(1);
    window.OneSecondTick();
    EXPECT_TRUE(TextOf(d, id::kNow).contains("9:05:31 PM"));
    // MINUTE UP held: after the repeat delay of five ticks it steps on every tick.
    window.HundredMsTick();
    d.Button(id::kMinuteUp)->setDown(true);
    for (int i = 0; i < 8; ++i) window.HundredMsTick();
    d.Button(id::kMinuteUp)->setDown(false);
    window.HundredMsTick();
    EXPECT_EQ(TextOf(d, id::kMinute), "08");
    for (int i = 0; i < 3; ++i) d.Button(id::kMinuteDown)->click();
    CheckAndSave(d, "service_199_time_date");
    d.Button(id::kAccept)->click();
    EXPECT_FALSE(d.isVisible());
  });
  EXPECT_EQ(clock.Now(), (platform::LocalDateTime{2026, 12, 8, 9, 5, 0, 2}));

  clock.SetFailSetLocalTime(true);
  prompter.Script(platform::Answer::kOk);
  WhileOpen<TimeDateDialog>(id::kTemplate, [&](TimeDateDialog& d) {
    d.Button(id::kYearUp)->click();
    d.Button(id::kAccept)->click();
    EXPECT_EQ(d.Outcome(), TimeDate::Outcome::kRefused);
  });
  EXPECT_EQ(clock.Now().year, 2026) << "nothing changed";
  EXPECT_EQ(prompter.Last()->text, kClockNotPermittedText);
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST_F(ServiceDialogs, RemoteConnectionAndUserSettingsReachTheDryer) {
  namespace rid = remote_id;
  Controller(sm::kRemoteConnection) = 0xA0;
  for (int i = 0; i < 2; ++i) Cycle();
  WhileOpen<RemoteConnectionDialog>(rid::kTemplate, [&](RemoteConnectionDialog& d) {
    EXPECT_TRUE(d.Tick(rid::kDirectSerial)->isChecked());
    EXPECT_TRUE(d.Tick(rid::kRings[0])->isChecked());
    EXPECT_FALSE(d.Tick(rid::kEthernet)->isEnabled());
    d.Tick(rid::kModem)->click();
    d.Tick(rid::kRings[2])->click();
    EXPECT_TRUE(d.Tick(rid::kModem)->isChecked());
    EXPECT_FALSE(d.Tick(rid::kDirectSerial)->isChecked());
    EXPECT_FALSE(d.Tick(rid::kRings[0])->isChecked());
    CheckAndSave(d, "service_206_remote_connection");
    d.Button(rid::kAccept)->click();
  });
  for (int i = 0; i < 4; ++i) Cycle();
  EXPECT_EQ(Controller(sm::kRemoteConnection), 0xA6);
  EXPECT_FALSE(shared.pending.IsRaised(link::Rec::kRemoteConnection));

  // SAVE keeps the calibration in the dryer; a later change is undone by RESTORE.
  Controller(sm::kBushelCalibration) = 97;
  for (int i = 0; i < 2; ++i) Cycle();
  WhileOpen<UserSettingsDialog>(user_settings_id::kTemplate, [&](UserSettingsDialog& d) {
    CheckAndSave(d, "service_479_user_settings");
    d.Button(user_settings_id::kSave)->click();
  });
  for (int i = 0; i < 4; ++i) Cycle();
  EXPECT_FALSE(shared.pending.IsRaised(link::Rec::kDisplaySettings));
  Controller(sm::kBushelCalibration) = 120;
  WhileOpen<UserSettingsDialog>(user_settings_id::kTemplate, [&](UserSettingsDialog& d) {
    d.Button(user_settings_id::kRestore)->click();
  });
  for (int i = 0; i < 4; ++i) Cycle();
  EXPECT_EQ(Controller(sm::kBushelCalibration), 97);
  EXPECT_EQ(shared.dryer_state.Get(sm::kBushelCalibration), 97);
  EXPECT_FALSE(shared.pending.IsRaised(link::Rec::kDisplaySettings));
}

TEST_F(ServiceDialogs, BushelsMeterOutputAndSamplerReachTheDryerWithoutUndoingEachOther) {
  core.model().table()[sm::kBushelCounter + 1] = 0x80;  // 32768 counts: 9 bushels
  for (int i = 0; i < 2; ++i) Cycle();
  prompter.Script(platform::Answer::kYes);
  WhileOpen<UnloadBushelsDialog>(bushels_id::kTemplate, [&](UnloadBushelsDialog& d) {
    EXPECT_EQ(TextOf(d, bushels_id::kCalibration), "  100 %");
    d.Button(bushels_id::kDecrease)->click();
    EXPECT_EQ(TextOf(d, bushels_id::kCalibration), "  99 %");
    CheckAndSave(d, "service_226_unload_bushels");
    d.Button(bushels_id::kClear)->click();
    d.Button(bushels_id::kAccept)->click();
  });
  EXPECT_EQ(prompter.Last()->text, kClearQuestion);
  namespace mid = meter_output_id;
  WhileOpen<MeterOutputDialog>(mid::kTemplate, [&](MeterOutputDialog& d) {
    EXPECT_EQ(TextOf(d, mid::kMaxPercent), " 74.51 %");
    d.Button(mid::kMinUp)->click();
    EXPECT_EQ(TextOf(d, mid::kMinPercent), " 12.94 %");
    EXPECT_EQ(shared.request.Get(sm::kCommandBits238), 0x08 | 0x02);
    CheckAndSave(d, "service_252_meter_output");
  });  // closed without its buttons: the test output still ends
  EXPECT_EQ(shared.request.Get(sm::kCommandBits238) & 0x03, 0);
  namespace sid = sampler_id;
  WhileOpen<SamplerSetupDialog>(sid::kTemplate, [&](SamplerSetupDialog& d) {
    EXPECT_TRUE(d.Tick(sid::kSwitchToGrainTemp)->isChecked());
    d.Button(sid::kSelectAction)->click();
    EXPECT_TRUE(d.Tick(sid::kShutdown)->isChecked());
    CheckAndSave(d, "service_556_sampler_setup");
    d.Button(sid::kAccept)->click();
  });
  for (int i = 0; i < 10; ++i) Cycle();
  EXPECT_EQ(Controller(sm::kBushelCalibration), 99);
  EXPECT_EQ(Controller(sm::kMeterOutputVoltage2), 33);
  EXPECT_EQ(Controller(sm::kSamplerConfig), 0x0A);
  EXPECT_LT(shared.dryer_state.GetU32(sm::kBushelCounter), 32768U)
      << "the clear happened (the dryer counts on from zero while it unloads)";
  EXPECT_EQ(Controller(sm::kCommandBits238), 0);
  EXPECT_FALSE(shared.pending.AnyRaised());
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

}  // namespace
}  // namespace orvandry::service
