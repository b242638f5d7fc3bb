#pragma once

#include <QPushButton>

#include "platform/dialog.h"
#include "setup/timer_entry.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::setup {

// The timer entry dialog's skin: two telephone-style keypads (minutes left, seconds right) and
// DEFAULT / ACCEPT / CANCEL between them, all forwarding to the TimerEntry it edits. Every
// control is at least 40 x 40 pixels, for a gloved finger.
class TimerEntryDialog final : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{610, 325};
  static constexpr int kMinTouch = 40;

  TimerEntryDialog(QWidget* parent, TimerEntry& entry, link::LinkShared& shared,
                   platform::Prompter& prompter);

  // How the dialog ended; kKeepOpen while it is still open.
  TimerEntry::Outcome Outcome() const { return outcome_; }
  QPushButton* Button(int id) const { return ControlAs<QPushButton>(id); }

  // Where a control sits in the client area.
  static platform::Rect ControlRect(int id);

 protected:
  void Paint(platform::Canvas& canvas) override;

 private:
  void AddButton(int id, const char* text);
  void OnControl(int id);

  TimerEntry& entry_;
  link::LinkShared& shared_;
  platform::Prompter& prompter_;
  TimerEntry::Outcome outcome_ = TimerEntry::Outcome::kKeepOpen;
};

// Opens the dialog modally over `parent` and returns how it ended.
TimerEntry::Outcome RunTimerEntryDialog(QWidget* parent, TimerEntry& entry,
                                        link::LinkShared& shared, platform::Prompter& prompter);

}  // namespace orvandry::setup
