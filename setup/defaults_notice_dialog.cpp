#include "setup/defaults_notice_dialog.h"

#include <QFont>

#include "platform/dialog_kit.h"
#include "shell/view_context.h"

namespace orvandry::setup {

DefaultsNoticeDialog::DefaultsNoticeDialog(QWidget* parent, DefaultsNotice& notice)
    : platform::Dialog(parent, defaults_notice_id::kTemplate, kDefaultsCaption, kClientSize),
      notice_(notice) {
  auto* exit =
      platform::TouchButton(QStringLiteral("EXIT"), QString::number(defaults_notice_id::kExit));
  QFont font = exit->font();
  font.setPixelSize(16);
  font.setBold(true);
  exit->setFont(font);
  Place(exit, defaults_notice_id::kExit, kExitRect);
  connect(exit, &QPushButton::clicked, this, [this] {
    notice_.Confirm();
    accept();
  });
}

void DefaultsNoticeDialog::Paint(platform::Canvas& canvas) {
  notice_.Paint(canvas);
}

void RunDefaultsNotice(QWidget* parent, shell::ViewContext& context) {
  DefaultsNotice notice(context.shared);
  DefaultsNoticeDialog dialog(parent, notice);
  dialog.exec();
  // Leaving it any other way (the panel's Escape) counts as seen too.
  notice.Confirm();
}

}  // namespace orvandry::setup
