#pragma once

#include <optional>
#include <string>
#include <utility>

namespace orvandry::sim {

// An owned file descriptor, closed when it goes.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() { Reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.Release()) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      Reset();
      fd_ = other.Release();
    }
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  int Release() { return std::exchange(fd_, -1); }
  void Reset();

 private:
  int fd_ = -1;
};

// A pseudo-terminal pair: the controller talks on the master, the display opens the slave like a
// serial device. Both ends are raw, so every byte, nulls included, passes unchanged.
struct PtyPair {
  UniqueFd master;
  std::string slave_path;
  // Held open for as long as the pair lives: with no slave open, the master reports a hang-up and
  // drops what it writes, which would make the controller spin before the display has opened it.
  UniqueFd slave_keepalive;
};

// Opens a new pair. On failure returns nothing and says why in `error`.
std::optional<PtyPair> OpenPtyPair(std::string* error);

// Opens a slave path (or any terminal) again for the display's port; the caller owns the result.
UniqueFd OpenTerminal(const std::string& path, std::string* error);

// Opens a real serial device for the controller's end at the display's line settings: 38400 baud,
// 8 data bits, even parity, 1 stop bit, raw.
UniqueFd OpenSerialDevice(const std::string& path, std::string* error);

}  // namespace orvandry::sim
