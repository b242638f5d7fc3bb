#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace orvandry::platform {

// The display's persistent settings: a few named one-byte values kept across restarts.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  // The stored byte; nullopt when the value is absent or cannot be read as one byte.
  virtual std::optional<std::uint8_t> ReadByte(std::string_view name) const = 0;
  // False when the value could not be stored.
  virtual bool WriteByte(std::string_view name, std::uint8_t value) = 0;
};

// Settings in memory, for tests. Values can be planted as the bad entries a real store may hold.
class MemorySettingsStore final : public SettingsStore {
 public:
  std::optional<std::uint8_t> ReadByte(std::string_view name) const override;
  bool WriteByte(std::string_view name, std::uint8_t value) override;

  // Makes the value present but unreadable (a wrong type in the real store).
  void PlantUnreadable(std::string_view name);
  void Remove(std::string_view name) { values_.erase(std::string(name)); }
  // From now on every write fails and stores nothing.
  void SetWritesFail(bool fail) { writes_fail_ = fail; }
  int WriteCount() const { return write_count_; }

 private:
  std::map<std::string, std::optional<std::uint8_t>, std::less<>> values_;
  bool writes_fail_ = false;
  int write_count_ = 0;
};

}  // namespace orvandry::platform
