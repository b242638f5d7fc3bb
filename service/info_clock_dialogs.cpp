#include "service/info_clock_dialogs.h"

#include <QString>
#include <string>

#include "platform/clock.h"
#include "shell/view_context.h"

namespace orvandry::service {

namespace {

using platform::Rect;
constexpr int kLift = 20;

}  // namespace

// ---- System information ----

SystemInfoDialog::SystemInfoDialog(QWidget* parent, const platform::Clock& clock,
                                   MemorySource memory)
    : PanelDialog(parent, system_info_id::kTemplate, kSystemInfoCaption, kClientSize, kLift),
      clock_(clock),
      memory_(std::move(memory)) {
  namespace id = system_info_id;
  const auto centred = Qt::AlignCenter;
  AddText(id::kVersion, "", Rect{20, 12, 420, 30}, 22, centred);
  AddText(id::kTime, "", Rect{20, 50, 420, 28}, 20, centred);
  AddText(id::kDate, "", Rect{20, 80, 420, 28}, 18, centred);
  AddText(id::kRamSize, "", Rect{20, 124, 420, 24}, 15, centred);
  AddText(id::kFreeRam, "", Rect{20, 150, 420, 24}, 15, centred);
  AddText(id::kCopyright, "", Rect{20, 186, 420, 36}, 12, centred);
  AddButton(id::kExit, "EXIT", Rect{165, 236, 130, 52}, 18);
  Refresh();
}

void SystemInfoDialog::Refresh() {
  namespace id = system_info_id;
  const SystemInfoTexts texts = SystemInfoNow(clock_.Now(), memory_ ? memory_() : std::nullopt);
  SetText(id::kVersion, texts.version);
  SetText(id::kTime, texts.time);
  SetText(id::kDate, texts.date);
  SetText(id::kRamSize, texts.ram_size);
  SetText(id::kFreeRam, texts.free_ram);
  SetText(id::kCopyright, texts.copyright);
}

bool SystemInfoDialog::Press(int id, bool& accepted) {
  accepted = true;
  return id == system_info_id::kExit;
}

// ---- Release notes ----

ReleaseNotesDialog::ReleaseNotesDialog(QWidget* parent)
    : PanelDialog(parent, release_notes_id::kTemplate, kReleaseNotesCaption, kClientSize) {
  QString text;
  for (std::string_view line : ReleaseNoteLines()) {
    text += QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size()));
    text += QLatin1Char('\n');
  }
  QLabel* notes = AddValue(release_notes_id::kNotes, Rect{8, 8, 594, 324}, 13);
  notes->setText(text.trimmed());
  notes->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  notes->setWordWrap(true);
  notes->setMargin(8);
  AddButton(release_notes_id::kExit, "EXIT", Rect{240, 342, 130, 50}, 18);
}

bool ReleaseNotesDialog::Press(int id, bool& accepted) {
  accepted = true;
  return id == release_notes_id::kExit;
}

// ---- Set time / date ----

namespace {

struct FieldRow {
  const char* label;
  int value;
  int down;  // 0: the row has no buttons
  int up;
  const char* down_text;
  const char* up_text;
};

constexpr int kRowTop = 40;
constexpr int kRowPitch = 50;
constexpr int kRowHeight = 44;

}  // namespace

TimeDateDialog::TimeDateDialog(QWidget* parent, TimeDate& logic, platform::Clock& clock,
                               platform::Prompter& prompter)
    : PanelDialog(parent, time_date_id::kTemplate, kTimeDateCaption, kClientSize),
      logic_(logic),
      clock_(clock),
      prompter_(prompter) {
  namespace id = time_date_id;
  const FieldRow rows[] = {
      {"MONTH", id::kMonth, id::kMonthDown, id::kMonthUp, "DOWN", "UP"},
      {"DATE", id::kDay, id::kDayDown, id::kDayUp, "DOWN", "UP"},
      {"YEAR", id::kYear, id::kYearDown, id::kYearUp, "DOWN", "UP"},
      {"DAY", id::kWeekday, 0, 0, "", ""},
      {"HOUR", id::kHour, id::kHourDown, id::kHourUp, "DOWN", "UP"},
      {"MINUTE", id::kMinute, id::kMinuteDown, id::kMinuteUp, "DOWN", "UP"},
      {"AM / PM", id::kAmPm, id::kAm, id::kPm, "AM", "PM"},
  };
  AddText(id::kNow, "", Rect{10, 6, 610, 28}, 15, Qt::AlignCenter);
  int y = kRowTop;
  for (const FieldRow& row : rows) {
    AddText(0, row.label, Rect{10, y, 100, kRowHeight}, 15);
    AddValue(row.value, Rect{112, y, 200, kRowHeight}, 18);
    if (row.down != 0) {
      AddButton(row.down, row.down_text, Rect{320, y, 70, kRowHeight}, 15);
      AddButton(row.up, row.up_text, Rect{396, y, 70, kRowHeight}, 15);
    } else {
      AddText(0, "follows the date", Rect{320, y, 146, kRowHeight}, 13);
    }
    y += kRowPitch;
  }
  SetRepeatable({id::kMonthUp, id::kMonthDown, id::kDayUp, id::kDayDown, id::kYearUp, id::kYearDown,
                 id::kHourUp, id::kHourDown, id::kMinuteUp, id::kMinuteDown});
  AddButton(id::kAccept, "ACCEPT / EXIT", Rect{480, kRowTop, 140, 80}, 16);
  AddButton(id::kCancel, "CANCEL", Rect{480, kRowTop + 5 * kRowPitch, 140, 94}, 16);
  Refresh();
}

void TimeDateDialog::Refresh() {
  namespace id = time_date_id;
  const platform::LocalDateTime now = clock_.Now();
  SetText(id::kNow, "Panel clock now: " + FormatClockTime(now) + "   " + FormatLongDate(now));
  SetText(id::kMonth, logic_.MonthText());
  SetText(id::kDay, std::to_string(logic_.Day()));
  SetText(id::kYear, std::to_string(logic_.Year()));
  SetText(id::kWeekday, logic_.WeekdayText());
  SetText(id::kHour, std::to_string(logic_.Hour12()));
  char minute[4];
  std::snprintf(minute, sizeof minute, "%02d", logic_.Minute());
  SetText(id::kMinute, minute);
  SetText(id::kAmPm, logic_.Pm() ? "PM" : "AM");
}

bool TimeDateDialog::Press(int id, bool& accepted) {
  outcome_ = logic_.Press(id, clock_, prompter_);
  accepted = outcome_ == TimeDate::Outcome::kSet;
  return outcome_ != TimeDate::Outcome::kKeepOpen;
}

// ---- Remote connection ----

RemoteConnectionDialog::RemoteConnectionDialog(QWidget* parent, RemoteConnection& logic,
                                               platform::Prompter& prompter)
    : PanelDialog(parent, remote_id::kTemplate, kRemoteCaption, kClientSize),
      logic_(logic),
      prompter_(prompter) {
  namespace id = remote_id;
  AddGroup(id::kTypeGroup, "CONNECTION TYPE", Rect{10, 6, 215, 208});
  AddGroup(id::kRingsGroup, "RINGS BEFORE CONNECT", Rect{240, 6, 220, 208});
  AddTick(id::kDirectSerial, "Direct Serial", Rect{24, 34, 190, 44});
  AddTick(id::kModem, "MODEM", Rect{24, 90, 190, 44});
  AddTick(id::kEthernet, "ETHERNET", Rect{24, 146, 190, 44})->setEnabled(false);
  const char* rings[4] = {"1 RING", "5 RINGS", "10 RINGS", "15 RINGS"};
  for (int r = 0; r < 4; ++r) AddTick(id::kRings[r], rings[r], Rect{254, 30 + 44 * r, 190, 42});
  AddButton(id::kAccept, "ACCEPT / EXIT", Rect{40, 230, 180, 54}, 16);
  AddButton(id::kCancel, "CANCEL", Rect{250, 230, 180, 54}, 16);
  Refresh();
}

void RemoteConnectionDialog::Refresh() {
  namespace id = remote_id;
  SetTicked(id::kDirectSerial, logic_.Type() == 0);
  SetTicked(id::kModem, logic_.Type() == 1);
  SetTicked(id::kEthernet, logic_.Type() == 2);
  for (int r = 0; r < 4; ++r) SetTicked(id::kRings[r], logic_.Rings() == r);
}

bool RemoteConnectionDialog::Press(int id, bool& accepted) {
  const RemoteConnection::Outcome outcome = logic_.Press(id, prompter_);
  accepted = outcome == RemoteConnection::Outcome::kAccepted;
  return outcome != RemoteConnection::Outcome::kKeepOpen;
}

// ---- User settings ----

UserSettingsDialog::UserSettingsDialog(QWidget* parent, UserSettings& logic,
                                       platform::Prompter& prompter)
    : PanelDialog(parent, user_settings_id::kTemplate, kUserSettingsCaption, kClientSize, kLift),
      logic_(logic),
      prompter_(prompter) {
  namespace id = user_settings_id;
  AddText(id::kSaveText, kUserSettingsSaveText, Rect{20, 8, 420, 44}, 15, Qt::AlignCenter);
  AddButton(id::kSave, "SAVE SETTINGS", Rect{110, 56, 240, 52}, 17);
  AddText(id::kRestoreText, kUserSettingsRestoreText, Rect{20, 118, 420, 44}, 15, Qt::AlignCenter);
  AddButton(id::kRestore, "RESTORE SETTINGS", Rect{110, 166, 240, 52}, 17);
  AddButton(id::kCancel, "CANCEL", Rect{160, 230, 140, 48}, 16);
}

bool UserSettingsDialog::Press(int id, bool& accepted) {
  const UserSettings::Outcome outcome = logic_.Press(id, prompter_);
  accepted = outcome == UserSettings::Outcome::kSent;
  return outcome != UserSettings::Outcome::kKeepOpen;
}

// ---- Openers ----

void RunSystemInfoDialog(QWidget* parent, shell::ViewContext& context) {
  SystemInfoDialog dialog(parent, context.clock, [] { return platform::ReadSystemMemory(); });
  dialog.exec();
}

void RunReleaseNotesDialog(QWidget* parent) {
  ReleaseNotesDialog dialog(parent);
  dialog.exec();
}

TimeDate::Outcome RunTimeDateDialog(QWidget* parent, shell::ViewContext& context) {
  TimeDate logic;
  logic.Open(context.clock.Now());
  TimeDateDialog dialog(parent, logic, context.clock, context.prompter);
  dialog.exec();
  return dialog.Outcome() == TimeDate::Outcome::kKeepOpen ? TimeDate::Outcome::kCancelled
                                                          : dialog.Outcome();
}

void RunRemoteConnectionDialog(QWidget* parent, shell::ViewContext& context) {
  RemoteConnection logic(context.shared);
  logic.Open();
  RemoteConnectionDialog dialog(parent, logic, context.prompter);
  dialog.exec();
}

void RunUserSettingsDialog(QWidget* parent, shell::ViewContext& context) {
  UserSettings logic(context.shared);
  logic.Open();
  UserSettingsDialog dialog(parent, logic, context.prompter);
  dialog.exec();
}

}  // namespace orvandry::service
