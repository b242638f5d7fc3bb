#include "platform/dialog_kit.h"

#include <QCheckBox>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QString>
#include <QWidget>
#include <algorithm>

namespace orvandry::platform {

QFont Bold(const QFont& base, int pixels) {
  QFont font = base;
  font.setPixelSize(pixels);
  font.setBold(true);
  return font;
}

QPushButton* TouchButton(const QString& text, const QString& name) {
  auto* button = new QPushButton(text);
  button->setObjectName(name);
  button->setAutoDefault(false);
  button->setFocusPolicy(Qt::NoFocus);
  return button;
}

QLabel* ValueBox(int font_pixels) {
  auto* label = new QLabel;
  label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  label->setAlignment(Qt::AlignCenter);
  label->setAutoFillBackground(true);
  QPalette palette = label->palette();
  palette.setColor(QPalette::Window, Qt::white);
  palette.setColor(QPalette::WindowText, Qt::black);
  label->setPalette(palette);
  label->setFont(Bold(label->font(), font_pixels));
  return label;
}

void PlaceAboveCentre(QWidget& dialog, int above) {
  if (dialog.parentWidget() == nullptr) return;
  const QRect panel = dialog.parentWidget()->window()->frameGeometry();
  const int x = panel.left() + (panel.width() - dialog.width()) / 2;
  const int y = panel.top() + (panel.height() - dialog.height()) / 2 - above;
  dialog.move(std::max(panel.left(), x), std::max(panel.top(), y));
}

QPushButton* TouchButton(const QString& text, int font_pixels) {
  auto* button = new QPushButton(text);
  button->setObjectName(QString(text).replace(QLatin1Char('\n'), QLatin1Char(' ')));
  button->setAutoDefault(false);
  button->setFocusPolicy(Qt::NoFocus);
  button->setFont(Bold(button->font(), font_pixels));
  return button;
}

QCheckBox* Indicator(const QString& text, int font_pixels, bool bold) {
  auto* box = new QCheckBox(text);
  box->setObjectName(text);
  box->setFocusPolicy(Qt::NoFocus);
  box->setAttribute(Qt::WA_TransparentForMouseEvents);
  QFont font = Bold(box->font(), font_pixels);
  font.setBold(bold);
  box->setFont(font);
  return box;
}

void ShiftOnPanel(QWidget& dialog, int dx, int dy) {
  if (dialog.parentWidget() == nullptr) return;
  // The panel is the outermost window: a dialog opened from another dialog has that one as parent.
  const QWidget* top = dialog.parentWidget();
  while (top->parentWidget() != nullptr) top = top->parentWidget();
  const QRect panel = top->frameGeometry();
  const int x = std::clamp(dialog.x() + dx, panel.left(),
                           std::max(panel.left(), panel.right() + 1 - dialog.width()));
  const int y = std::clamp(dialog.y() + dy, panel.top(),
                           std::max(panel.top(), panel.bottom() + 1 - dialog.height()));
  dialog.move(x, y);
}

}  // namespace orvandry::platform
