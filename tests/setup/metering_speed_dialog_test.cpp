#include "setup/metering_speed_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QTimer>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "link/command_builder.h"
#include "link/status_intake.h"
#include "platform/clock.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "setup/setup_subsystem.h"
#include "shell/main_window.h"
#include "shell/settings.h"

namespace orvandry::setup {
namespace {

namespace id = metering_id;
using link::MeteringSource;
using platform::Rect;

bool Overlap(Rect a, Rect b) {
  return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

void SaveScreenshot(QWidget& widget, const std::string& name) {
  const QString dir = qEnvironmentVariable("ORVANDRY_SCREENSHOT_DIR");
  if (!dir.isEmpty()) widget.grab().save(dir + "/" + QString::fromStdString(name) + ".png");
}

// A controller reporting metering mode byte `mode` (and `more`), taken in by the real intake
// while the knob is the source; then the source is set.
struct Reported {
  Reported(std::uint8_t mode, MeteringSource source,
           std::vector<std::pair<std::size_t, std::uint8_t>> more = {}) {
    frame[187] = mode;
    frame[156] = frame[160] = 80;
    frame[157] = frame[161] = 50;
    frame[158] = frame[162] = 20;
    frame[159] = 1;
    for (auto [offset, value] : more) frame[offset] = value;
    link::StatusIntake(shared, nullptr).Run(frame.data());
    shared.metering_source = source;
  }
  link::LinkShared shared;
  std::array<std::uint8_t, link::kStateSize> frame{};
};

const int kButtons[] = {id::kScheme, id::kIncrease, id::kDecrease,
                        id::kSelect, id::kAccept,   id::kCancel};

TEST(MeteringSpeedDialog, ButtonsAreTouchSizedInsideTheClientAreaAndApart) {
  Reported dryer(0x02, MeteringSource::kDisplay);
  MeteringSpeed metering(dryer.shared);
  metering.Open();
  platform::ScriptedPrompter prompter;
  MeteringSpeedDialog dialog(nullptr, metering, prompter);
  const Rect client{0, 0, dialog.ClientRect().w, dialog.ClientRect().h};
  for (int control : kButtons) {
    SCOPED_TRACE(control);
    ASSERT_NE(dialog.Button(control), nullptr);
    const Rect r = MeteringSpeedDialog::ControlRect(control);
    EXPECT_GE(dialog.Button(control)->width(), MeteringSpeedDialog::kMinTouch);
    EXPECT_GE(dialog.Button(control)->height(), MeteringSpeedDialog::kMinTouch);
    EXPECT_TRUE(client.Contains({r.x, r.y}) && client.Contains({r.Right() - 1, r.Bottom() - 1}));
    // Right of the high gauge's number box (x 245..375).
    EXPECT_GE(r.x, 376);
    for (int other : kButtons)
      if (other != control) {
        EXPECT_FALSE(Overlap(r, MeteringSpeedDialog::ControlRect(other))) << other;
      }
  }
}

TEST(MeteringSpeedDialog, ControlsFollowTheSourceTheModeAndTheAutomaticState) {
  struct Case {
    const char* name;
    std::uint8_t mode;
    MeteringSource source;
    std::uint8_t state201;
    bool adjust;  // INCREASE, DECREASE
    bool select;
    bool accept;
    bool scheme;      // the scheme button and indicators shown
    bool adjust_box;  // "Speed Adjust" shown
    const char* scheme_text;
    bool first_ticked;
  };
  const Case cases[] = {
      {"two-speed", 0x81, MeteringSource::kDisplay, 0, true, true, true, true, true,
       "SELECT\nON / OFF\nOPERATION", false},
      {"on-off", 0xC1, MeteringSource::kDisplay, 0, true, true, true, true, true,
       "SELECT TWO SPEED OPERATION", true},
      {"three-speed-knob", 0x02, MeteringSource::kKnob, 0, false, false, true, true, true,
       "15% HI/LOW  TRACKING", false},
      {"tracking", 0x22, MeteringSource::kDisplay, 0, true, true, true, true, true,
       "15% HI/LOW  TRACKING", true},
      {"automatic", 0x83, MeteringSource::kDisplay, 3, false, true, false, false, false, "", false},
      {"variable-manual", 0x83, MeteringSource::kDisplay, 1, true, true, true, false, false, "",
       false},
      {"five-speed", 0x04, MeteringSource::kDisplay, 0, true, true, true, false, true, "", false},
      {"single", 0x01, MeteringSource::kKnob, 0, false, false, true, false, true, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Reported dryer(c.mode, c.source, {{201, c.state201}, {161, 120}, {230, 65}});
    MeteringSpeed metering(dryer.shared);
    metering.Open();
    platform::ScriptedPrompter prompter;
    MeteringSpeedDialog dialog(nullptr, metering, prompter);
    dialog.show();
    EXPECT_EQ(dialog.Button(id::kIncrease)->isEnabled(), c.adjust);
    EXPECT_EQ(dialog.Button(id::kDecrease)->isEnabled(), c.adjust);
    EXPECT_EQ(dialog.Button(id::kSelect)->isEnabled(), c.select);
    EXPECT_EQ(dialog.Button(id::kAccept)->isEnabled(), c.accept);
    EXPECT_EQ(dialog.Button(id::kScheme)->isVisible(), c.scheme);
    EXPECT_EQ(dialog.Control(id::kFirstScheme)->isVisible(), c.scheme);
    EXPECT_EQ(dialog.Control(id::kSpeedAdjustBox)->isVisible(), c.adjust_box);
    if (c.scheme) {
      // Broken between words where a line would not fit the button.
      EXPECT_EQ(dialog.Button(id::kScheme)->text().simplified(),
                QString::fromLatin1(c.scheme_text).simplified());
      EXPECT_EQ(dialog.ControlAs<QCheckBox>(id::kFirstScheme)->isChecked(), c.first_ticked);
      EXPECT_NE(dialog.ControlAs<QCheckBox>(id::kSecondScheme)->isChecked(), c.first_ticked);
    }
    SaveScreenshot(dialog, std::string("metering_") + c.name);
  }
}

// --- through the shell ---------------------------------------------------------------------------

class MeteringThroughTheShell : public ::testing::Test {
 protected:
  MeteringThroughTheShell() {
    frame[187] = 0x01;
    frame[156] = frame[160] = 80;
    frame[157] = frame[161] = 50;
    frame[158] = frame[162] = 20;
    frame[159] = 1;
    Report();
  }
  void Report() {
    intake.Run(frame.data());
    window.DeliverIntake();
  }
  // Opens template 166 as the main screen does and runs `inside` while it is open.
  void WhileOpen(std::function<void(MeteringSpeedDialog&)> inside) {
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<MeteringSpeedDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      EXPECT_TRUE(shared.metering_dialog_open.load());
      inside(*dialog);
      if (dialog->isVisible()) dialog->reject();
    });
    EXPECT_TRUE(window.OpenDialog({.template_id = id::kTemplate}));
    EXPECT_FALSE(shared.metering_dialog_open.load());
  }
  std::vector<std::string> OnTheWire() {
    std::array<std::uint8_t, link::kMaxCommandFrameSize> tx{};
    std::vector<std::string> out;
    if (!link::BuildCommandFrame(shared, tx.data())) return out;
    for (std::size_t at = 2, r = 0; r < tx[1]; ++r, at += 3U + tx[at + 2]) {
      std::string record = std::to_string(tx[at + 1]) + ":" + std::to_string(tx[at + 2]) + "=";
      for (int i = 0; i < tx[at + 2]; ++i) {
        if (i > 0) record += ',';  // appended: GCC 12 -O3 misreads "," + string (restrict)
        record += std::to_string(tx[at + 3 + i]);
      }
      if (tx[at + 1] != 53) out.push_back(record);  // the clock goes out every second
    }
    return out;
  }

  link::LinkShared shared;
  shell::Settings settings;
  platform::ScriptedPrompter prompter;
  platform::MemorySettingsStore store;
  platform::FakeClock clock;
  SetupSubsystem setup;
  shell::MainWindow window{shared, settings, prompter, store, clock, {&setup}};
  link::StatusIntake intake{shared, &window};
  std::array<std::uint8_t, link::kStateSize> frame{};
};

TEST_F(MeteringThroughTheShell, TheOpenDialogFollowsTheKnobAndAcceptSendsWhatItShows) {
  WhileOpen([&](MeteringSpeedDialog& dialog) {
    frame[161] = 63;  // the operator turns the knob
    Report();
    dialog.Button(id::kAccept)->click();
  });
  EXPECT_EQ(OnTheWire(), (std::vector<std::string>{"157:1=63"}));
}

TEST_F(MeteringThroughTheShell, HoldingIncreaseRepeatsAfterTheDelay) {
  shared.metering_source = MeteringSource::kDisplay;
  WhileOpen([&](MeteringSpeedDialog& dialog) {
    window.HundredMsTick();  // nothing held yet
    dialog.Button(id::kIncrease)->setDown(true);
    // Five ticks of delay, then one step per tick.
    for (int tick = 0; tick < shell::Housekeeping::kRepeatDelayTicks + 3; ++tick)
      window.HundredMsTick();
    dialog.Button(id::kIncrease)->setDown(false);
    window.HundredMsTick();
    dialog.Button(id::kAccept)->click();
  });
  EXPECT_EQ(OnTheWire(), (std::vector<std::string>{"157:1=53", "159:4=1,80,53,20"}));
}

}  // namespace
}  // namespace orvandry::setup
