// The whole path of a change the controller does not take, on the real display against the
// simulated dryer refusing two setpoints over the real link: the notice appears once a refused
// change has waited 15 s (and not before), the list shows what is waiting, and withdrawing one
// stops the panel sending it. The notice and the list are saved as pictures for a look:
// ORVANDRY_SCREENSHOT_DIR=dir (default: the system's temporary folder).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>

#include "app/display.h"
#include "journal/ui/journal_subsystem.h"
#include "link/setting_edit.h"
#include "link/status_map.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "setup/pty_dryer.h"

namespace orvandry::app {
namespace {

namespace sm = link::status_map;
using journal::ChangeState;
using link::Rec;

class JournalDemo : public ::testing::Test {
 protected:
  JournalDemo()
      : paths(data.path().toStdString(), data.path().toStdString() + "/usb"),
        display(shared, settings, prompter, store, clock, paths),
        window(display.window()),
        journal(display.journal()) {
    clock.Set({2026, 12, 7, 21, 40, 0, 0});
    window.show();
  }
  void SetUp() override {
    sim::SimOptions options;
    options.scenario.Refuse(sm::PlenumSetpoint(1)).Refuse(sm::kMoistureSetpoint);
    std::string error;
    ASSERT_TRUE(line.Start(shared, std::move(options), &error)) << error;
  }

  // Whole seconds of the display's 1 s tick, each after a frame of the real link (so the link
  // stays alive as it would in real time).
  void Seconds(int count) {
    for (int i = 0; i < count; ++i) {
      const int frames = line.frames_taken.load();
      ASSERT_TRUE(line.Eventually([&] { return line.frames_taken.load() > frames; }));
      clock.Advance(1);
      window.OneSecondTick();
      window.HundredMsTick();
      QApplication::processEvents();
    }
  }
  void Commit(Rec rec, std::size_t offset, std::initializer_list<std::uint8_t> bytes) {
    link::SettingEdit edit(shared);
    edit.Load(rec);
    std::size_t at = offset;
    for (std::uint8_t b : bytes) edit.Set(at++, b);
    ASSERT_EQ(edit.Commit(rec), link::CommitResult::kSent);
  }
  void Save(const QImage& image, const char* name) {
    QString dir = qEnvironmentVariable("ORVANDRY_SCREENSHOT_DIR");
    if (dir.isEmpty()) dir = QDir::tempPath();
    image.save(QDir(dir).filePath(QString("orvandry-%1.png").arg(name)));
  }
  const journal::JournalEntry* Entry(Rec rec) {
    entries = journal.journal().Entries();
    auto it = std::find_if(entries.begin(), entries.end(),
                           [rec](const journal::JournalEntry& e) { return e.rec == rec; });
    return it == entries.end() ? nullptr : &*it;
  }
  // Frames the controller heard since `since` (a Heard() count) that carry plenum 1's record.
  int FramesCarryingPlenum1(std::uint64_t since) {
    const auto history = line.dryer().controller().history();
    const std::uint64_t oldest = line.Heard() - history.size();
    int count = 0;
    for (std::size_t i = since > oldest ? since - oldest : 0; i < history.size(); ++i)
      for (const sim::CommandRecord& r : history[i].records)
        if (r.group == 0 && r.id == 69) ++count;
    return count;
  }

  QTemporaryDir data;
  link::LinkShared shared;
  shell::Settings settings;
  platform::ScriptedPrompter prompter;
  platform::MemorySettingsStore store;
  platform::FakeClock clock;
  platform::Paths paths;
  Display display;
  shell::MainWindow& window;
  journal::ui::JournalSubsystem& journal;
  std::vector<journal::JournalEntry> entries;
  setup::testing::PtyDryer line;  // last: stopped first
};

TEST_F(JournalDemo, ARefusedChangeIsNoticedListedAndWithdrawn) {
  // Made on the temperature screen: the journal names it.
  window.SetVisible(shell::Win::kTempSelect, true);
  Commit(Rec::kPlenumSetpoint1, sm::PlenumSetpoint(1), {190, 0});
  Commit(Rec::kPlenumSetpoint2, sm::PlenumSetpoint(2), {175, 0});
  window.RestoreMainScreen();
  window.SetVisible(shell::Win::kTempSelect, false);
  Commit(Rec::kMoistureSetpoint, sm::kMoistureSetpoint, {0, 148});
  ASSERT_TRUE(line.Eventually([&] { return !shared.pending.IsRaised(Rec::kPlenumSetpoint2); }));

  journal::ui::ChangeNotice* notice = journal.notice();
  Seconds(14);
  EXPECT_TRUE(notice->isHidden()) << "not before 15 s";
  ASSERT_NE(Entry(Rec::kPlenumSetpoint2), nullptr);
  EXPECT_EQ(Entry(Rec::kPlenumSetpoint2)->state, ChangeState::kTaken);
  EXPECT_EQ(Entry(Rec::kPlenumSetpoint2)->screen, "SELECT TEMPERATURE SETPOINT TO MODIFY - 02");
  Seconds(1);
  ASSERT_TRUE(notice->isVisible());
  EXPECT_EQ(notice->Count(), 2U);
  EXPECT_EQ(notice->Text(), "2 CHANGES NOT TAKEN - TOUCH HERE");
  // A selection screen hides the bar and the notice with it, within a tenth of a second.
  window.screen().OnCommand(shell::command::kTimers);
  window.HundredMsTick();
  EXPECT_TRUE(notice->isHidden());
  window.RestoreMainScreen();
  window.SetVisible(shell::Win::kTimerSelect, false);
  window.HundredMsTick();
  EXPECT_TRUE(notice->isVisible());
  notice->SetBlink(true);
  Save(window.grab().toImage(), "journal-notice");
  // The notice lies in the strip under the bar buttons and covers none of them.
  for (const shell::BarButtonDef& b : shell::kBarButtons)
    EXPECT_FALSE(notice->geometry().intersects(
        QRect(b.x, shell::kBarButtonY, shell::kBarButtonWidth, shell::kBarButtonHeight)));

  std::uint64_t withdrawn_at = 0;
  journal.SetDialogRunner([&](platform::Dialog& dialog) {
    auto& list = static_cast<journal::ui::WaitingListDialog&>(dialog);
    dialog.show();
    QApplication::processEvents();
    Save(dialog.grab().toImage(), "journal-waiting-list");
    prompter.Script(platform::Answer::kNo);
    dialog.ControlAs<QPushButton>(journal::ui::waiting_list_id::kWithdraw0)->click();
    EXPECT_TRUE(shared.pending.IsRaised(Rec::kPlenumSetpoint1)) << "No withdraws nothing";
    prompter.Script(platform::Answer::kYes);
    dialog.ControlAs<QPushButton>(journal::ui::waiting_list_id::kWithdraw0)->click();
    withdrawn_at = line.Heard();
    ASSERT_NE(prompter.Last(), nullptr);
    EXPECT_EQ(prompter.Last()->text,
              "WITHDRAW THIS CHANGE?\n\nPLENUM 1 SETPOINT: 190 \xB0"
              "F\nTHE CONTROLLER HAS 180 \xB0"
              "F.\n\nTHE PANEL STOPS SENDING THE CHANGE AND THE CONTROLLER KEEPS 180 \xB0"
              "F.");
    Save(dialog.grab().toImage(), "journal-waiting-list-after");
    EXPECT_FALSE(list.Control(journal::ui::waiting_list_id::kWithdraw0 + 1)->isVisibleTo(&list));
    dialog.accept();
  });
  notice->click();
  EXPECT_FALSE(shared.pending.IsRaised(Rec::kPlenumSetpoint1));
  EXPECT_EQ(Entry(Rec::kPlenumSetpoint1)->state, ChangeState::kWithdrawn);
  EXPECT_EQ(Entry(Rec::kMoistureSetpoint)->state, ChangeState::kWaiting);
  EXPECT_EQ(notice->Count(), 1U);

  ASSERT_TRUE(line.Eventually([&] { return line.Heard() >= withdrawn_at + 4; }));
  EXPECT_EQ(FramesCarryingPlenum1(withdrawn_at + 1), 0) << "the panel stopped sending it";
  EXPECT_TRUE(shared.pending.IsRaised(Rec::kMoistureSetpoint)) << "the other is still sent";
}

}  // namespace
}  // namespace orvandry::app
