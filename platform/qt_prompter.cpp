#include "platform/qt_prompter.h"

#include <QMessageBox>
#include <QPushButton>

#include "platform/qt_conversions.h"

namespace orvandry::platform {

namespace {

QMessageBox::StandardButtons ToQtButtons(Buttons buttons) {
  switch (buttons) {
    case Buttons::kOk:
      return QMessageBox::Ok;
    case Buttons::kYesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case Buttons::kYesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case Buttons::kOkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::kRetryCancel:
      return QMessageBox::Retry | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon ToQtIcon(Icon icon) {
  switch (icon) {
    case Icon::kNone:
      return QMessageBox::NoIcon;
    case Icon::kInformation:
      return QMessageBox::Information;
    case Icon::kQuestion:
      return QMessageBox::Question;
    case Icon::kWarning:
      return QMessageBox::Warning;
    case Icon::kError:
      return QMessageBox::Critical;
  }
  return QMessageBox::NoIcon;
}

Answer FromQtButton(int clicked, Buttons buttons) {
  switch (clicked) {
    case QMessageBox::Ok:
      return Answer::kOk;
    case QMessageBox::Yes:
      return Answer::kYes;
    case QMessageBox::No:
      return Answer::kNo;
    case QMessageBox::Cancel:
      return Answer::kCancel;
    case QMessageBox::Retry:
      return Answer::kRetry;
    default:
      // Closed without a choice: nothing may happen.
      return DecliningAnswer(buttons);
  }
}

}  // namespace

Answer QtPrompter::DoAsk(std::string_view text, std::string_view caption, Buttons buttons,
                         Icon icon) {
  QMessageBox box(ToQtIcon(icon), ToQString(caption), ToQString(text), ToQtButtons(buttons),
                  parent_.data());
  // Messages are plain text: a '<' in a message must never turn it into markup.
  box.setTextFormat(Qt::PlainText);
  box.setStyleSheet(QStringLiteral("QLabel { font-size: %1px; }"
                                   "QPushButton { font-size: %2px; min-height: %3px; "
                                   "min-width: %4px; padding: 0 12px; }")
                        .arg(kTextFontPx)
                        .arg(kButtonFontPx)
                        .arg(kButtonHeight)
                        .arg(kButtonMinWidth));
  // Escape (or closing the box) answers No when there is no Cancel, like the declining answer.
  if (buttons == Buttons::kYesNo) box.setEscapeButton(QMessageBox::No);
  return FromQtButton(box.exec(), buttons);
}

}  // namespace orvandry::platform
