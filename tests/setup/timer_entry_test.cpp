#include "setup/timer_entry.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "link/status_map.h"
#include "platform/recording_canvas.h"
#include "platform/scripted_prompter.h"

namespace orvandry::setup {
namespace {

using link::Rec;
using platform::Answer;
using platform::ScriptedPrompter;
namespace sm = link::status_map;

class TimerEntryTest : public ::testing::Test {
 protected:
  TimerEntry OpenWith(Rec record, std::uint8_t minutes, std::uint8_t seconds, TimerLimits limits) {
    const std::size_t offset = link::RecordOf(record).target_offset();
    shared.dryer_state.SetTime(offset, minutes, seconds);
    return TimerEntry::Open(shared, record, limits);
  }
  static void Minutes(TimerEntry& entry, std::initializer_list<int> keys) {
    for (int key : keys) entry.MinutesKey(key);
  }
  static void Seconds(TimerEntry& entry, std::initializer_list<int> keys) {
    for (int key : keys) entry.SecondsKey(key);
  }

  link::LinkShared shared;
  ScriptedPrompter prompter;
  // Batch dry timer: 0:00..200:00, default 60:00.
  TimerLimits dry{0, 0, 200, 0, 60, 0};
};

TEST_F(TimerEntryTest, OpeningTakesTheDryersValueAndRefreshesTheRequestButRaisesNothing) {
  shared.request.SetTime(sm::kDryTimerReload, 99, 59);  // stale bytes of an earlier edit
  TimerEntry entry = OpenWith(Rec::kDryTimerReload, 45, 5, dry);
  EXPECT_EQ(entry.minutes, 45);
  EXPECT_EQ(entry.seconds, 5);
  EXPECT_EQ(entry.minutes_digits, 0);
  EXPECT_EQ(entry.seconds_digits, 0);
  EXPECT_EQ(entry.started, 0);
  EXPECT_EQ(entry.TargetOffset(), sm::kDryTimerReload);
  EXPECT_EQ(shared.request.Get(sm::kDryTimerReload), 45);
  EXPECT_EQ(shared.request.Get(sm::kDryTimerReload + 1), 5);
  EXPECT_FALSE(shared.pending.AnyRaised());
}

TEST_F(TimerEntryTest, SecondsKeypadRefusesASecondDigitAfterSixToNine) {
  TimerEntry entry = OpenWith(Rec::kDryTimerReload, 10, 30, dry);
  Seconds(entry, {7, 5});
  EXPECT_EQ(entry.seconds, 7);
  EXPECT_EQ(entry.seconds_digits, 2);
  entry.SecondsKey(kKeyDelete);
  EXPECT_EQ(entry.seconds, 0);
  EXPECT_EQ(entry.seconds_digits, 1);
  // Typing on from there: back in the one-digit state, 0 <= 5 so a digit appends.
  entry.SecondsKey(4);
  EXPECT_EQ(entry.seconds, 4);
  EXPECT_EQ(entry.minutes, 10) << "the minutes keypad was never touched";

  TimerEntry second = OpenWith(Rec::kDryTimerReload, 0, 0, dry);
  Seconds(second, {5, 9, 3});  // the third digit is ignored
  EXPECT_EQ(second.seconds, 59);
  Seconds(second, {kKeyDelete, kKeyDelete});
  EXPECT_EQ(second.seconds, 0);
  EXPECT_EQ(second.seconds_digits, 0);
  Seconds(second, {0, 0, 4, 2});  // leading zeros keep the keypad at no digits
  EXPECT_EQ(second.seconds, 42);
}

TEST_F(TimerEntryTest, MinutesKeypadTakesThreeDigitsUpTo249) {
  TimerEntry a = OpenWith(Rec::kDryTimerReload, 77, 0, dry);
  Minutes(a, {2, 5, 0});
  EXPECT_EQ(a.minutes, 25);
  EXPECT_EQ(a.minutes_digits, 3);
  a.MinutesKey(4);
  EXPECT_EQ(a.minutes, 25) << "a fourth digit is ignored";

  TimerEntry b = OpenWith(Rec::kDryTimerReload, 77, 0, dry);
  Minutes(b, {2, 4, 9});
  EXPECT_EQ(b.minutes, 249);
  Minutes(b, {kKeyDelete});
  EXPECT_EQ(b.minutes, 24);
  EXPECT_EQ(b.minutes_digits, 2);
  Minutes(b, {kKeyDelete, kKeyDelete});
  EXPECT_EQ(b.minutes, 0);
  EXPECT_EQ(b.minutes_digits, 0);

  TimerEntry c = OpenWith(Rec::kDryTimerReload, 77, 0, dry);
  Minutes(c, {0, 0, 1, 2});
  EXPECT_EQ(c.minutes, 12);
  EXPECT_EQ(c.minutes_digits, 2);
  c.MinutesKey(3);
  EXPECT_EQ(c.minutes, 123) << "leading zeros do not use up a digit";
  EXPECT_EQ(c.key, 3);
}

TEST_F(TimerEntryTest, FirstKeyClearsOnlyItsOwnKeypad) {
  TimerEntry entry = OpenWith(Rec::kDryTimerReload, 45, 30, dry);
  entry.SecondsKey(kKeyDelete);  // a DELETE as first key clears the keypad too
  EXPECT_EQ(entry.seconds, 0);
  EXPECT_EQ(entry.started, 1);
  EXPECT_EQ(entry.minutes, 45);
  // The minutes keypad was not cleared: its DELETE works on the old value, a digit replaces it.
  entry.MinutesKey(kKeyDelete);
  EXPECT_EQ(entry.minutes, 4);
  entry.MinutesKey(9);
  EXPECT_EQ(entry.minutes, 9);
  EXPECT_EQ(entry.key, 9);
}

TEST_F(TimerEntryTest, DefaultLoadsTheDefaultAndSetsTheDigitStates) {
  // Fill timer: 0:00..30:00, default 8:00.
  TimerEntry fill = OpenWith(Rec::kFillTimer, 3, 0, TimerLimits{0, 0, 30, 0, 8, 0});
  fill.Default();
  EXPECT_EQ(fill.minutes, 8);
  EXPECT_EQ(fill.seconds, 0);
  EXPECT_EQ(fill.minutes_digits, 1);
  EXPECT_EQ(fill.seconds_digits, 0);
  EXPECT_EQ(fill.key, kKeyDefault);
  fill.MinutesKey(0);
  EXPECT_EQ(fill.minutes, 80) << "a digit after DEFAULT appends to the default";
  ScriptedPrompter ok{Answer::kOk};
  EXPECT_EQ(fill.Accept(shared, ok), TimerEntry::Outcome::kRefused);
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kFillTimer));
  EXPECT_TRUE(ok.Clean()) << ok.Problems();

  TimerEntry big = OpenWith(Rec::kDryTimerReload, 0, 0, TimerLimits{0, 0, 200, 0, 120, 45});
  big.Default();
  EXPECT_EQ(big.minutes_digits, 3);
  EXPECT_EQ(big.seconds_digits, 1);
  big.MinutesKey(5);
  big.SecondsKey(5);
  EXPECT_EQ(big.minutes, 120);
  EXPECT_EQ(big.seconds, 45) << "45 > 5: no digit appends";

  TimerEntry mid = OpenWith(Rec::kDryTimerReload, 0, 0, dry);
  mid.Default();
  EXPECT_EQ(mid.minutes_digits, 2);
  mid.MinutesKey(1);
  EXPECT_EQ(mid.minutes, 60) << "60 > 24: a third digit would pass 249";
}

TEST_F(TimerEntryTest, AcceptWritesWithinTheLimitsAndRefusesOutside) {
  const TimerLimits load_delay{0, 30, 10, 0, 2, 0};
  TimerEntry low = OpenWith(Rec::kLoadStartupDelay, 2, 0, load_delay);
  Minutes(low, {0});
  Seconds(low, {2, 9});
  ScriptedPrompter refused{Answer::kOk};
  EXPECT_EQ(low.Accept(shared, refused), TimerEntry::Outcome::kRefused);
  ASSERT_NE(refused.Last(), nullptr);
  EXPECT_EQ(refused.Last()->text, "The value entered is out of range.");
  EXPECT_EQ(refused.Last()->caption, "WARNING!");
  EXPECT_EQ(refused.Last()->buttons, platform::Buttons::kOk);
  EXPECT_EQ(refused.Last()->icon, platform::kExclamation);
  EXPECT_FALSE(shared.pending.AnyRaised());
  EXPECT_EQ(shared.request.Get(sm::kLoadStartupDelay), 2) << "the request keeps the opened value";

  TimerEntry edge = OpenWith(Rec::kLoadStartupDelay, 2, 0, load_delay);
  Minutes(edge, {0});
  Seconds(edge, {3, 0});
  ScriptedPrompter silent;
  EXPECT_EQ(edge.Accept(shared, silent), TimerEntry::Outcome::kWritten);
  EXPECT_TRUE(silent.Questions().empty());
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kLoadStartupDelay));
  EXPECT_EQ(shared.request.Get(sm::kLoadStartupDelay), 0);
  EXPECT_EQ(shared.request.Get(sm::kLoadStartupDelay + 1), 30);

  // Fan start delay 0:01..0:25: 0:26 is refused.
  TimerEntry fan = OpenWith(Rec::kFanStartDelay, 0, 3, TimerLimits{0, 1, 0, 25, 0, 3});
  Seconds(fan, {2, 6});
  ScriptedPrompter warn{Answer::kOk};
  EXPECT_EQ(fan.Accept(shared, warn), TimerEntry::Outcome::kRefused);
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kFanStartDelay));

  // The upper limit is inclusive to the second: 200:00 goes, 200:01 does not.
  TimerEntry top = OpenWith(Rec::kDryTimerReload, 0, 0, dry);
  Minutes(top, {2, 0, 0});
  EXPECT_EQ(top.Accept(shared, silent), TimerEntry::Outcome::kWritten);
  EXPECT_EQ(shared.request.Get(sm::kDryTimerReload), 200);
  shared.pending.Lower(Rec::kDryTimerReload);
  TimerEntry over = OpenWith(Rec::kDryTimerReload, 0, 0, dry);
  Minutes(over, {2, 0, 0});
  Seconds(over, {1});
  ScriptedPrompter warn2{Answer::kOk};
  EXPECT_EQ(over.Accept(shared, warn2), TimerEntry::Outcome::kRefused);
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kDryTimerReload));
  EXPECT_TRUE(warn.Clean() && warn2.Clean());
}

TEST_F(TimerEntryTest, AcceptWritesAGroupOneRecordAtItsOwnOffset) {
  TimerEntry cool_down = OpenWith(Rec::kCoolDownTimer, 5, 0, TimerLimits{0, 0, 60, 0, 0, 0});
  Minutes(cool_down, {1, 5});
  ScriptedPrompter silent;
  EXPECT_EQ(cool_down.Accept(shared, silent), TimerEntry::Outcome::kWritten);
  EXPECT_EQ(shared.request.Get(sm::kCoolDownTimer), 15);
  EXPECT_EQ(shared.request.Get(sm::kCoolDownTimer + 1), 0);
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kCoolDownTimer));
}

TEST_F(TimerEntryTest, ControlIdsDriveTheKeypadsAndCancelWritesNothing) {
  namespace id = timer_entry_id;
  shared.pending.Raise(Rec::kCoolTimerReload);  // an earlier change still on its way
  TimerEntry entry = OpenWith(Rec::kCoolTimerReload, 20, 0, TimerLimits{0, 0, 60, 0, 20, 0});
  ScriptedPrompter silent;
  for (int control : {1070, 1074, 1084, 1081, 1083}) {  // minutes 7, 5; seconds DELETE, 7, 3
    EXPECT_EQ(entry.Press(control, shared, silent), TimerEntry::Outcome::kKeepOpen);
  }
  EXPECT_EQ(entry.minutes, 75);
  EXPECT_EQ(entry.seconds, 7) << "7 takes no second digit";
  EXPECT_EQ(entry.seconds_digits, 2);
  EXPECT_EQ(entry.Press(99999, shared, silent), TimerEntry::Outcome::kKeepOpen);
  EXPECT_EQ(entry.Press(id::kCancel, shared, silent), TimerEntry::Outcome::kCancelled);
  // The flag is as it was; the value was refreshed from the dryer when the dialog opened.
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kCoolTimerReload));
  EXPECT_EQ(shared.request.Get(sm::kCoolTimerReload), 20);
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kDryTimerReload));
  EXPECT_TRUE(silent.Questions().empty());

  // Every digit id maps to its own digit.
  for (int digit = 0; digit < 10; ++digit) {
    TimerEntry e = OpenWith(Rec::kCoolTimerReload, 0, 0, TimerLimits{});
    e.Press(id::kMinutesDigits[digit], shared, silent);
    e.Press(id::kSecondsDigits[digit], shared, silent);
    EXPECT_EQ(e.minutes, digit);
    EXPECT_EQ(e.seconds, digit);
  }
  TimerEntry d = OpenWith(Rec::kCoolTimerReload, 0, 0, TimerLimits{0, 0, 60, 0, 20, 0});
  d.Press(id::kDefault, shared, silent);
  EXPECT_EQ(d.minutes, 20);
  EXPECT_EQ(d.Press(id::kAccept, shared, silent), TimerEntry::Outcome::kWritten);
  EXPECT_EQ(shared.request.Get(sm::kCoolTimerReload), 20);
}

// A face narrow enough for the value to fit its box at 60 px, as on the panel.
platform::Size NarrowFace(std::string_view text, platform::Font font) {
  return {static_cast<int>(text.size()) * font.height * 2 / 5, font.height};
}

TEST(TimerEntryPaint, DrawsTheLimitsTheValueAndTheKeypadNames) {
  TimerEntry entry;
  entry.minutes = 45;
  entry.seconds = 5;
  entry.max_minutes = 200;
  entry.default_minutes = 60;
  entry.min_seconds = 30;
  platform::RecordingCanvas canvas({610, 325}, NarrowFace);
  PaintTimerEntry(canvas, entry);

  const platform::TextCall* def = canvas.FindText("  Default = 60 : 00  ");
  ASSERT_NE(def, nullptr) << canvas.Describe();
  EXPECT_EQ(def->at, (platform::Point{431, 50}));
  EXPECT_EQ(def->font.height, 15);
  // 200 minutes make the line one character longer: 21 characters are drawn.
  const platform::TextCall* max = canvas.FindText("  Maximum = 200 : 00 ");
  ASSERT_NE(max, nullptr) << canvas.Describe();
  EXPECT_EQ(max->at, (platform::Point{420, 65}));
  const platform::TextCall* min = canvas.FindText("  Minimum = 00 : 30  ");
  ASSERT_NE(min, nullptr) << canvas.Describe();
  EXPECT_EQ(min->at, (platform::Point{423, 80}));
  for (const auto* line : {def, max, min}) EXPECT_EQ(line->text.size(), 21U);

  const platform::TextCall* value = canvas.FindText(" 045 : 05 ");
  ASSERT_NE(value, nullptr) << canvas.Describe();
  EXPECT_EQ(value->rect, platform::Rect::FromEdges(150, 40, 398, 110));
  EXPECT_EQ(value->HorizontalAlignment(), platform::kAlignRight);
  EXPECT_EQ(value->font, (platform::Font{60, 900}));
  EXPECT_EQ(value->colour, platform::Rgb(50, 0, 250));
  EXPECT_EQ(value->background_mode, platform::BackgroundMode::kOpaque);
  EXPECT_EQ(value->background, platform::Bgr(0x000000));
  EXPECT_NE(canvas.FindText("MINUTES"), nullptr);
  EXPECT_NE(canvas.FindText("SECONDS"), nullptr);
  EXPECT_EQ(canvas.Count<platform::TextCall>(), 6U);
}

TEST(TimerEntryPaint, AValueTooWideForItsBoxShrinksRatherThanLoseDigits) {
  TimerEntry entry;
  entry.minutes = 145;
  entry.seconds = 5;
  platform::RecordingCanvas canvas;  // the approximate face is wider than the panel's
  PaintTimerEntry(canvas, entry);
  const platform::TextCall* value = canvas.FindText(" 145 : 05 ");
  ASSERT_NE(value, nullptr) << canvas.Describe();
  EXPECT_LE(platform::ApproximateTextSize(value->text, value->font).w, 248);
  EXPECT_GE(value->font.height, 38) << "shrunk only as far as needed";
  EXPECT_EQ(value->font.weight, 900);
}

}  // namespace
}  // namespace orvandry::setup
