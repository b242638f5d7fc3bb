#include "views/picture/dryer_picture_window.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QWidget>
#include <stdexcept>

#include "link/status_map.h"
#include "picture_world.h"
#include "platform/window_frame.h"
#include "resources/picture_library.h"
#include "shell/window_table.h"

namespace orvandry::views {
namespace {

namespace sm = link::status_map;
using testing::PictureWorld;
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

  // A continuous-flow dryer at work: two fan/heaters, both firing, loading and unloading.
  void ContinuousFlowRunning() {
    auto& s = world.state();
    s.Set(sm::kHardwareOptions, 0x80);
    s.Set(sm::kFanCountCode, 1);
    s.Set(136, 0x03);
    s.Set(135, 0x03);
    s.Set(129, 0x04);  // fan/heater 2 at high fire
    s.Set(sm::FanHeaterStatus(1), 0x01);
    s.Set(sm::FanHeaterStatus(2), 0x01);
    s.Set(sm::kDryerActivity, 0x40);
    s.Set(sm::kUnloadBits, 0x01);
    s.Set(sm::kLoadDirectionBits, 0x0C);
    s.Set(sm::kMeteringMode, 1);
    s.Set(sm::kMeteringSpeedShown, 2);
    s.Set(245, 72);
    s.SetBe16(sm::kIncomingMoisture, 214);
    s.SetBe16(sm::kOutgoingMoisture, 153);
    s.SetBe16(sm::kMoistureSetpoint, 155);
    s.SetT16(sm::kGrainTempSelector0, 112);
    s.SetBe16(sm::kOutgoingGrainTemp, 964);
    s.SetBe16(sm::kUnloadRate, 1180);
    s.SetU32(sm::kBushelCounter, 3600U * 24518);
    s.SetBe16(sm::kMeteringRpm, 84);
    s.Set(sm::kSamplerConfig, 0x80);
    s.Set(sm::kSamplerState, 1);
    world.ticks.fan_phase = {1, 2, 0, 0, 0, 0};
    world.ticks.loading_phase = 1;
    world.ticks.unloading_fast_phase = 2;
  }

  PictureWorld world;
  QWidget parent;
  DryerPictureWindow window;
};

TEST_F(DryerPictureWindowTest, TakesItsTableEntry) {
  EXPECT_EQ(window.objectName(), "DRYER_PIC_WINDOW");
  EXPECT_EQ(window.geometry(), QRect(0, 0, 240, 420));
  EXPECT_EQ(window.Frame(), platform::kSunkenEdge);
  EXPECT_EQ(window.Caption(), " SYSTEM STATUS");
}

TEST_F(DryerPictureWindowTest, EveryPictureOfEveryLayoutIsRegistered) {
  // Each layout with each tile kind: any missing art shows as the magenta placeholder.
  for (std::uint8_t modules : {0, 1, 2}) {
    for (std::uint8_t options : {0x80, 0x20}) {
      for (std::uint8_t fans : {0, 1, 2, 3, 4}) {
        auto& s = world.state();
        s.Set(sm::kModuleCountCode, modules);
        s.Set(sm::kHardwareOptions, options);
        s.Set(sm::kFanCountCode, fans);
        s.Set(sm::kOptionBits183, fans % 2 == 0 ? 0x02 : 0x00);
        s.Set(sm::kDryerStateBits, 0x80);
        const std::uint8_t kinds[] = {0x00, 0x01, 0x03, 0x02};
        for (int k = 1; k <= 6; ++k) {
          s.Set(137 - static_cast<std::size_t>(k), kinds[k % 4]);
          s.Set(131 - static_cast<std::size_t>(k), k % 2 == 0 ? 0x04 : 0x00);
        }
        for (std::uint8_t phase : {0, 1, 2}) {
          world.ticks.fan_phase.fill(phase);
          world.ticks.loading_phase = phase;
          world.ticks.unloading_fast_phase = phase;
          world.ticks.unloading_slow_phase = phase;
          world.ticks.direction_phase_a = phase;
          world.ticks.direction_phase_b = phase;
          EXPECT_EQ(PlaceholderPixels(window.Render()), 0)
              << "modules " << int{modules} << " options " << int{options} << " fans " << int{fans};
        }
      }
    }
  }
  for (int n : {367, 324, 323, 406, 462, 485, 487, 489, 490, 428, 429, 433, 434})
    EXPECT_TRUE(resources::FindPicture(n) != nullptr) << n;
}

TEST_F(DryerPictureWindowTest, FiringBurnersShowFlamesAndTheTickTurnsTheFans) {
  ContinuousFlowRunning();
  const QImage firing = window.Render();
  // Fan/heater 2's tile is at (48, 100), fan/heater 1's at (48, 190); the burner is on the right.
  EXPECT_GT(FlamePixels(firing, Client(95, 104, 45, 80)), 150);
  EXPECT_GT(FlamePixels(firing, Client(95, 194, 45, 80)), 100);
  world.state().Set(136, 0x01);  // fan/heater 1: fan only
  EXPECT_EQ(FlamePixels(window.Render(), Client(95, 194, 45, 80)), 0);

  // Three 100 ms ticks step each running fan through its three frames and back.
  std::vector<QImage> frames;
  for (int tick = 0; tick < 3; ++tick) {
    frames.push_back(window.Render());
    world.ticks.HundredMsTick();
  }
  EXPECT_EQ(world.host.picture_repaints, 3);
  const QRect fan1 = Client(48, 190, 50, 90);
  EXPECT_NE(frames[0].copy(fan1), frames[1].copy(fan1));
  EXPECT_NE(frames[1].copy(fan1), frames[2].copy(fan1));
  EXPECT_NE(frames[0].copy(fan1), frames[2].copy(fan1));
  // Back to the first frame after three ticks.
  EXPECT_EQ(window.Render().copy(fan1), frames[0].copy(fan1));
  // The grain at the discharge moves too.
  const QRect discharge = Client(75, 292, 38, 38);
  EXPECT_NE(frames[0].copy(discharge), frames[1].copy(discharge));
}

TEST_F(DryerPictureWindowTest, BatchUnloadNoticeIsAskedOnceAfterThePaint) {
  ContinuousFlowRunning();
  world.state().Set(sm::kBatchSelector, 1);
  world.state().Set(sm::kStatusBits179, 0x02);
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
  EXPECT_EQ(question.icon, platform::Icon::kNone);

  world.state().Set(sm::kStatusBits179, 0x00);
  window.Render();
  world.state().Set(sm::kStatusBits179, 0x02);
  window.Render();
  QCoreApplication::processEvents();
  EXPECT_EQ(world.prompter.Questions().size(), 2U);
}

// Screenshots of the layouts an operator meets. Set ORVANDRY_SCREENSHOT_DIR to keep the PNGs.
TEST_F(DryerPictureWindowTest, Screenshots) {
  ContinuousFlowRunning();
  QImage image = window.Render();
  SaveScreenshot(image, "dryer_picture_cf_two_firing");
  EXPECT_EQ(PlaceholderPixels(image), 0);

  auto& s = world.state();
  s.Set(sm::kSamplerConfig, 0);
  s.Set(sm::kBatchSelector, 1);
  s.Set(sm::kMeteringMode, 6);
  s.Set(sm::kFanCountCode, 2);
  s.Set(134, 0x01);
  s.Set(sm::kUnloadBits, 0);
  s.Set(sm::kDryerActivity, 0xA0);
  s.SetBe16(sm::kAverageIncomingMoisture, 221);
  s.SetBe16(sm::kAverageOutgoingMoisture, 152);
  s.SetBe16(sm::kBatchCounter, 14);
  image = window.Render();
  SaveScreenshot(image, "dryer_picture_staged_batch");
  EXPECT_GT(FlamePixels(image, Client(63, 215, 70, 56)), 0);  // fan/heater 1 firing

  s.Set(sm::kBatchSelector, 0);
  s.Set(sm::kMeteringMode, 4);
  s.Set(220, 1);
  s.Set(sm::kModuleCountCode, 2);
  s.Set(sm::kFanCountCode, 4);
  s.Set(sm::kGrainTempSelector, 1);
  s.SetT16(sm::kGrainTempSelector1, 118);
  s.SetT16(sm::kGrainTempSetpoint, 120);
  s.SetT16(sm::kGrainHighTemp, 150);
  s.SetT16(sm::kGrainLowTemp, 95);
  s.Set(sm::kUnloadBits, 1);
  for (std::size_t b = 131; b <= 136; ++b) s.Set(b, b % 3 == 0 ? 0x01 : 0x03);
  image = window.Render();
  SaveScreenshot(image, "dryer_picture_six_plenums");
  EXPECT_EQ(PlaceholderPixels(image), 0);

  s.Set(sm::kModuleCountCode, 1);
  image = window.Render();
  SaveScreenshot(image, "dryer_picture_two_modules");

  s.Set(sm::kModuleCountCode, 0);
  s.Set(sm::kHardwareOptions, 0x20);
  s.Set(sm::kMeteringMode, 1);
  s.Set(136, 0x03);
  s.Set(168, 0x08);
  image = window.Render();
  SaveScreenshot(image, "dryer_picture_one_plenum");
  EXPECT_GT(FlamePixels(image, Client(52, 175, 42, 42)), 100);

  s.Set(sm::kHardwareOptions, 0x80);
  s.Set(sm::kFanCountCode, 1);
  s.Set(sm::kSamplerConfig, 0x80);
  s.Set(sm::kDryerStateBits, 0x80);
  world.SetSi(true);
  image = window.Render();
  SaveScreenshot(image, "dryer_picture_celsius");
  EXPECT_EQ(PlaceholderPixels(image), 0);
}

}  // namespace
}  // namespace orvandry::views
