#include "journal/ui/journal_windows.h"

#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <algorithm>

namespace orvandry::journal::ui {
namespace {

using platform::Rect;

constexpr int kClientWidth = 600;
constexpr int kClientHeight = 340;
constexpr int kHeaderY = 6;
constexpr int kFirstRowY = 28;
constexpr int kRowHeight = 48;
constexpr int kWhatX = 8, kWhatW = 200;
constexpr int kRequestedX = 212, kValueW = 100;
constexpr int kControllerX = 316;
constexpr int kSinceX = 420, kSinceW = 66;
constexpr int kButtonX = 490, kButtonW = 102, kButtonH = 42;
constexpr int kCloseW = 160;

const QColor kBarGrey(0xC0, 0xC0, 0xC0);
const QColor kNoticeRed(0xC0, 0x00, 0x00);

QPushButton* TouchButton(const char* text, int id) {
  auto* button = new QPushButton(QString::fromLatin1(text));
  button->setObjectName(QString::number(id));
  button->setAutoDefault(false);
  button->setFocusPolicy(Qt::NoFocus);
  QFont font = button->font();
  font.setPixelSize(14);
  font.setBold(true);
  button->setFont(font);
  return button;
}

}  // namespace

ChangeNotice::ChangeNotice(QWidget* parent) : QAbstractButton(parent) {
  setObjectName("CHANGE_NOTICE");
  setFocusPolicy(Qt::NoFocus);
  hide();
}

void ChangeNotice::SetCount(std::size_t count) {
  if (count == count_) return;
  count_ = count;
  update();
}

void ChangeNotice::SetBlink(bool on) {
  if (on == blink_on_) return;
  blink_on_ = on;
  update();
}

QString ChangeNotice::Text() const {
  return QString("%1 %2 NOT TAKEN - TOUCH HERE")
      .arg(count_)
      .arg(count_ == 1 ? "CHANGE" : "CHANGES");
}

void ChangeNotice::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), kBarGrey);
  QFont font = painter.font();
  font.setPixelSize(height() - 1);
  font.setBold(true);
  painter.setFont(font);
  const QString text = Text();
  const int text_width = painter.fontMetrics().horizontalAdvance(text) + 12;
  const QRect box((width() - text_width) / 2, 0, text_width, height());
  if (blink_on_) painter.fillRect(box, kNoticeRed);
  painter.setPen(blink_on_ ? Qt::white : kNoticeRed);
  painter.drawText(box, Qt::AlignCenter, text);
}

WaitingListDialog::WaitingListDialog(QWidget* parent, WaitingList& list, std::function<Stamp()> now)
    : platform::Dialog(parent, kWaitingListTemplate, kWaitingListCaption,
                       {kClientWidth, kClientHeight}),
      list_(list),
      now_(std::move(now)) {
  for (int i = 0; i < kRowsShown; ++i) {
    const int id = waiting_list_id::kWithdraw0 + i;
    auto* button = Place(TouchButton("WITHDRAW", id), id,
                         Rect{kButtonX, kFirstRowY + i * kRowHeight + (kRowHeight - kButtonH) / 2,
                              kButtonW, kButtonH});
    connect(button, &QPushButton::clicked, this, [this, id] { OnControl(id); });
  }
  auto* close = Place(TouchButton("CLOSE", waiting_list_id::kClose), waiting_list_id::kClose,
                      Rect{(kClientWidth - kCloseW) / 2, kClientHeight - 46, kCloseW, 42});
  connect(close, &QPushButton::clicked, this, [this] { OnControl(waiting_list_id::kClose); });
  Refresh();
}

void WaitingListDialog::showEvent(QShowEvent* event) {
  platform::Dialog::showEvent(event);
  if (parentWidget() == nullptr) return;
  const QRect panel = parentWidget()->window()->frameGeometry();
  move(std::max(panel.left(), panel.left() + (panel.width() - width()) / 2),
       std::max(panel.top(), panel.top() + (panel.height() - height()) / 2 - 20));
}

void WaitingListDialog::Refresh() {
  list_.Refresh(now_().uptime);
  const auto shown = static_cast<int>(std::min<std::size_t>(list_.Rows().size(), kRowsShown));
  for (int i = 0; i < kRowsShown; ++i)
    if (QWidget* button = Control(waiting_list_id::kWithdraw0 + i)) button->setVisible(i < shown);
  update();
}

void WaitingListDialog::OnControl(int id) {
  if (id == waiting_list_id::kClose) {
    accept();
    return;
  }
  const int row = id - waiting_list_id::kWithdraw0;
  if (row < 0 || row >= kRowsShown) return;
  list_.Withdraw(static_cast<std::size_t>(row), now_());
  Refresh();
}

void WaitingListDialog::Paint(platform::Canvas& canvas) {
  using namespace platform;
  const Colour black = Bgr(0x000000);
  const Colour dark_red = Bgr(0x0000A0);
  canvas.SetBackgroundMode(BackgroundMode::kTransparent);
  canvas.SetFont({13, 700});
  canvas.SetTextColour(black);
  canvas.Text({kWhatX, kHeaderY, kWhatW, 18}, "CHANGE", kSingleLine);
  canvas.Text({kRequestedX, kHeaderY, kValueW, 18}, "REQUESTED", kSingleLine);
  canvas.Text({kControllerX, kHeaderY, kValueW, 18}, "CONTROLLER", kSingleLine);
  canvas.Text({kSinceX, kHeaderY, kSinceW, 18}, "SINCE", kSingleLine);
  canvas.Line({4, kFirstRowY - 3}, {kClientWidth - 4, kFirstRowY - 3}, black);

  const auto& rows = list_.Rows();
  if (rows.empty()) {
    canvas.SetFont({16, 700});
    canvas.Text({0, kFirstRowY + 60, kClientWidth, 24}, "THE CONTROLLER HAS TAKEN EVERY CHANGE.",
                kAlignCentre | kSingleLine);
    return;
  }
  const std::size_t shown = std::min<std::size_t>(rows.size(), kRowsShown);
  for (std::size_t i = 0; i < shown; ++i) {
    const WaitingRow& row = rows[i];
    const int y = kFirstRowY + static_cast<int>(i) * kRowHeight;
    canvas.SetTextColour(black);
    canvas.SetFont({15, 700});
    canvas.Text({kWhatX, y + 4, kWhatW, 20}, row.what, kSingleLine);
    canvas.SetFont({12, 400});
    canvas.Text({kWhatX, y + 25, kSinceX - kWhatX - 4, 18}, "FROM " + row.screen, kSingleLine);
    canvas.SetFont({15, 700});
    canvas.SetTextColour(dark_red);
    canvas.Text({kRequestedX, y + 4, kValueW, 20}, row.requested, kSingleLine);
    canvas.SetTextColour(black);
    canvas.Text({kControllerX, y + 4, kValueW, 20}, row.controller, kSingleLine);
    canvas.SetFont({13, 400});
    canvas.Text({kSinceX, y + 4, kSinceW, 18}, row.since, kSingleLine);
    canvas.Text({kSinceX, y + 25, kSinceW + 4, 18}, row.waited + " AGO", kSingleLine);
    canvas.Line({4, y + kRowHeight - 1}, {kClientWidth - 4, y + kRowHeight - 1}, Bgr(0x808080));
  }
  canvas.SetFont({13, 400});
  canvas.SetTextColour(black);
  canvas.Text({kWhatX, kFirstRowY + kRowsShown * kRowHeight + 2, kClientWidth - 16, 18},
              "THE PANEL SENDS EACH CHANGE UNTIL THE CONTROLLER TAKES IT OR IT IS WITHDRAWN.",
              kAlignCentre | kSingleLine);
  if (rows.size() > shown) {
    canvas.SetFont({13, 700});
    canvas.SetTextColour(dark_red);
    canvas.Text({kWhatX, kClientHeight - 36, 200, 18},
                std::to_string(rows.size() - shown) + " MORE WAITING", kSingleLine);
  }
}

}  // namespace orvandry::journal::ui
