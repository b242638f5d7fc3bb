#pragma once

#include <functional>
#include <optional>

#include "platform/system_memory.h"
#include "service/panel_dialog.h"
#include "service/remote_connection.h"
#include "service/system_info.h"
#include "service/time_date.h"
#include "service/user_settings.h"

namespace orvandry::platform {
class Clock;
class Prompter;
}  // namespace orvandry::platform
namespace orvandry::shell {
struct ViewContext;
}

namespace orvandry::service {

using MemorySource = std::function<std::optional<platform::MemoryFigures>()>;

// System information: version, the running clock and date, the memory figures of the OS, a
// copyright line and EXIT. 20 pixels above centre.
class SystemInfoDialog final : public PanelDialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{460, 300};
  SystemInfoDialog(QWidget* parent, const platform::Clock& clock, MemorySource memory);
  void Refresh() override;

 protected:
  bool Press(int id, bool& accepted) override;

 private:
  const platform::Clock& clock_;
  MemorySource memory_;
};

// The software release information: the notes, newest first, and EXIT.
class ReleaseNotesDialog final : public PanelDialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{610, 400};
  explicit ReleaseNotesDialog(QWidget* parent);

 protected:
  bool Press(int id, bool& accepted) override;
};

// Set time / date: one row per field (value, DOWN, UP), the day of the week shown from the date,
// the panel clock running above, ACCEPT / EXIT and CANCEL at the right.
class TimeDateDialog final : public PanelDialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{630, 392};
  TimeDateDialog(QWidget* parent, TimeDate& logic, platform::Clock& clock,
                 platform::Prompter& prompter);
  void Refresh() override;
  TimeDate::Outcome Outcome() const { return outcome_; }

 protected:
  bool Press(int id, bool& accepted) override;

 private:
  TimeDate& logic_;
  platform::Clock& clock_;
  platform::Prompter& prompter_;
  TimeDate::Outcome outcome_ = TimeDate::Outcome::kKeepOpen;
};

// Remote connection setup: the connection type and the rings, one ticked of each.
class RemoteConnectionDialog final : public PanelDialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{470, 296};
  RemoteConnectionDialog(QWidget* parent, RemoteConnection& logic, platform::Prompter& prompter);
  void Refresh() override;

 protected:
  bool Press(int id, bool& accepted) override;

 private:
  RemoteConnection& logic_;
  platform::Prompter& prompter_;
};

// User settings: SAVE SETTINGS, RESTORE SETTINGS, CANCEL. 20 pixels above centre.
class UserSettingsDialog final : public PanelDialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{460, 286};
  UserSettingsDialog(QWidget* parent, UserSettings& logic, platform::Prompter& prompter);

 protected:
  bool Press(int id, bool& accepted) override;

 private:
  UserSettings& logic_;
  platform::Prompter& prompter_;
};

// Each opens its dialog modally over `parent` and returns when it closes.
void RunSystemInfoDialog(QWidget* parent, shell::ViewContext& context);
void RunReleaseNotesDialog(QWidget* parent);
TimeDate::Outcome RunTimeDateDialog(QWidget* parent, shell::ViewContext& context);
void RunRemoteConnectionDialog(QWidget* parent, shell::ViewContext& context);
void RunUserSettingsDialog(QWidget* parent, shell::ViewContext& context);

}  // namespace orvandry::service
