#include "platform/control_id.h"

#include <QVariant>

namespace orvandry::platform {

void SetControlId(QObject& control, int id) {
  control.setProperty(kControlIdProperty, id);
}

std::optional<int> ControlIdOf(const QObject& control) {
  const QVariant value = control.property(kControlIdProperty);
  if (!value.isValid()) return std::nullopt;
  bool ok = false;
  const int id = value.toInt(&ok);
  return ok ? std::optional<int>(id) : std::nullopt;
}

QWidget* FindControl(const QObject& root, int id) {
  for (QWidget* widget : root.findChildren<QWidget*>()) {
    if (ControlIdOf(*widget) == id) return widget;
  }
  return nullptr;
}

}  // namespace orvandry::platform
