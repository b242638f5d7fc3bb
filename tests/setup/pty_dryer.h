#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <thread>

#include "link/link_shared.h"
#include "link/link_thread.h"
#include "sim/in_process_dryer.h"

namespace orvandry::setup::testing {

// The display's real link to the simulated controller over a pseudo-terminal, polled every 30 ms
// by a thread of its own as the poll tick would, in real time. Counts the frames it takes in.
class PtyDryer final : public link::IntakeListener {
 public:
  ~PtyDryer() override {
    stop_ = true;
    if (ticker_.joinable()) ticker_.join();
    link_.reset();
    dryer_.reset();
  }

  // Starts the controller with `options` and the link on `shared`, and waits for two frames.
  // False, with the reason in `error`, when either cannot start.
  bool Start(link::LinkShared& shared, sim::SimOptions options, std::string* error) {
    using namespace std::chrono_literals;
    options.idle_gap = 20ms;
    dryer_ = sim::StartInProcessDryer(error, std::move(options));
    if (!dryer_) return false;
    link_ = link::DryerLink::Open(shared, this, dryer_->slave_path(), error);
    if (!link_) return false;
    ticker_ = std::thread([this] {
      while (!stop_.load()) {
        if (!paused_.load()) link_->SignalPoll();
        std::this_thread::sleep_for(30ms);
      }
    });
    return Eventually([&] { return frames_taken.load() >= 2; });
  }

  template <class Condition>
  static bool Eventually(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(8);
    while (!condition()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
  }

  // Good frames the controller has heard so far.
  std::uint64_t Heard() const { return dryer_->controller().counts().good_frames(); }
  // Holds the poll until the line is quiet, so the next frame is built after what the test does
  // now; Resume lets it go on.
  void Pause() {
    paused_ = true;
    for (std::uint64_t heard = Heard();;) {
      std::this_thread::sleep_for(std::chrono::milliseconds(120));
      if (Heard() == heard) return;
      heard = Heard();
    }
  }
  void Resume() { paused_ = false; }

  sim::InProcessDryer& dryer() { return *dryer_; }

  void OnWarningCodeChanged(std::uint8_t, std::uint8_t) override {}
  void OnIntakeFinished(const link::IntakeResult&) override { frames_taken.fetch_add(1); }
  std::atomic<int> frames_taken{0};

 private:
  std::unique_ptr<sim::InProcessDryer> dryer_;
  std::unique_ptr<link::DryerLink> link_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> paused_{false};
  std::thread ticker_;
};

}  // namespace orvandry::setup::testing
