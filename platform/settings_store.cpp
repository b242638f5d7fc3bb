#include "platform/settings_store.h"

namespace orvandry::platform {

std::optional<std::uint8_t> MemorySettingsStore::ReadByte(std::string_view name) const {
  const auto it = values_.find(name);
  return it == values_.end() ? std::nullopt : it->second;
}

bool MemorySettingsStore::WriteByte(std::string_view name, std::uint8_t value) {
  ++write_count_;
  if (writes_fail_) return false;
  values_[std::string(name)] = value;
  return true;
}

void MemorySettingsStore::PlantUnreadable(std::string_view name) {
  values_[std::string(name)] = std::nullopt;
}

}  // namespace orvandry::platform
