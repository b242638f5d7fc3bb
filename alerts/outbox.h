#pragma once

#include <algorithm>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

namespace orvandry::alerts {

// The waiting time before the next attempt to reach the broker: first, then doubling up to max;
// a connection that succeeds starts it over.
class Backoff {
 public:
  Backoff(std::chrono::milliseconds first, std::chrono::milliseconds max)
      : first_(first), max_(std::max(first, max)), next_(first) {}
  std::chrono::milliseconds Next() {
    const auto delay = next_;
    next_ = std::min(next_ * 2, max_);
    return delay;
  }
  void Reset() { next_ = first_; }

 private:
  std::chrono::milliseconds first_;
  std::chrono::milliseconds max_;
  std::chrono::milliseconds next_;
};

// The shutdown messages not yet acknowledged by the broker, oldest first. Bounded: when full, the
// oldest waiting message goes to make room, except the one on its way to the broker (front_busy).
class Outbox {
 public:
  explicit Outbox(std::size_t capacity) : capacity_(std::max<std::size_t>(capacity, 2)) {}

  void Push(std::string payload, bool front_busy) {
    if (messages_.size() >= capacity_) {
      messages_.erase(messages_.begin() + (front_busy ? 1 : 0));
      ++dropped_;
    }
    messages_.push_back(std::move(payload));
  }
  bool empty() const { return messages_.empty(); }
  std::size_t size() const { return messages_.size(); }
  const std::string& front() const { return messages_.front(); }
  void PopFront() { messages_.pop_front(); }
  std::uint64_t dropped() const { return dropped_; }

 private:
  std::size_t capacity_;
  std::deque<std::string> messages_;
  std::uint64_t dropped_ = 0;
};

}  // namespace orvandry::alerts
