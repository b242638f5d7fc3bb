#include "views/picture/dryer_picture_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QWidget>
#include <stdexcept>

#include "link/status_map.h"
#include "platform/window_frame.h"
#include "shell/window_table.h"
#include "views/view_fixture.h"

namespace orvandry::views {
namespace {

namespace sm = link::status_map;
using testing::SaveScreenshot;

const shell::WindowDef& PictureDef() {
  for (const shell::WindowDef& def : shell::kChildWindows)
    if (def.win == shell::Win::kDryerPic) return def;
  throw std::logic_error("no dryer picture in the window table");
}

int CountPixels(const QImage& image, QRect area, auto&& match) {
  int n = 0;
  area = area.intersected(image.rect());
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) n += match(image.pixelColor(x, y)) ? 1 : 0;
  return n;
}

// Flame colours: saturated orange to yellow. Grain and the amber hub are duller and do not count.
int FlamePixels(const QImage& image, QRect area) {
  return CountPixels(image, area,
                     [](QColor c) { return c.red() > 240 && c.green() > 90 && c.blue() < 130; });
}

// The magenta of a picture the registry does not have.
int PlaceholderPixels(const QImage& image) {
  return CountPixels(image, image.rect(), [](QColor c) { return c == QColor(255, 0, 255); });
}

class DryerPictureWindowTest : public ::testing::Test {
 protected:
  DryerPictureWindowTest() : window(&parent, PictureDef(), world.ctx) {}

  // The window in its client coordinates (the sunken edge is 2 px).
  QRect Client(int x, int y, int w, int h) const {
    return QRect(x + platform::kSunkenEdgeWidth, y + platform::kSunkenEdgeWidth, w, h);
  }
  void SetPhases(std::uint8_t phase) {
    world.ticks.phases.fan.fill(phase);
    world.ticks.phases.loading = phase;
    world.ticks.phases.unloading_fast = phase;
    world.ticks.phases.unloading_slow = phase;
    world.ticks.phases.direction_a = phase;
    world.ticks.phases.direction_b = phase;
  }

  // A continuous-flow dryer at work: two fan/heaters, both firing, loading and unloading.
  void ContinuousFlowRunning() {
    s.Set(sm::kHardwareOptions, 0x80);
    s.Set(sm::kFanCountCode, 1);
    s.Set(136, 0x03);
    s.Set(135, 0x03);
    s.Set(sm::FanHeaterStatus(1), 0x01);  // the tick turns running fans only
    s.Set(sm::FanHeaterStatus(2), 0x01);
    s.Set(sm::kDryerActivity, 0x40);
    s.Set(sm::kUnloadBits, 0x01);
    s.Set(sm::kMeteringMode, 1);
    s.SetBe16(sm::kIncomingMoisture, 214);
    s.SetBe16(sm::kUnloadRate, 1180);
    world.ticks.phases.fan = {1, 2, 0, 0, 0, 0};
    world.ticks.phases.loading = 1;
    world.ticks.phases.unloading_fast = 2;
  }

  testing::ViewWorld world;
  link::ByteImage& s = world.state();
  QWidget parent;
  DryerPictureWindow window;
};

TEST_F(DryerPictureWindowTest, EveryPictureOfEveryLayoutIsRegistered) {
  EXPECT_EQ(window.objectName(), "DRYER_PIC_WINDOW");
  EXPECT_EQ(window.geometry(), QRect(0, 0, 240, 420));
  // Each layout with each tile kind in each frame: any missing art shows as the magenta
  // placeholder.
  const std::uint8_t kinds[] = {0x00, 0x01, 0x03, 0x02};
  for (int k = 1; k <= 6; ++k) {
    s.Set(137 - static_cast<std::size_t>(k), kinds[k % 4]);
    s.Set(131 - static_cast<std::size_t>(k), k % 2 == 0 ? 0x04 : 0x00);
  }
  s.Set(sm::kDryerStateBits, 0x80);
  for (std::uint8_t modules : {0, 1, 2}) {
    for (std::uint8_t options : {0x80, 0x20}) {
      for (std::uint8_t fans : {0, 1, 2, 3, 4}) {
        s.Set(sm::kModuleCountCode, modules);
        s.Set(sm::kHardwareOptions, options);
        s.Set(sm::kFanCountCode, fans);
        s.Set(sm::kOptionBits183, fans % 2 == 0 ? 0x02 : 0x00);
        for (std::uint8_t phase : {0, 1, 2}) {
          SetPhases(phase);
          EXPECT_EQ(PlaceholderPixels(window.Render()), 0)
              << "modules " << int{modules} << " options " << int{options} << " fans " << int{fans};
        }
      }
    }
  }
}

TEST_F(DryerPictureWindowTest, FiringBurnersShowFlamesAndTheTickTurnsTheFans) {
  ContinuousFlowRunning();
  const QImage firing = window.Render();
  SaveScreenshot(firing, "dryer_picture_cf_two_firing");
  // Fan/heater 2's tile is at (48, 100), fan/heater 1's at (48, 190); the burner is on the right.
  EXPECT_GT(FlamePixels(firing, Client(95, 104, 45, 80)), 150);
  EXPECT_GT(FlamePixels(firing, Client(95, 194, 45, 80)), 100);
  s.Set(136, 0x01);  // fan/heater 1: fan only
  EXPECT_EQ(FlamePixels(window.Render(), Client(95, 194, 45, 80)), 0);

  // Three 100 ms ticks step each running fan through its three frames and back.
  std::vector<QImage> frames;
  for (int tick = 0; tick < 3; ++tick) {
    frames.push_back(window.Render());
    world.ticks.HundredMsTick();
  }
  EXPECT_EQ(world.host.repaints[shell::Win::kDryerPic], 3);
  const QRect fan1 = Client(48, 190, 50, 90);
  EXPECT_NE(frames[0].copy(fan1), frames[1].copy(fan1));
  EXPECT_NE(frames[1].copy(fan1), frames[2].copy(fan1));
  EXPECT_NE(frames[0].copy(fan1), frames[2].copy(fan1));
  EXPECT_EQ(window.Render().copy(fan1), frames[0].copy(fan1));
  // The grain at the discharge moves too.
  const QRect discharge = Client(75, 292, 38, 38);
  EXPECT_NE(frames[0].copy(discharge), frames[1].copy(discharge));
}

TEST_F(DryerPictureWindowTest, BatchUnloadNoticeIsAskedOnceAfterThePaint) {
  ContinuousFlowRunning();
  s.Set(sm::kBatchSelector, 1);
  s.Set(sm::kStatusBits179, 0x02);
  window.Render();
  EXPECT_TRUE(world.prompter.Questions().empty());  // not inside the paint
  window.Render();
  QCoreApplication::processEvents();
  ASSERT_EQ(world.prompter.Questions().size(), 1U);
  const auto& question = world.prompter.Questions().front();
  EXPECT_EQ(question.text,
            "BATCH OPERATION REQUIRES THE UNLOAD TO BE IN AUTO! UNLOAD WILL NOT STOP IN MANUAL!");
  EXPECT_EQ(question.caption, "CONTINUE?");
  EXPECT_EQ(question.buttons, platform::Buttons::kOk);

  s.Set(sm::kStatusBits179, 0x00);
  window.Render();
  s.Set(sm::kStatusBits179, 0x02);
  window.Render();
  QCoreApplication::processEvents();
  EXPECT_EQ(world.prompter.Questions().size(), 2U);
}

// The other layouts an operator meets. Set ORVANDRY_SCREENSHOT_DIR to keep the PNGs.
TEST_F(DryerPictureWindowTest, ScreenshotsOfTheOtherVariantsShowTheirFlames) {
  ContinuousFlowRunning();
  s.Set(sm::kModuleCountCode, 2);
  s.Set(sm::kFanCountCode, 4);
  for (std::size_t b = 131; b <= 136; ++b) s.Set(b, b % 3 == 0 ? 0x01 : 0x03);
  SaveScreenshot(window.Render(), "dryer_picture_six_plenums");

  s.Set(sm::kModuleCountCode, 0);
  s.Set(sm::kHardwareOptions, 0x20);
  s.Set(168, 0x08);
  const QImage image = window.Render();
  SaveScreenshot(image, "dryer_picture_one_plenum");
  EXPECT_GT(FlamePixels(image, Client(52, 175, 42, 42)), 100);
}

}  // namespace
}  // namespace orvandry::views
