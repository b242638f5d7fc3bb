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
namespace sm = link::status_map;
using link::Rec;
using platform::Rect;

bool Overlap(Rect a, Rect b) {
  return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

// The batch dry timer at 45:05, 0:00..200:00.
TimerEntry OpenDryTimer(link::LinkShared& shared) {
  shared.first_frame_accepted = true;  // the dryer has reported
  shared.dryer_state.SetTime(sm::kDryTimerReload, 45, 5);
  return TimerEntry::Open(shared, Rec::kDryTimerReload, TimerLimits{0, 0, 200, 0, 60, 0});
}

class TimerEntryDialogTest : public ::testing::Test {
 protected:
  void Touch(std::initializer_list<int> ids) {
    for (int control : ids) dialog.Button(control)->click();
  }
  link::LinkShared shared;
  platform::ScriptedPrompter prompter;
  TimerEntry entry = OpenDryTimer(shared);
  TimerEntryDialog dialog{nullptr, entry, shared, prompter};
};

TEST_F(TimerEntryDialogTest, ControlsAreTouchSizedInsideTheClientAreaAndApart) {
  std::vector<int> ids(std::begin(id::kMinutesDigits), std::end(id::kMinutesDigits));
  ids.insert(ids.end(), std::begin(id::kSecondsDigits), std::end(id::kSecondsDigits));
  ids.insert(ids.end(),
             {id::kMinutesDelete, id::kSecondsDelete, id::kDefault, id::kAccept, id::kCancel});
  const Rect client{0, 0, dialog.ClientRect().w, dialog.ClientRect().h};
  for (int control : ids) {
    SCOPED_TRACE(control);
    QPushButton* button = dialog.Button(control);
    ASSERT_NE(button, nullptr);
    const Rect r = TimerEntryDialog::ControlRect(control);
    EXPECT_GE(button->width(), TimerEntryDialog::kMinTouch);
    EXPECT_GE(button->height(), TimerEntryDialog::kMinTouch);
    EXPECT_TRUE(client.Contains({r.x, r.y}) && client.Contains({r.Right() - 1, r.Bottom() - 1}));
    for (int other : ids) {
      if (other != control) {
        EXPECT_FALSE(Overlap(r, TimerEntryDialog::ControlRect(other))) << other;
      }
    }
    // Nothing the dialog draws may sit under a control.
    for (Rect drawn :
         {Rect::FromEdges(150, 40, 398, 110), Rect{420, 50, 190, 45}, kMinutesLabel, kSecondsLabel})
      EXPECT_FALSE(Overlap(r, drawn));
  }
  // Telephone order: 7 8 9 on top, 1 2 3 above 0, DELETE beside 0; minutes on the left.
  const auto at = [](int control) { return TimerEntryDialog::ControlRect(control); };
  EXPECT_EQ(at(id::kMinutesDigits[7]).y, at(id::kMinutesDigits[9]).y);
  EXPECT_LT(at(id::kMinutesDigits[7]).x, at(id::kMinutesDigits[9]).x);
  EXPECT_LT(at(id::kMinutesDigits[7]).y, at(id::kMinutesDigits[1]).y);
  EXPECT_EQ(at(id::kMinutesDigits[1]).x, at(id::kMinutesDigits[0]).x);
  EXPECT_LT(at(id::kMinutesDigits[1]).y, at(id::kMinutesDigits[0]).y);
  EXPECT_EQ(at(id::kMinutesDelete).y, at(id::kMinutesDigits[0]).y);
  EXPECT_LT(at(id::kMinutesDigits[9]).Right(), at(id::kDefault).x);
  EXPECT_GT(at(id::kSecondsDigits[7]).x, at(id::kDefault).Right());
}

TEST_F(TimerEntryDialogTest, TouchesEditTheRecordAndAcceptClosesWithTheWrite) {
  Touch(
      {id::kMinutesDigits[9], id::kMinutesDigits[0], id::kSecondsDigits[3], id::kSecondsDigits[0]});
  EXPECT_EQ(entry.TotalSeconds(), 90 * 60 + 30);
  EXPECT_EQ(dialog.Outcome(), TimerEntry::Outcome::kKeepOpen);
  EXPECT_FALSE(shared.pending.AnyRaised());
  Touch({id::kAccept});
  EXPECT_EQ(dialog.Outcome(), TimerEntry::Outcome::kWritten);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kDryTimerReload));
  EXPECT_EQ(shared.request.Get(sm::kDryTimerReload), 90);
  EXPECT_EQ(shared.request.Get(sm::kDryTimerReload + 1), 30);
  Touch({id::kMinutesDigits[1]});  // a touch after closing changes nothing
  EXPECT_EQ(entry.minutes, 90);
}

TEST_F(TimerEntryDialogTest, OutOfRangeWarnsAndClosesWithoutWriting) {
  prompter.Script(platform::Answer::kOk);
  Touch({id::kMinutesDigits[2], id::kMinutesDigits[4], id::kMinutesDigits[9], id::kAccept});
  EXPECT_EQ(dialog.Outcome(), TimerEntry::Outcome::kRefused);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  EXPECT_EQ(prompter.CountAsked("The value entered is out of range."), 1U);
  EXPECT_FALSE(shared.pending.AnyRaised());
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
}

TEST_F(TimerEntryDialogTest, StaysOnThePanelOverAWindowNearItsEdgeAndCancels) {
  QWidget panel;
  panel.setGeometry(0, 0, 640, 480);
  QWidget batch(&panel);
  batch.setGeometry(240, 40, 400, 205);
  panel.show();
  TimerEntryDialog over_batch(&batch, entry, shared, prompter);
  over_batch.show();
  EXPECT_TRUE(panel.frameGeometry().contains(over_batch.geometry()))
      << over_batch.x() << "," << over_batch.y();
  over_batch.Button(id::kCancel)->click();
  EXPECT_EQ(over_batch.Outcome(), TimerEntry::Outcome::kCancelled);
  EXPECT_FALSE(over_batch.isVisible());
  EXPECT_FALSE(shared.pending.AnyRaised());
}

TEST_F(TimerEntryDialogTest, RendersTheValueInItsBox) {
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
