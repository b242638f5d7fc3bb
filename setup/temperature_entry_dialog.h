#pragma once

#include <QPushButton>

#include "platform/dialog.h"
#include "setup/temperature_entry.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::shell {
struct DialogRequest;
struct ViewContext;
}  // namespace orvandry::shell

namespace orvandry::setup {

// The temperature entry dialog's skin: a telephone-style keypad with DELETE under it, and CLEAR /
// DEFAULT / ACCEPT / CANCEL beside it, all forwarding to the TemperatureEntry it edits.
class TemperatureEntryDialog final : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{420, 362};
  static constexpr int kMinTouch = 40;

  TemperatureEntryDialog(QWidget* parent, TemperatureEntry& entry, link::LinkShared& shared,
                         platform::Prompter& prompter);

  // How the dialog ended; kKeepOpen while it is still open.
  TemperatureEntry::Outcome Outcome() const { return outcome_; }
  QPushButton* Button(int id) const { return ControlAs<QPushButton>(id); }

  // Where a control sits in the client area.
  static platform::Rect ControlRect(int id);

 protected:
  void Paint(platform::Canvas& canvas) override;

 private:
  void AddButton(int id, const char* text);
  void OnControl(int id);

  TemperatureEntry& entry_;
  link::LinkShared& shared_;
  platform::Prompter& prompter_;
  TemperatureEntry::Outcome outcome_ = TemperatureEntry::Outcome::kKeepOpen;
};

// Opens the dialog modally over `parent` and returns how it ended.
TemperatureEntry::Outcome RunTemperatureEntryDialog(QWidget* parent, TemperatureEntry& entry,
                                                    link::LinkShared& shared,
                                                    platform::Prompter& prompter);

// Opens the dialog for a request naming the temperature's offset, limits and default (degrees F).
// A request for an offset that holds no temperature setting opens nothing.
TemperatureEntry::Outcome OpenTemperatureEntry(const shell::DialogRequest& request,
                                               const shell::ViewContext& context);

}  // namespace orvandry::setup
