#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "link/link_cycle.h"
#include "link/serial_port.h"
#include "link/status_intake.h"

namespace orvandry::link {

// Set by one thread, consumed by one wait: several sets before a wait count as one.
class AutoResetEvent {
 public:
  void Set();
  // Waits until set (or until Cancel), then resets. Returns false when cancelled.
  bool Wait();
  void Cancel();

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  bool signalled_ = false;
  bool cancelled_ = false;
};

// The running link: the port, the intake, the cycle and the thread that runs one cycle each time
// the poll tick signals. The program never stops it; tests and an orderly exit do, by destroying
// it.
class DryerLink {
 public:
  // Opens `device` and starts the thread. On failure returns null with the reason in `error`;
  // the display then carries on without a link.
  static std::unique_ptr<DryerLink> Open(LinkShared& shared, IntakeListener* listener,
                                         const std::string& device, std::string* error);
  // Starts on a port that is already open (a pseudo-terminal to the in-process simulator).
  DryerLink(LinkShared& shared, IntakeListener* listener, std::unique_ptr<SerialPort> port);
  ~DryerLink();
  DryerLink(const DryerLink&) = delete;
  DryerLink& operator=(const DryerLink&) = delete;

  // Called by the poll tick on every second tick: one transaction follows.
  void SignalPoll() { poll_event_.Set(); }

 private:
  void Run();

  std::unique_ptr<SerialPort> port_;
  StatusIntake intake_;
  LinkCycle cycle_;
  AutoResetEvent poll_event_;
  std::thread thread_;
};

}  // namespace orvandry::link
