// A shutdown from the dryer to the history: the simulated controller reports 0x0205 over a real
// pseudo-terminal, the link takes it in, the warnings subsystem on the UI thread records it and
// the warning window paints it. The controller and the recorder's hold-off run on a clock the test
// moves, so a hundred seconds pass in moments; the link runs in real time with a 30 ms poll.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <atomic>
#include <chrono>
#include <thread>

#include "../warnings_test_support.h"
#include "link/link_thread.h"
#include "link/status_map.h"
#include "platform/recording_canvas.h"
#include "platform/scripted_prompter.h"
#include "sim/in_process_dryer.h"
#include "warnings/ui/warning_content.h"
#include "warnings/ui/warnings_subsystem.h"

namespace orvandry::warnings::ui {
namespace {

using namespace std::chrono_literals;
namespace sm = link::status_map;

constexpr auto kPollPeriod = 30ms;
constexpr auto kPatience = 10s;  // sanitizer builds run several times slower

// The hold-off runs on the simulated controller's clock: the same seconds the scenario uses.
class SimulatedShutdownClock final : public ShutdownClock {
 public:
  explicit SimulatedShutdownClock(const std::atomic<double>& seconds) : seconds_(seconds) {}
  std::int64_t SteadySeconds() const override { return static_cast<std::int64_t>(seconds_.load()); }
  LocalDateTime LocalNow() const override {
    return FromShutdownTime(ToShutdownTime({2026, 12, 6, 1, 5, 0, 0}) +
                            static_cast<ShutdownTime>(SteadySeconds()) * kTicksPerSecond);
  }

 private:
  const std::atomic<double>& seconds_;
};

// The link thread's side: warning changes are posted to the UI thread, as the shell does.
class PostingListener final : public link::IntakeListener {
 public:
  explicit PostingListener(WarningsSubsystem& warnings) : warnings_(warnings) {}
  void OnWarningCodeChanged(std::uint8_t node_id, std::uint8_t warning_id) override {
    warnings_.PostWarningCodeChanged(node_id, warning_id);
    changes.fetch_add(1);
  }
  void OnIntakeFinished(const link::IntakeResult&) override {}

  std::atomic<int> changes{0};

 private:
  WarningsSubsystem& warnings_;
};

class ShutdownEndToEnd : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(warnings_.Start().ok());
    sim::SimOptions options;
    options.clock = [this] { return clock_.load(); };
    options.idle_gap = 20ms;
    options.scenario.RaiseWarning(2, 0x0205).ClearWarning(30).RaiseWarning(70, 0x0205);
    std::string error;
    dryer_ = sim::StartInProcessDryer(&error, std::move(options));
    ASSERT_TRUE(dryer_) << error;
    link_ = link::DryerLink::Open(shared_, &listener_, dryer_->slave_path(), &error);
    ASSERT_TRUE(link_) << error;
    ticker_ = std::thread([this] {
      while (!stop_.load()) {
        link_->SignalPoll();
        std::this_thread::sleep_for(kPollPeriod);
      }
    });
  }
  void TearDown() override {
    stop_ = true;
    if (ticker_.joinable()) ticker_.join();
    link_.reset();
    dryer_.reset();
  }

  WarningCode LiveCode() const {
    return MakeWarningCode(shared_.dryer_state.Get(sm::kWarningNode),
                           shared_.dryer_state.Get(sm::kWarningId));
  }
  // Moves the controller's clock and waits until the display shows `code` and every change the
  // link reported has been handled on the UI thread.
  void AdvanceTo(double seconds, WarningCode code, int changes) {
    clock_ = seconds;
    const auto give_up = std::chrono::steady_clock::now() + kPatience;
    while (LiveCode() != code || listener_.changes.load() != changes) {
      ASSERT_LT(std::chrono::steady_clock::now(), give_up)
          << "at " << seconds << " s the display shows " << std::hex << LiveCode();
      QCoreApplication::processEvents();
      std::this_thread::sleep_for(5ms);
    }
    QCoreApplication::processEvents();
  }
  std::size_t Stored() { return warnings_.store().CountShutdowns().count; }

  warnings::testing::TempDir data_;
  platform::Paths paths_{data_.path(), data_.path() / "card"};
  link::LinkShared shared_;
  platform::ScriptedPrompter prompter_;
  std::atomic<double> clock_{0.0};
  WarningsSubsystem warnings_{paths_, shared_, prompter_,
                              std::make_unique<SimulatedShutdownClock>(clock_)};
  PostingListener listener_{warnings_};
  std::unique_ptr<sim::InProcessDryer> dryer_;
  std::unique_ptr<link::DryerLink> link_;
  std::thread ticker_;
  std::atomic<bool> stop_{false};
};

TEST_F(ShutdownEndToEnd, AGrainOverheatIsShownAndStoredOnceThoughItReturnsWithinTheHoldOff) {
  AdvanceTo(1, kNoWarning, 0);
  EXPECT_EQ(Stored(), 0U);

  AdvanceTo(3, 0x0205, 1);
  WarningContent window;
  platform::RecordingCanvas canvas(platform::Size{430, 303});
  EXPECT_EQ(window.Paint(canvas, shared_, true), kWarningCaption);
  EXPECT_NE(canvas.FindText("0205 - BURNER #1 GRAIN OVERHEAT"), nullptr) << canvas.Describe();
  EXPECT_NE(canvas.FindText("PRESS START FOR EMERGENCY COOLING"), nullptr);
  EXPECT_EQ(warnings_.last_record().outcome, RecordOutcome::kRecorded);
  const ShutdownReadout stored = warnings_.store().ReadShutdowns(ShutdownOrder::ByTime);
  ASSERT_EQ(stored.records.size(), 1U);
  EXPECT_EQ(stored.records[0].warning_text + "|" + stored.records[0].node_name,
            "0205 - BURNER #1 GRAIN OVERHEAT|FAN/HEATER #1");

  // Cleared (no call: a code of 0 is no shutdown), then back 68 s after it was stored.
  AdvanceTo(31, kNoWarning, 1);
  AdvanceTo(71, 0x0205, 2);
  EXPECT_EQ(warnings_.last_record().outcome, RecordOutcome::kSkipped);
  EXPECT_EQ(Stored(), 1U);
  EXPECT_TRUE(prompter_.Clean()) << prompter_.Problems();
}

}  // namespace
}  // namespace orvandry::warnings::ui
