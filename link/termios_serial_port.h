#pragma once

#include <memory>
#include <string>

#include "link/serial_port.h"

namespace orvandry::link {

// A serial device set to 38400 baud, 8 data bits, even parity, 1 stop bit, parity checking on,
// nothing stripped, raw, and reads that return at once with what has arrived.
class TermiosSerialPort final : public SerialPort {
 public:
  // Opens an existing device for exclusive use. On failure returns null and says why in `error`.
  static std::unique_ptr<TermiosSerialPort> Open(const std::string& path, std::string* error);
  // Takes over an already open descriptor (a pseudo-terminal in tests) and configures it.
  static std::unique_ptr<TermiosSerialPort> Adopt(int fd, std::string* error);

  ~TermiosSerialPort() override;
  TermiosSerialPort(const TermiosSerialPort&) = delete;
  TermiosSerialPort& operator=(const TermiosSerialPort&) = delete;

  std::size_t Read(std::uint8_t* buffer, std::size_t max) override;
  void Purge() override;
  void Write(const std::uint8_t* bytes, std::size_t count) override;

  int fd() const { return fd_; }

 private:
  explicit TermiosSerialPort(int fd) : fd_(fd) {}
  static bool Configure(int fd, std::string* error);

  int fd_;
};

}  // namespace orvandry::link
