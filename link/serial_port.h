#pragma once

#include <cstddef>
#include <cstdint>

namespace orvandry::link {

// The display's end of the serial line to the dryer controller.
class SerialPort {
 public:
  virtual ~SerialPort() = default;
  // Takes up to `max` bytes that have already arrived; returns at once, possibly with none.
  virtual std::size_t Read(std::uint8_t* buffer, std::size_t max) = 0;
  // Discards whatever is waiting in both directions.
  virtual void Purge() = 0;
  // Sends the bytes. The result is not examined by the link: a failed write is not retried, the
  // next cycle simply sends its own frame.
  virtual void Write(const std::uint8_t* bytes, std::size_t count) = 0;
};

}  // namespace orvandry::link
