#pragma once

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "logging/ui/log_setup.h"
#include "platform/dialog.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::logging::ui {

// Template 245: four interval buttons, each with its tick box, in "SET SAMPLE TIME"; ACCEPT / EXIT
// and CLEAR TABLE in "OPTIONS". The tick boxes only show the choice.
class SampleTimeDialog final : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{420, 250};

  SampleTimeDialog(QWidget* parent, SampleTimeSetup& setup, platform::Prompter& prompter,
                   std::function<void()> clear_log);

  static platform::Rect ControlRect(int id);
  QRadioButton* Box(int id) const { return ControlAs<QRadioButton>(id); }
  SampleTimeSetup::Outcome Outcome() const { return outcome_; }

  void OnControl(int id);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void Refresh();

  SampleTimeSetup& setup_;
  platform::Prompter& prompter_;
  std::function<void()> clear_log_;
  SampleTimeSetup::Outcome outcome_ = SampleTimeSetup::Outcome::kKeepOpen;
};

// Template 258: ON and OFF with their indicators, the used space, delete, send to the card and
// EXIT. The indicators show what the dryer reports; Refresh() on every paint request.
class DayLoggerDialog final : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{460, 290};

  DayLoggerDialog(QWidget* parent, DayLoggerSetup& setup);

  static platform::Rect ControlRect(int id);
  QRadioButton* Indicator(int id) const { return ControlAs<QRadioButton>(id); }
  QLabel* UsedSpace() const { return ControlAs<QLabel>(day_logger_id::kUsedSpace); }

  void OnControl(int id);
  void Refresh();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  DayLoggerSetup& setup_;
};

}  // namespace orvandry::logging::ui
