#include "link/link_thread.h"

#include "link/termios_serial_port.h"

namespace orvandry::link {

void AutoResetEvent::Set() {
  {
    std::lock_guard lock(mutex_);
    signalled_ = true;
  }
  cv_.notify_one();
}

bool AutoResetEvent::Wait() {
  std::unique_lock lock(mutex_);
  cv_.wait(lock, [this] { return signalled_ || cancelled_; });
  if (cancelled_) return false;
  signalled_ = false;
  return true;
}

void AutoResetEvent::Cancel() {
  {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
  }
  cv_.notify_all();
}

std::unique_ptr<DryerLink> DryerLink::Open(LinkShared& shared, IntakeListener* listener,
                                           const std::string& device, std::string* error) {
  std::unique_ptr<SerialPort> port = TermiosSerialPort::Open(device, error);
  if (!port) return nullptr;
  return std::make_unique<DryerLink>(shared, listener, std::move(port));
}

DryerLink::DryerLink(LinkShared& shared, IntakeListener* listener, std::unique_ptr<SerialPort> port)
    : port_(std::move(port)), intake_(shared, listener), cycle_(shared, *port_, intake_) {
  thread_ = std::thread([this] { Run(); });
}

DryerLink::~DryerLink() {
  poll_event_.Cancel();
  if (thread_.joinable()) thread_.join();
}

void DryerLink::Run() {
  while (poll_event_.Wait()) cycle_.RunOnce();
}

}  // namespace orvandry::link
