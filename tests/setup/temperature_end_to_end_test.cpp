// A temperature setpoint changed through the entry dialog's logic goes over the display's real
// link to the simulated controller: the next frame carries it, the echo lowers it, and the
// selection screen shows the new value only once the controller reports it. A value the
// controller never takes stays on the wire and the screen keeps the controller's value.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "link/status_map.h"
#include "platform/scripted_prompter.h"
#include "pty_dryer.h"
#include "setup/temp_select.h"
#include "setup/temperature_entry.h"

namespace orvandry::setup {
namespace {

using link::Rec;
namespace sm = link::status_map;
namespace id = temp_select_id;

class TemperatureEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    sim::SimOptions options;
    options.scenario.Refuse(sm::PlenumSetpoint(2));
    std::string error;
    ASSERT_TRUE(line_.Start(shared_, std::move(options), &error)) << error;
  }
  template <class Condition>
  static bool Eventually(Condition condition) {
    return testing::PtyDryer::Eventually(condition);
  }
  std::uint64_t Heard() const { return line_.Heard(); }
  static bool Carries(const sim::DisplayFrame& frame, const sim::CommandRecord& record) {
    return frame.kind == sim::FrameKind::kCommand &&
           std::find(frame.records.begin(), frame.records.end(), record) != frame.records.end();
  }
  // What the screen shows beside a button.
  std::string Shown(int button) {
    select_.Refresh();
    for (const TempButtonDef& def : kTempButtons) {
      if (def.id != button) continue;
      for (const TempSelect::DrawnValue& v : select_.Values(def.panel))
        if (v.at == def.value_at) return v.text;
    }
    return "(nothing)";
  }
  // Opens the entry for a button as the screen does, types the digits and accepts.
  TemperatureEntry::Outcome Change(int button, const char* digits) {
    const std::optional<shell::DialogRequest> request = select_.OpenRequest(button);
    EXPECT_TRUE(request);
    TemperatureEntry entry = TemperatureEntry::Open(
        shared_, *TemperatureRecordAt(request->offset),
        {static_cast<std::uint16_t>(request->min), static_cast<std::uint16_t>(request->max),
         static_cast<std::uint16_t>(request->fallback)});
    for (const char* d = digits; *d != 0; ++d) entry.Digit(*d - '0');
    return entry.Accept(shared_, prompter_);
  }

  link::LinkShared shared_;
  TempSelect select_{shared_};
  platform::ScriptedPrompter prompter_;
  testing::PtyDryer line_;  // last: stopped first
};

TEST_F(TemperatureEndToEnd, TheScreenShowsAChangeOnlyOnceTheControllerHasTakenIt) {
  ASSERT_EQ(shared_.dryer_state.GetT16(sm::PlenumSetpoint(1)), 180);
  const std::string plenum2_before = Shown(id::kPlenum2);
  ASSERT_NE(plenum2_before, "(nothing)");
  line_.Pause();
  const std::uint64_t before = Heard();
  EXPECT_EQ(Change(id::kPlenum1, "190"), TemperatureEntry::Outcome::kWritten);
  EXPECT_EQ(Change(id::kPlenum2, "175"), TemperatureEntry::Outcome::kWritten);
  EXPECT_TRUE(shared_.pending.IsRaised(Rec::kPlenumSetpoint1));
  EXPECT_EQ(Shown(id::kPlenum1),
            " 180 \xB0"
            "F ")
      << "typed, not yet taken";
  line_.Resume();

  ASSERT_TRUE(Eventually([&] { return !shared_.pending.IsRaised(Rec::kPlenumSetpoint1); }));
  EXPECT_EQ(Shown(id::kPlenum1),
            " 190 \xB0"
            "F ");
  const std::uint64_t lowered = Heard();
  ASSERT_TRUE(Eventually([&] { return Heard() >= lowered + 5; }));

  const std::vector<sim::DisplayFrame> history = line_.dryer().controller().history();
  const std::uint64_t oldest = Heard() - history.size();
  ASSERT_GE(before, oldest);
  const sim::CommandRecord plenum1{0, 69, 69, {190, 0}};
  const sim::CommandRecord plenum2{0, 67, 67, {175, 0}};
  EXPECT_TRUE(Carries(history[before - oldest], plenum1)) << "the very next frame carries it";
  for (std::size_t i = before - oldest; i < history.size(); ++i)
    EXPECT_TRUE(Carries(history[i], plenum2)) << "the refused value is resent in every frame";
  EXPECT_TRUE(shared_.pending.IsRaised(Rec::kPlenumSetpoint2));
  EXPECT_EQ(Shown(id::kPlenum2), plenum2_before) << "the controller's value, not the typed one";
  EXPECT_TRUE(prompter_.Clean()) << prompter_.Problems();
}

}  // namespace
}  // namespace orvandry::setup
