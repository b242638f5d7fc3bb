#include "setup/temperature_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/status_map.h"
#include "platform/recording_canvas.h"
#include "platform/scripted_prompter.h"
#include "setup/timer_entry.h"

namespace orvandry::setup {
namespace {

using link::Rec;
using platform::Answer;
using platform::ScriptedPrompter;
using Outcome = TemperatureEntry::Outcome;
namespace sm = link::status_map;
namespace id = temperature_entry_id;

constexpr TemperatureLimits kPlenum{50, 250, 180};
constexpr TemperatureLimits kGrain{50, 160, 105};

// Keys: "0".."9" digits, "X" DELETE, "C" CLEAR, "D" DEFAULT.
void Type(TemperatureEntry& entry, const std::string& keys) {
  for (char key : keys) {
    if (key == 'X') {
      entry.Delete();
    } else if (key == 'C') {
      entry.Clear();
    } else if (key == 'D') {
      entry.Default();
    } else {
      entry.Digit(key - '0');
    }
  }
}

class TemperatureEntryTest : public ::testing::Test {
 protected:
  // The dryer reports `fahrenheit` for the record; the display shows C when `celsius`.
  TemperatureEntry Open(Rec record, int fahrenheit, TemperatureLimits limits, bool celsius) {
    shared.first_frame_accepted = true;
    shared.si_units = celsius ? 1 : 0;
    shared.dryer_state.SetT16(link::RecordOf(record).target_offset(),
                              static_cast<std::int16_t>(fahrenheit));
    return TemperatureEntry::Open(shared, record, limits);
  }
  // ACCEPT; returns the F value on the wire for the record, or -1 when nothing was raised.
  int AcceptedValue(TemperatureEntry& entry, Outcome expected) {
    EXPECT_EQ(entry.Press(id::kAccept, shared, prompter), expected);
    if (!shared.pending.IsRaised(entry.record)) return -1;
    return shared.request.GetT16(entry.TargetOffset());
  }

  link::LinkShared shared;
  ScriptedPrompter prompter;
};

TEST(celsius_entry_to_fahrenheit, ComesBackAsTypedForEveryValue) {
  EXPECT_EQ(celsius_entry_to_fahrenheit(10), 50);
  EXPECT_EQ(celsius_entry_to_fahrenheit(11), 53);
  EXPECT_EQ(celsius_entry_to_fahrenheit(14), 58);
  for (int c = 0; c <= 150; ++c) EXPECT_EQ((celsius_entry_to_fahrenheit(c) - 32) * 5 / 9, c) << c;
}

// What ACCEPT puts on the wire after a key sequence, in each unit.
TEST_F(TemperatureEntryTest, KeypadSequencesStoreTheseValues) {
  struct Case {
    const char* keys;
    bool celsius;
    int reported;  // F
    int stored;    // F on the wire; -1: refused, nothing raised
  };
  const std::vector<Case> cases = {
      {"10", true, 180, 50},
      {"11", true, 180, 53},
      {"12", true, 180, 55},
      {"13", true, 180, 57},
      {"14", true, 180, 58},
      {"121", true, 180, 250},  // the plain 249 fits; the correction alone would pass 250
      {"122", true, 180, -1},   // 251 before the correction
      {"9", true, 180, -1},     // 48 F
      {"", true, 100, -1},      // untouched: the dryer's own value, nothing to send
      {"D", true, 100, 180},    // DEFAULT is the F default, not 180 C
      {"D5", true, 100, -1},    // the digit goes onto the 82 shown: 825 C
      {"DX", true, 100, -1},    // DELETE works on the 82 shown: 8 C
      {"X", true, 100, -1},     // DELETE first starts from nothing: 0 C
      {"C40", true, 100, 104},
      {"2101", false, 180, 210},  // three significant digits
      {"D7", false, 100, 180},    // DEFAULT then digits: unchanged until DELETE or CLEAR
      {"D7X", false, 100, -1},    // 18
      {"DC75", false, 100, 75},
      {"DX9", false, 100, 189},
      {"251", false, 180, -1},
      {"49", false, 180, -1},
      {"250", false, 180, 250},
      {"0", false, 180, -1},
  };
  for (const Case& c : cases) {
    shared.pending.Lower(Rec::kPlenumSetpoint3);
    TemperatureEntry entry = Open(Rec::kPlenumSetpoint3, c.reported, kPlenum, c.celsius);
    Type(entry, c.keys);
    const bool refused = c.stored < 0 && std::string(c.keys) != "";
    if (refused) prompter.Script(Answer::kOk);
    EXPECT_EQ(AcceptedValue(entry, refused ? Outcome::kRefused : Outcome::kWritten), c.stored)
        << c.keys << (c.celsius ? " C" : " F");
    if (refused) {
      EXPECT_EQ(prompter.Last()->text, "The value entered is out of range.");
    }
    shared.pending.Lower(Rec::kPlenumSetpoint3);
    EXPECT_FALSE(shared.pending.AnyRaised()) << "only the edited record goes out";
  }
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

// The number shown: converted while it still holds a stored F value, as typed afterwards.
TEST_F(TemperatureEntryTest, ShowsTheStoredValueConvertedUntilTheFirstTypedKey) {
  struct Case {
    const char* keys;
    bool celsius;
    const char* shown;
  };
  const std::vector<Case> cases = {
      {"", true,
       " 037 \xB0"
       "C "},
      {"D", true,
       " 082 \xB0"
       "C "},
      {"DX", true,
       " 008 \xB0"
       "C "},
      {"4", true,
       " 004 \xB0"
       "C "},
      {"C", true,
       " 000 \xB0"
       "C "},
      {"", false,
       " 100 \xB0"
       "F "},
      {"D", false,
       " 180 \xB0"
       "F "},
      {"12", false,
       " 012 \xB0"
       "F "},
  };
  for (const Case& c : cases) {
    TemperatureEntry entry = Open(Rec::kPlenumSetpoint1, 100, kPlenum, c.celsius);
    Type(entry, c.keys);
    platform::RecordingCanvas canvas;
    PaintTemperatureEntry(canvas, entry);
    EXPECT_NE(canvas.FindText(c.shown), nullptr) << c.keys << "\n" << canvas.Describe();
  }
}

TEST_F(TemperatureEntryTest, OpeningWritesNothingAndStartsFromAPendingChange) {
  shared.request.SetT16(sm::kGrainTempSetpoint, 77);  // stale bytes of an earlier edit
  TemperatureEntry entry = Open(Rec::kGrainSetpoint, 120, kGrain, false);
  EXPECT_EQ(entry.value, 120);
  EXPECT_EQ(entry.started, 0);
  EXPECT_EQ(shared.request.GetT16(sm::kGrainTempSetpoint), 77) << "opening writes nothing";
  EXPECT_FALSE(shared.pending.AnyRaised());

  // A change still on its way: the dialog starts from it, and CANCEL or an untouched ACCEPT
  // leaves it going out unchanged.
  Type(entry, "130");
  EXPECT_EQ(AcceptedValue(entry, Outcome::kWritten), 130);
  for (int control : {id::kCancel, id::kAccept}) {
    entry = TemperatureEntry::Open(shared, Rec::kGrainSetpoint, kGrain);
    EXPECT_EQ(entry.value, 130);
    entry.Press(control, shared, prompter);
    EXPECT_TRUE(shared.pending.IsRaised(Rec::kGrainSetpoint));
    EXPECT_EQ(shared.request.GetT16(sm::kGrainTempSetpoint), 130);
  }
  // Typing the dryer's own value again sends it, so the change is taken back.
  entry = TemperatureEntry::Open(shared, Rec::kGrainSetpoint, kGrain);
  Type(entry, "120");
  EXPECT_EQ(AcceptedValue(entry, Outcome::kWritten), 120);
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST_F(TemperatureEntryTest, NothingIsSentBeforeTheDryerHasReported) {
  TemperatureEntry entry = TemperatureEntry::Open(shared, Rec::kPlenumSetpoint1, kPlenum);
  entry.Default();
  prompter.Script(Answer::kOk);
  EXPECT_EQ(entry.Press(id::kAccept, shared, prompter), Outcome::kRefused);
  EXPECT_FALSE(shared.pending.AnyRaised());
  EXPECT_EQ(prompter.Last()->caption, kNotConnectedCaption);
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST(TemperatureRecordAt, KnowsTheTemperatureSettingsOnly) {
  EXPECT_EQ(TemperatureRecordAt(sm::kGrainTempSetpoint), Rec::kGrainSetpoint);
  EXPECT_EQ(TemperatureRecordAt(sm::kGrainHighTemp), Rec::kGrainHigh);
  EXPECT_EQ(TemperatureRecordAt(sm::kPlenum1LowTemp), Rec::kPlenum1LowTemp);
  EXPECT_EQ(TemperatureRecordAt(sm::PlenumSetpoint(6)), Rec::kPlenumSetpoint6);
  EXPECT_EQ(TemperatureRecordAt(sm::kDryTimerReload), std::nullopt);
  EXPECT_EQ(TemperatureRecordAt(sm::kGrainTempSetpoint + 1), std::nullopt);
}

}  // namespace
}  // namespace orvandry::setup
