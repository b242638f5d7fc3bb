#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "link/serial_port.h"
#include "sim/controller_core.h"

namespace orvandry::setup::testing {

// The serial line to the simulated controller, in virtual time: what the link writes reaches the
// controller at once (at the test's clock `now`), and its answer is what the next read takes.
class SimulatedLine final : public link::SerialPort {
 public:
  SimulatedLine(sim::ControllerCore& core, double& now) : core_(core), now_(now) {}
  std::size_t Read(std::uint8_t* buffer, std::size_t max) override {
    const std::size_t n = std::min(max, answer_.size());
    std::copy_n(answer_.begin(), n, buffer);
    answer_.erase(answer_.begin(), answer_.begin() + static_cast<std::ptrdiff_t>(n));
    return n;
  }
  void Purge() override { answer_.clear(); }
  void Write(const std::uint8_t* bytes, std::size_t count) override {
    std::vector<std::uint8_t> answer;
    core_.Receive(bytes, count, now_, answer);
    answer_.insert(answer_.end(), answer.begin(), answer.end());
  }

 private:
  sim::ControllerCore& core_;
  double& now_;
  std::deque<std::uint8_t> answer_;
};

}  // namespace orvandry::setup::testing
