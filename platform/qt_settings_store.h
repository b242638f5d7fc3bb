#pragma once

#include <QString>
#include <memory>

#include "platform/settings_store.h"

class QSettings;

namespace orvandry::platform {

// Settings in QSettings under organisation "Kelvra", application "Orvandry" (the user's native
// store), or in an INI file of its own when given a path (tests, and a panel that keeps its
// settings on the internal disk). Values are stored as plain numbers 0..255, so the file can be
// read and fixed by hand; anything else found there reads as unreadable.
class QtSettingsStore final : public SettingsStore {
 public:
  static constexpr const char* kOrganisation = "Kelvra";
  static constexpr const char* kApplication = "Orvandry";

  QtSettingsStore();
  explicit QtSettingsStore(const QString& ini_path);
  ~QtSettingsStore() override;

  std::optional<std::uint8_t> ReadByte(std::string_view name) const override;
  bool WriteByte(std::string_view name, std::uint8_t value) override;

 private:
  std::unique_ptr<QSettings> settings_;
};

}  // namespace orvandry::platform
