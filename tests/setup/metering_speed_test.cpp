#include "setup/metering_speed.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "link/command_builder.h"
#include "link/frame_constants.h"
#include "link/status_intake.h"
#include "link/status_map.h"
#include "platform/recording_canvas.h"
#include "platform/scripted_prompter.h"
#include "setup/timer_entry.h"

namespace orvandry::setup {
namespace {

using link::MeteringSource;
using link::Rec;
using platform::Answer;
using Bytes = std::vector<std::pair<std::size_t, std::uint8_t>>;
using Wire = std::vector<std::string>;

constexpr std::uint8_t kLow = 0, kMain = 1, kHigh = 2;
using Gauges = std::array<std::uint8_t, 3>;  // high, main, low as shown

// A controller and the display's link side: frames go through the real intake, so DryerState and
// the request image are what the dialog meets in the field, and the records are read back from
// the real CommandFrame builder.
struct Dryer {
  // Metering mode byte `mode`, high/main/low 80/50/20 (also as the knob's working speeds) and
  // selection `selected`, plus whatever a case adds, reported while the knob was the source.
  Dryer(std::uint8_t mode, std::uint8_t selected, MeteringSource source, const Bytes& more = {}) {
    Bytes bytes = {{187, mode},     {156, 80}, {157, 50}, {158, 20},
                   {159, selected}, {160, 80}, {161, 50}, {162, 20}};
    bytes.insert(bytes.end(), more.begin(), more.end());
    // The request image holds the selection the knob last made; the source is switched after.
    Report(bytes);
    shared.metering_source = source;
  }
  void Report(const Bytes& bytes) {
    for (const auto& [offset, value] : bytes) frame[offset] = value;
    intake.Run(frame.data());
  }
  // The records the next CommandFrame carries, as "id:size=b0,b1,..".
  Wire OnTheWire() {
    std::array<std::uint8_t, link::kMaxCommandFrameSize> tx{};
    Wire out;
    if (!link::BuildCommandFrame(shared, tx.data())) return out;
    for (std::size_t at = 2, r = 0; r < tx[1]; ++r, at += 3U + tx[at + 2]) {
      std::string record = std::to_string(tx[at + 1]) + ":" + std::to_string(tx[at + 2]) + "=";
      for (int i = 0; i < tx[at + 2]; ++i) {
        if (i > 0) record += ',';  // appended: GCC 12 -O3 misreads "," + string (restrict)
        record += std::to_string(tx[at + 3 + i]);
      }
      out.push_back(record);
    }
    return out;
  }
  MeteringSpeed& Open() {
    metering.Open();
    return metering;
  }
  Gauges Shown() const {
    return {metering.Value(Speed::kHigh), metering.Value(Speed::kMain),
            metering.Value(Speed::kLow)};
  }

  link::LinkShared shared;
  link::StatusIntake intake{shared, nullptr};
  std::array<std::uint8_t, link::kStateSize> frame{};
  platform::ScriptedPrompter prompter;
  MeteringSpeed metering{shared};
};

TEST(MeteringSpeed, TrackingKeepsHighAndLowFifteenPercentFromMain) {
  struct Case {
    std::uint8_t main;
    Gauges shown;
  };
  for (const Case& c : {Case{90, {100, 90, 76}}, Case{50, {57, 50, 42}}, Case{0, {0, 0, 0}}}) {
    SCOPED_TRACE(c.main);
    Dryer dryer(0x22, kMain, MeteringSource::kDisplay, {{157, c.main}});
    EXPECT_TRUE(dryer.Open().Tracking());
    EXPECT_EQ(dryer.Shown(), c.shown);
  }
  // INCREASE on main moves both with it; nothing is sent before ACCEPT.
  Dryer dryer(0x22, kMain, MeteringSource::kDisplay);
  EXPECT_TRUE(dryer.Open().Increase());
  EXPECT_EQ(dryer.Shown(), (Gauges{58, 51, 43}));
  EXPECT_EQ(dryer.OnTheWire(), Wire{});
}

TEST(MeteringSpeed, IncreaseAndDecreaseStayWithinTheScale) {
  struct Case {
    std::uint8_t selected;
    std::uint8_t start;  // the selected speed, as the controller reports it
    bool increase;
    bool changed;
    std::uint8_t after;
  };
  const Case cases[] = {
      {kMain, 50, true, true, 51},    {kMain, 50, false, true, 49},
      {kHigh, 100, true, false, 100}, {kLow, 0, false, false, 0},
      {kLow, 1, false, true, 0},      {kHigh, 99, true, true, 100},
      {kMain, 150, true, false, 150}, {kMain, 150, false, true, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.selected) + " " + std::to_string(c.start));
    Dryer dryer(0x02, c.selected, MeteringSource::kDisplay,
                {{static_cast<std::size_t>(158 - c.selected), c.start}});
    MeteringSpeed& m = dryer.Open();
    EXPECT_EQ(c.increase ? m.Increase() : m.Decrease(), c.changed);
    EXPECT_EQ(m.Value(static_cast<Speed>(c.selected)), c.after);
    EXPECT_EQ(dryer.OnTheWire(), Wire{});
  }
  // A selection the dialog does not know, or the knob as the source: nothing moves.
  for (auto [selected, source] : {std::pair{std::uint8_t{7}, MeteringSource::kDisplay},
                                  std::pair{kMain, MeteringSource::kKnob}}) {
    Dryer dryer(0x02, selected, source);
    EXPECT_FALSE(dryer.Open().Increase());
    EXPECT_FALSE(dryer.metering.Decrease());
    EXPECT_EQ(dryer.Shown(), (Gauges{80, 50, 20}));
  }
}

TEST(MeteringSpeed, SelectRuleAtOpeningAndOnSelect) {
  struct Case {
    const char* name;
    std::uint8_t mode;
    std::uint8_t bits179;
    std::uint8_t start;
    std::uint8_t after_open;
    Wire open_wire;
    std::uint8_t after_select;
    Wire select_wire;
  };
  const Case cases[] = {
      {"two-speed toggles low to high", 0x81, 0, kLow, kLow, {}, kHigh, {"159:1=2"}},
      {"two-speed toggles high to low", 0x81, 0, kHigh, kHigh, {}, kLow, {"159:1=0"}},
      {"main stays main", 0x81, 0, kMain, kMain, {}, kMain, {"159:1=1"}},
      {"on/off forces high at opening", 0xC1, 0, kLow, kHigh, {"159:1=2"}, kHigh, {"159:1=2"}},
      {"manual unload forces main", 0x81, 0x02, kHigh, kMain, {"159:1=1"}, kMain, {"159:1=1"}},
      {"only metering mode 1 selects", 0x02, 0, kLow, kLow, {}, kLow, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Dryer dryer(c.mode, c.start, MeteringSource::kDisplay, {{179, c.bits179}});
    MeteringSpeed& m = dryer.Open();
    EXPECT_EQ(m.Selected(), c.after_open);
    EXPECT_EQ(dryer.OnTheWire(), c.open_wire);
    m.Select();
    EXPECT_EQ(m.Selected(), c.after_select);
    EXPECT_EQ(dryer.OnTheWire(), c.select_wire);
  }
  // Manual unload switched on while the dialog is open: the selection moves to main.
  Dryer resync(0x81, kLow, MeteringSource::kDisplay);
  resync.Open();
  resync.Report({{179, 0x02}});
  resync.metering.Follow();
  EXPECT_EQ(resync.metering.Selected(), kMain);
  EXPECT_EQ(resync.OnTheWire(), Wire{"159:1=1"});

  // With the knob as the source the selection is the knob's.
  Dryer knob(0xC1, kLow, MeteringSource::kKnob);
  knob.Open().Select();
  EXPECT_EQ(knob.metering.Selected(), kLow);
  EXPECT_EQ(knob.OnTheWire(), Wire{});
}

TEST(MeteringSpeed, AcceptSendsTheEditedSpeedsInTheirOwnBytes) {
  struct Case {
    const char* name;
    std::uint8_t mode;
    MeteringSource source;
    int main_steps;  // INCREASE (+) or DECREASE (-) presses on main
    Bytes knob;      // the knob moves while the dialog is open
    Wire wire;
  };
  const Case cases[] = {
      {"display, main changed",
       0x01,
       MeteringSource::kDisplay,
       2,
       {},
       {"157:1=52", "159:4=1,80,52,20"}},
      {"display, nothing changed", 0x01, MeteringSource::kDisplay, 0, {}, {"159:4=1,80,50,20"}},
      {"three-speed also sets the drying mode bit",
       0x02,
       MeteringSource::kDisplay,
       -1,
       {},
       {"157:1=49", "159:4=1,80,49,20", "224:1=2"}},
      {"the drying mode byte as it stands at ACCEPT",
       0x02,
       MeteringSource::kDisplay,
       0,
       {{224, 0x10}},
       {"159:4=1,80,50,20", "224:1=18"}},
      {"knob, nothing changed", 0x01, MeteringSource::kKnob, 0, {}, {}},
      {"knob moved main", 0x01, MeteringSource::kKnob, 0, {{161, 60}}, {"157:1=60"}},
      {"knob moved high", 0x01, MeteringSource::kKnob, 0, {{159, kHigh}, {160, 90}}, {"156:1=90"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Dryer dryer(c.mode, kMain, c.source);
    MeteringSpeed& m = dryer.Open();
    for (int i = 0; i < c.main_steps; ++i) m.Increase();
    for (int i = 0; i > c.main_steps; --i) m.Decrease();
    if (!c.knob.empty()) {
      dryer.Report(c.knob);
      m.Follow();
    }
    EXPECT_EQ(m.Accept(dryer.prompter), MeteringSpeed::Outcome::kAccepted);
    EXPECT_EQ(dryer.OnTheWire(), c.wire);
  }
}

TEST(MeteringSpeed, NothingIsSentBeforeTheDryerHasReported) {
  link::LinkShared shared;
  shared.metering_source = MeteringSource::kDisplay;
  platform::ScriptedPrompter prompter;
  MeteringSpeed m(shared);
  m.Open();
  m.Select();
  EXPECT_EQ(m.Accept(prompter), MeteringSpeed::Outcome::kKeepOpen);
  ASSERT_NE(prompter.Last(), nullptr);
  EXPECT_EQ(prompter.Last()->caption, kNotConnectedCaption);
  EXPECT_FALSE(shared.pending.AnyRaised());
}

TEST(MeteringSpeed, SpeedRecordEndsOnTheEchoAndAStaleValueIsReplaced) {
  Dryer dryer(0x01, kMain, MeteringSource::kDisplay);
  MeteringSpeed& m = dryer.Open();
  m.Increase();
  m.Accept(dryer.prompter);
  EXPECT_TRUE(dryer.shared.pending.IsRaised(Rec::kMeteringSpeedMain));
  // The controller does not take 51; the operator puts main back to the controller's 50.
  dryer.Report({});
  MeteringSpeed again(dryer.shared);
  again.Open();
  again.Accept(dryer.prompter);
  EXPECT_EQ(dryer.OnTheWire(), (Wire{"157:1=50", "159:4=1,80,50,20"}));
  dryer.Report({});
  EXPECT_FALSE(dryer.shared.pending.IsRaised(Rec::kMeteringSpeedMain));
}

TEST(MeteringSpeed, CancelRestoresTheReportedSpeeds) {
  Dryer dryer(0x02, kMain, MeteringSource::kDisplay);
  MeteringSpeed& m = dryer.Open();
  m.Increase();
  EXPECT_EQ(m.Cancel(), MeteringSpeed::Outcome::kCancelled);
  EXPECT_EQ(dryer.OnTheWire(), Wire{"160:3=80,50,20"});

  // Tracking switched off sent the present speeds; CANCEL must not be overtaken by them.
  Dryer tracked(0x22, kMain, MeteringSource::kDisplay);
  MeteringSpeed& t = tracked.Open();
  t.Increase();
  t.Scheme(tracked.prompter);
  EXPECT_EQ(tracked.OnTheWire(), (Wire{"187:1=2", "159:4=1,58,51,43"}));
  t.Cancel();
  EXPECT_EQ(tracked.OnTheWire(), (Wire{"187:1=2", "160:3=80,50,20", "159:4=1,80,50,20"}));
}

TEST(MeteringSpeed, AutomaticStateTakesNoAdjustment) {
  Dryer dryer(0x83, kMain, MeteringSource::kDisplay, {{201, 3}, {161, 70}});
  MeteringSpeed& m = dryer.Open();
  EXPECT_TRUE(m.Automatic());
  EXPECT_EQ(m.Value(Speed::kMain), 50) << "the controller's main speed";
  EXPECT_FALSE(m.Increase());
  EXPECT_FALSE(m.Decrease());
  EXPECT_EQ(m.Accept(dryer.prompter), MeteringSpeed::Outcome::kKeepOpen);
  EXPECT_EQ(dryer.OnTheWire(), Wire{});
  // Back in manual: adjustments are taken again.
  dryer.Report({{201, 1}});
  m.Follow();
  EXPECT_FALSE(m.Automatic());
  EXPECT_TRUE(m.Increase());
}

TEST(MeteringSpeed, SchemeButtonSendsTheModeByte) {
  struct Case {
    const char* name;
    std::uint8_t mode;
    std::uint8_t selected;
    Answer answer;
    Wire wire;
    Gauges shown;
  };
  const Case cases[] = {
      {"on/off to two-speed", 0xC1, kHigh, Answer::kOk, {"187:1=129"}, {80, 50, 20}},
      // The forced selection of on/off operation follows at the next repaint.
      {"two-speed to on/off", 0x81, kLow, Answer::kOk, {"159:1=2", "187:1=193"}, {80, 50, 20}},
      {"tracking on: yes", 0x02, kMain, Answer::kYes, {"187:1=34"}, {57, 50, 42}},
      {"tracking on: no", 0x02, kMain, Answer::kNo, {"187:1=2"}, {80, 50, 20}},
      {"tracking on: cancel", 0x02, kMain, Answer::kCancel, {"187:1=2"}, {80, 50, 20}},
      {"single speed has no scheme", 0x01, kMain, Answer::kOk, {}, {80, 50, 20}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Dryer dryer(c.mode, c.selected, MeteringSource::kDisplay);
    dryer.prompter.Script(c.answer);
    MeteringSpeed& m = dryer.Open();
    m.Scheme(dryer.prompter);
    m.Follow();
    EXPECT_EQ(dryer.OnTheWire(), c.wire);
    EXPECT_EQ(dryer.Shown(), c.shown);
  }
  Dryer asked(0x02, kMain, MeteringSource::kKnob);
  asked.Open().Scheme(asked.prompter);
  ASSERT_NE(asked.prompter.Last(), nullptr);
  EXPECT_EQ(asked.prompter.Last()->caption, " SWITCH TO +/- 15% TRACKING OF CENTER");
  EXPECT_EQ(asked.prompter.Last()->text,
            "Pressing YES will position the HI setpoint 15% above the center, and " +
                std::string(10, '\t') +
                "the LOW 15% below the center.\nNOTE: THE PRESENT SETTINGS OF THE HI AND LOW "
                "SETPOINTS WILL BE LOST!");
}

TEST(MeteringSpeed, OpeningSendsOnlyTheFiveSpeedMediumCopy) {
  for (std::uint8_t mode : {0x01, 0x02, 0x83, 0x04, 0x05}) {
    SCOPED_TRACE(mode);
    Dryer dryer(mode, kMain, MeteringSource::kKnob, {{230, 44}});
    dryer.Open();
    const bool five_speed = mode == 0x04 || mode == 0x05;
    EXPECT_EQ(dryer.OnTheWire(), five_speed ? Wire{"161:1=44"} : Wire{});
    EXPECT_EQ(dryer.metering.Value(Speed::kMain), five_speed ? 44 : 50);
  }
}

TEST(MeteringSpeed, FollowsTheKnobThroughTheIntake) {
  Dryer dryer(0x02, kMain, MeteringSource::kKnob);
  dryer.shared.metering_dialog_open = true;
  MeteringSpeed& m = dryer.Open();
  dryer.Report({{159, 0x80 | kHigh}, {160, 95}, {162, 15}});
  EXPECT_EQ(dryer.shared.metering_speed_request.load(), 0);
  m.Follow();
  EXPECT_EQ(m.Selected(), kHigh);
  EXPECT_EQ(dryer.Shown(), (Gauges{95, 50, 15}));
  // A byte the knob did not move keeps what the dialog shows.
  dryer.Report({{162, 16}});
  m.Follow();
  EXPECT_EQ(dryer.Shown(), (Gauges{95, 50, 16}));
}

TEST(MeteringSpeed, LayoutByMeteringMode) {
  struct Case {
    std::uint8_t mode;
    std::uint8_t drying;  // byte 8
    std::vector<std::string> titles;
    bool scheme;
  };
  const Case cases[] = {
      {0x01, 0, {"MANUAL SPEED"}, false},
      {0xC1, 0, {"HIGH SPEED"}, true},
      {0x81, 0, {"LOW SP", "HIGH SP"}, true},
      {0x02, 0, {"LOW SP", "MAIN SP", "HIGH SP"}, true},
      {0x03, 0, {"MANUAL SPEED"}, false},
      {0x83, 0, {"AUTOMATIC SPEED"}, false},
      {0x04, 0, {"5 SPEED MED"}, false},
      {0x05, 1, {"BATCH"}, false},
      {0x06, 1, {"BATCH"}, false},
      {0x06, 0, {}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mode);
    Dryer dryer(c.mode, kMain, MeteringSource::kKnob, {{8, c.drying}});
    const MeteringLayout layout = dryer.Open().Layout();
    std::vector<std::string> titles;
    for (std::size_t g = 0; g < layout.count; ++g) titles.emplace_back(layout.gauges[g].title);
    EXPECT_EQ(titles, c.titles);
    EXPECT_EQ(layout.scheme_visible, c.scheme);
  }
}

TEST(MeteringSpeed, GaugesDrawTheValueClampedAndTheNumberTimesTen) {
  Dryer dryer(0x02, kHigh, MeteringSource::kDisplay, {{156, 100}, {158, 180}});
  platform::RecordingCanvas canvas(platform::Size{500, 410});
  PaintMeteringSpeed(canvas, dryer.Open());
  std::vector<std::string> numbers;
  bool high_bar_full = false, low_bar_full = false;
  for (const auto& call : canvas.Calls()) {
    if (const auto* text = std::get_if<platform::TextCall>(&call)) {
      if (text->font.height == 40) numbers.push_back(text->text);
    } else if (const auto* fill = std::get_if<platform::FillRectCall>(&call)) {
      // A full bar is 300 px high from y 50; nothing is drawn above the gauge.
      EXPECT_GE(fill->rect.y, 50);
      if (fill->rect.y == 50 && fill->rect.h == 300) {
        if (fill->rect.x < 100) low_bar_full = true;
        if (fill->rect.x > 250) high_bar_full = true;
        EXPECT_NE(fill->colour, kMeteringBackground);
      }
    }
  }
  EXPECT_EQ(numbers, (std::vector<std::string>{"1800", "500", "1000"}));
  EXPECT_TRUE(high_bar_full);
  EXPECT_TRUE(low_bar_full);
}

}  // namespace
}  // namespace orvandry::setup
