#include "service/printer_setup_dialog.h"

#include <QShowEvent>

#include "platform/canvas.h"
#include "platform/dialog_kit.h"

namespace orvandry::service {

namespace {

namespace id = printer_id;
using platform::Rect;

constexpr platform::Colour kFace = platform::Bgr(0xC0C0C0);
constexpr platform::Colour kGroupLine = platform::Rgb(96, 96, 96);
constexpr platform::Colour kInk = platform::Rgb(0, 0, 0);

constexpr const char* kGrainNames[4] = {"CORN", "WHEAT", "SOYBEANS", "RICE"};

struct Group {
  const char* title;
  Rect rect;
};
constexpr Group kGroups[] = {
    {"Print Summary", {8, 4, 284, 84}},
    {"Enable / Disable Printer", {8, 94, 284, 96}},
    {"Select Bin #", {8, 196, 284, 76}},
    {"Grain Type Selection", {304, 4, 288, 216}},
};

}  // namespace

PrinterSetupDialog::PrinterSetupDialog(QWidget* parent, PrinterSetup& setup,
                                       platform::Prompter& prompter)
    : platform::Dialog(parent, id::kTemplate, " MOISTURE CONTROL PRINTER SETUP - 16", kClientSize,
                       kFace),
      setup_(setup),
      prompter_(prompter) {
  const auto button = [this](int control, const char* text, Rect rect, int pixels = 16) {
    QPushButton* b = Place(platform::TouchButton(QString::fromLatin1(text), pixels), control, rect);
    connect(b, &QPushButton::clicked, this, [this, control] { OnControl(control); });
  };
  button(id::kPrint, "PRINT MOISTURE CONTROL\nSUMMARY", {18, 26, 264, 52}, 15);
  button(id::kSelect, "SELECT", {18, 118, 88, 62});
  Place(platform::Indicator(QStringLiteral("Printer is ENABLED"), 13), id::kEnabled,
        {114, 120, 174, 24});
  Place(platform::Indicator(QStringLiteral("Printer is DISABLED"), 13), id::kDisabled,
        {114, 148, 174, 24});
  button(id::kIncrease, "INCREASE", {18, 216, 96, 48}, 14);
  Place(platform::ValueBox(22), id::kBinNumber, {122, 216, 56, 48});
  button(id::kDecrease, "DECREASE", {186, 216, 96, 48}, 14);
  for (int i = 0; i < 4; ++i) {
    const int y = 26 + i * 48;
    button(id::kGrainButtons[i], kGrainNames[i], {316, y, 180, 42});
    Place(platform::Indicator(QString(), 14), id::kGrainTicks[i], {506, y + 9, 24, 24});
  }
  button(id::kAccept, "ACCEPT / EXIT", {304, 232, 288, 86}, 18);
  Refresh();
}

void PrinterSetupDialog::OnControl(int control) {
  if (setup_.Press(control, prompter_) == PrinterSetup::Outcome::kClose) {
    accept();
    return;
  }
  Refresh();
}

void PrinterSetupDialog::Refresh() {
  BinBox()->setText(QString::number(setup_.BinNumber()));
  Box(id::kEnabled)->setChecked(!setup_.PrinterDisabled());
  Box(id::kDisabled)->setChecked(setup_.PrinterDisabled());
  for (int type = 1; type <= 4; ++type)
    Box(id::kGrainTicks[type - 1])->setChecked(setup_.GrainType() == type);
  update();
}

void PrinterSetupDialog::Paint(platform::Canvas& canvas) {
  for (const Group& group : kGroups) {
    const Rect r = group.rect;
    canvas.RectOutline(Rect{r.x, r.y + 7, r.w, r.h - 7}, kGroupLine, 1);
    canvas.SetFont({13, 700});
    canvas.SetTextColour(kInk);
    canvas.SetBackgroundMode(platform::BackgroundMode::kOpaque);
    canvas.SetBackgroundColour(kFace);
    const platform::Size size = canvas.MeasureText(group.title);
    canvas.Text(Rect{r.x + 8, r.y, size.w + 6, 16}, group.title, platform::kAlignCentre);
  }
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  // The change of the printer switch waits for ACCEPT: say so under the indicators.
  canvas.SetFont({11, 400});
  canvas.Text(Rect{118, 174, 170, 13}, "(sent on ACCEPT or PRINT)", platform::kAlignLeft);
}

void PrinterSetupDialog::showEvent(QShowEvent* event) {
  platform::Dialog::showEvent(event);
  platform::ShiftOnPanel(*this, 0, -20);
}

void RunPrinterSetupDialog(QWidget* parent, link::LinkShared& shared,
                           platform::Prompter& prompter) {
  PrinterSetup setup(shared);
  setup.Open();
  PrinterSetupDialog dialog(parent, setup, prompter);
  dialog.exec();
}

}  // namespace orvandry::service
