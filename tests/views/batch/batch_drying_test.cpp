#include "views/batch/batch_drying.h"

#include <gtest/gtest.h>

#include "link/status_map.h"
#include "platform/recording_canvas.h"
#include "platform/scripted_prompter.h"

namespace orvandry::views {
namespace {

namespace sm = link::status_map;
using link::Rec;
using platform::Answer;
using platform::Bgr;
using platform::Font;
using platform::RecordingCanvas;
using platform::Rect;
using platform::ScriptedPrompter;
using platform::TextCall;

// A face narrow enough for every text to fit its column at the given font, as on the panel.
platform::Size NarrowFace(std::string_view text, Font font) {
  return {static_cast<int>(text.size()) * font.height / 3, font.height};
}

constexpr platform::Colour kDry = Bgr(0x00C8C8);
constexpr platform::Colour kCool = Bgr(0xFA0000);
constexpr platform::Colour kUnload = Bgr(0x00FA00);

class BatchDryingTest : public ::testing::Test {
 protected:
  BatchDryingTest() {
    auto& s = shared.dryer_state;
    s.Set(sm::kBatchSelector, 1);
    s.SetTime(sm::kDryTimerRunning, 37, 9);
    s.SetTime(sm::kDryTimerReload, 45, 5);
    s.SetTime(sm::kLoHeatDryTimerRunning, 112, 40);
    s.SetTime(sm::kLoHeatDryTimerReload, 120, 0);
    s.SetTime(sm::kCoolTimerRunning, 18, 2);
    s.SetTime(sm::kCoolTimerReload, 20, 5);
    s.SetTime(sm::kUnloadTimerRunning, 4, 59);
    s.SetTime(sm::kUnloadTimerReload, 10, 0);
  }
  void SetAveraging() {
    auto& s = shared.dryer_state;
    s.Set(sm::kConfigBits, 0x40);
    s.Set(sm::kMeteringMode, 0x06 | 0x80);  // other bits of the mode byte do not matter
    s.Set(sm::kDryerActivity, 0x20);
  }
  const TextCall& Find(const RecordingCanvas& canvas, std::string_view text) {
    const TextCall* call = canvas.FindText(text);
    if (call == nullptr) {
      ADD_FAILURE() << "no \"" << text << "\" in\n" << canvas.Describe();
      static const TextCall kNone;
      return kNone;
    }
    return *call;
  }
  void ExpectText(const RecordingCanvas& canvas, std::string_view text, Rect rect, Font font,
                  platform::Colour colour, unsigned alignment) {
    const TextCall& call = Find(canvas, text);
    EXPECT_EQ(call.rect, rect) << text;
    EXPECT_EQ(call.font, font) << text;
    EXPECT_EQ(call.colour, colour) << text;
    EXPECT_EQ(call.HorizontalAlignment(), alignment) << text;
    EXPECT_EQ(call.background_mode, platform::BackgroundMode::kTransparent) << text;
  }

  link::LinkShared shared;
};

TEST_F(BatchDryingTest, SingleLayoutShowsRunningAndReloadValues) {
  RecordingCanvas canvas({396, 181}, NarrowFace);
  PaintBatchDrying(canvas, shared.dryer_state);
  using platform::kAlignCentre;
  using platform::kAlignLeft;
  using platform::kAlignRight;
  ExpectText(canvas, "37", Rect::FromEdges(0, 15, 90, 90), {66, 900}, kDry, kAlignRight);
  ExpectText(canvas, "09", Rect::FromEdges(90, 55, 150, 135), {32, 900}, kDry, kAlignLeft);
  ExpectText(canvas, "18", Rect::FromEdges(120, 15, 220, 90), {66, 900}, kCool, kAlignRight);
  ExpectText(canvas, "02", Rect::FromEdges(220, 55, 280, 135), {32, 900}, kCool, kAlignLeft);
  ExpectText(canvas, "4", Rect::FromEdges(220, 15, 350, 90), {66, 900}, kUnload, kAlignRight);
  ExpectText(canvas, "59", Rect::FromEdges(350, 55, 410, 135), {32, 900}, kUnload, kAlignLeft);
  ExpectText(canvas, "45 Min 05 Sec", Rect::FromEdges(0, 0, 126, 20), {18, 300}, kDry,
             kAlignCentre);
  ExpectText(canvas, "20 Min 05 Sec", Rect::FromEdges(126, 0, 259, 20), {18, 300}, kCool,
             kAlignCentre);
  ExpectText(canvas, "10 Min 00 Sec", Rect::FromEdges(259, 0, 400, 20), {18, 300}, kUnload,
             kAlignCentre);
  EXPECT_EQ(canvas.Count<TextCall>(), 9U) << "no low-heat timer in the single layout";
  EXPECT_EQ(canvas.FindTextContaining("AVERAGING"), nullptr);

  const auto lines = canvas.All<platform::LineCall>();
  ASSERT_EQ(lines.size(), 3U);
  const platform::LineCall expected[] = {{{126, 0}, {126, 170}, Bgr(0x969696), 3},
                                         {{259, 0}, {259, 170}, Bgr(0x969696), 3},
                                         {{0, 20}, {400, 20}, Bgr(0x969696), 1}};
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(lines[i]->from, expected[i].from);
    EXPECT_EQ(lines[i]->to, expected[i].to);
    EXPECT_EQ(lines[i]->colour, expected[i].colour);
    EXPECT_EQ(lines[i]->pen_width, expected[i].pen_width);
  }
}

TEST_F(BatchDryingTest, DualLayoutSplitsTheDryColumn) {
  shared.dryer_state.Set(sm::kConfigBits, 0x02);
  RecordingCanvas canvas({396, 181}, NarrowFace);
  PaintBatchDrying(canvas, shared.dryer_state);
  using platform::kAlignCentre;
  using platform::kAlignLeft;
  using platform::kAlignRight;
  ExpectText(canvas, "37", Rect::FromEdges(0, 20, 70, 60), {32, 900}, kDry, kAlignRight);
  ExpectText(canvas, "112", Rect::FromEdges(0, 107, 70, 147), {32, 900}, kDry, kAlignRight);
  ExpectText(canvas, "09", Rect::FromEdges(75, 30, 150, 60), {20, 900}, kDry, kAlignLeft);
  ExpectText(canvas, "40", Rect::FromEdges(75, 117, 150, 147), {20, 900}, kDry, kAlignLeft);
  ExpectText(canvas, "45 Min 05 Sec", Rect::FromEdges(0, 0, 126, 20), {18, 300}, kDry,
             kAlignCentre);
  ExpectText(canvas, "120 Min 00 Sec", Rect::FromEdges(0, 87, 126, 107), {18, 300}, kDry,
             kAlignCentre);
  ExpectText(canvas, "18", Rect::FromEdges(120, 15, 220, 90), {66, 900}, kCool, kAlignRight);
  ExpectText(canvas, "59", Rect::FromEdges(350, 55, 410, 135), {32, 900}, kUnload, kAlignLeft);
  EXPECT_EQ(canvas.Count<TextCall>(), 12U);

  const auto lines = canvas.All<platform::LineCall>();
  ASSERT_EQ(lines.size(), 5U);
  EXPECT_EQ(lines[2]->from, (platform::Point{0, 87}));
  EXPECT_EQ(lines[2]->to, (platform::Point{126, 87}));
  EXPECT_EQ(lines[2]->pen_width, 3);
  EXPECT_EQ(lines[4]->from, (platform::Point{0, 107}));
  EXPECT_EQ(lines[4]->to, (platform::Point{126, 107}));
  EXPECT_EQ(lines[4]->pen_width, 1);
}

TEST_F(BatchDryingTest, AveragingReplacesTheDryTimeUnlessAnyBlockingBitIsSet) {
  SetAveraging();
  {
    RecordingCanvas canvas({396, 181}, NarrowFace);
    PaintBatchDrying(canvas, shared.dryer_state);
    using platform::kAlignCentre;
    ExpectText(canvas, "AVERAGING", Rect::FromEdges(0, 25, 130, 65), {16, 400}, kDry, kAlignCentre);
    ExpectText(canvas, "INCOMING", Rect::FromEdges(0, 40, 130, 95), {16, 400}, kDry, kAlignCentre);
    ExpectText(canvas, "MOISTURE", Rect::FromEdges(0, 55, 130, 70), {16, 400}, kDry, kAlignCentre);
    EXPECT_EQ(canvas.FindText("37"), nullptr);
    EXPECT_EQ(canvas.FindText("09"), nullptr);
    EXPECT_NE(canvas.FindText("45 Min 05 Sec"), nullptr) << "the reload value stays";
  }
  struct Blocker {
    std::size_t offset;
    std::uint8_t value;
  };
  const Blocker blockers[] = {{sm::kDryerActivity, 0xA0},
                              {sm::kBatchBits13, 0x01},
                              {256, 0x01},
                              {sm::kMeteringMode, 0x05},
                              {sm::kConfigBits, 0x00}};
  for (const Blocker& blocker : blockers) {
    SetAveraging();
    shared.dryer_state.Set(blocker.offset, blocker.value);
    EXPECT_FALSE(AveragingIncomingMoisture(shared.dryer_state)) << blocker.offset;
    RecordingCanvas canvas({396, 181}, NarrowFace);
    PaintBatchDrying(canvas, shared.dryer_state);
    EXPECT_EQ(canvas.FindText("AVERAGING"), nullptr) << blocker.offset;
    EXPECT_NE(canvas.FindText("37"), nullptr) << blocker.offset;
  }
  // The dual layout has no averaging text.
  SetAveraging();
  shared.dryer_state.Set(sm::kConfigBits, 0x42);
  RecordingCanvas dual({396, 181}, NarrowFace);
  PaintBatchDrying(dual, shared.dryer_state);
  EXPECT_EQ(dual.FindText("AVERAGING"), nullptr);
  EXPECT_NE(dual.FindText("37"), nullptr);
}

TEST_F(BatchDryingTest, TextsTooWideForTheirColumnShrinkInsteadOfLosingDigits) {
  shared.dryer_state.Set(sm::kConfigBits, 0x02);
  shared.dryer_state.SetTime(sm::kDryTimerRunning, 200, 0);
  RecordingCanvas canvas({396, 181});  // the approximate face: wider than the panel's
  PaintBatchDrying(canvas, shared.dryer_state);
  for (const TextCall* call : canvas.All<TextCall>()) {
    ASSERT_TRUE(call->rect.has_value());
    EXPECT_LE(platform::ApproximateTextSize(call->text, call->font).w, call->rect->w)
        << call->text << " at " << *call->rect;
  }
  const TextCall& low_reload = Find(canvas, "120 Min 00 Sec");
  EXPECT_LT(low_reload.font.height, 18);
  EXPECT_GE(low_reload.font.height, 14) << "shrunk only as far as needed";
  EXPECT_EQ(low_reload.font.weight, 300);
  EXPECT_EQ(Find(canvas, "200").font.height, 32) << "fits as it is";

  shared.dryer_state.Set(sm::kConfigBits, 0x00);
  RecordingCanvas single({396, 181});
  PaintBatchDrying(single, shared.dryer_state);
  const TextCall& big = Find(single, "200");
  EXPECT_LT(big.font.height, 66);
  EXPECT_GE(big.font.height, 40);
  EXPECT_EQ(big.font.weight, 900);
}

TEST_F(BatchDryingTest, ButtonVisibilityFollowsSelectorAndDualBit) {
  auto& s = shared.dryer_state;
  const BatchButtonVisibility dry_only{false, false, true};
  const BatchButtonVisibility split{true, true, false};
  for (std::uint8_t dual_bits : {0x00, 0x02}) {
    s.Set(sm::kConfigBits, dual_bits);
    s.Set(sm::kBatchSelector, 0);
    EXPECT_EQ(BatchTimerButtons(s), dry_only) << "continuous flow, 257=" << int(dual_bits);
    s.Set(sm::kBatchSelector, 3);
    EXPECT_EQ(BatchTimerButtons(s), split) << "selector 3, 257=" << int(dual_bits);
  }
  for (std::uint8_t selector : {1, 2, 255}) {
    s.Set(sm::kBatchSelector, selector);
    s.Set(sm::kConfigBits, 0xFD);  // every bit but the dual one
    EXPECT_EQ(BatchTimerButtons(s), dry_only) << int(selector);
    s.Set(sm::kConfigBits, 0x02);
    EXPECT_EQ(BatchTimerButtons(s), split) << int(selector);
  }
}

TEST_F(BatchDryingTest, ShortTouchFillsTheEntryWithThatTimersLimits) {
  struct Case {
    int button;
    Rec record;
    std::size_t offset;
    int max_minutes;
    int default_minutes;
    int minutes;
    int seconds;
  };
  const Case cases[] = {
      {batch_id::kDry, Rec::kDryTimerReload, sm::kDryTimerReload, 200, 60, 45, 5},
      {batch_id::kHiHeat, Rec::kDryTimerReload, sm::kDryTimerReload, 200, 60, 45, 5},
      {batch_id::kLoHeat, Rec::kLoHeatTimerReload, sm::kLoHeatDryTimerReload, 200, 60, 120, 0},
      {batch_id::kCool, Rec::kCoolTimerReload, sm::kCoolTimerReload, 60, 20, 20, 5},
      {batch_id::kUnload, Rec::kUnloadTimerReload, sm::kUnloadTimerReload, 60, 10, 10, 0},
  };
  for (const Case& c : cases) {
    shared.request.SetTime(c.offset, 0, 0);
    const std::optional<setup::TimerEntry> entry = OpenBatchTimerEntry(shared, c.button);
    ASSERT_TRUE(entry.has_value()) << c.button;
    EXPECT_EQ(entry->record, c.record) << c.button;
    EXPECT_EQ(entry->TargetOffset(), c.offset) << c.button;
    EXPECT_EQ(entry->max_minutes, c.max_minutes) << c.button;
    EXPECT_EQ(entry->default_minutes, c.default_minutes) << c.button;
    EXPECT_EQ(entry->max_seconds + entry->min_minutes + entry->min_seconds + entry->default_seconds,
              0)
        << c.button;
    EXPECT_EQ(entry->minutes, c.minutes) << c.button;
    EXPECT_EQ(entry->seconds, c.seconds) << c.button;
    EXPECT_EQ(shared.request.Get(c.offset), c.minutes) << c.button;
    EXPECT_EQ(shared.request.Get(c.offset + 1), c.seconds) << c.button;
  }
  EXPECT_FALSE(shared.pending.AnyRaised());
  EXPECT_FALSE(OpenBatchTimerEntry(shared, 34817).has_value());
}

class ReloadHoldTest : public BatchDryingTest {
 protected:
  // Runs one 1 s tick with the given buttons held.
  std::vector<int> Tick(BatchReloadHolds::Held held) { return holds.Tick(held, shared, prompter); }
  BatchReloadHolds holds;
  ScriptedPrompter prompter;
};

TEST_F(ReloadHoldTest, HoldingCoolAsksOnceAndNoChangesNothing) {
  prompter.Script(Answer::kNo);
  const BatchReloadHolds::Held cool{.cool = true};
  // 2.5 s of holding spans at most three ticks: seen once, seen again (question), seen once more.
  EXPECT_TRUE(Tick(cool).empty());
  EXPECT_EQ(Tick(cool), std::vector<int>{batch_id::kCool});
  EXPECT_TRUE(Tick(cool).empty());
  EXPECT_TRUE(Tick({}).empty());
  ASSERT_EQ(prompter.Questions().size(), 1U);
  const auto& question = prompter.Questions()[0];
  EXPECT_EQ(question.text, "Reload COOL TIMER with 20 minutes and 05 seconds?");
  EXPECT_EQ(question.caption, "RELOAD TIMER REQUEST");
  EXPECT_EQ(question.buttons, platform::Buttons::kYesNo);
  EXPECT_EQ(question.icon, platform::Icon::kQuestion);
  EXPECT_FALSE(shared.pending.AnyRaised());
  EXPECT_EQ(shared.request.Get(sm::kCoolTimerRunning), 0);
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST_F(ReloadHoldTest, AShortPressOrAReleaseBetweenTicksAsksNothing) {
  const BatchReloadHolds::Held cool{.cool = true};
  Tick(cool);
  Tick({});
  Tick(cool);
  Tick({});
  EXPECT_TRUE(prompter.Questions().empty());
  // Holding on regardless asks again every second tick.
  prompter.Script(Answer::kNo);
  prompter.Script(Answer::kNo);
  for (int i = 0; i < 5; ++i) Tick(cool);
  EXPECT_EQ(prompter.Questions().size(), 2U);
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST_F(ReloadHoldTest, YesRaisesOnlyTheRunningValueOfThatTimer) {
  struct Case {
    BatchReloadHolds::Held held;
    const char* question;
    Rec running;
    std::size_t running_offset;
    std::size_t reload_offset;
  };
  const Case cases[] = {
      {{.dry = true},
       "Reload DRY TIMER with 45 minutes and 05 seconds?",
       Rec::kDryTimerRunning,
       9,
       sm::kDryTimerReload},
      {{.hi_heat = true},
       "Reload HI-HEAT DRY TIMER with 45 minutes and 05 seconds?",
       Rec::kDryTimerRunning,
       9,
       sm::kDryTimerReload},
      {{.lo_heat = true},
       "Reload LO-HEAT DRY TIMER with 120 minutes and 00 seconds?",
       Rec::kLoHeatTimerRunning,
       252,
       sm::kLoHeatDryTimerReload},
      {{.cool = true},
       "Reload COOL TIMER with 20 minutes and 05 seconds?",
       Rec::kCoolTimerRunning,
       14,
       sm::kCoolTimerReload},
      {{.unload = true},
       "Reload UNLOAD TIMER with 10 minutes and 00 seconds?",
       Rec::kUnloadTimerRunning,
       19,
       sm::kUnloadTimerReload},
  };
  for (const Case& c : cases) {
    link::LinkShared fresh;
    for (std::size_t i = 0; i < link::ByteImage::size(); ++i)
      fresh.dryer_state.Set(i, shared.dryer_state.Get(i));
    BatchReloadHolds holds_for_case;
    ScriptedPrompter yes{Answer::kYes};
    holds_for_case.Tick(c.held, fresh, yes);
    holds_for_case.Tick(c.held, fresh, yes);
    ASSERT_NE(yes.Last(), nullptr) << c.question;
    EXPECT_EQ(yes.Last()->text, c.question);
    EXPECT_EQ(link::RecordOf(c.running).target_offset(), c.running_offset);
    EXPECT_TRUE(fresh.pending.IsRaised(c.running)) << c.question;
    for (std::size_t r = 0; r < link::kPendingWriteCount; ++r) {
      const auto rec = static_cast<Rec>(r);
      if (rec != c.running) {
        EXPECT_FALSE(fresh.pending.IsRaised(rec)) << c.question << " " << r;
      }
    }
    EXPECT_EQ(fresh.request.Get(c.running_offset), shared.dryer_state.Get(c.reload_offset));
    EXPECT_EQ(fresh.request.Get(c.running_offset + 1), shared.dryer_state.Get(c.reload_offset + 1));
    EXPECT_EQ(fresh.request.Get(c.reload_offset), 0) << "the reload value is not touched";
    EXPECT_TRUE(yes.Clean()) << yes.Problems();
  }
}

// A prompter that, like the real modal box, lets the 1 s tick run while the question is open.
class TickingPrompter final : public platform::Prompter {
 public:
  TickingPrompter(BatchReloadHolds& holds, link::LinkShared& shared)
      : holds_(holds), shared_(shared) {}
  Answer Ask(std::string_view, std::string_view, platform::Buttons, platform::Icon) override {
    ++asked;
    for (int i = 0; i < 4; ++i) nested_asks += holds_.Tick({.cool = true}, shared_, *this).size();
    return Answer::kYes;
  }
  int asked = 0;
  std::size_t nested_asks = 0;

 private:
  BatchReloadHolds& holds_;
  link::LinkShared& shared_;
};

TEST_F(ReloadHoldTest, TicksWhileTheQuestionIsOpenAskNothingMore) {
  TickingPrompter ticking(holds, shared);
  const BatchReloadHolds::Held cool{.cool = true};
  holds.Tick(cool, shared, ticking);
  holds.Tick(cool, shared, ticking);
  EXPECT_EQ(ticking.asked, 1);
  EXPECT_EQ(ticking.nested_asks, 0U);
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kCoolTimerRunning));
}

}  // namespace
}  // namespace orvandry::views
