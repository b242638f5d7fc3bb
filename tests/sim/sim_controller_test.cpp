#include "sim/sim_controller.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>

#include "frame_helpers.h"
#include "link/link_cycle.h"
#include "sim/in_process_dryer.h"

namespace orvandry::sim {
namespace {

using namespace testing;
using namespace std::chrono_literals;

// Reads what the controller sends until `want` bytes have come or a generous time has passed.
std::vector<std::uint8_t> ReadAnswer(int fd, std::size_t want) {
  std::vector<std::uint8_t> got;
  const auto deadline = std::chrono::steady_clock::now() + 5s;
  while (got.size() < want && std::chrono::steady_clock::now() < deadline) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 50) <= 0) continue;
    std::uint8_t buffer[1024];
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n > 0) got.insert(got.end(), buffer, buffer + n);
  }
  return got;
}

void WriteAll(int fd, const std::vector<std::uint8_t>& bytes) {
  ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
}

class SimOverPty : public ::testing::Test {
 protected:
  void SetUp() override {
    SimOptions options;
    options.clock = [] { return 0.0; };  // the dryer stands still
    std::string error;
    dryer_ = StartInProcessDryer(&error, std::move(options));
    ASSERT_TRUE(dryer_) << error;
    display_ = UniqueFd(dryer_->OpenDisplayFd(&error));
    ASSERT_TRUE(display_.valid()) << error;
  }

  std::unique_ptr<InProcessDryer> dryer_;
  UniqueFd display_;
};

TEST_F(SimOverPty, AnswersTheFrameBehindNoiseAndSendsItsTableUnchanged) {
  // 0x50 claims an 80-byte frame: the reset frame behind it is found once the line is quiet.
  WriteAll(display_.get(), Concat({{0x50, 0x01}, kReset}));
  const auto answer = ReadAnswer(display_.get(), 302);
  ASSERT_EQ(answer.size(), 302u);
  EXPECT_TRUE(link::IsGoodStatusFrame(answer.data(), answer.size()));
  EXPECT_EQ(dryer_->controller().counts().reset_frames, 1u);
  EXPECT_EQ(dryer_->controller().counts().skipped_bytes, 2u);

  // Bytes a terminal would translate or take as flow control pass the line raw.
  const std::uint8_t bytes[] = {0x00, 0x0A, 0x0D, 0x11, 0x13, 0xFF};
  dryer_->controller().SetTableBytes(290, bytes);
  WriteAll(display_.get(), kNull);
  const auto next = ReadAnswer(display_.get(), 302);
  ASSERT_EQ(next.size(), 302u);
  EXPECT_TRUE(link::IsGoodStatusFrame(next.data(), next.size()));
  EXPECT_TRUE(std::equal(std::begin(bytes), std::end(bytes), next.begin() + 290));
}

TEST_F(SimOverPty, StopsPromptlyEvenWhileTheDisplayKeepsTalking) {
  std::atomic<bool> done{false};
  std::thread talker([&] {
    while (!done.load()) {
      [[maybe_unused]] const ssize_t n = ::write(display_.get(), kNull.data(), kNull.size());
      std::this_thread::sleep_for(1ms);
    }
  });
  ASSERT_TRUE(dryer_->controller().WaitUntil(
      [](const ControllerCore& c) { return c.counts().null_frames >= 5; }, 5s));
  const auto before = std::chrono::steady_clock::now();
  dryer_->controller().Stop();
  EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
  const std::uint64_t heard = dryer_->controller().counts().null_frames;
  std::this_thread::sleep_for(50ms);
  EXPECT_EQ(dryer_->controller().counts().null_frames, heard) << "nothing read after Stop";
  done = true;
  talker.join();
  dryer_.reset();  // a second Stop from the destructor is harmless
}

}  // namespace
}  // namespace orvandry::sim
