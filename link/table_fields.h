#pragma once

#include <cstddef>
#include <cstdint>

namespace orvandry::link {

// The field encodings of the controller's table, written once on top of a byte accessor pair:
// `Derived` provides Get(offset) and Set(offset, value). Both the shared tables and a screen's
// working copy use them, so a byte order lives in one place.
template <typename Derived>
class TableFields {
 public:
  // Signed whole degrees F, low byte first.
  std::int16_t GetT16(std::size_t offset) const {
    return static_cast<std::int16_t>(Byte(offset) | (Byte(offset + 1) << 8));
  }
  void SetT16(std::size_t offset, std::int16_t value) {
    const auto raw = static_cast<std::uint16_t>(value);
    Put(offset, static_cast<std::uint8_t>(raw & 0xFF));
    Put(offset + 1, static_cast<std::uint8_t>(raw >> 8));
  }
  // Moisture, unload-rate and count values: high byte first.
  std::uint16_t GetBe16(std::size_t offset) const {
    return static_cast<std::uint16_t>((Byte(offset) << 8) | Byte(offset + 1));
  }
  void SetBe16(std::size_t offset, std::uint16_t value) {
    Put(offset, static_cast<std::uint8_t>(value >> 8));
    Put(offset + 1, static_cast<std::uint8_t>(value & 0xFF));
  }
  std::uint16_t GetLe16(std::size_t offset) const {
    return static_cast<std::uint16_t>(Byte(offset) | (Byte(offset + 1) << 8));
  }
  void SetLe16(std::size_t offset, std::uint16_t value) {
    Put(offset, static_cast<std::uint8_t>(value & 0xFF));
    Put(offset + 1, static_cast<std::uint8_t>(value >> 8));
  }
  // The bushel counter: 32 bits, low byte first.
  std::uint32_t GetU32(std::size_t offset) const {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
      value |= static_cast<std::uint32_t>(Byte(offset + i)) << (8 * i);
    return value;
  }
  void SetU32(std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
      Put(offset + i, static_cast<std::uint8_t>(value >> (8 * i)));
  }
  // Timers: a minutes byte then a seconds byte; read as whole seconds.
  std::uint32_t GetTimeSeconds(std::size_t offset) const {
    return 60U * Byte(offset) + Byte(offset + 1);
  }
  void SetTime(std::size_t offset, std::uint8_t minutes, std::uint8_t seconds) {
    Put(offset, minutes);
    Put(offset + 1, seconds);
  }

 private:
  std::uint8_t Byte(std::size_t offset) const {
    return static_cast<const Derived&>(*this).Get(offset);
  }
  void Put(std::size_t offset, std::uint8_t value) {
    static_cast<Derived&>(*this).Set(offset, value);
  }
};

}  // namespace orvandry::link
