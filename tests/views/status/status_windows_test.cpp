#include "views/status/status_windows.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

#include "link/status_map.h"
#include "platform/control_id.h"
#include "platform/window_frame.h"
#include "shell/window_table.h"
#include "views/status/unload_status.h"
#include "views/view_fixture.h"

namespace orvandry::views {
namespace {

namespace sm = link::status_map;
using testing::SaveScreenshot;
using testing::ViewWorld;

const shell::WindowDef& Def(shell::Win win) {
  for (const shell::WindowDef& def : shell::kChildWindows)
    if (def.win == win) return def;
  throw std::logic_error("no such window");
}

// Pixels of exactly this colour inside the rectangle of the image.
int CountColour(const QImage& image, QRect area, QColor colour) {
  int n = 0;
  area = area.intersected(image.rect());
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) n += image.pixelColor(x, y) == colour;
  return n;
}

const QColor kRed(255, 0, 0);
const QColor kGreen(0, 255, 0);
const QColor kFigure(115, 185, 185);

class StatusWindows : public ::testing::Test {
 protected:
  ViewWorld world;
  QWidget parent;
  link::ByteImage& s = world.state();

  template <class W>
  std::unique_ptr<W> Make(shell::Win win) {
    return std::make_unique<W>(&parent, Def(win), world.ctx);
  }
};

TEST_F(StatusWindows, FactoryMakesEachStatusViewWithItsTableFrame) {
  const std::pair<shell::Win, unsigned> cases[] = {
      {shell::Win::kRightStatusBar, platform::kSunkenEdge},
      {shell::Win::kLeftStatusBar, platform::kSunkenEdge},
      {shell::Win::kPlenumPanel, platform::kCaptionBar | platform::kSunkenEdge},
      {shell::Win::kUnloadStatus, platform::kCaptionBar | platform::kSunkenEdge}};
  for (auto [win, frame] : cases) {
    const shell::WindowDef& def = Def(win);
    std::unique_ptr<platform::ChildWindow> w(CreateStatusView(def, &parent, world.ctx));
    ASSERT_NE(w, nullptr) << def.class_name;
    EXPECT_EQ(w->objectName(), QString::fromLatin1(def.class_name));
    EXPECT_EQ(w->geometry(), QRect(def.x, def.y, def.width, def.height));
    EXPECT_EQ(w->Frame(), frame) << def.class_name;
  }
  EXPECT_EQ(CreateStatusView(Def(shell::Win::kDryerPic), &parent, world.ctx), nullptr);
}

TEST_F(StatusWindows, StatusBarsFollowTheSharedBlinkBitAndTheContextsUnits) {
  auto bar = Make<RightStatusBarWindow>(shell::Win::kRightStatusBar);
  s.Set(sm::kStatusBarBits113 + 5, 0x20);
  const QImage on = bar->Render();
  world.SetBlink(false);
  const QImage off = bar->Render();
  SaveScreenshot(on, "right_bar_airswitch_on");
  EXPECT_GT(CountColour(on, on.rect(), kRed), 200);
  // The blank half leaves the client area black.
  EXPECT_EQ(CountColour(off, off.rect().adjusted(2, 2, -2, -2), Qt::black), 396 * 36);

  // A temperature hold in degrees C: green, and it fits short of the bar's last columns.
  s.Set(sm::kStatusBarBits113 + 5, 0);
  s.Set(sm::kDryerActivity, 0xA0);
  s.Set(sm::kDryerStateBits, 0x40);
  s.Set(sm::kDryingMode, 0x08);
  s.SetT16(sm::kGrainTempSetpoint, 110);
  s.SetT16(sm::kGrainTempSelector0, 92);
  world.SetSi(true);
  const QImage hold = bar->Render();
  SaveScreenshot(hold, "right_bar_temp_hold_si");
  EXPECT_GT(CountColour(hold, hold.rect(), kGreen), 200);
  EXPECT_EQ(CountColour(hold, QRect(390, 0, 10, 40), kGreen), 0);

  auto left = Make<LeftStatusBarWindow>(shell::Win::kLeftStatusBar);
  const QImage clock = left->Render();
  SaveScreenshot(clock, "left_bar_clock");
  EXPECT_GT(CountColour(clock, clock.rect(), Qt::white), 50);
  s.Set(sm::BurnerStatus(2), 0x04);
  world.SetBlink(true);
  const QImage warning = left->Render();
  SaveScreenshot(warning, "left_bar_airflow");
  EXPECT_GT(CountColour(warning, warning.rect(), kRed), 227 * 27 / 2);
}

// The right bar names what it draws from, so a refresh can skip the recording: its inputs must
// change whenever its picture does, and stay while a byte it does not show moves.
TEST_F(StatusWindows, RightBarInputsChangeExactlyWithItsPicture) {
  struct Bar : RightStatusBarWindow {
    using RightStatusBarWindow::DrawingInputs;
    using RightStatusBarWindow::RightStatusBarWindow;
  };
  Bar bar(&parent, Def(shell::Win::kRightStatusBar), world.ctx);
  const std::vector<std::function<void()>> steps = {
      [&] { s.Set(sm::kIncomingMoisture, 77); },  // not shown on the bar
      [&] { s.Set(sm::kStatusBarBits113 + 5, 0x20); },
      [&] { world.SetBlink(false); },
      [&] { world.SetBlink(true); },
      [&] { s.Set(sm::kStatusBarBits113 + 5, 0); },
      [&] {
        s.Set(sm::kDryerActivity, 0xA0);
        s.Set(sm::kDryerStateBits, 0x40);
        s.Set(sm::kDryingMode, 0x08);
        s.SetT16(sm::kGrainTempSetpoint, 110);
      },
      [&] { s.SetT16(sm::kGrainTempSelector0, 92); },
      [&] { world.SetSi(true); },
      [&] { s.Set(sm::kIncomingMoisture, 78); },
  };
  QImage before = bar.Render();
  std::vector<std::uint8_t> inputs = bar.DrawingInputs();
  EXPECT_FALSE(inputs.empty());
  for (std::size_t i = 0; i < steps.size(); ++i) {
    steps[i]();
    const QImage after = bar.Render();
    const std::vector<std::uint8_t> now = bar.DrawingInputs();
    EXPECT_EQ(after != before, now != inputs) << "step " << i;
    before = after;
    inputs = now;
  }
}

TEST_F(StatusWindows, PlenumPanelInEveryLayout) {
  auto panel = Make<PlenumPanelWindow>(shell::Win::kPlenumPanel);
  // Each plenum a little off its setpoint, burners in different states.
  const std::int16_t setpoints[] = {180, 180, 200, 200, 160, 160};
  const std::int16_t readings[] = {178, 183, 199, 261, 158, 72};
  const std::uint8_t outputs[] = {0x02, 0x06, 0x02, 0x02, 0x02, 0x00};
  for (int k = 1; k <= 6; ++k) {
    s.SetT16(sm::PlenumSetpoint(k), setpoints[k - 1]);
    s.SetT16(sm::PlenumReading(k), readings[k - 1]);
    s.Set(131 - static_cast<std::size_t>(k), outputs[k - 1]);
  }
  s.Set(sm::BurnerStatus(5), 0x01);  // plenum 5 purging
  const QRect client(2, 22, 396, 151);
  const char* names[] = {"plenum_one", "plenum_two", "plenum_three", "plenum_four", "plenum_six"};
  for (std::uint8_t code = 0; code < 5; ++code) {
    s.Set(sm::kFanCountCode, code);
    const QImage image = panel->Render();
    SaveScreenshot(image, names[code]);
    EXPECT_GT(CountColour(image, client, kRed), 300) << names[code];                   // readings
    EXPECT_GT(CountColour(image, client, QColor(150, 150, 150)), 100) << names[code];  // lines
  }
  s.Set(sm::kFanCountCode, 9);
  EXPECT_EQ(CountColour(panel->Render(), client, Qt::black), 396 * 151);
}

TEST_F(StatusWindows, UnloadWindowIsCompleteWhileHiddenAndCommandsTheSpeedDialog) {
  auto window = Make<UnloadStatusWindow>(shell::Win::kUnloadStatus);
  window->hide();
  auto* bushel = platform::FindControl(*window, kBushelButtonId);
  auto* metering = platform::FindControl(*window, kMeteringRollButtonId);
  ASSERT_NE(bushel, nullptr);
  ASSERT_NE(metering, nullptr);
  EXPECT_FALSE(bushel->isHidden());  // shown together with the window
  // Client area starts at (2, 22); the buttons are cut at the sunken edge.
  EXPECT_EQ(bushel->geometry(), QRect(4, 94, 234, 76));
  EXPECT_EQ(metering->geometry(), QRect(134, 22, 104, 70));

  std::vector<std::pair<int, QWidget*>> opened;
  window->SetDialogOpener([&](int id, QWidget* p) { opened.emplace_back(id, p); });
  window->BushelButton()->click();
  EXPECT_TRUE(opened.empty());
  window->MeteringRollButton()->click();
  ASSERT_EQ(opened.size(), 1U);
  EXPECT_EQ(opened[0].first, 166);
  EXPECT_EQ(opened[0].second, window.get());

  s.SetBe16(sm::kMeteringRpm, 125);
  s.Set(sm::kMeteringSpeedMain, 55);
  s.Set(sm::kMeteringSpeedShown, 1);
  s.SetBe16(sm::kUnloadRate, 1250);
  s.SetU32(sm::kBushelCounter, 3600U * 4321U);
  const QImage shot = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
  SaveScreenshot(shot, "unload_status");
  // The highlighted MED line and the figures are there, straight from DryerState.
  EXPECT_GT(CountColour(shot, QRect(134, 47, 100, 20), QColor(215, 185, 185)), 100);
  EXPECT_GT(CountColour(shot, QRect(2, 22, 130, 65), kFigure), 300);
  EXPECT_GT(CountColour(shot, QRect(4, 94, 234, 40), kFigure), 100);
}

}  // namespace
}  // namespace orvandry::views
