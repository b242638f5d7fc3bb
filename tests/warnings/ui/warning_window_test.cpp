#include "warnings/ui/warning_window.h"

#include <gtest/gtest.h>

#include <QApplication>

#include "platform/control_id.h"
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

constexpr Rect kTitleRect = Rect::FromEdges(25, 0, 405, 50);
constexpr const char* kOverheatPrompt = "PRESS START FOR EMERGENCY COOLING";
constexpr const char* kOverheatInspect = "WARNING: BEFORE ENTERING EMERGENCY COOLING INPSPECT";
constexpr const char* kOverheatCause = "DRYER FOR CAUSE OF TEMPERATURE HI LIMIT!";
constexpr const char* kMonitor = "WARNING: CONTINUE TO MONITOR DRYER";
constexpr const char* kMonitorTemps = "AND TEMPERATURES!";
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
    EXPECT_EQ(call->background_mode, platform::BackgroundMode::kTransparent) << text;
  }

  // A line too wide for its rectangle in our face keeps its place, colour and weight and is set
  // smaller until it fits, rather than being cut at both ends.
  static void ExpectFitted(const RecordingCanvas& canvas, const char* text, Rect rect,
                           platform::Colour colour, Font asked) {
    const TextCall* call = canvas.FindText(text);
    ASSERT_NE(call, nullptr) << text << " missing in\n" << canvas.Describe();
    EXPECT_EQ(call->rect, rect) << text;
    EXPECT_EQ(call->colour, colour) << text;
    EXPECT_EQ(call->font.weight, asked.weight) << text;
    EXPECT_LT(call->font.height, asked.height) << text << ": would not fit at the asked size";
    EXPECT_LE(platform::ApproximateTextSize(text, call->font).w, rect.w) << text;
    EXPECT_GT(platform::ApproximateTextSize(text, Font{call->font.height + 1, asked.weight}).w,
              rect.w)
        << text << ": smaller than it needs to be";
  }

  ViewWorld world_;
  WarningContent content_;
  std::string caption_;
};

TEST_F(WarningContentTest, AWarningShowsItsTextLinesPictureAndABlinkingTitle) {
  world_.SetCode(0x0E01);
  RecordingCanvas on = PaintNow();

  EXPECT_EQ(caption_, kWarningCaption);
  const auto fills = on.All<platform::FillRectCall>();
  ASSERT_FALSE(fills.empty());
  EXPECT_EQ(fills.front()->rect, (Rect{0, 0, 430, 303}));
  EXPECT_EQ(fills.front()->colour, Rgb(100, 100, 100));
  const auto pictures = on.All<platform::PictureCall>();
  ASSERT_EQ(pictures.size(), 1U);
  EXPECT_EQ(pictures[0]->resource, 517);
  EXPECT_EQ(pictures[0]->into, (Rect{20, 1, 100, 92}));
  const auto lines = on.All<platform::LineCall>();
  ASSERT_EQ(lines.size(), 2U);
  EXPECT_EQ(lines[0]->from, (platform::Point{25, 50}));
  EXPECT_EQ(lines[0]->to, (platform::Point{405, 50}));
  EXPECT_EQ(lines[1]->from, (platform::Point{25, 100}));
  EXPECT_EQ(lines[1]->to, (platform::Point{405, 100}));
  for (const auto* line : lines) {
    EXPECT_EQ(line->colour, Rgb(255, 0, 0));
    EXPECT_EQ(line->pen_width, 2);
  }
  ExpectText(on, "0E01 - MAIN I/O - PRIMARY UNLOAD MOTOR OVERLOAD", Rect::FromEdges(0, 65, 430, 80),
             Rgb(255, 255, 255), Font{14, 300});
  ExpectText(on, "WARNING!", kTitleRect, Rgb(255, 0, 0), Font{50, 900});
  ExpectText(on, "PRESS STOP BUTTON TO CLEAR", Rect::FromEdges(25, 200, 405, 225), Rgb(0, 255, 0),
             Font{16, 900});
  EXPECT_EQ(on.Texts().size(), 3U) << on.Describe();

  world_.SetBlink(false);
  RecordingCanvas off = PaintNow();
  EXPECT_EQ(off.FindText("WARNING!"), nullptr);
  EXPECT_NE(off.FindText("0E01 - MAIN I/O - PRIMARY UNLOAD MOTOR OVERLOAD"), nullptr);
  EXPECT_NE(off.FindText("PRESS STOP BUTTON TO CLEAR"), nullptr);
  EXPECT_EQ(off.CountPicture(517), 1U);
  EXPECT_EQ(off.Texts().size(), 2U) << off.Describe();
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
  ExpectText(canvas, "GRAIN TEMPERATURE: 143 \xB0 F", Rect::FromEdges(25, 28, 405, 50),
             Rgb(0, 0, 100), Font{20, 500});
  EXPECT_EQ(canvas.FindText("WARNING!"), nullptr);

  // The temperature stays while the title blinks off, and it follows the selector.
  world_.SetBlink(false);
  world_.shared.dryer_state.Set(sm::kGrainTempSelector, 0);
  EXPECT_NE(PaintNow().FindText("GRAIN TEMPERATURE: 151 \xB0 F"), nullptr);
  world_.shared.dryer_state.Set(sm::kGrainTempSelector, 2);
  EXPECT_NE(PaintNow().FindText("GRAIN TEMPERATURE: -4 \xB0 F"), nullptr) << "signed, not 65532";
  world_.shared.dryer_state.Set(sm::kGrainTempSelector, 3);
  EXPECT_NE(PaintNow().FindText("GRAIN TEMPERATURE: 0 \xB0 F"), nullptr);
  EXPECT_EQ(PaintNow().FindText("EMERGENCY COOLING"), nullptr);

  // In SI units too the reading is in Fahrenheit: the controller's own unit for this limit.
  world_.shared.si_units.store(1);
  world_.shared.dryer_state.Set(sm::kGrainTempSelector, 0);
  EXPECT_NE(PaintNow().FindText("GRAIN TEMPERATURE: 151 \xB0 F"), nullptr);
}

TEST_F(WarningContentTest, CoolDownShowsTheTimeLeftAndTheRestartLine) {
  world_.SetCode(0x0E06);
  world_.shared.dryer_state.Set(sm::kDryerStateBits, 0x02);
  world_.shared.dryer_state.SetTime(sm::kCoolDownTimeLeft, 3, 7);

  RecordingCanvas canvas = PaintNow();
  ExpectText(canvas, "COOL DOWN: 3:07", Rect::FromEdges(25, 5, 405, 45), Rgb(0, 0, 255),
             Font{40, 900});
  ExpectText(canvas, kRestart, Rect::FromEdges(25, 220, 405, 250), Rgb(0, 0, 200), Font{16, 900});
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
  for (WarningCode code : {0x0205, 0x0405, 0x0705}) {
    SCOPED_TRACE(code);
    world_.SetCode(code);
    RecordingCanvas canvas = PaintNow();
    ExpectText(canvas, kOverheatPrompt, Rect::FromEdges(25, 220, 405, 250), Rgb(0, 0, 200),
               Font{16, 900});
    ExpectFitted(canvas, kOverheatInspect, Rect::FromEdges(25, 250, 405, 270), Rgb(175, 0, 0),
                 Font{16, 900});
    ExpectFitted(canvas, kOverheatCause, Rect::FromEdges(25, 270, 405, 290), Rgb(175, 0, 0),
                 Font{16, 900});
    EXPECT_EQ(canvas.FindText(kMonitor), nullptr);
  }
  for (WarningCode code : {0x0105, 0x0805, 0x0E05, 0x0204, 0x0206}) {
    SCOPED_TRACE(code);
    world_.SetCode(code);
    RecordingCanvas canvas = PaintNow();
    EXPECT_EQ(canvas.FindText(kOverheatPrompt), nullptr);
    EXPECT_EQ(canvas.FindText(kOverheatInspect), nullptr);
    EXPECT_EQ(canvas.FindText(kOverheatCause), nullptr);
  }

  // Once emergency cooling runs, the prompt becomes the reminder to keep watching.
  world_.SetCode(0x0205);
  world_.shared.dryer_state.Set(sm::kDryerStateBits, 0x10);
  RecordingCanvas cooling = PaintNow();
  ExpectText(cooling, kMonitor, Rect::FromEdges(25, 220, 405, 250), Rgb(175, 0, 0), Font{16, 900});
  ExpectText(cooling, kMonitorTemps, Rect::FromEdges(25, 270, 405, 290), Rgb(175, 0, 0),
             Font{16, 900});
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
  const TextCall* trying = lost.FindText("Trying to Reconnect...");
  ASSERT_NE(trying, nullptr) << lost.Describe();
  EXPECT_EQ(trying->rect, Rect::FromEdges(5, 5, 325, 50));
  EXPECT_EQ(trying->HorizontalAlignment(), platform::kAlignLeft);
  EXPECT_EQ(trying->font, (Font{24, 700}));
  EXPECT_EQ(trying->colour, Rgb(0, 0, 150));
  EXPECT_EQ(lost.Texts().size(), 1U) << "nothing of the warning: " << lost.Describe();
  EXPECT_EQ(lost.CountPicture(517), 0U);
  const auto pictures = lost.All<platform::PictureCall>();
  ASSERT_EQ(pictures.size(), 2U);
  EXPECT_EQ(pictures[0]->resource, 259);
  EXPECT_EQ(pictures[0]->into, (Rect{30, 40, 100, 75}));
  EXPECT_EQ(pictures[1]->resource, 260);
  EXPECT_EQ(pictures[1]->into, (Rect{250, 20, 100, 124}));
  const auto lines = lost.All<platform::LineCall>();
  ASSERT_EQ(lines.size(), 4U);
  EXPECT_EQ(lines[0]->pen_width, 10);
  EXPECT_EQ(lines[0]->colour, Rgb(0, 125, 0));
  EXPECT_EQ(lines[3]->from, (platform::Point{105, 70}));
  EXPECT_EQ(lines[3]->to, (platform::Point{120, 70}));
  EXPECT_EQ(lines[3]->pen_width, 6);

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
  auto mark_x = [this] {
    const RecordingCanvas canvas = PaintNow();
    return canvas.All<platform::LineCall>().back()->from.x;
  };
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

TEST(WarningWindow, IsTheShellsWindowWithItsHelpButtonAndAChangingCaption) {
  ViewWorld world;
  WarningWindow window(nullptr, testing::WarningWindowDef(), world.ctx);
  EXPECT_EQ(window.objectName(), "WARNING_WINDOW");
  EXPECT_EQ(window.CurrentCaption(), " WARNING - DRYER SHUTTING DOWN! - 05");
  EXPECT_EQ(window.size(), QSize(430, 325));

  auto* button = qobject_cast<platform::PictureButton*>(
      platform::FindControl(window, WarningWindow::kHelpButtonId));
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->objectName(), "WARNING_HELP");
  const platform::Rect client = window.ClientRect();
  EXPECT_EQ(button->geometry(), QRect(client.x + 110, client.y + 125, 200, 50));
  EXPECT_EQ(button->NormalFace(), 205);
  EXPECT_EQ(button->PressedFace(), 204);

  world.SetCode(0x0205);
  window.Snapshot();
  EXPECT_EQ(window.CurrentCaption(), " WARNING - DRYER SHUTTING DOWN!");
  EXPECT_EQ(window.windowTitle(), window.CurrentCaption());

  world.LoseLink();
  window.RequestReconnectStep();
  window.Snapshot();
  EXPECT_EQ(window.CurrentCaption(), " CONNECTION TO DRYER LOST!");
  EXPECT_EQ(window.content().mark().position(), 1);
  EXPECT_EQ(world.shared.reconnect_request.load(), 1);
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
