#include "setup/dialog_kit.h"

#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QString>
#include <QWidget>
#include <algorithm>

namespace orvandry::setup {

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

}  // namespace orvandry::setup
