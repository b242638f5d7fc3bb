#pragma once

// The whole display with the remote view, on the real link to the simulated dryer in real time,
// as main() puts it together; for the tests that need the panel running while they talk to it.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "app/display.h"
#include "link/link_thread.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "sim/in_process_dryer.h"

namespace orvandry::remote {

inline constexpr char kTestToken[] = "test-token-0123456789abcdef";

// Passes the link's results to the main window, and notes when each frame was taken in.
class TimingListener final : public link::IntakeListener {
 public:
  explicit TimingListener(shell::MainWindow& window) : window_(window) {}
  void OnWarningCodeChanged(std::uint8_t node, std::uint8_t warning) override {
    window_.OnWarningCodeChanged(node, warning);
  }
  void OnIntakeFinished(const link::IntakeResult& result) override {
    {
      std::scoped_lock lock(mutex_);
      times_.push_back(std::chrono::steady_clock::now());
    }
    window_.OnIntakeFinished(result);
  }
  std::vector<std::chrono::steady_clock::time_point> times() {
    std::scoped_lock lock(mutex_);
    return times_;
  }

 private:
  shell::MainWindow& window_;
  std::mutex mutex_;
  std::vector<std::chrono::steady_clock::time_point> times_;
};

// Runs the event loop until `done` or `ms` have passed; true when `done` came true.
inline bool RunUntil(const std::function<bool()>& done, int ms) {
  QElapsedTimer timer;
  timer.start();
  while (!done()) {
    if (timer.elapsed() > ms) return false;
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  }
  return true;
}
inline void RunFor(int ms) {
  RunUntil([] { return false; }, ms);
}

class LiveDisplay {
 public:
  explicit LiveDisplay(sim::Scenario scenario = {})
      : paths_(data_.path().toStdString(), data_.path().toStdString() + "/usb"),
        display_(shared_, settings_, prompter_, store_, clock_, paths_, Config()),
        listener_(display_.window()) {
    sim::SimOptions options;
    options.scenario = std::move(scenario);
    std::string error;
    dryer_ = sim::StartInProcessDryer(&error, std::move(options));
    EXPECT_TRUE(dryer_) << error;
    if (dryer_) link_ = link::DryerLink::Open(shared_, &listener_, dryer_->slave_path(), &error);
    EXPECT_TRUE(link_) << error;
    QString remote_error;
    EXPECT_TRUE(display_.remote()->Start(&remote_error)) << remote_error.toStdString();
    display_.window().show();
    display_.window().Start([this] {
      if (link_) link_->SignalPoll();
    });
  }
  ~LiveDisplay() {
    link_.reset();  // the link thread stops before the state it uses goes away
    display_.remote()->service().Stop();
  }

  static RemoteConfig Config() {
    RemoteConfig config;
    config.address = QHostAddress::LocalHost;
    config.port = 0;
    config.token = kTestToken;
    return config;
  }

  quint16 port() { return display_.remote()->service().port(); }
  app::Display& display() { return display_; }
  link::LinkShared& shared() { return shared_; }
  TimingListener& listener() { return listener_; }

 private:
  QTemporaryDir data_;
  platform::Paths paths_;
  link::LinkShared shared_;
  shell::Settings settings_;
  platform::ScriptedPrompter prompter_;
  platform::MemorySettingsStore store_;
  platform::SystemClock clock_;
  app::Display display_;
  TimingListener listener_;
  std::unique_ptr<sim::InProcessDryer> dryer_;
  std::unique_ptr<link::DryerLink> link_;
};

}  // namespace orvandry::remote
