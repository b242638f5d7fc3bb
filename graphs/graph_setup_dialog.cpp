#include "graphs/graph_setup_dialog.h"

#include <QFont>

#include "platform/dialog_kit.h"

namespace orvandry::graphs {

namespace {

namespace id = graph_setup_id;
using platform::Rect;
using platform::Rgb;

constexpr const char* kSpanText[4] = {"1 HOUR", "2 HOURS", "4 HOURS", "8 HOUR"};
constexpr int kRowTop = 14;
constexpr int kRowPitch = 54;

}  // namespace

Rect GraphSetupDialog::ButtonRect(int control) {
  for (int code = 0; code < 4; ++code)
    if (control == id::kButtons[code]) return Rect{30, kRowTop + kRowPitch * code, 170, 44};
  if (control == id::kAccept) return Rect{50, 236, 200, 50};
  return Rect{};
}

Rect GraphSetupDialog::BoxRect(int box_id) {
  for (int code = 0; code < 4; ++code)
    if (box_id == id::kBoxes[code]) return Rect{222, kRowTop + 2 + kRowPitch * code, 40, 40};
  return Rect{};
}

GraphSetupDialog::GraphSetupDialog(QWidget* parent, GraphSetup& setup)
    : platform::Dialog(parent, id::kTemplate, "GRAPH SETUP - 25", kClientSize), setup_(setup) {
  const auto add = [this](int control, const char* text) {
    auto* button = platform::TouchButton(QString::fromLatin1(text), 17);
    button->setObjectName(QString::fromLatin1(text));
    Place(button, control, ButtonRect(control));
    connect(button, &QPushButton::clicked, this, [this, control] {
      if (control == id::kAccept) {
        accepted_ = true;
        accept();
        return;
      }
      setup_.Press(control);
      update();
    });
  };
  for (int code = 0; code < 4; ++code) add(id::kButtons[code], kSpanText[code]);
  add(id::kAccept, "ACCEPT/EXIT");
}

void GraphSetupDialog::Paint(platform::Canvas& canvas) {
  for (int code = 0; code < 4; ++code) {
    const Rect box = BoxRect(id::kBoxes[code]);
    canvas.FillRect(box, Rgb(255, 255, 255));
    canvas.RectOutline(box, Rgb(29, 43, 56), 2);
    if (!setup_.Ticked(id::kBoxes[code])) continue;
    // A tick: a short stroke down to the bottom left, a long one up to the top right.
    const int x = box.x;
    const int y = box.y;
    canvas.Line({x + 9, y + 20}, {x + 17, y + 29}, Rgb(0, 120, 0), 4);
    canvas.Line({x + 17, y + 29}, {x + 31, y + 10}, Rgb(0, 120, 0), 4);
  }
}

int RunGraphSetupDialog(QWidget* parent, int current_code) {
  GraphSetup setup(current_code);
  GraphSetupDialog dialog(parent, setup);
  dialog.exec();
  return dialog.Accepted() ? setup.TickedCode() : -1;
}

}  // namespace orvandry::graphs
