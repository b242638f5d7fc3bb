#include "link/setting_edit.h"

#include <gtest/gtest.h>
#include <pthread.h>
#include <sched.h>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <span>
#include <thread>
#include <vector>

#include "link/command_builder.h"
#include "link/status_intake.h"
#include "link/status_map.h"
#include "link_test_support.h"

namespace orvandry::link {
namespace {

namespace sm = status_map;
using testing::TestFrame;

class SettingEditTest : public ::testing::Test {
 protected:
  SettingEditTest() { frame.data[sm::kDryerActivity] = sm::kDryerActivityPreset; }

  void Take() { intake.Run(frame.data.data()); }
  std::uint8_t Requested(std::size_t offset) const { return shared.request.Get(offset); }

  LinkShared shared;
  StatusIntake intake{shared, nullptr};
  TestFrame frame;
};

// A screen opened while an earlier change is on its way starts from that change: sending its
// working copy unedited must not put the old value back on the wire.
TEST_F(SettingEditTest, RaisedRecordStartsFromTheRequestedBytes) {
  struct Case {
    Rec rec;
    std::array<std::uint8_t, 2> controller;
    std::array<std::uint8_t, 2> requested;
  };
  // A setpoint, and a running timer, whose bytes are held out of DryerState while raised.
  for (const Case& c : {Case{Rec::kPlenumSetpoint1, {150, 0}, {180, 0}},
                        Case{Rec::kDryTimerRunning, {3, 10}, {20, 0}}}) {
    LinkShared fresh;
    StatusIntake fresh_intake(fresh, nullptr);
    const std::size_t at = RecordOf(c.rec).target_offset();
    frame.Set(at, {c.controller[0], c.controller[1]});
    fresh_intake.Run(frame.data.data());
    fresh.RequestWrite(c.rec, at, c.requested.data(), 2);
    fresh_intake.Run(frame.data.data());  // not echoed yet

    SettingEdit edit(fresh);
    edit.Load(c.rec);
    EXPECT_EQ(edit.Get(at), c.requested[0]);
    EXPECT_EQ(edit.Get(at + 1), c.requested[1]);
    EXPECT_EQ(edit.CommitIfChanged(c.rec), CommitResult::kUnchanged);
    EXPECT_EQ(edit.Commit(c.rec), CommitResult::kSent);
    EXPECT_EQ(fresh.request.Get(at), c.requested[0]);
    EXPECT_EQ(fresh.request.Get(at + 1), c.requested[1]);

    // Once the echo has lowered the flag, DryerState holds the new value.
    frame.Set(at, {c.requested[0], c.requested[1]});
    fresh_intake.Run(frame.data.data());
    fresh_intake.Run(frame.data.data());
    ASSERT_FALSE(fresh.pending.IsRaised(c.rec));
    SettingEdit later(fresh);
    later.Load(c.rec);
    EXPECT_EQ(later.Get(at), c.requested[0]);
    EXPECT_EQ(later.Get(at + 1), c.requested[1]);
  }
}

// Bit edits of a byte that goes out whole start from the controller's byte, never from a request
// byte that nothing refreshed, or from the request while the record is raised.
TEST_F(SettingEditTest, BitEditsStartFromTheControllersByte) {
  struct Case {
    Rec rec;
    std::uint8_t controller;
    bool raised;  // an earlier request of `stale` is still on its way
    std::uint8_t stale;
    std::uint8_t toggle;
    std::uint8_t sent;
  };
  const Case cases[] = {
      {Rec::kOptionByte, 0x25, false, 0xFF, 0x10, 0x35},
      {Rec::kMeteringMode, 0x83, false, 0x00, 0x40, 0xC3},
      {Rec::kDryingMode, 0x01, false, 0x7E, 0x02, 0x03},
      {Rec::kDryingMode, 0x01, true, 0x05, 0x02, 0x07},
      {Rec::kCommandBits238, 0x41, false, 0x00, 0x08, 0x49},
      {Rec::kConfigBits, 0x12, false, 0x00, 0x02, 0x10},
      {Rec::kSamplerConfig, 0x05, false, 0x80, 0x80, 0x85},
      // The display command bits start clear whatever the controller reports.
      {Rec::kDisplaySettings, 0x83, false, 0x00, 0x40, 0xC0},
  };
  for (const Case& c : cases) {
    LinkShared fresh;
    StatusIntake fresh_intake(fresh, nullptr);
    const std::size_t at = RecordOf(c.rec).target_offset();
    SCOPED_TRACE(at);
    frame.Set(at, {c.controller});
    fresh_intake.Run(frame.data.data());
    fresh.request.Set(at, c.stale);
    if (c.raised) fresh.pending.Raise(c.rec);

    SettingEdit edit(fresh);
    edit.Load(c.rec);
    edit.Set(at, edit.Get(at) ^ c.toggle);
    EXPECT_EQ(edit.CommitIfChanged(c.rec), CommitResult::kSent);
    EXPECT_EQ(fresh.request.Get(at), c.sent);
    EXPECT_TRUE(fresh.pending.IsRaised(c.rec));
  }
}

TEST_F(SettingEditTest, MeteringBytesStartFromWhereTheIntakeKeepsThem) {
  frame.Set(sm::kSpeedSelection, {0x81, 60, 50, 40});
  Take();
  SettingEdit edit(shared);
  edit.Load(Rec::kMeteringFromKnob);
  EXPECT_EQ(edit.Get(sm::kSpeedSelection), 0x01);
  EXPECT_EQ(edit.Get(sm::kWorkingSpeedHigh), 60);
  EXPECT_EQ(edit.Get(sm::kWorkingSpeedLow), 40);
}

TEST_F(SettingEditTest, NothingIsCommittedBeforeTheFirstFrame) {
  SettingEdit edit(shared);
  EXPECT_FALSE(edit.Connected());
  edit.Load(Rec::kFanCount);
  edit.Set(sm::kFanCountCode, 2);
  EXPECT_EQ(edit.Commit(Rec::kFanCount), CommitResult::kNotConnected);
  EXPECT_EQ(edit.CommitIfChanged(Rec::kFanCount), CommitResult::kNotConnected);
  EXPECT_EQ(edit.Commit(Rec::kMeteringCopyWorking), CommitResult::kNotConnected);
  EXPECT_FALSE(shared.pending.AnyRaised());
  EXPECT_EQ(Requested(sm::kFanCountCode), 0);

  frame.Set(sm::kFanCountCode, {4});
  Take();
  EXPECT_TRUE(edit.Connected());
  // The working copy still comes from the zeros of start-up.
  EXPECT_EQ(edit.Commit(Rec::kFanCount), CommitResult::kNotConnected);
  EXPECT_FALSE(shared.pending.AnyRaised());
  edit.Load(Rec::kFanCount);
  EXPECT_EQ(edit.Get(sm::kFanCountCode), 4);
  edit.Set(sm::kFanCountCode, 2);
  EXPECT_EQ(edit.Commit(Rec::kFanCount), CommitResult::kSent);
  EXPECT_EQ(Requested(sm::kFanCountCode), 2);
}

TEST_F(SettingEditTest, CommitIfChangedRaisesOnlyWhatDiffers) {
  frame.Set(sm::kGrainHighTemp, {0xB4, 0x00});
  Take();
  SettingEdit edit(shared);
  edit.Load({Rec::kGrainHigh, Rec::kGrainLow});
  EXPECT_EQ(edit.CommitIfChanged(Rec::kGrainHigh), CommitResult::kUnchanged);
  edit.SetT16(sm::kGrainLowTemp, 90);
  EXPECT_FALSE(edit.Changed(Rec::kGrainHigh));
  EXPECT_TRUE(edit.Changed(Rec::kGrainLow));
  EXPECT_EQ(edit.CommitIfChanged(Rec::kGrainLow), CommitResult::kSent);
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kGrainHigh));
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kGrainLow));
  // What was sent is the new starting point.
  EXPECT_EQ(edit.CommitIfChanged(Rec::kGrainLow), CommitResult::kUnchanged);

  // Records sent from DryerState carry nothing of the screen's: Commit only raises them.
  EXPECT_FALSE(edit.Changed(Rec::kMeteringCopyWorking));
  EXPECT_EQ(edit.CommitIfChanged(Rec::kMeteringCopyWorking), CommitResult::kUnchanged);
  EXPECT_EQ(edit.Commit(Rec::kMeteringCopyWorking), CommitResult::kSent);
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kMeteringCopyWorking));
}

// A screen that changes several records on ACCEPT gets them into one frame: the builder never sees
// the first stored without the others.
TEST_F(SettingEditTest, SeveralRecordsGoOutTogetherOrNotAtAll) {
  Take();
  SettingEdit edit(shared);
  edit.Load({Rec::kMeteringMode, Rec::kConfigBits, Rec::kBatchSelector});
  EXPECT_EQ(edit.CommitChanged({Rec::kMeteringMode, Rec::kBatchSelector}),
            CommitResult::kUnchanged);
  edit.Set(sm::kMeteringMode, 0x83);
  edit.Set(sm::kBatchSelector, 1);
  EXPECT_EQ(edit.CommitChanged({Rec::kMeteringMode, Rec::kConfigBits, Rec::kBatchSelector}),
            CommitResult::kSent);
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kMeteringMode));
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kConfigBits)) << "unchanged: not sent";
  std::array<std::uint8_t, kMaxCommandFrameSize> tx{};
  ASSERT_TRUE(BuildCommandFrame(shared, tx.data()));
  EXPECT_EQ(tx[1], 2) << "both in the same frame";

  LinkShared cold;
  SettingEdit early(cold);
  early.Load({Rec::kMeteringMode, Rec::kBatchSelector});
  early.Set(sm::kBatchSelector, 1);
  EXPECT_EQ(early.CommitChanged({Rec::kMeteringMode, Rec::kBatchSelector}),
            CommitResult::kNotConnected);
  EXPECT_FALSE(cold.pending.AnyRaised());
}

// Command bits go out once, from the press that set them, and are not wiped by another screen
// committing the same byte before the builder has sent them.
TEST_F(SettingEditTest, DisplayCommandBitsGoOutOnceAndSurviveAnotherCommit) {
  frame.Set(sm::kDisplaySettings, {0x80});
  Take();
  SettingEdit user_settings(shared);
  user_settings.Load(Rec::kDisplaySettings);
  user_settings.Set(sm::kDisplaySettings, user_settings.Get(sm::kDisplaySettings) | 0x02);
  ASSERT_EQ(user_settings.Commit(Rec::kDisplaySettings), CommitResult::kSent);

  SettingEdit view(shared);
  view.Load(Rec::kDisplaySettings);
  EXPECT_EQ(view.Get(sm::kDisplaySettings), 0x80);
  view.Set(sm::kDisplaySettings, 0xC0);
  ASSERT_EQ(view.Commit(Rec::kDisplaySettings), CommitResult::kSent);
  EXPECT_EQ(Requested(sm::kDisplaySettings), 0xC2);

  std::array<std::uint8_t, kMaxCommandFrameSize> tx{};
  ASSERT_TRUE(BuildCommandFrame(shared, tx.data()));
  EXPECT_EQ(tx[5], 0xC2);
  EXPECT_EQ(Requested(sm::kDisplaySettings), 0xC0);

  // The same screen committing again does not repeat its command.
  ASSERT_EQ(user_settings.Commit(Rec::kDisplaySettings), CommitResult::kSent);
  EXPECT_EQ(Requested(sm::kDisplaySettings), 0x80);
}

// A half-placed value is rare per frame and only happens while both threads really run at once,
// so the test runs its two threads for a bounded time, on two different cores where the machine
// has them, and counts what it sees.
constexpr auto kRaceTime = std::chrono::milliseconds(150);

// Runs `link` and `ui` at the same time until `ui` returns.
void RunTogether(const std::function<void(const std::atomic<bool>& stop)>& link,
                 const std::function<void()>& ui) {
  std::atomic<bool> stop{false};
  std::thread link_thread([&] { link(stop); });
  std::thread ui_thread([&] {
    ui();
    stop = true;
  });
  cpu_set_t allowed;
  CPU_ZERO(&allowed);
  if (sched_getaffinity(0, sizeof allowed, &allowed) == 0 && CPU_COUNT(&allowed) >= 2) {
    std::thread* threads[] = {&link_thread, &ui_thread};
    int next = 0;
    for (int cpu = 0; cpu < CPU_SETSIZE && next < 2; ++cpu) {
      if (!CPU_ISSET(cpu, &allowed)) continue;
      cpu_set_t one;
      CPU_ZERO(&one);
      CPU_SET(cpu, &one);
      pthread_setaffinity_np(threads[next++]->native_handle(), sizeof one, &one);
    }
  }
  ui_thread.join();
  link_thread.join();
}

bool TimeLeft(std::chrono::steady_clock::time_point end) {
  return std::chrono::steady_clock::now() < end;
}

TEST(SettingEditRace, BuilderNeverPlacesHalfACommit) {
  LinkShared shared;
  shared.first_frame_accepted = true;
  long frames = 0;
  long torn = 0;
  RunTogether(
      [&](const std::atomic<bool>& stop) {
        std::array<std::uint8_t, kMaxCommandFrameSize> tx{};
        while (!stop.load(std::memory_order_relaxed)) {
          if (!BuildCommandFrame(shared, tx.data())) continue;
          ++frames;
          if (tx[5] != tx[6]) ++torn;  // the only record: 00 45 02 lo hi
        }
      },
      [&] {
        SettingEdit edit(shared);
        edit.Load(Rec::kPlenumSetpoint1);
        const auto end = std::chrono::steady_clock::now() + kRaceTime;
        for (std::uint8_t v = 1; TimeLeft(end); v ^= 3) {
          edit.SetT16(sm::kPlenumSetpoint1, static_cast<std::int16_t>(v * 0x0101));
          edit.Commit(Rec::kPlenumSetpoint1);
        }
      });
  EXPECT_EQ(torn, 0) << "of " << frames << " frames";
  EXPECT_GT(frames, 0);
}

// The intake's echo test and its lowering are one step against a commit: while a commit holds the
// lock, the intake waits instead of lowering on the echo of the value being replaced, and then
// tests the new bytes.
TEST(SettingEditRace, EchoTestWaitsForACommitInProgress) {
  LinkShared shared;
  StatusIntake intake(shared, nullptr);
  TestFrame frame;
  frame.data[sm::kDryerActivity] = sm::kDryerActivityPreset;
  frame.Set(sm::kGrainTempSetpoint, {180, 0});
  intake.Run(frame.data.data());
  const std::uint8_t f180[2] = {180, 0};
  // Echoed already: the next frame's first test lowers it.
  shared.RequestWrite(Rec::kGrainSetpoint, sm::kGrainTempSetpoint, f180, 2);

  std::thread link;
  {
    std::scoped_lock commit(shared.request_lock);  // a screen storing 190
    link = std::thread([&] { intake.Run(frame.data.data()); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_TRUE(shared.pending.IsRaised(Rec::kGrainSetpoint)) << "lowered during the commit";
    shared.request.SetT16(sm::kGrainTempSetpoint, 190);
    shared.pending.Raise(Rec::kGrainSetpoint);
  }
  link.join();
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kGrainSetpoint));
}

// Byte 238 carries the bushel-counter clear (0x08) and the meter output test value (0x03). A
// screen commits only its own bits against the byte as it stands at the commit, so neither a clear
// requested after the screen loaded nor the intake's ending of a clear is undone.
TEST_F(SettingEditTest, OwnedBitsKeepTheRestOfTheByteAsItStandsAtTheCommit) {
  struct Case {
    const char* what;
    std::uint8_t loaded_request;  // raised at Load
    std::uint8_t request_at_commit;
    std::uint8_t expected;
  };
  for (const Case& c : {Case{"clear requested after the screen loaded", 0x00, 0x08, 0x0A},
                        Case{"clear ended by the intake after the screen loaded", 0x08, 0x00, 0x02},
                        Case{"clear still pending", 0x09, 0x09, 0x0A}}) {
    LinkShared fresh;
    StatusIntake fresh_intake(fresh, nullptr);
    fresh_intake.Run(frame.data.data());
    const std::uint8_t loaded = c.loaded_request;
    fresh.RequestWrite(Rec::kCommandBits238, sm::kCommandBits238, &loaded, 1);
    SettingEdit edit(fresh);
    edit.Load({Rec::kCommandBits238, Rec::kMeterOutput237});
    const std::uint8_t now = c.request_at_commit;
    fresh.RequestWrite(Rec::kCommandBits238, sm::kCommandBits238, &now, 1);
    edit.Set(sm::kCommandBits238, 0x02);
    edit.Set(sm::kMeterOutputVoltage2, 40);
    EXPECT_EQ(edit.CommitOwned({{Rec::kMeterOutput237, 0xFF}, {Rec::kCommandBits238, 0x03}}),
              CommitResult::kSent)
        << c.what;
    EXPECT_EQ(fresh.request.Get(sm::kCommandBits238), c.expected) << c.what;
    EXPECT_EQ(edit.Get(sm::kCommandBits238), c.expected) << c.what;
    EXPECT_EQ(fresh.request.Get(sm::kMeterOutputVoltage2), 40) << c.what;
    EXPECT_TRUE(fresh.pending.IsRaised(Rec::kMeterOutput237)) << c.what;
  }
  // Nothing raised: the rest of the byte comes from the controller's report.
  frame.data[sm::kCommandBits238] = 0x08;
  Take();
  SettingEdit edit(shared);
  edit.Load(Rec::kCommandBits238);
  edit.Set(sm::kCommandBits238, 0x01);
  EXPECT_EQ(edit.CommitOwned({{Rec::kCommandBits238, 0x03}}), CommitResult::kSent);
  EXPECT_EQ(Requested(sm::kCommandBits238), 0x09);
  LinkShared cold;
  SettingEdit early(cold);
  early.Load(Rec::kCommandBits238);
  EXPECT_EQ(early.CommitOwned({{Rec::kCommandBits238, 0x03}}), CommitResult::kNotConnected);
  EXPECT_FALSE(cold.pending.AnyRaised());
}

// Withdrawing a change the controller has not taken: the flag is lowered and the requested bytes
// return to the controller's value, so the next frame no longer carries it; a flag already lowered
// (the controller took it meanwhile) is left as it is.
TEST_F(SettingEditTest, WithdrawingStopsTheRecordAndRestoresTheControllersValue) {
  frame.Set(sm::kPlenumSetpoint1, {180, 0});
  frame.Set(sm::kDisplaySettings, {0x80});
  Take();
  SettingEdit edit(shared);
  edit.Load({Rec::kPlenumSetpoint1, Rec::kDisplaySettings});
  edit.SetT16(sm::kPlenumSetpoint1, 190);
  edit.Set(sm::kDisplaySettings, 0x41);  // a setting bit and a command bit
  ASSERT_EQ(edit.CommitChanged({Rec::kPlenumSetpoint1, Rec::kDisplaySettings}),
            CommitResult::kSent);
  struct Case {
    Rec rec;
    std::size_t offset;
    std::uint8_t first_byte_after;
  };
  for (const Case c : {Case{Rec::kPlenumSetpoint1, sm::kPlenumSetpoint1, 180},
                       Case{Rec::kDisplaySettings, sm::kDisplaySettings, 0x80}}) {
    EXPECT_TRUE(WithdrawRequest(shared, c.rec));
    EXPECT_FALSE(shared.pending.IsRaised(c.rec));
    EXPECT_EQ(Requested(c.offset), c.first_byte_after);
    EXPECT_FALSE(WithdrawRequest(shared, c.rec)) << "not raised any more";
  }
  std::array<std::uint8_t, kMaxCommandFrameSize> tx{};
  EXPECT_FALSE(BuildCommandFrame(shared, tx.data())) << "nothing left to send";

  // A screen opened afterwards starts from the controller's value again.
  SettingEdit later(shared);
  later.Load(Rec::kPlenumSetpoint1);
  EXPECT_EQ(later.GetT16(sm::kPlenumSetpoint1), 180);
}

// The commit hook hears what each kind of commit stored, and nothing of a commit that stored
// nothing.
TEST_F(SettingEditTest, TheCommitObserverHearsWhatWasStored) {
  struct Heard final : CommitObserver {
    std::vector<std::pair<Rec, std::vector<std::uint8_t>>> commits;
    void OnCommitted(Rec rec, std::span<const std::uint8_t> bytes) override {
      commits.emplace_back(rec, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
    }
  } heard;
  shared.commit_observer = &heard;
  SettingEdit cold_edit(shared);
  cold_edit.Load(Rec::kPlenumSetpoint1);
  EXPECT_EQ(cold_edit.Commit(Rec::kPlenumSetpoint1), CommitResult::kNotConnected);
  frame.Set(sm::kConfigBits, {0xF0});
  Take();
  SettingEdit edit(shared);
  edit.Load({Rec::kPlenumSetpoint1, Rec::kBatchSelector, Rec::kConfigBits});
  EXPECT_EQ(edit.CommitIfChanged(Rec::kPlenumSetpoint1), CommitResult::kUnchanged);
  edit.SetT16(sm::kPlenumSetpoint1, 0x0102);
  edit.Commit(Rec::kPlenumSetpoint1);
  edit.Set(sm::kBatchSelector, 1);
  edit.CommitChanged({Rec::kPlenumSetpoint1, Rec::kBatchSelector});
  edit.Set(sm::kConfigBits, 0x01);
  edit.CommitOwned({{Rec::kConfigBits, 0x0F}});
  edit.Commit(Rec::kMeteringCopy161);
  const std::vector<std::pair<Rec, std::vector<std::uint8_t>>> expected = {
      {Rec::kPlenumSetpoint1, {0x02, 0x01}},
      {Rec::kBatchSelector, {1}},
      {Rec::kConfigBits, {0xF1}},  // the bits it does not own as they stood
      {Rec::kMeteringCopy161, {}},
  };
  EXPECT_EQ(heard.commits, expected);
}

// A withdrawal is one step against the builder: a frame carries the record with the requested
// bytes or not at all, never with the flag up and the bytes already restored.
TEST(SettingEditRace, WithdrawalIsNeverHalfSeen) {
  LinkShared shared;
  StatusIntake intake(shared, nullptr);
  TestFrame frame;
  frame.data[sm::kDryerActivity] = sm::kDryerActivityPreset;
  frame.Set(sm::kPlenumSetpoint1, {180, 0});
  intake.Run(frame.data.data());
  std::atomic<long> frames{0};
  long restored = 0;
  RunTogether(
      [&](const std::atomic<bool>& stop) {
        std::array<std::uint8_t, kMaxCommandFrameSize> tx{};
        while (!stop.load(std::memory_order_relaxed)) {
          if (!BuildCommandFrame(shared, tx.data())) continue;
          frames.fetch_add(1);
          if (tx[5] == 180) ++restored;  // the only record: 00 45 02 lo hi
        }
      },
      [&] {
        SettingEdit edit(shared);
        const auto end = std::chrono::steady_clock::now() + kRaceTime;
        while (TimeLeft(end)) {
          edit.Load(Rec::kPlenumSetpoint1);
          edit.SetT16(sm::kPlenumSetpoint1, 190);
          edit.Commit(Rec::kPlenumSetpoint1);
          // Let the builder see the raised record at least once (however slow this machine or
          // sanitizer is), then withdraw while it keeps building.
          const long seen = frames.load();
          while (frames.load() == seen && TimeLeft(end)) std::this_thread::yield();
          WithdrawRequest(shared, Rec::kPlenumSetpoint1);
        }
      });
  EXPECT_EQ(restored, 0) << "of " << frames.load() << " frames";
  EXPECT_GT(frames.load(), 0);
}

}  // namespace
}  // namespace orvandry::link
