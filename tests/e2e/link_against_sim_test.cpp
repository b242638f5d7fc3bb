// The display's real link (termios port, link thread, intake, builder) against the simulated
// controller over a real pseudo-terminal pair. The poll event is signalled every 30 ms instead of
// 350 ms to keep the suite quick; the link does not depend on the period, and the controller
// answers well within it. The controller runs on a clock the test moves, so scenario windows open
// and close exactly when a test says.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "link/link_cycle.h"
#include "link/link_thread.h"
#include "link/status_map.h"
#include "link/termios_serial_port.h"
#include "sim/in_process_dryer.h"

#ifdef ORVANDRY_E2E_WITH_SETUP
#include "platform/recording_canvas.h"
#include "platform/scripted_prompter.h"
#include "setup/moisture_setpoint.h"
#include "setup/timer_select.h"
#endif

namespace orvandry {
namespace {

using namespace std::chrono_literals;
namespace sm = link::status_map;
using link::Rec;
using sim::FrameKind;

constexpr auto kPollPeriod = 30ms;
constexpr auto kPatience = 8s;  // generous: sanitizer builds run several times slower

class RecordingListener : public link::IntakeListener {
 public:
  void OnWarningCodeChanged(std::uint8_t node_id, std::uint8_t warning_id) override {
    std::lock_guard lock(mutex_);
    warnings_.emplace_back(node_id, warning_id);
  }
  void OnIntakeFinished(const link::IntakeResult&) override { frames_taken.fetch_add(1); }

  std::vector<std::pair<int, int>> warnings() const {
    std::lock_guard lock(mutex_);
    return warnings_;
  }
  std::atomic<int> frames_taken{0};

 private:
  mutable std::mutex mutex_;
  std::vector<std::pair<int, int>> warnings_;
};

class LinkAgainstSim : public ::testing::Test {
 protected:
  enum class PortFrom { kPath, kAdoptedFd };

  void Start(PortFrom from = PortFrom::kPath) {
    sim::SimOptions options;
    options.clock = [this] { return clock_.load(); };
    options.idle_gap = 20ms;
    std::string error;
    dryer_ = sim::StartInProcessDryer(&error, std::move(options));
    ASSERT_TRUE(dryer_) << error;
    if (from == PortFrom::kPath) {
      link_ = link::DryerLink::Open(shared_, &listener_, dryer_->slave_path(), &error);
    } else {
      const int fd = dryer_->OpenDisplayFd(&error);
      ASSERT_GE(fd, 0) << error;
      auto port = link::TermiosSerialPort::Adopt(fd, &error);
      ASSERT_TRUE(port) << error;
      link_ = std::make_unique<link::DryerLink>(shared_, &listener_, std::move(port));
    }
    ASSERT_TRUE(link_) << error;
    ticker_ = std::thread([this] {
      while (!stop_.load()) {
        if (!paused_.load()) link_->SignalPoll();
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

  sim::SimController& sim() { return dryer_->controller(); }

  template <class Condition>
  bool Eventually(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!condition()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(2ms);
    }
    return true;
  }

  // Every frame the controller has heard, damaged ones included.
  std::uint64_t Heard() {
    const sim::FrameCounts c = sim().counts();
    return c.good_frames() + c.bad_crc_frames + c.malformed_frames;
  }
  bool WaitHeard(std::uint64_t count) {
    return Eventually([&] { return Heard() >= count; });
  }
  // The frames heard from number `first` on (counting from 0 since start).
  std::vector<sim::DisplayFrame> FramesSince(std::uint64_t first) {
    const std::uint64_t total = Heard();
    const std::vector<sim::DisplayFrame> history = sim().history();
    const std::uint64_t oldest = total - history.size();
    EXPECT_GE(first, oldest) << "history too short for this test";
    return {history.begin() + static_cast<std::ptrdiff_t>(first - oldest), history.end()};
  }

  // Holds the poll tick until the line is quiet, so the next frame is known to be built after
  // whatever the test does now.
  void PauseLink() {
    paused_ = true;
    std::uint64_t heard = Heard();
    for (;;) {
      std::this_thread::sleep_for(4 * kPollPeriod);
      const std::uint64_t now = Heard();
      if (now == heard) return;
      heard = now;
    }
  }

  int LinkAlive() const { return static_cast<int>(shared_.link_alive.load()); }

  void WaitLinkUp() {
    ASSERT_TRUE(
        Eventually([&] { return listener_.frames_taken.load() >= 2 && LinkAlive() == 10; }));
  }

  static bool Carries(const sim::DisplayFrame& frame, const sim::CommandRecord& record) {
    return frame.kind == FrameKind::kCommand &&
           std::find(frame.records.begin(), frame.records.end(), record) != frame.records.end();
  }

  std::atomic<double> clock_{0};
  RecordingListener listener_;
  link::LinkShared shared_;
  std::unique_ptr<sim::InProcessDryer> dryer_;
  std::unique_ptr<link::DryerLink> link_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> paused_{false};
  std::thread ticker_;
};

TEST_F(LinkAgainstSim, APendingWriteGoesOutIsEchoedAndLoweredWhileARefusedOneIsResent) {
  Start();
  sim().EditScenario([](sim::Scenario& s) { s.Refuse(sm::kPlenumTempManager); });
  WaitLinkUp();
  EXPECT_EQ(shared_.dryer_state.GetT16(sm::kPlenumSetpoint1), 180);

  PauseLink();
  const std::uint64_t before = Heard();
  const std::uint8_t setpoint[2] = {0xBE, 0x00};  // 190 F
  shared_.RequestWrite(Rec::kPlenumSetpoint1, sm::kPlenumSetpoint1, setpoint, 2);
  shared_.RequestByte(Rec::kPlenumTempManager, 7);  // never echoed
  paused_ = false;
  ASSERT_TRUE(Eventually([&] { return !shared_.pending.IsRaised(Rec::kPlenumSetpoint1); }));
  EXPECT_EQ(sim().TableByte(69), 0xBE);
  EXPECT_EQ(shared_.dryer_state.GetT16(sm::kPlenumSetpoint1), 190);
  const std::uint64_t lowered = Heard();
  ASSERT_TRUE(WaitHeard(lowered + 8));

  const sim::CommandRecord refused{0, 50, 50, {7}};
  const auto frames = FramesSince(before);
  ASSERT_FALSE(frames.empty());
  EXPECT_TRUE(Carries(frames[0], {0, 69, 69, {0xBE, 0x00}})) << "the very next frame carries it";
  for (const auto& f : frames) EXPECT_TRUE(Carries(f, refused));
  // Once lowered, the setpoint is no longer sent; the refused value still is, in every frame.
  for (const auto& f : FramesSince(lowered + 1)) EXPECT_EQ(f.records.size(), 1u);
  EXPECT_TRUE(shared_.pending.IsRaised(Rec::kPlenumTempManager));
  EXPECT_EQ(sim().TableByte(sm::kPlenumTempManager), 0);
  EXPECT_EQ(shared_.dryer_state.Get(sm::kPlenumTempManager), 0);
}

#ifdef ORVANDRY_E2E_WITH_SETUP
// Operator changes made through the setup screens' logic: each goes out in the very next frame, the
// controller echoes it, the flag is lowered and only then do the screens show the new value. A
// value the controller refuses stays on the wire and the screen keeps the controller's value.
TEST_F(LinkAgainstSim, SetupChangesShowOnlyOnceTheControllerHasTakenThem) {
  Start();
  sim().EditScenario([](sim::Scenario& s) { s.Refuse(sm::kLoadStartupDelay); });
  WaitLinkUp();
  const auto timer_panel = [&](setup::TimerPanel panel) {
    platform::RecordingCanvas canvas({setup::kTimerPanelWidth, setup::kTimerPanelHeight});
    setup::PaintTimerPanel(canvas, panel, shared_);
    return canvas.Texts();
  };
  const auto shows = [](const std::vector<std::string>& texts, const std::string& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
  };
  setup::MoistureSetpoint moisture(shared_);
  ASSERT_TRUE(shows(timer_panel(setup::TimerPanel::kFan), "05 Seconds"));
  ASSERT_TRUE(shows(timer_panel(setup::TimerPanel::kLoadDelay), "10 Seconds"));
  ASSERT_EQ(moisture.ShownText(), "15.5 %");

  PauseLink();
  const std::uint64_t before = Heard();
  platform::ScriptedPrompter prompter;
  const auto set_timer = [&](int button, std::uint8_t minutes, std::uint8_t seconds) {
    setup::TimerEntry entry = setup::OpenTimerEntry(shared_, *setup::FindTimerButton(button));
    entry.minutes = minutes;
    entry.seconds = seconds;
    EXPECT_EQ(entry.Accept(shared_, prompter), setup::TimerEntry::Outcome::kWritten);
  };
  set_timer(setup::timer_select_id::kFanDelay, 0, 15);
  set_timer(setup::timer_select_id::kLoadDelay, 0, 45);
  setup::MoistureKeypad pad = moisture.OpenKeypad();
  for (int digit : {1, 6, 0}) pad.Digit(digit);
  ASSERT_EQ(moisture.Apply(pad.Press(setup::moisture_id::kAccept), pad, prompter),
            link::CommitResult::kSent);
  // Committed but not yet taken: the screens still show the controller's values.
  EXPECT_TRUE(shows(timer_panel(setup::TimerPanel::kFan), "05 Seconds"));
  EXPECT_EQ(moisture.ShownText(), "15.5 %");

  paused_ = false;
  ASSERT_TRUE(Eventually([&] {
    return !shared_.pending.IsRaised(Rec::kFanStartDelay) &&
           !shared_.pending.IsRaised(Rec::kMoistureSetpoint);
  }));
  const std::uint64_t lowered = Heard();
  ASSERT_TRUE(WaitHeard(lowered + 4));
  const sim::CommandRecord fan{0, 46, 46, {0, 15}};
  const sim::CommandRecord setpoint{0, 199, 199, {0x00, 0xA0}};
  const sim::CommandRecord refused{0, 31, 31, {0, 45}};
  const auto frames = FramesSince(before);
  ASSERT_FALSE(frames.empty());
  EXPECT_TRUE(Carries(frames[0], fan) && Carries(frames[0], setpoint) &&
              Carries(frames[0], refused))
      << "the very next frame carries all three";
  EXPECT_TRUE(shows(timer_panel(setup::TimerPanel::kFan), "15 Seconds"));
  EXPECT_EQ(moisture.ShownText(), "16.0 %");
  EXPECT_EQ(sim().TableByte(sm::kMoistureSetpoint + 1), 0xA0);
  // The refused delay is resent in every frame and never shown.
  for (const auto& f : FramesSince(lowered + 1)) {
    EXPECT_TRUE(Carries(f, refused));
    EXPECT_FALSE(Carries(f, fan) || Carries(f, setpoint));
  }
  EXPECT_TRUE(shared_.pending.IsRaised(Rec::kLoadStartupDelay));
  EXPECT_TRUE(shows(timer_panel(setup::TimerPanel::kLoadDelay), "10 Seconds"));
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}
#endif  // ORVANDRY_E2E_WITH_SETUP

TEST_F(LinkAgainstSim, SilenceBringsTheResetFrameAndOneGoodFrameEndsTheLostState) {
  Start();
  WaitLinkUp();
  sim().EditScenario([](sim::Scenario& s) { s.Silence(100, 200); });
  clock_ = 100;
  // Two unanswered frames: the last answer from before the silence has been read by then.
  const std::uint64_t withheld = sim().counts().answers_withheld;
  ASSERT_TRUE(Eventually([&] { return sim().counts().answers_withheld >= withheld + 2; }));

  // Ten seconds of 1 s ticks, stepped quickly.
  for (int second = 0; second < 10; ++second) {
    EXPECT_FALSE(link::LinkLost(shared_));
    link::CountDownLinkAlive(shared_);
  }
  EXPECT_TRUE(link::LinkLost(shared_));
  ASSERT_TRUE(WaitHeard(Heard() + 3));
  EXPECT_TRUE(link::LinkLost(shared_)) << "nothing but a good frame reloads the countdown";
  EXPECT_EQ(sim().counts().reset_frames, 0u);

  // The warning window raises the reconnect request while it shows the lost link.
  const std::uint64_t before_reset = Heard();
  shared_.reconnect_request = 1;
  ASSERT_TRUE(Eventually([&] { return sim().counts().reset_frames >= 1; }));
  EXPECT_EQ(shared_.reconnect_request.load(), 0);
  // The request is taken in the next cycle or, if one was already under way, the one after.
  const auto frames = FramesSince(before_reset);
  ASSERT_FALSE(frames.empty());
  const auto& reset = frames[0].kind == FrameKind::kReset ? frames[0] : frames.at(1);
  EXPECT_EQ(reset.kind, FrameKind::kReset);
  EXPECT_EQ(reset.bytes, (std::vector<std::uint8_t>{0x06, 0x00, 0x02, 0x10}));
  EXPECT_TRUE(link::LinkLost(shared_));

  clock_ = 200;
  ASSERT_TRUE(Eventually([&] { return LinkAlive() == 10; }));
}

TEST_F(LinkAgainstSim, DamagedAnswersNeverReachDryerStateNorReloadTheCountdown) {
  Start();
  WaitLinkUp();
  struct Case {
    double from;
    sim::AnswerFault fault;
    std::uint8_t marker;
  };
  const Case cases[] = {{100, sim::AnswerFault::kBadCrc, 0x11},
                        {300, sim::AnswerFault::kShort, 0x22},
                        {500, sim::AnswerFault::kLong, 0x33}};
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.fault));
    sim().EditScenario([&](sim::Scenario& s) { s.Fault(c.from, c.from + 100, c.fault); });
    clock_ = c.from;
    // After two frames heard under the fault, no good answer is left on the line.
    ASSERT_TRUE(WaitHeard(Heard() + 2));

    shared_.link_alive = 3;
    const auto state = shared_.dryer_state.Snapshot();
    // A value the damaged answers carry and a good one would deliver.
    const std::uint8_t marker[] = {c.marker};
    sim().SetTableBytes(sm::kPlenumTempManager, marker);
    clock_ = c.from + 50;  // the dryer moves on too: timers, temperatures, bushels
    ASSERT_TRUE(WaitHeard(Heard() + 5));

    EXPECT_EQ(LinkAlive(), 3);
    EXPECT_EQ(shared_.dryer_state.Snapshot(), state);
    EXPECT_NE(shared_.dryer_state.Get(sm::kPlenumTempManager), c.marker);

    // The next good frame brings everything at once.
    clock_ = c.from + 100;
    ASSERT_TRUE(Eventually([&] {
      return LinkAlive() == 10 && shared_.dryer_state.Get(sm::kPlenumTempManager) == c.marker;
    }));
  }
}

TEST_F(LinkAgainstSim, AWarningFromTheControllerReachesTheHookOnceOverAnAdoptedDescriptor) {
  Start(PortFrom::kAdoptedFd);
  WaitLinkUp();
  sim().EditScenario([](sim::Scenario& s) { s.RaiseWarning(50, 0x0205).ClearWarning(70); });
  clock_ = 60;
  ASSERT_TRUE(Eventually([&] { return !listener_.warnings().empty(); }));
  ASSERT_TRUE(WaitHeard(Heard() + 5));  // the same code in more frames
  EXPECT_EQ(listener_.warnings(), (std::vector<std::pair<int, int>>{{2, 5}}));
  EXPECT_EQ(shared_.dryer_state.Get(sm::kWarningId), 0x05);
  EXPECT_EQ(shared_.dryer_state.Get(sm::kWarningNode), 0x02);
  EXPECT_EQ(shared_.dryer_state.Get(sm::kDryerStateBits) & 0x40, 0) << "the dryer shut down";

  // Clearing the code calls nothing.
  clock_ = 80;
  ASSERT_TRUE(Eventually([&] { return shared_.dryer_state.Get(sm::kWarningId) == 0; }));
  EXPECT_EQ(listener_.warnings().size(), 1u);
}

}  // namespace
}  // namespace orvandry
