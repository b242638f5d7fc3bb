// The five-speed bracket setup: every step and its limits, what the table shows, and what goes
// on the wire.
#include "setup/bracket.h"

#include <gtest/gtest.h>

#include <string>

#include "link/status_map.h"
#include "platform/recording_canvas.h"
#include "platform/scripted_prompter.h"
#include "tests/setup/wire_records.h"

namespace orvandry::setup {
namespace {

namespace id = bracket_id;
namespace sm = link::status_map;
using Values = Bracket::Values;
using testing::Bytes;
using testing::NextFrame;

constexpr std::uint8_t kMoisture = 4;
constexpr std::uint8_t kTemperature = 5;

void Report(link::LinkShared& shared, const Values& v, std::uint8_t medium = 5) {
  shared.first_frame_accepted = true;
  shared.dryer_state.Set(sm::kBracketSettings, v.outer);
  shared.dryer_state.Set(sm::kBracketSettings + 1, v.inner);
  shared.dryer_state.Set(sm::kBracketSettings + 2, v.outer_speed);
  shared.dryer_state.Set(sm::kBracketSettings + 3, v.inner_speed);
  shared.dryer_state.Set(sm::kMeteringCopySource, medium);
  shared.dryer_state.SetBe16(sm::kMoistureSetpoint, 155);
  shared.dryer_state.SetT16(sm::kGrainTempSetpoint, 110);
}

// "S" SELECT, "b"/"B" bracket DEC/INC, "s"/"P" speed DEC/INC, "D" defaults.
void Press(Bracket& bracket, const std::string& keys, platform::Prompter& prompter) {
  for (char k : keys) {
    const int control = k == 'S'   ? id::kSelect
                        : k == 'b' ? id::kBracketDec
                        : k == 'B' ? id::kBracketInc
                        : k == 's' ? id::kSpeedDec
                        : k == 'P' ? id::kSpeedInc
                                   : id::kDefaults;
    bracket.Press(control, prompter);
  }
}

TEST(Bracket, EveryStepStopsAtItsLimits) {
  struct Case {
    const char* name;
    std::uint8_t mode;
    Values start;
    const char* keys;
    Values end;
  };
  const Case cases[] = {
      // Brackets, moisture: outer 3..30, inner 1..6 and never beyond the outer one.
      {"outer up to 30", kMoisture, {28, 3, 6, 3}, "BBBB", {30, 3, 6, 3}},
      {"outer down to 3", kMoisture, {5, 1, 6, 3}, "bbbb", {3, 1, 6, 3}},
      {"outer not below the inner", kMoisture, {6, 5, 6, 3}, "bbbb", {5, 5, 6, 3}},
      {"outer stuck while inner equals it", kMoisture, {4, 4, 6, 3}, "b", {4, 4, 6, 3}},
      {"inner up to the outer", kMoisture, {4, 2, 6, 3}, "SBBBB", {4, 4, 6, 3}},
      {"inner up to 6", kMoisture, {20, 4, 6, 3}, "SBBBB", {20, 6, 6, 3}},
      {"inner down to 1", kMoisture, {20, 3, 6, 3}, "Sbbbb", {20, 1, 6, 3}},
      // Brackets, temperature: outer 2..5, inner 1..2.
      {"temperature outer up to 5", kTemperature, {3, 1, 6, 3}, "BBBB", {5, 1, 6, 3}},
      {"temperature outer down to 2", kTemperature, {4, 1, 6, 3}, "bbbb", {2, 1, 6, 3}},
      {"temperature inner up to 2", kTemperature, {5, 1, 6, 3}, "SBBB", {5, 2, 6, 3}},
      {"temperature inner up to the outer", kTemperature, {2, 1, 6, 3}, "SBBB", {2, 2, 6, 3}},
      // Speed offsets: outer 3..30 and above the inner one, inner 1..10 and not beyond the outer.
      {"outer speed up to 30", kMoisture, {6, 3, 28, 3}, "PPPP", {6, 3, 30, 3}},
      {"outer speed down to 3", kMoisture, {6, 3, 5, 1}, "ssss", {6, 3, 3, 1}},
      {"outer speed stays above the inner", kMoisture, {6, 3, 8, 5}, "ssss", {6, 3, 6, 5}},
      {"inner speed never passes the outer", kMoisture, {6, 3, 6, 5}, "SPPPP", {6, 3, 6, 6}},
      {"inner speed equal to the outer stays", kMoisture, {6, 3, 7, 7}, "SP", {6, 3, 7, 7}},
      {"inner speed up to 10", kMoisture, {6, 3, 30, 8}, "SPPPP", {6, 3, 30, 10}},
      {"inner speed down to 1", kMoisture, {6, 3, 6, 3}, "Sssss", {6, 3, 6, 1}},
      {"SELECT twice is the outer rows again", kMoisture, {6, 3, 6, 3}, "SSB", {7, 3, 6, 3}},
      // Defaults.
      {"moisture defaults", kMoisture, {20, 9, 25, 10}, "D", {6, 3, 6, 3}},
      {"temperature defaults", kTemperature, {5, 2, 25, 10}, "D", {3, 1, 6, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    link::LinkShared shared;
    Report(shared, c.start);
    platform::ScriptedPrompter prompter;
    Bracket bracket(shared, c.mode);
    Press(bracket, c.keys, prompter);
    EXPECT_EQ(bracket.Current(), c.end);
  }
}

TEST(Bracket, ShowsBracketsAroundTheSetpointAndTheFiveSpeeds) {
  struct Case {
    std::uint8_t mode;
    std::uint8_t medium;
    Bracket::Table shown;
  };
  const Case cases[] = {
      {kMoisture,
       5,
       {"MOISTURE ",
        {"+0.6 %", "+0.3 %", "15.5 %", "-0.3 %", "-0.6 %"},
        {"+60", "+30", "50", "-30", "-60"},
        {"0", "20", "80", "110"}}},  // wetter grain slower, never below 0
      {kTemperature,
       5,
       {"TEMPERATURE",
        {"+6 \xB0"
         "F",
         "+3 \xB0"
         "F",
         "110 \xB0"
         "F",
         "-3 \xB0"
         "F",
         "-6 \xB0"
         "F"},
        {"+60", "+30", "50", "-30", "-60"},
        {"110", "80", "20", "0"}}},  // hotter grain faster
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown.group);
    link::LinkShared shared;
    Report(shared, {6, 3, 6, 3}, c.medium);
    Bracket bracket(shared, c.mode);
    const Bracket::Table t = bracket.Shown();
    EXPECT_EQ(t.group, c.shown.group);
    EXPECT_EQ(t.value, c.shown.value);
    EXPECT_EQ(t.speed, c.shown.speed);
    EXPECT_EQ(t.actual, c.shown.actual);
  }
}

TEST(Bracket, FramesTheSelectedRowsInRed) {
  link::LinkShared shared;
  Report(shared, {6, 3, 6, 3});
  platform::ScriptedPrompter prompter;
  Bracket bracket(shared, kMoisture);
  for (const auto& [keys, top_y, bottom_y] : {std::tuple{"", 42, 152}, std::tuple{"S", 67, 127}}) {
    SCOPED_TRACE(keys);
    Press(bracket, keys, prompter);
    platform::RecordingCanvas canvas({450, 292});
    PaintBracket(canvas, bracket);
    std::vector<int> framed;
    for (const auto* outline : canvas.All<platform::RectOutlineCall>()) {
      if (outline->colour != platform::Rgb(250, 0, 0)) continue;
      EXPECT_EQ(outline->pen_width, 3);
      EXPECT_EQ(outline->rect.x, 151);
      EXPECT_EQ(outline->rect.x + outline->rect.w, 330);
      framed.push_back(outline->rect.y + outline->rect.h / 2);
    }
    EXPECT_EQ(framed, (std::vector<int>{top_y, bottom_y}));
  }
}

TEST(Bracket, AcceptSendsTheChangedBytesAndCancelNothing) {
  struct Case {
    const char* keys;
    int close;
    testing::WireRecords wire;
  };
  const Case cases[] = {
      {"D", id::kAccept, Bytes({{sm::kBracketSettings, 6}, {sm::kBracketSettings + 2, 6}})},
      {"SB", id::kAccept, Bytes({{sm::kBracketSettings + 1, 4}})},
      {"BbPs", id::kAccept, {}},
      {"D", id::kCancel, {}},
      {"D", 0, {}},  // still open
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.keys);
    link::LinkShared shared;
    Report(shared, {9, 3, 8, 3});
    platform::ScriptedPrompter prompter;
    Bracket bracket(shared, kMoisture);
    Press(bracket, c.keys, prompter);
    if (c.close != 0) {
      EXPECT_EQ(bracket.Press(c.close, prompter), Bracket::Outcome::kClosed);
    }
    EXPECT_EQ(NextFrame(shared), c.wire);
  }
}

}  // namespace
}  // namespace orvandry::setup
