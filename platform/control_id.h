#pragma once

#include <QObject>
#include <QWidget>
#include <optional>

namespace orvandry::platform {

// Every control and picture button carries its command or control id as this property, so a test
// (or a screen) can find "1171" without knowing how the widgets are nested.
inline constexpr char kControlIdProperty[] = "control_id";

void SetControlId(QObject& control, int id);
std::optional<int> ControlIdOf(const QObject& control);
// The first widget under `root` (at any depth) carrying this id, or null.
QWidget* FindControl(const QObject& root, int id);

}  // namespace orvandry::platform
