#pragma once

#include <QPushButton>

#include "platform/dialog.h"
#include "setup/defaults_notice.h"

namespace orvandry::shell {
struct ViewContext;
}

namespace orvandry::setup {

// The defaults notice's skin: the four lines and the dipswitch picture drawn, EXIT beside the
// picture.
class DefaultsNoticeDialog final : public platform::Dialog {
  Q_OBJECT

 public:
  static constexpr platform::Size kClientSize{480, 226};
  static constexpr platform::Rect kExitRect{222, 172, 111, 46};

  DefaultsNoticeDialog(QWidget* parent, DefaultsNotice& notice);

  QPushButton* ExitButton() const { return ControlAs<QPushButton>(defaults_notice_id::kExit); }

 protected:
  void Paint(platform::Canvas& canvas) override;

 private:
  DefaultsNotice& notice_;
};

// Template 179; returns when it closes, with the notice confirmed however it was left.
void RunDefaultsNotice(QWidget* parent, shell::ViewContext& context);

}  // namespace orvandry::setup
