#include "sim/controller_core.h"

#include <gtest/gtest.h>

#include "frame_helpers.h"
#include "link/link_cycle.h"
#include "link/status_map.h"

namespace orvandry::sim {
namespace {

using namespace testing;
namespace sm = link::status_map;

std::vector<std::uint8_t> Send(ControllerCore& core, const std::vector<std::uint8_t>& bytes,
                               double now) {
  std::vector<std::uint8_t> answer;
  core.Receive(bytes.data(), bytes.size(), now, answer);
  return answer;
}

bool IsGoodFrame(const std::vector<std::uint8_t>& bytes) {
  return link::IsGoodStatusFrame(bytes.data(), bytes.size());
}

TEST(ControllerCore, AnswersEveryGoodFrameWithOneStatusFrameAndIgnoresBadCrcs) {
  ControllerCore core;
  const auto one = Send(core, kNull, 0.1);
  ASSERT_TRUE(IsGoodFrame(one));
  EXPECT_TRUE(std::equal(core.model().table().begin(), core.model().table().end(), one.begin()));

  // Three frames in one burst get three answers, each a whole StatusFrame.
  const auto three = Send(core, Concat({kNull, kReset, kNull}), 0.2);
  ASSERT_EQ(three.size(), 3 * link::kStatusFrameSize);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_TRUE(
        link::IsGoodStatusFrame(three.data() + i * link::kStatusFrameSize, link::kStatusFrameSize));
  }
  EXPECT_EQ(core.counts().null_frames, 3u);
  EXPECT_EQ(core.counts().reset_frames, 1u);

  auto bad = WithCrc({0x08, 0x01, 0x00, 0x32, 0x01, 0x09});  // byte 50 := 9
  bad.back() ^= 0x40;
  EXPECT_TRUE(Send(core, bad, 0.3).empty());
  EXPECT_EQ(core.model().table()[50], 0);
  EXPECT_EQ(core.counts().bad_crc_frames, 1u);
  EXPECT_EQ(core.counts().answers, 4u);
}

TEST(ControllerCore, TheTurningKnobMovesTheSelectedSpeedBackAndForth) {
  struct Case {
    std::uint8_t selection;  // byte 159, with the controller's own upper bits
    std::size_t setpoint;    // the speed it moves
    std::size_t working;
    std::uint8_t start;
    std::vector<std::uint8_t> seen;  // the speed in the answers inside the window
  };
  const Case cases[] = {
      {0x01, sm::kMeteringSpeedMain, 161, 50, {51, 52, 53}},
      {0x82, sm::kMeteringSpeedHigh, 160, 99, {100, 99, 98}},
      {0x00, sm::kMeteringSpeedLow, 162, 1, {2, 3, 4}},
      {0x00, sm::kMeteringSpeedLow, 162, 0, {1, 2, 3}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(int{c.selection});
    ControllerCore core(1, Scenario().TurnKnob(1, 2));
    Table& table = core.model().table();
    table[sm::kSpeedSelection] = c.selection;
    table[c.setpoint] = table[c.working] = c.start;
    const Table before = table;
    EXPECT_EQ(Send(core, kNull, 0.5)[c.working], c.start) << "before the window";
    std::vector<std::uint8_t> seen;
    for (double t : {1.0, 1.35, 1.7}) {
      const auto answer = Send(core, kNull, t);
      EXPECT_EQ(answer[c.setpoint], answer[c.working]);
      seen.push_back(answer[c.working]);
    }
    EXPECT_EQ(seen, c.seen);
    EXPECT_EQ(Send(core, kNull, 2.0)[c.working], c.seen.back()) << "after the window";
    for (std::size_t speed = sm::kMeteringSpeedHigh; speed <= sm::kWorkingSpeedLow; ++speed) {
      if (speed != c.setpoint && speed != c.working && speed != sm::kSpeedSelection) {
        EXPECT_EQ(table[speed], before[speed]) << speed;
      }
    }
  }
}

TEST(ControllerCore, AppliesRecordsSoTheNextAnswerEchoesThem) {
  ControllerCore core;
  link::LinkShared display;
  const std::uint8_t setpoint[2] = {0xBE, 0x00};  // 190 F
  display.RequestWrite(link::Rec::kPlenumSetpoint1, sm::kPlenumSetpoint1, setpoint, 2);
  const std::uint8_t low[2] = {0x9B, 0x00};  // 155 F, a group 1 record
  display.RequestWrite(link::Rec::kPlenum2LowTemp, sm::kPlenum2LowTemp, low, 2);
  const std::uint8_t clock[5] = {59, 23, 31, 12, 99};
  display.RequestWrite(link::Rec::kClock, sm::kClockMinute, clock, 5);

  const auto answer = Send(core, DisplayCommandFrame(display), 0.5);
  ASSERT_TRUE(IsGoodFrame(answer));
  EXPECT_EQ(answer[69], 0xBE);
  EXPECT_EQ(answer[70], 0x00);
  EXPECT_EQ(answer[258], 0x9B);
  EXPECT_EQ(answer[259], 0x00);
  EXPECT_TRUE(std::equal(clock, clock + 5, answer.begin() + 53));
  EXPECT_EQ(core.counts().records_applied, 3u);

  // The written setpoint is the one the dryer now works to.
  core.AdvanceTo(600);
  EXPECT_NEAR(core.model().plenum_temperature(1), 190, 10);
}

// Every record the drying mode, continuous flow and bracket dialogs send is taken and echoed.
TEST(ControllerCore, EchoesTheDryingModeRecords) {
  struct Record {
    link::Rec rec;
    std::size_t offset;
    std::vector<std::uint8_t> bytes;
  };
  const Record records[] = {
      {link::Rec::kBatchSelector, sm::kBatchSelector, {1}},
      {link::Rec::kMeteringMode, sm::kMeteringMode, {6}},
      {link::Rec::kConfigBits, sm::kConfigBits, {0x02}},
      {link::Rec::kDryingMode, sm::kDryingMode, {0x81}},
      {link::Rec::kBracket226, sm::kBracketSettings, {7}},
      {link::Rec::kBracket227, sm::kBracketSettings + 1, {4}},
      {link::Rec::kBracket228, sm::kBracketSettings + 2, {9}},
      {link::Rec::kBracket229, sm::kBracketSettings + 3, {5}},
      {link::Rec::kDisplaySettings, sm::kDisplaySettings, {0xB0}},
      {link::Rec::kMoistureControlValue, sm::kMoistureControlValue, {0xB4, 0x00}},
  };
  ControllerCore core;
  link::LinkShared display;
  for (const Record& r : records)
    display.RequestWrite(r.rec, r.offset, r.bytes.data(), r.bytes.size());
  const auto answer = Send(core, DisplayCommandFrame(display), 0.5);
  ASSERT_TRUE(IsGoodFrame(answer));
  EXPECT_EQ(core.counts().records_applied, std::size(records));
  for (const Record& r : records) {
    SCOPED_TRACE(r.offset);
    EXPECT_TRUE(std::equal(r.bytes.begin(), r.bytes.end(),
                           answer.begin() + static_cast<std::ptrdiff_t>(r.offset)));
  }
  core.AdvanceTo(2.0);
  EXPECT_TRUE(core.model().staged_batch());
}

TEST(ControllerCore, RefusedOffsetsAreNeverEchoedButTheRestOfTheFrameIs) {
  ControllerCore core(1, Scenario().Refuse(sm::kPlenumTempManager));
  link::LinkShared display;
  display.RequestByte(link::Rec::kPlenumTempManager, 7);
  display.RequestByte(link::Rec::kRemoteConnection, 3);
  const auto frame = DisplayCommandFrame(display);
  for (int i = 0; i < 3; ++i) {
    const auto answer = Send(core, frame, 0.1 * (i + 1));
    ASSERT_TRUE(IsGoodFrame(answer));
    EXPECT_EQ(answer[sm::kPlenumTempManager], 0);
    EXPECT_EQ(answer[sm::kRemoteConnection], 3);
  }
  EXPECT_EQ(core.counts().records_refused, 3u);
  EXPECT_EQ(core.counts().records_applied, 3u);

  // A record that only touches a refused byte with one of its bytes is refused whole.
  ControllerCore partial(1, Scenario().Refuse(sm::kPlenumSetpoint1 + 1));
  const std::uint8_t setpoint[2] = {0xBE, 0x00};
  display.RequestWrite(link::Rec::kPlenumSetpoint1, sm::kPlenumSetpoint1, setpoint, 2);
  const auto answer = Send(partial, DisplayCommandFrame(display), 0.1);
  EXPECT_EQ(answer[sm::kPlenumSetpoint1], 0xB4);  // still 180 F
}

TEST(ControllerCore, DamagedAnswersFailTheDisplaysFrameCheck) {
  ControllerCore core(
      1, Scenario().CorruptCrc(1, 2).ShortAnswers(2, 3).LongAnswers(3, 4).Silence(4, 5));
  const auto bad_crc = Send(core, kNull, 1.0);
  EXPECT_EQ(bad_crc.size(), 302u);
  EXPECT_FALSE(IsGoodFrame(bad_crc));

  const auto short_answer = Send(core, kNull, 2.5);
  EXPECT_EQ(short_answer.size(), 301u);
  EXPECT_FALSE(IsGoodFrame(short_answer));

  // The display takes the first 302 of 303 bytes: they must not pass, while the frame itself is
  // intact one byte further on.
  const auto long_answer = Send(core, kNull, 3.5);
  ASSERT_EQ(long_answer.size(), 303u);
  EXPECT_FALSE(link::IsGoodStatusFrame(long_answer.data(), 302));
  EXPECT_TRUE(link::IsGoodStatusFrame(long_answer.data() + 1, 302));

  EXPECT_TRUE(Send(core, kNull, 4.0).empty());
  EXPECT_TRUE(Send(core, kNull, 4.99).empty());
  EXPECT_TRUE(IsGoodFrame(Send(core, kNull, 5.0)));  // windows end exclusive
  EXPECT_EQ(core.counts().answers_withheld, 2u);
  EXPECT_EQ(core.counts().answers, 4u);
}

TEST(ControllerCore, ScheduledWarningsAppearAndClearAtTheirTimes) {
  ControllerCore core(1, Scenario().RaiseWarning(30, 0x0205).ClearWarning(45));
  struct Step {
    double at;
    std::uint8_t id, node;
    bool running;
  };
  const Step steps[] = {
      {29.9, 0, 0, true}, {30.0, 0x05, 0x02, false}, {44.0, 0x05, 0x02, false}, {46.0, 0, 0, true}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.at);
    const auto answer = Send(core, kNull, s.at);
    EXPECT_EQ(answer[sm::kWarningId], s.id);
    EXPECT_EQ(answer[sm::kWarningNode], s.node);
    EXPECT_EQ((answer[sm::kDryerStateBits] & 0x40) != 0, s.running) << "a shutdown stops the dryer";
  }

  // The model was stepped to the warning's own time, not to the frame's: it has seen exactly
  // 30 s of running before the stop.
  ControllerCore stepped(1);
  stepped.AdvanceTo(30);
  ControllerCore jumped(1, Scenario().RaiseWarning(30, 0x0205));
  jumped.AdvanceTo(30);
  ASSERT_GT(GetU32(stepped.model().table(), sm::kBushelCounter), 0u);
  EXPECT_EQ(GetU32(stepped.model().table(), sm::kBushelCounter),
            GetU32(jumped.model().table(), sm::kBushelCounter));
}

}  // namespace
}  // namespace orvandry::sim
