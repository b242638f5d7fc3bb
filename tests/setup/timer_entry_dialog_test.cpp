#include "setup/timer_entry_dialog.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QPushButton>
#include <QWidget>

#include "link/status_map.h"
#include "platform/scripted_prompter.h"

namespace orvandry::setup {
namespace {

namespace id = timer_entry_id;
using link::Rec;
using platform::Rect;

// Every control id of the dialog.
std::vector<int> AllControls() {
  std::vector<int> ids(std::begin(id::kMinutesDigits), std::end(id::kMinutesDigits));
  ids.insert(ids.end(), std::begin(id::kSecondsDigits), std::end(id::kSecondsDigits));
  ids.insert(ids.end(),
             {id::kMinutesDelete, id::kSecondsDelete, id::kDefault, id::kAccept, id::kCancel});
  return ids;
}

bool Overlap(Rect a, Rect b) {
  return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

class TimerEntryDialogTest : public ::testing::Test {
 protected:
  TimerEntryDialogTest() {
    shared.dryer_state.SetTime(link::status_map::kDryTimerReload, 45, 5);
    entry = TimerEntry::Open(shared, Rec::kDryTimerReload, TimerLimits{0, 0, 200, 0, 60, 0});
  }
  link::LinkShared shared;
  platform::ScriptedPrompter prompter;
  TimerEntry entry;
};

TEST_F(TimerEntryDialogTest, ControlsAreTouchSizedInsideTheClientAreaAndApart) {
  TimerEntryDialog dialog(nullptr, entry, shared, prompter);
  EXPECT_EQ(dialog.objectName(), "DIALOG_165");
  EXPECT_EQ(dialog.Caption(), "MODIFYING TIMER SETPOINT - 21");
  const std::vector<int> ids = AllControls();
  const Rect client{0, 0, dialog.ClientRect().w, dialog.ClientRect().h};
  for (int control : ids) {
    QPushButton* button = dialog.Button(control);
    ASSERT_NE(button, nullptr) << control;
    const Rect r = TimerEntryDialog::ControlRect(control);
    EXPECT_GE(button->width(), TimerEntryDialog::kMinTouch) << control;
    EXPECT_GE(button->height(), TimerEntryDialog::kMinTouch) << control;
    EXPECT_TRUE(client.Contains({r.x, r.y}) && client.Contains({r.Right() - 1, r.Bottom() - 1}))
        << control << " at " << r;
    for (int other : ids) {
      if (other != control) {
        EXPECT_FALSE(Overlap(r, TimerEntryDialog::ControlRect(other))) << control << "/" << other;
      }
    }
    // Nothing the dialog draws may sit under a control.
    EXPECT_FALSE(Overlap(r, Rect::FromEdges(150, 40, 398, 110))) << control;
    EXPECT_FALSE(Overlap(r, Rect{420, 50, 190, 45})) << control;
  }
  // Telephone order: 7 8 9 on top, 1 2 3 above 0, DELETE beside 0; minutes on the left.
  const Rect seven = TimerEntryDialog::ControlRect(id::kMinutesDigits[7]);
  const Rect nine = TimerEntryDialog::ControlRect(id::kMinutesDigits[9]);
  const Rect one = TimerEntryDialog::ControlRect(id::kMinutesDigits[1]);
  const Rect zero = TimerEntryDialog::ControlRect(id::kMinutesDigits[0]);
  const Rect erase = TimerEntryDialog::ControlRect(id::kMinutesDelete);
  EXPECT_EQ(seven.y, nine.y);
  EXPECT_LT(seven.x, nine.x);
  EXPECT_LT(seven.y, one.y);
  EXPECT_EQ(one.x, zero.x);
  EXPECT_LT(one.y, zero.y);
  EXPECT_EQ(erase.y, zero.y);
  EXPECT_GT(erase.w, zero.w);
  EXPECT_LT(TimerEntryDialog::ControlRect(id::kMinutesDigits[9]).Right(),
            TimerEntryDialog::ControlRect(id::kDefault).x);
  // The keypad names sit over their keypads, above the top row.
  EXPECT_EQ(kMinutesLabel.x, seven.x);
  EXPECT_EQ(kMinutesLabel.Right(), nine.Right());
  EXPECT_LE(kMinutesLabel.Bottom(), seven.y);
  EXPECT_GE(kMinutesLabel.y, 110);
  EXPECT_EQ(kSecondsLabel.x, TimerEntryDialog::ControlRect(id::kSecondsDigits[7]).x);
  EXPECT_EQ(kSecondsLabel.Right(), TimerEntryDialog::ControlRect(id::kSecondsDigits[9]).Right());
  EXPECT_GT(TimerEntryDialog::ControlRect(id::kSecondsDigits[7]).x,
            TimerEntryDialog::ControlRect(id::kDefault).Right());
}

TEST_F(TimerEntryDialogTest, TouchesEditTheRecordAndAcceptClosesWithTheWrite) {
  TimerEntryDialog dialog(nullptr, entry, shared, prompter);
  dialog.Button(id::kMinutesDigits[9])->click();
  dialog.Button(id::kMinutesDigits[0])->click();
  dialog.Button(id::kSecondsDigits[3])->click();
  dialog.Button(id::kSecondsDigits[0])->click();
  EXPECT_EQ(entry.minutes, 90);
  EXPECT_EQ(entry.seconds, 30);
  EXPECT_EQ(dialog.Outcome(), TimerEntry::Outcome::kKeepOpen);
  EXPECT_FALSE(shared.pending.AnyRaised());
  dialog.Button(id::kAccept)->click();
  EXPECT_EQ(dialog.Outcome(), TimerEntry::Outcome::kWritten);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kDryTimerReload));
  EXPECT_EQ(shared.request.Get(link::status_map::kDryTimerReload), 90);
  EXPECT_EQ(shared.request.Get(link::status_map::kDryTimerReload + 1), 30);
  // A touch after closing changes nothing.
  dialog.Button(id::kMinutesDigits[1])->click();
  EXPECT_EQ(entry.minutes, 90);
}

TEST_F(TimerEntryDialogTest, OutOfRangeWarnsAndClosesWithoutWriting) {
  prompter.Script(platform::Answer::kOk);
  TimerEntryDialog dialog(nullptr, entry, shared, prompter);
  for (int digit : {2, 4, 9}) dialog.Button(id::kMinutesDigits[digit])->click();
  dialog.Button(id::kAccept)->click();
  EXPECT_EQ(dialog.Outcome(), TimerEntry::Outcome::kRefused);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(prompter.CountAsked("The value entered is out of range."), 1U);
  EXPECT_FALSE(shared.pending.AnyRaised());
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST_F(TimerEntryDialogTest, StaysOnThePanelOverAWindowNearItsEdge) {
  QWidget panel;
  panel.setGeometry(0, 0, 640, 480);
  QWidget batch(&panel);
  batch.setGeometry(240, 40, 400, 205);
  panel.show();
  TimerEntryDialog dialog(&batch, entry, shared, prompter);
  dialog.show();
  const QRect on_panel = panel.frameGeometry();
  EXPECT_TRUE(on_panel.contains(dialog.geometry())) << dialog.x() << "," << dialog.y();
  dialog.Button(id::kCancel)->click();
  EXPECT_EQ(dialog.Outcome(), TimerEntry::Outcome::kCancelled);
  EXPECT_FALSE(dialog.isVisible());
}

TEST_F(TimerEntryDialogTest, RendersTheValueInItsBox) {
  TimerEntryDialog dialog(nullptr, entry, shared, prompter);
  const QImage image = dialog.grab().toImage();
  const Rect client = dialog.ClientRect();
  // The value is right-aligned in its box on black and nothing spills past the box's left edge;
  // the first minutes digit ("0" of 045) shows in the box's left part, so no digit was cut off.
  const auto at = [&](int x, int y) { return image.pixelColor(client.x + x, client.y + y); };
  EXPECT_EQ(at(396, 45), QColor(0, 0, 0));
  EXPECT_EQ(at(148, 45), QColor(0xC0, 0xC0, 0xC0));
  bool first_digit_shown = false;
  for (int x = 150; x < 210 && !first_digit_shown; ++x) {
    for (int y = 40; y < 110 && !first_digit_shown; ++y) {
      const QColor c = at(x, y);
      first_digit_shown = c.blue() > 200 && c.red() < 100;
    }
  }
  EXPECT_TRUE(first_digit_shown);
  const QByteArray dir = qgetenv("ORVANDRY_SCREENSHOT_DIR");
  if (!dir.isEmpty())
    image.save(QDir(QString::fromLocal8Bit(dir)).filePath("timer_entry_dialog.png"));
}

}  // namespace
}  // namespace orvandry::setup
