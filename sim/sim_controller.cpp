#include "sim/sim_controller.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>

#include "link/status_map.h"

namespace orvandry::sim {
namespace {

constexpr int kPollMs = 10;
constexpr int kWriteWaitMs = 50;

}  // namespace

SimController::SimController(UniqueFd line, SimOptions options)
    : line_(std::move(line)),
      clock_(std::move(options.clock)),
      idle_gap_(options.idle_gap),
      core_(options.seed, std::move(options.scenario)) {
  if (!clock_) {
    const auto start = std::chrono::steady_clock::now();
    clock_ = [start] {
      return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    };
  }
  // Writes must never block the thread for good: a display that stopped reading just misses
  // answers, as it would on a real line.
  const int flags = fcntl(line_.get(), F_GETFL);
  if (flags >= 0) fcntl(line_.get(), F_SETFL, flags | O_NONBLOCK);
  int pipe_fds[2];
  if (pipe2(pipe_fds, O_CLOEXEC | O_NONBLOCK) == 0) {
    wake_read_ = UniqueFd(pipe_fds[0]);
    wake_write_ = UniqueFd(pipe_fds[1]);
  }
  thread_ = std::thread([this] { Run(); });
}

SimController::~SimController() {
  Stop();
}

void SimController::Stop() {
  stop_.store(true);
  if (wake_write_.valid()) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(wake_write_.get(), &byte, 1);
  }
  if (thread_.joinable()) thread_.join();
}

void SimController::Run() {
  std::vector<std::uint8_t> buffer(4096);
  std::vector<std::uint8_t> answer;
  auto last_byte = std::chrono::steady_clock::now();
  while (!stop_.load()) {
    pollfd fds[2] = {{line_.get(), POLLIN, 0}, {wake_read_.get(), POLLIN, 0}};
    const int ready = ::poll(fds, wake_read_.valid() ? 2 : 1, kPollMs);
    if (stop_.load()) break;
    if (ready < 0 && errno != EINTR) {
      std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
      continue;
    }

    answer.clear();
    const auto wall = std::chrono::steady_clock::now();
    if (ready > 0 && (fds[0].revents & POLLIN) != 0) {
      const ssize_t n = ::read(line_.get(), buffer.data(), buffer.size());
      if (n > 0) {
        last_byte = wall;
        std::lock_guard lock(mutex_);
        core_.Receive(buffer.data(), static_cast<std::size_t>(n), clock_(), answer);
      }
    } else if (ready > 0 && (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0) {
      // Nobody at the other end yet: wait rather than spin on the hang-up.
      std::this_thread::sleep_for(std::chrono::milliseconds(kPollMs));
    } else {
      std::lock_guard lock(mutex_);
      core_.AdvanceTo(clock_());
      if (wall - last_byte >= idle_gap_) core_.LineIdle(clock_(), answer);
    }
    if (!answer.empty()) Send(answer);
  }
}

void SimController::Send(const std::vector<std::uint8_t>& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size() && !stop_.load()) {
    const ssize_t n = ::write(line_.get(), bytes.data() + sent, bytes.size() - sent);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && errno == EAGAIN) {
      pollfd out{line_.get(), POLLOUT, 0};
      if (::poll(&out, 1, kWriteWaitMs) <= 0) return;  // the line is stuck; drop the answer
    } else {
      return;
    }
  }
}

double SimController::Now() const {
  std::lock_guard lock(mutex_);
  return clock_();
}

FrameCounts SimController::counts() const {
  std::lock_guard lock(mutex_);
  return core_.counts();
}

std::vector<CommandRecord> SimController::last_command() const {
  std::lock_guard lock(mutex_);
  return core_.last_command();
}

std::vector<DisplayFrame> SimController::history() const {
  std::lock_guard lock(mutex_);
  return {core_.history().begin(), core_.history().end()};
}

Table SimController::table() const {
  std::lock_guard lock(mutex_);
  return core_.model().table();
}

std::uint8_t SimController::TableByte(std::size_t offset) const {
  std::lock_guard lock(mutex_);
  return core_.model().table().at(offset);
}

void SimController::SetTableBytes(std::size_t offset, std::span<const std::uint8_t> bytes) {
  std::lock_guard lock(mutex_);
  Table& table = core_.model().table();
  for (std::size_t i = 0; i < bytes.size() && offset + i < table.size(); ++i)
    table[offset + i] = bytes[i];
}

void SimController::EditScenario(const std::function<void(Scenario&)>& edit) {
  std::lock_guard lock(mutex_);
  edit(core_.scenario());
}

void SimController::WithCore(const std::function<void(ControllerCore&)>& visit) {
  std::lock_guard lock(mutex_);
  visit(core_);
}

bool SimController::WaitUntil(const std::function<bool(const ControllerCore&)>& condition,
                              std::chrono::milliseconds timeout) const {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    {
      std::lock_guard lock(mutex_);
      if (condition(core_)) return true;
    }
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
}

void PutInView(SimController& dryer, StartView view) {
  namespace sm = link::status_map;
  if (view == StartView::kUnchanged) return;
  const std::uint8_t settings = dryer.TableByte(sm::kDisplaySettings);
  const std::uint8_t view_bit = view == StartView::kGraph ? 0x40 : 0x00;
  const std::uint8_t display[] = {static_cast<std::uint8_t>((settings & ~0x40) | view_bit)};
  dryer.SetTableBytes(sm::kDisplaySettings, display);
  const std::uint8_t batch[] = {static_cast<std::uint8_t>(view == StartView::kBatch ? 1 : 0)};
  dryer.SetTableBytes(sm::kBatchSelector, batch);
}

}  // namespace orvandry::sim
