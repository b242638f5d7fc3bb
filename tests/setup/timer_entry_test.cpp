#include "setup/timer_entry.h"

#include <gtest/gtest.h>

#include <array>
#include <sstream>

#include "link/status_map.h"
#include "platform/recording_canvas.h"
#include "platform/scripted_prompter.h"

namespace orvandry::setup {
namespace {

using link::Rec;
using platform::Answer;
using platform::ScriptedPrompter;
namespace sm = link::status_map;

// Batch dry timer: 0:00..200:00, default 60:00.
constexpr TimerLimits kDry{0, 0, 200, 0, 60, 0};

TimerEntry OpenWith(link::LinkShared& shared, Rec record, std::uint8_t minutes,
                    std::uint8_t seconds, TimerLimits limits) {
  shared.first_frame_accepted = true;
  shared.dryer_state.SetTime(link::RecordOf(record).target_offset(), minutes, seconds);
  return TimerEntry::Open(shared, record, limits);
}

// Types keys: "M7" a minutes digit, "S7" a seconds digit, "MX" / "SX" their DELETE, "D" DEFAULT.
void Type(TimerEntry& entry, const std::string& keys) {
  std::istringstream in(keys);
  for (std::string key; in >> key;) {
    if (key == "D") {
      entry.Default();
      continue;
    }
    const int k = key[1] == 'X' ? kKeyDelete : key[1] - '0';
    if (key[0] == 'M') {
      entry.MinutesKey(k);
    } else {
      entry.SecondsKey(k);
    }
  }
}

TEST(TimerEntry, OpeningTakesTheDryersValueOrThePendingOneAndWritesNothing) {
  link::LinkShared shared;
  shared.request.SetTime(sm::kDryTimerReload, 99, 59);  // stale bytes of an earlier edit
  TimerEntry entry = OpenWith(shared, Rec::kDryTimerReload, 45, 5, kDry);
  EXPECT_EQ(entry.minutes, 45);
  EXPECT_EQ(entry.seconds, 5);
  EXPECT_EQ(entry.minutes_digits + entry.seconds_digits + entry.started, 0);
  EXPECT_EQ(entry.TargetOffset(), sm::kDryTimerReload);
  EXPECT_EQ(shared.request.Get(sm::kDryTimerReload), 99) << "opening writes nothing";
  EXPECT_FALSE(shared.pending.AnyRaised());

  // A change still on its way: the screen starts from it, and CANCEL leaves it going out.
  shared.RequestWrite(Rec::kDryTimerReload, sm::kDryTimerReload,
                      std::array<std::uint8_t, 2>{50, 0}.data(), 2);
  ScriptedPrompter silent;
  entry = TimerEntry::Open(shared, Rec::kDryTimerReload, kDry);
  EXPECT_EQ(entry.minutes, 50);
  EXPECT_EQ(entry.Press(timer_entry_id::kCancel, shared, silent), TimerEntry::Outcome::kCancelled);
  EXPECT_EQ(shared.request.Get(sm::kDryTimerReload), 50);
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kDryTimerReload));
}

TEST(TimerEntry, NothingIsSentBeforeTheDryerHasReported) {
  link::LinkShared shared;
  TimerEntry entry = TimerEntry::Open(shared, Rec::kDryTimerReload, kDry);
  entry.Default();
  ScriptedPrompter prompter{Answer::kOk};
  EXPECT_EQ(entry.Accept(shared, prompter), TimerEntry::Outcome::kRefused);
  EXPECT_FALSE(shared.pending.AnyRaised());
  EXPECT_EQ(prompter.Last()->caption, kNotConnectedCaption);
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

// The keypads' digit states: minutes take three digits up to 249, seconds a second digit only
// after 0..5; leading zeros are no digit; the first key clears only its own keypad; DEFAULT counts
// as typed.
TEST(TimerEntry, KeypadStateMachines) {
  struct Case {
    std::uint8_t open_minutes, open_seconds;
    TimerLimits limits;
    const char* keys;
    int minutes, seconds, minutes_digits, seconds_digits;
  };
  const Case cases[] = {
      {10, 30, kDry, "S7 S5", 10, 7, 0, 2},  // the minutes keypad was never touched
      {10, 30, kDry, "S7 S5 SX", 10, 0, 0, 1},
      {10, 30, kDry, "S7 S5 SX S4", 10, 4, 0, 2},
      {0, 0, kDry, "S5 S9 S3", 0, 59, 0, 2},  // a third digit is ignored
      {0, 0, kDry, "S5 S9 SX SX", 0, 0, 0, 0},
      {0, 0, kDry, "S0 S0 S4 S2", 0, 42, 0, 2},
      {77, 0, kDry, "M2 M5 M0", 25, 0, 3, 0},  // 25 > 24: a third digit would pass 249
      {77, 0, kDry, "M2 M5 M0 M4", 25, 0, 3, 0},
      {77, 0, kDry, "M2 M4 M9", 249, 0, 3, 0},
      {77, 0, kDry, "M2 M4 M9 MX", 24, 0, 2, 0},
      {77, 0, kDry, "M2 M4 M9 MX MX MX", 0, 0, 0, 0},
      {77, 0, kDry, "M0 M0 M1 M2", 12, 0, 2, 0},
      {77, 0, kDry, "M0 M0 M1 M2 M3", 123, 0, 3, 0},
      {45, 30, kDry, "SX", 45, 0, 0, 0},    // a DELETE as first key clears its keypad too
      {45, 30, kDry, "SX MX", 4, 0, 0, 0},  // the minutes keypad was not cleared
      {45, 30, kDry, "SX MX M9", 9, 0, 1, 0},
      {3, 0, {0, 0, 30, 0, 8, 0}, "D", 8, 0, 1, 0},
      {3, 0, {0, 0, 30, 0, 8, 0}, "D M0", 80, 0, 2, 0},  // appends to the default
      {0, 0, {0, 0, 200, 0, 120, 45}, "D", 120, 45, 3, 1},
      {0, 0, {0, 0, 200, 0, 120, 45}, "D M5 S5", 120, 45, 3, 2},  // 45 > 5: no digit appends
      {0, 0, kDry, "D M1", 60, 0, 3, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.open_minutes) + ":" + std::to_string(c.open_seconds) + " " +
                 c.keys);
    link::LinkShared shared;
    TimerEntry entry =
        OpenWith(shared, Rec::kDryTimerReload, c.open_minutes, c.open_seconds, c.limits);
    Type(entry, c.keys);
    EXPECT_EQ(entry.minutes, c.minutes);
    EXPECT_EQ(entry.seconds, c.seconds);
    EXPECT_EQ(entry.minutes_digits, c.minutes_digits);
    EXPECT_EQ(entry.seconds_digits, c.seconds_digits);
  }
}

TEST(TimerEntry, AcceptWritesWithinTheLimitsInclusiveAndRefusesOutside) {
  const TimerLimits load_delay{0, 30, 10, 0, 2, 0};
  const TimerLimits fan_delay{0, 1, 0, 25, 0, 3};
  const TimerLimits fill{0, 0, 30, 0, 8, 0};
  struct Case {
    Rec record;
    TimerLimits limits;
    const char* keys;
    bool written;
    std::uint8_t minutes, seconds;
  };
  const Case cases[] = {
      {Rec::kLoadStartupDelay, load_delay, "M0 S2 S9", false, 0, 29},
      {Rec::kLoadStartupDelay, load_delay, "M0 S3 S0", true, 0, 30},
      {Rec::kFanStartDelay, fan_delay, "M0 S2 S6", false, 0, 26},
      {Rec::kFanStartDelay, fan_delay, "M0 S2 S5", true, 0, 25},
      {Rec::kFanStartDelay, fan_delay, "M0 S0", false, 0, 0},
      {Rec::kDryTimerReload, kDry, "M2 M0 M0", true, 200, 0},
      {Rec::kDryTimerReload, kDry, "M2 M0 M0 S1", false, 200, 1},
      {Rec::kFillTimer, fill, "D M0", false, 80, 0},
      {Rec::kCoolDownTimer, {0, 0, 60, 0, 0, 0}, "M1 M5", true, 15, 0},  // a group-one record
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    link::LinkShared shared;
    TimerEntry entry = OpenWith(shared, c.record, 2, 0, c.limits);
    Type(entry, c.keys);
    ASSERT_EQ(entry.TotalSeconds(), c.minutes * 60 + c.seconds);
    ScriptedPrompter prompter;
    if (!c.written) prompter.Script(Answer::kOk);
    EXPECT_EQ(entry.Accept(shared, prompter),
              c.written ? TimerEntry::Outcome::kWritten : TimerEntry::Outcome::kRefused);
    EXPECT_EQ(shared.pending.IsRaised(c.record), c.written);
    EXPECT_EQ(shared.pending.AnyRaised(), c.written);
    const std::size_t offset = link::RecordOf(c.record).target_offset();
    // A refusal leaves the request bytes untouched.
    EXPECT_EQ(shared.request.Get(offset), c.written ? c.minutes : 0);
    EXPECT_EQ(shared.request.Get(offset + 1), c.written ? c.seconds : 0);
    ASSERT_EQ(prompter.Questions().size(), c.written ? 0U : 1U);
    if (!c.written) {
      EXPECT_EQ(prompter.Last()->text, "The value entered is out of range.");
      EXPECT_EQ(prompter.Last()->caption, "WARNING!");
      EXPECT_EQ(prompter.Last()->buttons, platform::Buttons::kOk);
      EXPECT_EQ(prompter.Last()->icon, platform::kExclamation);
    }
    EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
  }
}

TEST(TimerEntry, ControlIdsDriveTheKeypadsAndCancelWritesNothing) {
  namespace id = timer_entry_id;
  link::LinkShared shared;
  ScriptedPrompter silent;
  const TimerLimits cool{0, 0, 60, 0, 20, 0};
  TimerEntry entry = OpenWith(shared, Rec::kCoolTimerReload, 20, 0, cool);
  for (int control : {1070, 1074, 1084, 1081, 1083, 99999}) {  // minutes 7, 5; seconds DEL, 7, 3
    EXPECT_EQ(entry.Press(control, shared, silent), TimerEntry::Outcome::kKeepOpen);
  }
  EXPECT_EQ(entry.minutes, 75);
  EXPECT_EQ(entry.seconds, 7) << "7 takes no second digit";
  EXPECT_EQ(entry.Press(id::kCancel, shared, silent), TimerEntry::Outcome::kCancelled);
  EXPECT_FALSE(shared.pending.AnyRaised());
  EXPECT_EQ(shared.request.Get(sm::kCoolTimerReload), 0);

  // Every digit id maps to its own digit.
  for (int digit = 0; digit < 10; ++digit) {
    TimerEntry e = OpenWith(shared, Rec::kCoolTimerReload, 0, 0, cool);
    e.Press(id::kMinutesDigits[digit], shared, silent);
    e.Press(id::kSecondsDigits[digit], shared, silent);
    EXPECT_EQ(e.minutes, digit);
    EXPECT_EQ(e.seconds, digit);
  }
  TimerEntry d = OpenWith(shared, Rec::kCoolTimerReload, 0, 0, cool);
  d.Press(id::kMinutesDelete, shared, silent);
  d.Press(id::kDefault, shared, silent);
  EXPECT_EQ(d.Press(id::kAccept, shared, silent), TimerEntry::Outcome::kWritten);
  EXPECT_EQ(shared.request.Get(sm::kCoolTimerReload), 20);
  EXPECT_TRUE(silent.Questions().empty());
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
  // Always 21 characters: 200 minutes make the line one longer, and its last blank goes.
  EXPECT_EQ(canvas.Texts(), (std::vector<std::string>{
                                "  Default = 60 : 00  ", "  Maximum = 200 : 00 ",
                                "  Minimum = 00 : 30  ", " 045 : 05 ", "MINUTES", "SECONDS"}));
  EXPECT_EQ(canvas.FindText("  Maximum = 200 : 00 ")->at, (platform::Point{420, 65}));
  const platform::TextCall* value = canvas.FindText(" 045 : 05 ");
  EXPECT_EQ(value->rect, platform::Rect::FromEdges(150, 40, 398, 110));
  EXPECT_EQ(value->HorizontalAlignment(), platform::kAlignRight);
  EXPECT_EQ(value->font, (platform::Font{60, 900}));
  EXPECT_EQ(value->colour, platform::Rgb(50, 0, 250));
  EXPECT_EQ(value->background, platform::Bgr(0x000000));

  // A value too wide for its box with the wider approximate face shrinks rather than lose digits.
  entry.minutes = 145;
  platform::RecordingCanvas wide;
  PaintTimerEntry(wide, entry);
  value = wide.FindText(" 145 : 05 ");
  ASSERT_NE(value, nullptr) << wide.Describe();
  EXPECT_LE(platform::ApproximateTextSize(value->text, value->font).w, 248);
  EXPECT_GE(value->font.height, 38) << "shrunk only as far as needed";
  EXPECT_EQ(value->font.weight, 900);
}

}  // namespace
}  // namespace orvandry::setup
