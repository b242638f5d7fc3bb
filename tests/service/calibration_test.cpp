// The moisture sensor calibration: the offsets' limits and how they read, what ACCEPT sends, and
// the dialog with the sensors' readings.
#include "service/calibration.h"

#include <gtest/gtest.h>

#include <vector>

#include "link/status_map.h"
#include "service/calibration_dialog.h"
#include "platform/prompter.h"
#include "tests/service/service_fixture.h"

namespace orvandry::service {
namespace {

namespace sm = link::status_map;
namespace id = calibration_id;
using platform::Answer;
using testing::NextFrame;
using testing::WireRecords;

class CalibrationTest : public testing::ServiceTest {
 protected:
  void ReportOffset(Offset offset, int tenths) {
    const std::size_t byte = DefOf(offset).byte;
    const auto raw = static_cast<std::uint16_t>(tenths);
    frame[byte] = static_cast<std::uint8_t>(raw >> 8);
    frame[byte + 1] = static_cast<std::uint8_t>(raw & 0xFF);
  }
  static std::vector<std::uint8_t> Be16(int value) {
    const auto raw = static_cast<std::uint16_t>(value);
    return {static_cast<std::uint8_t>(raw >> 8), static_cast<std::uint8_t>(raw & 0xFF)};
  }
};

TEST(Tenths, TheSignIsWrittenOnce) {
  const std::pair<int, const char*> cases[] = {{-5, "-0.5"}, {-45, "-4.5"}, {-100, "-10.0"},
                                               {0, "0.0"},   {7, "0.7"},    {155, "15.5"}};
  for (const auto& [tenths, text] : cases) EXPECT_EQ(Tenths(tenths), text) << tenths;
}

// The arrows stop at -10.0 and +10.0; a value the dryer holds outside them starts at the nearer
// limit, and ACCEPT then sends that limit.
TEST_F(CalibrationTest, OffsetsStayWithinTheirLimits) {
  struct Case {
    Offset offset;
    int reported;
    std::vector<int> presses;
    const char* shown;
    WireRecords wire;
  };
  const Offset dm = Offset::kDryMoisture;
  const Offset wt = Offset::kWetTemperature;
  const std::vector<Case> cases = {
      {dm, 100, {DefOf(dm).up_id}, "10.0", {}},
      {dm, -100, {DefOf(dm).down_id}, "-10.0", {}},
      {dm,
       0,
       {DefOf(dm).down_id, DefOf(dm).down_id, DefOf(dm).down_id, DefOf(dm).down_id,
        DefOf(dm).down_id},
       "-0.5",
       {{232, Be16(-5)}}},
      {wt, 99, {DefOf(wt).up_id, DefOf(wt).up_id}, "10.0", {{243, Be16(100)}}},
      {wt, 150, {}, "10.0", {{243, Be16(100)}}},
      {wt, -300, {DefOf(wt).up_id}, "-9.9", {{243, Be16(-99)}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reported);
    for (Offset o : {Offset::kDryMoisture, Offset::kWetTemperature})
      shared.pending.Lower(DefOf(o).rec);
    frame = {};
    ReportOffset(c.offset, c.reported);
    Take();
    Calibration calibration(shared);
    calibration.Open();
    for (int control : c.presses)
      EXPECT_EQ(calibration.Press(control, prompter), Calibration::Outcome::kKeepOpen);
    EXPECT_EQ(calibration.Text(c.offset), c.shown);
    EXPECT_EQ(calibration.Press(id::kAccept, prompter), Calibration::Outcome::kClose);
    EXPECT_EQ(NextFrame(shared), c.wire);
  }
  EXPECT_TRUE(prompter.Questions().empty());
}

// ACCEPT sends the offsets that differ from the dryer's, all in one frame, and only those.
TEST_F(CalibrationTest, AcceptSendsTheChangedOffsetsOnly) {
  ReportOffset(Offset::kWetMoisture, 12);
  ReportOffset(Offset::kDryMoisture, -3);
  ReportOffset(Offset::kWetTemperature, 5);
  ReportOffset(Offset::kDryTemperature, -20);
  Take();
  Calibration calibration(shared);
  calibration.Open();
  calibration.Press(DefOf(Offset::kDryMoisture).down_id, prompter);
  calibration.Press(DefOf(Offset::kWetTemperature).up_id, prompter);
  calibration.Press(DefOf(Offset::kWetTemperature).down_id, prompter);  // back where it was
  calibration.Press(DefOf(Offset::kDryTemperature).up_id, prompter);
  EXPECT_TRUE(NextFrame(shared).empty()) << "nothing before ACCEPT";
  calibration.Press(id::kAccept, prompter);
  EXPECT_EQ(NextFrame(shared), (WireRecords{{232, Be16(-4)}, {241, Be16(-19)}}));
}

TEST_F(CalibrationTest, AcceptBeforeTheDryerHasReportedSendsNothingAndSaysSo) {
  Calibration calibration(shared);
  calibration.Open();
  calibration.Press(DefOf(Offset::kWetMoisture).up_id, prompter);
  prompter = {Answer::kOk};
  EXPECT_EQ(calibration.Press(id::kAccept, prompter), Calibration::Outcome::kKeepOpen);
  EXPECT_EQ(prompter.Last()->caption, platform::kNotConnectedCaption);
  EXPECT_TRUE(NextFrame(shared).empty());
}

TEST_F(CalibrationTest, TheDialogShowsTheReadingsAndTheOffsets) {
  frame[sm::kIncomingMoisture] = 0;
  frame[sm::kIncomingMoisture + 1] = 221;  // 22.1 %
  frame[sm::kOutgoingMoisture] = 0;
  frame[sm::kOutgoingMoisture + 1] = 155;
  frame[sm::kIncomingGrainTemp] = 2;
  frame[sm::kIncomingGrainTemp + 1] = 0x58;  // 60.0 F
  frame[sm::kOutgoingGrainTemp] = 3;
  frame[sm::kOutgoingGrainTemp + 1] = 0xB6;  // 95.0 F
  ReportOffset(Offset::kDryMoisture, -45);
  ReportOffset(Offset::kWetTemperature, 12);
  Take();
  Calibration calibration(shared);
  calibration.Open();
  CalibrationDialog dialog(nullptr, calibration, shared, prompter);
  EXPECT_EQ(dialog.Edit(Offset::kDryMoisture)->text(), "-4.5");
  EXPECT_EQ(dialog.Edit(Offset::kWetTemperature)->text(), "1.2");
  EXPECT_EQ(calibration.Moisture(true), 221);
  EXPECT_EQ(calibration.TemperatureF(false), 950);
  dialog.Button(DefOf(Offset::kDryMoisture).up_id)->click();
  EXPECT_EQ(dialog.Edit(Offset::kDryMoisture)->text(), "-4.4");
  ExpectTouchable(dialog);
  Save(dialog, "service_223_calibration");

  prompter = {Answer::kOk};
  dialog.Button(id::kHelp)->click();
  EXPECT_EQ(prompter.Last()->caption, "Moisture Sensor Calibration");
  EXPECT_NE(prompter.Last()->text.find("-0.5%% into the dry moisture\n"), std::string::npos);
}

}  // namespace
}  // namespace orvandry::service
