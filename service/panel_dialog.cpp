#include "service/panel_dialog.h"

#include <QApplication>
#include <QFont>
#include <QPalette>
#include <algorithm>

#include "platform/dialog_kit.h"

namespace orvandry::service {

namespace {

QString Latin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

PanelDialog::PanelDialog(QWidget* parent, int template_number, std::string_view caption,
                         platform::Size client_size, int lift)
    : platform::Dialog(parent, template_number, caption, client_size), lift_(lift) {}

void PanelDialog::OnControl(int id) {
  if (closing_) return;
  bool accepted = false;
  const bool close = Press(id, accepted);
  Refresh();
  update();
  if (!close) return;
  closing_ = true;
  if (accepted) {
    accept();
  } else {
    reject();
  }
}

QPushButton* PanelDialog::AddButton(int id, std::string_view text, platform::Rect rect,
                                    int pixels) {
  rect.w = std::max(rect.w, platform::kMinTouch);
  rect.h = std::max(rect.h, platform::kMinTouch);
  auto* button = platform::TouchButton(Latin1(text), pixels);
  button->setObjectName(QString::number(id));
  Place(button, id, rect);
  connect(button, &QPushButton::clicked, this, [this, id] { OnControl(id); });
  return button;
}

QLabel* PanelDialog::AddText(int id, std::string_view text, platform::Rect rect, int pixels,
                             Qt::Alignment align) {
  auto* label = new QLabel(Latin1(text));
  label->setFont(platform::Bold(label->font(), pixels));
  label->setAlignment(align);
  label->setWordWrap(true);
  return Place(label, id, rect);
}

QLabel* PanelDialog::AddValue(int id, platform::Rect rect, int pixels) {
  return Place(platform::ValueBox(pixels), id, rect);
}

QRadioButton* PanelDialog::AddTick(int id, std::string_view text, platform::Rect rect,
                                   bool touchable, int pixels) {
  auto* tick = new QRadioButton(Latin1(text));
  // The logic decides what is ticked; a touch only reports the id.
  tick->setAutoExclusive(false);
  tick->setCheckable(true);
  tick->setFocusPolicy(Qt::NoFocus);
  tick->setFont(platform::Bold(tick->font(), pixels));
  // A choice the panel does not offer stays readable, greyed.
  QPalette palette = tick->palette();
  palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(0x70, 0x70, 0x70));
  palette.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x70, 0x70, 0x70));
  tick->setPalette(palette);
  tick->setStyleSheet(QStringLiteral("QRadioButton::indicator { width: 22px; height: 22px; }"));
  if (touchable) {
    rect.w = std::max(rect.w, platform::kMinTouch);
    rect.h = std::max(rect.h, platform::kMinTouch);
    connect(tick, &QRadioButton::clicked, this, [this, id] { OnControl(id); });
  } else {
    tick->setAttribute(Qt::WA_TransparentForMouseEvents);
  }
  return Place(tick, id, rect);
}

QGroupBox* PanelDialog::AddGroup(int id, std::string_view title, platform::Rect rect) {
  auto* box = new QGroupBox(Latin1(title));
  box->setFont(platform::Bold(box->font(), 14));
  return Place(box, id, rect);
}

void PanelDialog::SetText(int id, const std::string& text) {
  if (auto* label = Text(id)) label->setText(QString::fromStdString(text));
}

void PanelDialog::SetTicked(int id, bool ticked) {
  if (auto* tick = Tick(id)) tick->setChecked(ticked);
}

void PanelDialog::showEvent(QShowEvent* event) {
  platform::Dialog::showEvent(event);  // centred over the parent
  if (lift_ == 0 || parentWidget() == nullptr) return;
  const int top = parentWidget()->window()->frameGeometry().top();
  move(x(), std::max({y() - lift_, top, 0}));
}

int PanelDialog::HeldButton() const {
  for (int id : repeatable_)
    if (QPushButton* button = Button(id); button != nullptr && button->isDown()) return id;
  return 0;
}

namespace {

PanelDialog* OpenPanel() {
  auto* dialog = qobject_cast<PanelDialog*>(QApplication::activeModalWidget());
  return dialog != nullptr && dialog->isVisible() && !dialog->Closing() ? dialog : nullptr;
}

}  // namespace

bool PanelRepeat::IsOpen() const {
  return OpenPanel() != nullptr;
}

int PanelRepeat::HeldButton() const {
  const PanelDialog* dialog = OpenPanel();
  return dialog != nullptr ? dialog->HeldButton() : 0;
}

void PanelRepeat::SendRepeat(int command) {
  if (PanelDialog* dialog = OpenPanel()) dialog->OnControl(command);
}

void RefreshOpenDialogs(QWidget& root, int template_id) {
  for (auto* dialog : root.findChildren<PanelDialog*>())
    if (dialog->TemplateNumber() == template_id && dialog->isVisible()) dialog->Refresh();
}

}  // namespace orvandry::service
