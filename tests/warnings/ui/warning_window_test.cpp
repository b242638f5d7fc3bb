#include "warnings/ui/warning_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QPixmap>

#include "platform/recording_canvas.h"
#include "warnings/ui/warning_content.h"
#include "warnings/ui/warning_help.h"
#include "warnings_ui_test_support.h"

namespace orvandry::warnings::ui {
namespace {

using platform::Font;
using platform::RecordingCanvas;
using platform::Rect;
using platform::Rgb;
using platform::TextCall;
using testing::ViewWorld;
namespace sm = link::status_map;

constexpr int kLineWidth = 380;  // the prompt lines run from x 25 to 405
constexpr const char* kOverheatPrompt = "PRESS START FOR EMERGENCY COOLING";
constexpr const char* kOverheatInspect = "WARNING: BEFORE ENTERING EMERGENCY COOLING INPSPECT";
constexpr const char* kOverheatCause = "DRYER FOR CAUSE OF TEMPERATURE HI LIMIT!";
constexpr const char* kMonitor = "WARNING: CONTINUE TO MONITOR DRYER";
constexpr const char* kRestart = "PRESS START TO RESTART DRYER";

class WarningContentTest : public ::testing::Test {
 protected:
  RecordingCanvas PaintNow() {
    RecordingCanvas canvas(platform::Size{430, 303});
    caption_ = std::string(content_.Paint(canvas, world_.shared, world_.blink_word & 1U));
    return canvas;
  }
  static void ExpectText(const RecordingCanvas& canvas, const char* text, Rect rect,
                         platform::Colour colour, Font font) {
    const TextCall* call = canvas.FindText(text);
    ASSERT_NE(call, nullptr) << text << " missing in\n" << canvas.Describe();
    EXPECT_EQ(call->rect, rect) << text;
    EXPECT_EQ(call->colour, colour) << text;
    EXPECT_EQ(call->font, font) << text;
    EXPECT_EQ(call->HorizontalAlignment(), platform::kAlignCentre) << text;
  }

  ViewWorld world_;
  WarningContent content_;
  std::string caption_;
};

TEST_F(WarningContentTest, AWarningShowsItsTextLinesPictureAndABlinkingTitle) {
  world_.SetCode(0x0E01);
  RecordingCanvas on = PaintNow();
  EXPECT_EQ(caption_, kWarningCaption);
  const auto pictures = on.All<platform::PictureCall>();
  ASSERT_EQ(pictures.size(), 1U);
  EXPECT_EQ(pictures[0]->resource, 517);
  EXPECT_EQ(pictures[0]->into, (Rect{20, 1, 100, 92})) << "clear of the title and the text";
  EXPECT_EQ(on.All<platform::LineCall>().size(), 2U);
  ExpectText(on, "0E01 - MAIN I/O - PRIMARY UNLOAD MOTOR OVERLOAD", Rect::FromEdges(0, 65, 430, 80),
             Rgb(255, 255, 255), Font{14, 300});
  ExpectText(on, "WARNING!", Rect::FromEdges(25, 0, 405, 50), Rgb(255, 0, 0), Font{50, 900});
  ExpectText(on, "PRESS STOP BUTTON TO CLEAR", Rect::FromEdges(25, 200, 405, 225), Rgb(0, 255, 0),
             Font{16, 900});
  EXPECT_EQ(on.Texts().size(), 3U) << on.Describe();

  world_.SetBlink(false);
  RecordingCanvas off = PaintNow();
  EXPECT_EQ(off.FindText("WARNING!"), nullptr);
  EXPECT_EQ(off.Texts().size(), 2U) << off.Describe();
  EXPECT_EQ(off.CountPicture(517), 1U);
  EXPECT_EQ(world_.shared.reconnect_request.load(), 0) << "the link is fine";
}

TEST_F(WarningContentTest, EmergencyCoolingShowsItsTitleAndTheSelectedGrainTemperature) {
  world_.SetCode(0x0205);
  world_.shared.dryer_state.Set(sm::kDryerStateBits, 0x10 | 0x40);
  world_.shared.dryer_state.SetT16(sm::kGrainTempSelector0, 151);
  world_.shared.dryer_state.SetT16(sm::kGrainTempSelector1, 143);
  world_.shared.dryer_state.SetT16(sm::kGrainTempSelector2, -4);
  world_.shared.dryer_state.Set(sm::kGrainTempSelector, 1);
  RecordingCanvas canvas = PaintNow();
  ExpectText(canvas, "EMERGENCY COOLING", Rect::FromEdges(25, 0, 405, 25), Rgb(0, 0, 255),
             Font{30, 900});
  EXPECT_NE(canvas.FindText("GRAIN TEMPERATURE: 143 \xB0 F"), nullptr) << canvas.Describe();
  EXPECT_EQ(canvas.FindText("WARNING!"), nullptr);

  // The temperature stays while the title blinks off, and follows the selector; in SI units
  // too it is in Fahrenheit, the controller's own unit for this limit.
  world_.SetBlink(false);
  const struct {
    int selector, si;
    const char* shown;
  } readings[] = {{0, 0, "GRAIN TEMPERATURE: 151 \xB0 F"},
                  {2, 0, "GRAIN TEMPERATURE: -4 \xB0 F"},  // signed, not 65532
                  {3, 0, "GRAIN TEMPERATURE: 0 \xB0 F"},
                  {0, 1, "GRAIN TEMPERATURE: 151 \xB0 F"}};
  for (const auto& r : readings) {
    world_.shared.dryer_state.Set(sm::kGrainTempSelector, r.selector);
    world_.shared.si_units.store(r.si);
    const RecordingCanvas blinked = PaintNow();
    EXPECT_NE(blinked.FindText(r.shown), nullptr) << r.shown << "\n" << blinked.Describe();
    EXPECT_EQ(blinked.FindText("EMERGENCY COOLING"), nullptr);
  }
}

TEST_F(WarningContentTest, CoolDownShowsTheTimeLeftAndTheRestartLine) {
  world_.SetCode(0x0E06);
  world_.shared.dryer_state.Set(sm::kDryerStateBits, 0x02);
  world_.shared.dryer_state.SetTime(sm::kCoolDownTimeLeft, 3, 7);
  RecordingCanvas canvas = PaintNow();
  ExpectText(canvas, "COOL DOWN: 3:07", Rect::FromEdges(25, 5, 405, 45), Rgb(0, 0, 255),
             Font{40, 900});
  EXPECT_NE(canvas.FindText(kRestart), nullptr);
  EXPECT_EQ(canvas.FindText("WARNING!"), nullptr);
  EXPECT_EQ(canvas.FindTextContaining("GRAIN TEMPERATURE"), nullptr);

  // Emergency cooling wins the title when both bits are set.
  world_.shared.dryer_state.Set(sm::kDryerStateBits, 0x12);
  RecordingCanvas both = PaintNow();
  EXPECT_NE(both.FindText("EMERGENCY COOLING"), nullptr);
  EXPECT_EQ(both.FindTextContaining("COOL DOWN"), nullptr);
  EXPECT_NE(both.FindText(kRestart), nullptr);
}

TEST_F(WarningContentTest, OnlyABurnerGrainOverheatOffersEmergencyCooling) {
  const struct {
    WarningCode code;
    bool offered;
  } cases[] = {{0x0205, true},  {0x0705, true},  {0x0105, false},
               {0x0805, false}, {0x0E05, false}, {0x0206, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    world_.SetCode(c.code);
    RecordingCanvas canvas = PaintNow();
    for (const char* line : {kOverheatPrompt, kOverheatInspect, kOverheatCause})
      EXPECT_EQ(canvas.FindText(line) != nullptr, c.offered) << line;
    EXPECT_EQ(canvas.FindText(kMonitor), nullptr);
  }
  world_.SetCode(0x0205);
  RecordingCanvas offer = PaintNow();
  ExpectText(offer, kOverheatPrompt, Rect::FromEdges(25, 220, 405, 250), Rgb(0, 0, 200),
             Font{16, 900});
  // A line too wide for its rectangle in our face keeps its place, colour and weight and is set
  // smaller until it fits, rather than being cut at both ends.
  const TextCall* inspect = offer.FindText(kOverheatInspect);
  ASSERT_NE(inspect, nullptr);
  EXPECT_EQ(inspect->rect, Rect::FromEdges(25, 250, 405, 270));
  EXPECT_EQ(inspect->colour, Rgb(175, 0, 0));
  EXPECT_EQ(inspect->font.weight, 900);
  EXPECT_LT(inspect->font.height, 16) << "would not fit at the asked size";
  EXPECT_LE(platform::ApproximateTextSize(kOverheatInspect, inspect->font).w, kLineWidth);
  EXPECT_GT(platform::ApproximateTextSize(kOverheatInspect, Font{inspect->font.height + 1, 900}).w,
            kLineWidth)
      << "smaller than it needs to be";

  // Once emergency cooling runs, the prompt becomes the reminder to keep watching.
  world_.shared.dryer_state.Set(sm::kDryerStateBits, 0x10);
  RecordingCanvas cooling = PaintNow();
  EXPECT_NE(cooling.FindText(kMonitor), nullptr);
  EXPECT_NE(cooling.FindText("AND TEMPERATURES!"), nullptr);
  EXPECT_EQ(cooling.FindText(kOverheatPrompt), nullptr);

  // With cool-down running as well, the restart line shares the prompt's place and comes last.
  world_.shared.dryer_state.Set(sm::kDryerStateBits, 0x02);
  const std::vector<std::string> texts = PaintNow().Texts();
  ASSERT_FALSE(texts.empty());
  EXPECT_EQ(texts.back(), kRestart);
  EXPECT_NE(std::find(texts.begin(), texts.end(), kOverheatPrompt), texts.end());
}

TEST_F(WarningContentTest, ALostLinkHidesTheWarningAndAsksToReconnectUntilTheLinkIsBack) {
  world_.SetCode(0x0205);
  world_.LoseLink();
  RecordingCanvas lost = PaintNow();
  EXPECT_EQ(caption_, kLinkLostCaption);
  EXPECT_EQ(world_.shared.reconnect_request.load(std::memory_order_acquire), 1);
  EXPECT_EQ(lost.Texts(), (std::vector<std::string>{"Trying to Reconnect..."}))
      << "nothing of the warning: " << lost.Describe();
  EXPECT_EQ(lost.CountPicture(259) + lost.CountPicture(260), 2U);
  EXPECT_EQ(lost.CountPicture(517), 0U);
  EXPECT_EQ(lost.All<platform::LineCall>().size(), 4U) << "the reconnect track and its mark";

  // The link thread takes the request; the next paint of the lost state raises it again.
  world_.shared.reconnect_request.store(0);
  PaintNow();
  EXPECT_EQ(world_.shared.reconnect_request.load(), 1);

  // A good frame: the warning is back, and nothing more is asked of the link.
  world_.shared.reconnect_request.store(0);
  world_.RestoreLink();
  RecordingCanvas back = PaintNow();
  EXPECT_EQ(caption_, kWarningCaption);
  EXPECT_NE(back.FindText("0205 - BURNER #1 GRAIN OVERHEAT"), nullptr);
  EXPECT_NE(back.FindText(kOverheatPrompt), nullptr);
  EXPECT_EQ(back.FindText("Trying to Reconnect..."), nullptr);
  EXPECT_EQ(world_.shared.reconnect_request.load(), 0);

  // The link can be lost with no warning at all.
  world_.SetCode(kNoWarning);
  world_.LoseLink();
  EXPECT_NE(PaintNow().FindText("Trying to Reconnect..."), nullptr);
  EXPECT_EQ(caption_, kLinkLostCaption);
}

TEST_F(WarningContentTest, TheReconnectMarkRunsToEachEndAndRestsThereOneStep) {
  world_.LoseLink();
  auto mark_x = [this] { return PaintNow().All<platform::LineCall>().back()->from.x; };
  EXPECT_EQ(mark_x(), 105);
  EXPECT_EQ(mark_x(), 105) << "no request, no step";
  std::vector<int> positions;
  for (int i = 0; i < 30; ++i) {
    content_.RequestReconnectStep();
    positions.push_back((mark_x() - 105) / 10);
    PaintNow();  // a second paint for the same request moves nothing
  }
  const std::vector<int> expected = {1,  2,  3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 13, 12,
                                     11, 10, 9, 8, 7, 6, 5, 4, 3, 2,  1,  0,  0,  1,  2};
  EXPECT_EQ(positions, expected);
}

// How many pixels of `image` inside `area` have exactly this colour.
int CountColour(const QImage& image, QRect area, QColor colour) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) n += image.pixelColor(x, y) == colour;
  return n;
}

// The real window as the operator sees it; the pictures are saved for a person to look at.
TEST(WarningWindow, ShowsTheWarningAndTheLostLinkWithAChangingCaption) {
  ViewWorld world;
  WarningWindow window(nullptr, testing::WarningWindowDef(), world.ctx);
  window.show();
  auto grab = [&](const char* name) {
    const QImage image = window.grab().toImage();
    EXPECT_TRUE(image.save(QString::fromStdString((testing::ScreenshotDir() / name).string())));
    return image;
  };
  const platform::Rect client = window.ClientRect();

  world.SetCode(0x0205);
  const QImage warning = grab("warning_0205.png");
  EXPECT_EQ(window.CurrentCaption(), " WARNING - DRYER SHUTTING DOWN!");
  EXPECT_EQ(window.windowTitle(), window.CurrentCaption());
  const QRect title(client.x + 25, client.y, 380, 50);
  EXPECT_GT(CountColour(warning, title, QColor(255, 0, 0)), 300) << "the red title";

  world.LoseLink();
  for (int i = 0; i < 4; ++i) window.RequestReconnectStep(), window.Snapshot();
  const QImage lost = grab("warning_link_lost.png");
  EXPECT_EQ(window.CurrentCaption(), " CONNECTION TO DRYER LOST!");
  EXPECT_EQ(window.content().mark().position(), 4);
  EXPECT_EQ(world.shared.reconnect_request.load(), 1);
  EXPECT_EQ(CountColour(lost, title, QColor(255, 0, 0)), 0) << "no warning title";
  EXPECT_GT(CountColour(lost, QRect(client.x + 105, client.y + 66, 150, 9), QColor(0, 125, 0)), 500)
      << "the reconnect track";
}

TEST(WarningWindow, HelpOpensForTheLiveCodeOverTheWindow) {
  ViewWorld world;
  WarningWindow window(nullptr, testing::WarningWindowDef(), world.ctx);
  WarningHelp help(testing::DemoHelpFolder().parent_path(), world.shared, world.prompter);
  std::vector<WarningCode> opened;
  help.SetRunner([&](HelpDialog& dialog) {
    opened.push_back(dialog.help_code());
    EXPECT_EQ(dialog.parentWidget(), &window);
  });
  world.SetCode(0x0E05);
  window.help_button()->click();
  EXPECT_TRUE(opened.empty()) << "without help wired in the button does nothing";
  window.SetHelp(&help);
  window.help_button()->click();
  world.SetCode(0x0409);
  window.help_button()->click();
  EXPECT_EQ(opened, (std::vector<WarningCode>{0x0E05, 0x0409}));
}

}  // namespace
}  // namespace orvandry::warnings::ui
