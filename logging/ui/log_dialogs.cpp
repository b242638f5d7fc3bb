#include "logging/ui/log_dialogs.h"

#include <QFont>
#include <QGroupBox>
#include <QShowEvent>
#include <algorithm>

#include "platform/dialog_kit.h"

namespace orvandry::logging::ui {

namespace {

using platform::Rect;

using platform::Bold;

QPushButton* TouchButton(const char* text, int id) {
  auto* button = platform::TouchButton(QString::fromLatin1(text), 14);
  button->setObjectName(QString::number(id));
  return button;
}

// An indicator: shows a state, takes no touch.
QRadioButton* MakeIndicator(const char* text) {
  auto* radio = new QRadioButton(QString::fromLatin1(text));
  radio->setAutoExclusive(false);
  radio->setAttribute(Qt::WA_TransparentForMouseEvents);
  radio->setFocusPolicy(Qt::NoFocus);
  radio->setFont(Bold(radio->font(), 14));
  return radio;
}

// Centred on the panel and lifted 20 pixels, never past its top-left corner.
void PlaceAboveCentre(QWidget& dialog) {
  platform::PlaceAboveCentre(dialog, 20);
}

constexpr int kSampleGroup = 1;   // frames, placed under ids of their own
constexpr int kOptionsGroup = 9;  // (no template control uses them)
constexpr int kUsedLabel = 10;
constexpr int kStateGroup = 11;

}  // namespace

// ---- 245 ----

Rect SampleTimeDialog::ControlRect(int id) {
  namespace sid = sample_time_id;
  for (std::size_t i = 0; i < 4; ++i) {
    const int row = 26 + static_cast<int>(i) * 52;
    if (id == sid::kButtons[i]) return Rect{58, row, 150, 46};
    if (id == sid::kBoxes[i]) return Rect{22, row + 12, 28, 22};
  }
  switch (id) {
    case kSampleGroup:
      return Rect{8, 4, 214, 236};
    case kOptionsGroup:
      return Rect{232, 4, 180, 236};
    case sid::kAccept:
      return Rect{246, 40, 152, 64};
    case sid::kClearTable:
      return Rect{246, 150, 152, 64};
    default:
      return Rect{};
  }
}

SampleTimeDialog::SampleTimeDialog(QWidget* parent, SampleTimeSetup& setup,
                                   platform::Prompter& prompter, std::function<void()> clear_log)
    : platform::Dialog(parent, sample_time_id::kTemplate, kSampleTimeCaption, kClientSize),
      setup_(setup),
      prompter_(prompter),
      clear_log_(std::move(clear_log)) {
  for (auto [id, title] :
       {std::pair{kSampleGroup, "SET SAMPLE TIME"}, {kOptionsGroup, "OPTIONS"}}) {
    auto* box = new QGroupBox(QString::fromLatin1(title));
    box->setFont(Bold(box->font(), 13));
    Place(box, id, ControlRect(id));
  }
  const char* texts[] = {"1 MINUTE", "5 MINUTE", "10 MINUTE", "15 MINUTE"};
  for (std::size_t i = 0; i < 4; ++i) {
    Place(MakeIndicator(""), sample_time_id::kBoxes[i], ControlRect(sample_time_id::kBoxes[i]));
    const int id = sample_time_id::kButtons[i];
    auto* button = Place(TouchButton(texts[i], id), id, ControlRect(id));
    connect(button, &QPushButton::clicked, this, [this, id] { OnControl(id); });
  }
  for (auto [id, text] : {std::pair{sample_time_id::kAccept, "ACCEPT / EXIT"},
                          {sample_time_id::kClearTable, "CLEAR TABLE"}}) {
    auto* button = Place(TouchButton(text, id), id, ControlRect(id));
    connect(button, &QPushButton::clicked, this, [this, id = id] { OnControl(id); });
  }
  Refresh();
}

void SampleTimeDialog::showEvent(QShowEvent* event) {
  platform::Dialog::showEvent(event);
  PlaceAboveCentre(*this);
}

void SampleTimeDialog::OnControl(int id) {
  if (outcome_ != SampleTimeSetup::Outcome::kKeepOpen) return;  // already closing
  const SampleTimeSetup::Outcome outcome = setup_.Press(id, prompter_, clear_log_);
  Refresh();
  if (outcome == SampleTimeSetup::Outcome::kKeepOpen) return;
  outcome_ = outcome;
  if (outcome == SampleTimeSetup::Outcome::kAccepted) {
    accept();
  } else {
    reject();
  }
}

void SampleTimeDialog::Refresh() {
  for (int box : sample_time_id::kBoxes) Box(box)->setChecked(box == setup_.TickedBox());
  update();
}

// ---- 258 ----

Rect DayLoggerDialog::ControlRect(int id) {
  namespace did = day_logger_id;
  switch (id) {
    case kStateGroup:
      return Rect{8, 4, 444, 100};
    case did::kOn:
      return Rect{22, 30, 100, 60};
    case did::kOnIndicator:
      return Rect{132, 34, 80, 22};
    case did::kOffIndicator:
      return Rect{132, 62, 80, 22};
    case did::kOff:
      return Rect{222, 30, 100, 60};
    case kUsedLabel:
      return Rect{334, 28, 108, 22};
    case did::kUsedSpace:
      return Rect{334, 54, 108, 30};
    case did::kDelete:
      return Rect{8, 114, 216, 70};
    case did::kExport:
      return Rect{236, 114, 216, 70};
    case did::kExit:
      return Rect{165, 204, 130, 70};
    default:
      return Rect{};
  }
}

DayLoggerDialog::DayLoggerDialog(QWidget* parent, DayLoggerSetup& setup)
    : platform::Dialog(parent, day_logger_id::kTemplate, kDayLoggerCaption, kClientSize),
      setup_(setup) {
  namespace did = day_logger_id;
  auto* group = new QGroupBox(QStringLiteral("DAY DATA LOGGER"));
  group->setFont(Bold(group->font(), 13));
  Place(group, kStateGroup, ControlRect(kStateGroup));
  Place(MakeIndicator("ON"), did::kOnIndicator, ControlRect(did::kOnIndicator));
  Place(MakeIndicator("OFF"), did::kOffIndicator, ControlRect(did::kOffIndicator));
  auto* label = new QLabel(QStringLiteral("Used Space:"));
  label->setFont(Bold(label->font(), 14));
  Place(label, kUsedLabel, ControlRect(kUsedLabel));
  auto* used = new QLabel;
  used->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  used->setAlignment(Qt::AlignCenter);
  used->setAutoFillBackground(true);
  QPalette palette = used->palette();
  palette.setColor(QPalette::Window, Qt::white);
  palette.setColor(QPalette::WindowText, Qt::black);
  used->setPalette(palette);
  used->setFont(Bold(used->font(), 16));
  Place(used, did::kUsedSpace, ControlRect(did::kUsedSpace));
  const std::pair<int, const char*> buttons[] = {
      {did::kOn, "ON"},
      {did::kOff, "OFF"},
      {did::kDelete, "DELETE DATA LOG FILE"},
      {did::kExport, "SEND DATA LOG FILES\nTO USB FLASH CARD"},
      {did::kExit, "EXIT"}};
  for (const auto& [id, text] : buttons) {
    auto* button = Place(TouchButton(text, id), id, ControlRect(id));
    connect(button, &QPushButton::clicked, this, [this, id = id] { OnControl(id); });
  }
  Refresh();
}

void DayLoggerDialog::showEvent(QShowEvent* event) {
  platform::Dialog::showEvent(event);
  PlaceAboveCentre(*this);
}

void DayLoggerDialog::OnControl(int id) {
  if (setup_.Press(id) == DayLoggerSetup::Outcome::kClosed) {
    accept();
    return;
  }
  Refresh();
}

void DayLoggerDialog::Refresh() {
  const bool on = setup_.LoggingOn();
  Indicator(day_logger_id::kOnIndicator)->setChecked(on);
  Indicator(day_logger_id::kOffIndicator)->setChecked(!on);
  UsedSpace()->setText(QString::fromStdString(setup_.UsedSpaceText()));
  update();
}

}  // namespace orvandry::logging::ui
