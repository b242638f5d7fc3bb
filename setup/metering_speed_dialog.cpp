#include "setup/metering_speed_dialog.h"

#include <QCheckBox>
#include <QFont>
#include <QFontMetrics>
#include <QGroupBox>

#include "platform/dialog_kit.h"
#include "shell/subsystem.h"
#include "shell/view_context.h"

namespace orvandry::setup {

namespace {

namespace id = metering_id;
using platform::Rect;

// The column stands right of the gauges (the high gauge's number reaches x 375), and its buttons
// are spaced so that each is a full finger high.
constexpr int kColumnX = 378;
constexpr int kColumnW = 114;

QFont ButtonFont(const QFont& base, int pixels) {
  QFont font = base;
  font.setPixelSize(pixels);
  font.setBold(true);
  return font;
}

// The scheme button is a multi-line button: its caption breaks between words where a line would
// not fit.
QString Wrapped(const QPushButton& button, const std::string& caption) {
  const QFontMetrics metrics(button.font());
  const int width = button.width() - 10;
  QString out;
  for (const QString& paragraph : QString::fromLatin1(caption).split(QLatin1Char('\n'))) {
    QString line;
    for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
      const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
      if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
        out += line + QLatin1Char('\n');
        line = word;
      } else {
        line = longer;
      }
    }
    out += line + QLatin1Char('\n');
  }
  out.chop(1);
  return out;
}

}  // namespace

Rect MeteringSpeedDialog::ControlRect(int control_id) {
  switch (control_id) {
    case id::kSchemeBox:
      return Rect{kColumnX - 6, 8, kColumnW + 12, 104};
    case id::kScheme:
      return Rect{kColumnX, 18, kColumnW, 50};
    case id::kFirstScheme:
      return Rect{kColumnX + 8, 70, kColumnW - 8, 18};
    case id::kSecondScheme:
      return Rect{kColumnX + 8, 88, kColumnW - 8, 18};
    case id::kSpeedAdjustBox:
      return Rect{kColumnX - 6, 116, kColumnW + 12, 166};
    case id::kIncrease:
      return Rect{kColumnX, 134, kColumnW, 42};
    case id::kDecrease:
      return Rect{kColumnX, 182, kColumnW, 42};
    case id::kSelect:
      return Rect{kColumnX, 230, kColumnW, 42};
    case id::kAccept:
      return Rect{kColumnX, 292, kColumnW, 50};
    case id::kCancel:
      return Rect{kColumnX, 350, kColumnW, 50};
    default:
      return Rect{};
  }
}

MeteringSpeedDialog::MeteringSpeedDialog(QWidget* parent, MeteringSpeed& metering,
                                         platform::Prompter& prompter)
    : platform::Dialog(parent, id::kTemplate, kMeteringCaption, kClientSize, kMeteringBackground),
      metering_(metering),
      prompter_(prompter) {
  // The frames first, so the controls lie on top of them.
  auto* scheme_box = new QGroupBox;
  Place(scheme_box, id::kSchemeBox, ControlRect(id::kSchemeBox));
  auto* adjust_box = new QGroupBox(QStringLiteral("Speed Adjust"));
  adjust_box->setFont(ButtonFont(adjust_box->font(), 12));
  Place(adjust_box, id::kSpeedAdjustBox, ControlRect(id::kSpeedAdjustBox));

  AddButton(id::kScheme, "")->setFont(ButtonFont(font(), 11));
  for (int indicator : {id::kFirstScheme, id::kSecondScheme}) {
    auto* box = new QCheckBox;
    // They show the scheme; the scheme button changes it.
    box->setAttribute(Qt::WA_TransparentForMouseEvents);
    box->setFocusPolicy(Qt::NoFocus);
    box->setFont(ButtonFont(box->font(), 11));
    Place(box, indicator, ControlRect(indicator));
  }
  AddButton(id::kIncrease, "INCREASE");
  AddButton(id::kDecrease, "DECREASE");
  AddButton(id::kSelect, "SELECT");
  AddButton(id::kAccept, "ACCEPT / EXIT")->setFont(ButtonFont(font(), 13));
  AddButton(id::kCancel, "CANCEL / EXIT")->setFont(ButtonFont(font(), 13));
  Refresh();
}

QPushButton* MeteringSpeedDialog::AddButton(int control_id, const char* text) {
  auto* button = platform::TouchButton(QString::fromLatin1(text), QString::number(control_id));
  button->setFont(ButtonFont(button->font(), 15));
  Place(button, control_id, ControlRect(control_id));
  connect(button, &QPushButton::clicked, this, [this, control_id] { OnControl(control_id); });
  return button;
}

void MeteringSpeedDialog::OnControl(int control_id) {
  if (outcome_ != MeteringSpeed::Outcome::kKeepOpen) return;  // already closing
  MeteringSpeed::Outcome outcome = MeteringSpeed::Outcome::kKeepOpen;
  switch (control_id) {
    case id::kIncrease:
      metering_.Increase();
      break;
    case id::kDecrease:
      metering_.Decrease();
      break;
    case id::kSelect:
      metering_.Select();
      break;
    case id::kScheme:
      metering_.Scheme(prompter_);
      break;
    case id::kAccept:
      outcome = metering_.Accept(prompter_);
      break;
    case id::kCancel:
      outcome = metering_.Cancel();
      break;
    default:
      return;
  }
  Refresh();
  if (outcome == MeteringSpeed::Outcome::kKeepOpen) return;
  outcome_ = outcome;
  if (outcome == MeteringSpeed::Outcome::kAccepted) {
    accept();
  } else {
    reject();
  }
}

void MeteringSpeedDialog::Follow() {
  metering_.Follow();
  Refresh();
}

void MeteringSpeedDialog::Refresh() {
  const MeteringLayout layout = metering_.Layout();
  const bool adjust = metering_.AdjustEnabled();
  const bool automatic = metering_.Automatic();
  const bool mode3 = metering_.MeteringMode() == 3;

  QPushButton* scheme = Button(id::kScheme);
  scheme->setText(Wrapped(*scheme, metering_.SchemeCaption()));
  auto* first = ControlAs<QCheckBox>(id::kFirstScheme);
  auto* second = ControlAs<QCheckBox>(id::kSecondScheme);
  first->setText(QString::fromLatin1(metering_.FirstSchemeCaption()));
  second->setText(QString::fromLatin1(metering_.SecondSchemeCaption()));
  first->setChecked(metering_.FirstSchemeTicked());
  second->setChecked(!metering_.FirstSchemeTicked());
  for (int control : {id::kScheme, id::kFirstScheme, id::kSecondScheme, id::kSchemeBox})
    Control(control)->setVisible(layout.scheme_visible);

  Control(id::kSpeedAdjustBox)->setVisible(!mode3);
  Control(id::kSpeedAdjustBox)->setEnabled(adjust);
  Button(id::kIncrease)->setEnabled(adjust && !automatic);
  Button(id::kDecrease)->setEnabled(adjust && !automatic);
  Button(id::kSelect)->setEnabled(adjust);
  Button(id::kAccept)->setEnabled(!automatic);
  update();
}

void MeteringSpeedDialog::Paint(platform::Canvas& canvas) {
  PaintMeteringSpeed(canvas, metering_);
}

void MeteringDialogHost::Open(shell::ShellHost& host, const shell::DialogRequest& request) {
  if (dialog_ != nullptr) return;  // already open: it follows the controller by itself
  if (!repeat_registered_) {
    host.AddRepeatSource(this);
    repeat_registered_ = true;
  }
  link::LinkShared& shared = host.Context().shared;
  shared_ = &shared;
  MeteringSpeed metering(shared);
  metering.Open();
  MeteringSpeedDialog dialog(request.parent, metering, host.Context().prompter);
  dialog_ = &dialog;
  // From here the intake asks this dialog, not the main loop, when the controller moves.
  shared.metering_dialog_open.store(true, std::memory_order_relaxed);
  dialog.exec();
  shared.metering_dialog_open.store(false, std::memory_order_relaxed);
  dialog_ = nullptr;
}

void MeteringDialogHost::OnIntake(const link::IntakeResult& result) {
  if (dialog_ == nullptr) return;
  // Byte 179 is not among the dialog's repaints, but its change may force the selection.
  if (result.repaints.Has(link::ViewId::kMeteringSpeedDialog) ||
      shared_->metering_resync.load(std::memory_order_relaxed) != 0)
    dialog_->Follow();
}

int MeteringDialogHost::HeldButton() const {
  if (dialog_ == nullptr) return 0;
  for (int control : {id::kIncrease, id::kDecrease}) {
    QPushButton* button = dialog_->Button(control);
    if (button != nullptr && button->isEnabled() && button->isDown()) return control;
  }
  return 0;
}

void MeteringDialogHost::SendRepeat(int command) {
  if (dialog_ != nullptr) dialog_->OnControl(command);
}

}  // namespace orvandry::setup
