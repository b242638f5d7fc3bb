// Setting the panel clock: the fields step and wrap as the technician expects, only real dates
// can be chosen, 12 AM/PM turn into 0 and 12 o'clock, and a clock that may not be set says so
// and changes nothing. Also the system information texts.
#include "service/time_date.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/scripted_prompter.h"
#include "service/system_info.h"

namespace orvandry::service {
namespace {

namespace id = time_date_id;
using platform::LocalDateTime;

struct StepCase {
  const char* what;
  LocalDateTime start;
  std::vector<int> presses;
  LocalDateTime expected;  // weekday derived
};

TEST(TimeDate, FieldsStepWrapAndOfferOnlyRealDates) {
  const StepCase cases[] = {
      {"day down from 1 in April gives 30",
       {2026, 4, 1, 10, 0},
       {id::kDayDown},
       {2026, 4, 30, 10, 0}},
      {"day up from 31 gives 1", {2026, 1, 31, 10, 0}, {id::kDayUp}, {2026, 1, 1, 10, 0}},
      {"31 February cannot be reached: 28 up gives 1",
       {2026, 2, 28, 10, 0},
       {id::kDayUp},
       {2026, 2, 1, 10, 0}},
      {"leap year: 29 February exists", {2024, 2, 28, 10, 0}, {id::kDayUp}, {2024, 2, 29, 10, 0}},
      {"31 January, month up: 28 February",
       {2026, 1, 31, 10, 0},
       {id::kMonthUp},
       {2026, 2, 28, 10, 0}},
      {"29 February 2024, year up: 28 February 2025",
       {2024, 2, 29, 10, 0},
       {id::kYearUp},
       {2025, 2, 28, 10, 0}},
      {"month wraps both ways",
       {2026, 12, 5, 10, 0},
       {id::kMonthUp, id::kMonthUp, id::kMonthDown},
       {2026, 1, 5, 10, 0}},
      {"year up from 2050 gives 2000", {2050, 6, 1, 10, 0}, {id::kYearUp}, {2000, 6, 1, 10, 0}},
      {"year down from 2000 gives 2050", {2000, 6, 1, 10, 0}, {id::kYearDown}, {2050, 6, 1, 10, 0}},
      {"minute wraps both ways", {2026, 6, 1, 10, 59}, {id::kMinuteUp}, {2026, 6, 1, 10, 0}},
      {"minute down from 0", {2026, 6, 1, 10, 0}, {id::kMinuteDown}, {2026, 6, 1, 10, 59}},
      {"hour 12 AM up gives 1 AM", {2026, 6, 1, 0, 0}, {id::kHourUp}, {2026, 6, 1, 1, 0}},
      {"hour 1 PM down gives 12 PM", {2026, 6, 1, 13, 0}, {id::kHourDown}, {2026, 6, 1, 12, 0}},
      {"hour 11 AM up gives 12 AM (midnight)",
       {2026, 6, 1, 11, 0},
       {id::kHourUp},
       {2026, 6, 1, 0, 0}},
      {"PM on 9 AM gives 21", {2026, 6, 1, 9, 0}, {id::kPm}, {2026, 6, 1, 21, 0}},
      {"AM on 12 PM gives 0", {2026, 6, 1, 12, 30}, {id::kAm}, {2026, 6, 1, 0, 30}},
  };
  for (const StepCase& c : cases) {
    TimeDate logic;
    logic.Open(c.start);
    platform::FakeClock clock(c.start);
    platform::ScriptedPrompter prompter;
    for (int press : c.presses)
      EXPECT_EQ(logic.Press(press, clock, prompter), TimeDate::Outcome::kKeepOpen) << c.what;
    LocalDateTime expected = c.expected;
    expected.weekday = platform::WeekdayOf(expected.year, expected.month, expected.day);
    EXPECT_EQ(logic.ToLocal(), expected) << c.what;
  }
}

TEST(TimeDate, OpensOnATwelveHourClockAndShowsTheDerivedWeekday) {
  struct Case {
    int hour;
    int hour12;
    bool pm;
  };
  for (const Case& c : {Case{0, 12, false}, Case{11, 11, false}, Case{12, 12, true},
                        Case{13, 1, true}, Case{23, 11, true}}) {
    TimeDate logic;
    logic.Open(LocalDateTime{2026, 12, 7, c.hour, 5});
    EXPECT_EQ(logic.Hour12(), c.hour12) << c.hour;
    EXPECT_EQ(logic.Pm(), c.pm) << c.hour;
    EXPECT_EQ(logic.ToLocal().hour, c.hour) << "back to 24 hours";
  }
  TimeDate logic;
  logic.Open(LocalDateTime{2026, 12, 7, 9, 0});
  EXPECT_EQ(logic.MonthText(), " DECEMBER");
  EXPECT_EQ(logic.WeekdayText(), " MONDAY");
  platform::FakeClock clock;
  platform::ScriptedPrompter prompter;
  logic.Press(id::kDayUp, clock, prompter);
  EXPECT_EQ(logic.WeekdayText(), " TUESDAY") << "the weekday follows the date";
  logic.Open(LocalDateTime{2071, 3, 1, 9, 0});
  EXPECT_EQ(logic.Year(), 2050) << "outside the years offered: the nearest end";
}

TEST(TimeDate, AcceptSetsTheClockOrSaysClearlyWhyNot) {
  const LocalDateTime start{2026, 12, 7, 21, 15, 42};
  {
    platform::FakeClock clock(start);
    platform::ScriptedPrompter prompter;
    TimeDate logic;
    logic.Open(clock.Now());
    logic.Press(id::kHourUp, clock, prompter);
    EXPECT_EQ(logic.Press(id::kAccept, clock, prompter), TimeDate::Outcome::kSet);
    EXPECT_EQ(clock.Now(), (LocalDateTime{2026, 12, 7, 22, 15, 0, 1}));
    EXPECT_TRUE(prompter.Questions().empty());
  }
  {
    platform::FakeClock clock(start);
    clock.SetFailSetLocalTime(true);  // a process without the right to set the clock
    platform::ScriptedPrompter prompter{platform::Answer::kOk};
    TimeDate logic;
    logic.Open(clock.Now());
    logic.Press(id::kYearUp, clock, prompter);
    EXPECT_EQ(logic.Press(id::kAccept, clock, prompter), TimeDate::Outcome::kRefused);
    EXPECT_EQ(clock.Now(), (LocalDateTime{2026, 12, 7, 21, 15, 42, 1})) << "nothing changed";
    EXPECT_EQ(clock.SetLocalTimeCalls(), 1);
    ASSERT_NE(prompter.Last(), nullptr);
    EXPECT_EQ(prompter.Last()->text, kClockNotPermittedText);
    EXPECT_EQ(prompter.Last()->icon, platform::Icon::kError);
    EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
  }
  {
    platform::FakeClock clock(start);
    platform::ScriptedPrompter prompter;
    TimeDate logic;
    logic.Open(clock.Now());
    logic.Press(id::kMinuteUp, clock, prompter);
    EXPECT_EQ(logic.Press(id::kCancel, clock, prompter), TimeDate::Outcome::kCancelled);
    EXPECT_EQ(clock.SetLocalTimeCalls(), 0);
  }
}

TEST(SystemInfo, TextsShowTheClockAndTheFullMemoryFigures) {
  struct Case {
    LocalDateTime t;
    const char* time;
    const char* date;
  };
  for (const Case& c : {Case{{2026, 12, 7, 0, 5, 9}, "12:05:09 AM", "Monday  Dec 07, 2026"},
                        Case{{2026, 3, 1, 12, 0, 0}, "12:00:00 PM", "Sunday  Mar 01, 2026"},
                        Case{{2030, 7, 14, 23, 59, 59}, "11:59:59 PM", "Sunday  Jul 14, 2030"}}) {
    EXPECT_EQ(FormatClockTime(c.t), c.time);
    EXPECT_EQ(FormatLongDate(c.t), c.date);
  }
  const SystemInfoTexts texts = SystemInfoNow(
      LocalDateTime{2026, 12, 7, 9, 0, 0}, platform::MemoryFigures{17179869184ULL, 5000000000ULL});
  EXPECT_EQ(texts.version, "VER: 1.10");
  EXPECT_EQ(texts.ram_size, "RAM MEMORY SIZE: 17,179,869,184 Bytes");
  EXPECT_EQ(texts.free_ram, "FREE RAM MEMORY: 5,000,000,000 Bytes");
  EXPECT_EQ(SystemInfoNow(LocalDateTime{}, std::nullopt).ram_size, "RAM MEMORY SIZE: not reported");
}

}  // namespace
}  // namespace orvandry::service
