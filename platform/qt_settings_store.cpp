#include "platform/qt_settings_store.h"

#include <QSettings>

#include "platform/qt_conversions.h"

namespace orvandry::platform {

namespace {
constexpr unsigned kByteMax = 0xFF;
}

QtSettingsStore::QtSettingsStore()
    : settings_(std::make_unique<QSettings>(QString::fromLatin1(kOrganisation),
                                            QString::fromLatin1(kApplication))) {}

QtSettingsStore::QtSettingsStore(const QString& ini_path)
    : settings_(std::make_unique<QSettings>(ini_path, QSettings::IniFormat)) {}

QtSettingsStore::~QtSettingsStore() = default;

std::optional<std::uint8_t> QtSettingsStore::ReadByte(std::string_view name) const {
  // Pick up what another instance or a person wrote since we last looked.
  settings_->sync();
  if (settings_->status() != QSettings::NoError) return std::nullopt;
  const QVariant value = settings_->value(ToQString(name));
  if (!value.isValid()) return std::nullopt;
  bool ok = false;
  const uint number = value.toString().trimmed().toUInt(&ok);
  if (!ok || number > kByteMax) return std::nullopt;
  return static_cast<std::uint8_t>(number);
}

bool QtSettingsStore::WriteByte(std::string_view name, std::uint8_t value) {
  if (!settings_->isWritable()) return false;
  settings_->setValue(ToQString(name), static_cast<uint>(value));
  settings_->sync();
  return settings_->status() == QSettings::NoError;
}

}  // namespace orvandry::platform
