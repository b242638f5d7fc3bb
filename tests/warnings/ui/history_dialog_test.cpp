#include "warnings/ui/history_dialog.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QApplication>
#include <QCheckBox>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <set>
#include <utility>

#include "../warnings_test_support.h"
#include "platform/qt_prompter.h"
#include "warnings/history_texts.h"
#include "warnings/shutdown_time.h"
#include "warnings/ui/ui_texts.h"
#include "warnings/ui/warnings_subsystem.h"
#include "warnings_ui_test_support.h"

namespace orvandry::warnings::ui {
namespace {

using platform::Answer;
using warnings::testing::TempDir;
namespace fs = std::filesystem;
namespace texts = history_texts;

ShutdownRecord Record(const char* text, const char* node, LocalDateTime when) {
  return ShutdownRecord{text, node, ToShutdownTime(when)};
}

class HistoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(warnings_.Start().ok());
    EXPECT_TRUE(prompter_.Questions().empty()) << "a healthy store starts without a word";
    // Three shutdowns, appended out of time order.
    const std::vector<ShutdownRecord> three = {
        Record("0E05 - MAIN I/O - REAR DISCHARGE DOOR OPENED", "MAIN I/O",
               {2026, 12, 6, 13, 40, 0, 0}),
        Record("0205 - BURNER #1 GRAIN OVERHEAT", "FAN/HEATER #1", {2026, 12, 6, 1, 5, 0, 0}),
        Record("0101 - DISPLAY I/O NETWORK CONNECTION FAILED", "DISPLAY I/O",
               {2026, 12, 7, 0, 2, 0, 0})};
    ASSERT_TRUE(warnings_.store().AppendAll(three).ok());
  }
  void TearDown() override { EXPECT_TRUE(prompter_.Clean()) << prompter_.Problems(); }

  // Opens the history and runs `body` on it while it is open.
  void WithHistory(const std::function<void(HistoryDialog&)>& body) {
    bool ran = false;
    warnings_.SetHistoryRunner([&](HistoryDialog& dialog) {
      ran = true;
      dialog.open();
      body(dialog);
    });
    warnings_.OpenHistory(nullptr, warnings_.history_clear_hold());
    EXPECT_TRUE(ran);
  }
  static void Click(HistoryDialog& dialog, int id) { dialog.ControlAs<QPushButton>(id)->click(); }
  static std::vector<std::string> Column(const HistoryDialog& dialog, int column) {
    std::vector<std::string> cells;
    for (int r = 0; r < dialog.model().rowCount(); ++r)
      cells.push_back(dialog.model().index(r, column).data().toString().toStdString());
    return cells;
  }
  static std::vector<bool> Ticks(const HistoryDialog& dialog) {
    std::vector<bool> ticks;
    for (int id : {HistoryScreen::kSortedByWarningId, HistoryScreen::kSortedByTimeId,
                   HistoryScreen::kSortedByNodeId})
      ticks.push_back(dialog.ControlAs<QCheckBox>(id)->isChecked());
    return ticks;
  }
  fs::path card() const { return paths_.UsbDir(); }

  TempDir data_;
  platform::Paths paths_{data_.path(), data_.path() / "card"};
  link::LinkShared shared_;
  platform::ScriptedPrompter prompter_;
  // The recorder's clock: the day after the three shutdowns above.
  WarningsSubsystem warnings_{
      paths_, shared_, prompter_,
      std::make_unique<warnings::testing::FakeClock>(LocalDateTime{2026, 12, 8, 9, 0, 0, 0})};
};

TEST_F(HistoryTest, TheListOpensNewestFirstAndEachSortRunsFromTheLastKeyDown) {
  WithHistory([&](HistoryDialog& dialog) {
    EXPECT_EQ(dialog.model().columnCount(), 4);
    // All four columns fit the list: the shutdown text gives up what it lacks.
    int total = 0;
    for (int c = 0; c < 4; ++c) total += dialog.list()->columnWidth(c);
    EXPECT_LE(total, dialog.list()->viewport()->width());
    EXPECT_GE(dialog.list()->columnWidth(1), 90) << "widened to the longest node name, never less";
    EXPECT_EQ(dialog.list()->textElideMode(), Qt::ElideNone);
    EXPECT_EQ(Column(dialog, 0),
              (std::vector<std::string>{"0101 - DISPLAY I/O NETWORK CONNECTION FAILED",
                                        "0E05 - MAIN I/O - REAR DISCHARGE DOOR OPENED",
                                        "0205 - BURNER #1 GRAIN OVERHEAT"}));
    EXPECT_EQ(Column(dialog, 2),
              (std::vector<std::string>{"Dec 07, 2026", "Dec 06, 2026", "Dec 06, 2026"}));
    EXPECT_EQ(Column(dialog, 3), (std::vector<std::string>{"12:02 AM", "1:40 PM", "1:05 AM"}));
    EXPECT_EQ(Ticks(dialog), (std::vector<bool>{false, true, false}));

    Click(dialog, HistoryScreen::kSortByWarningId);
    EXPECT_EQ(Column(dialog, 0),
              (std::vector<std::string>{"0E05 - MAIN I/O - REAR DISCHARGE DOOR OPENED",
                                        "0205 - BURNER #1 GRAIN OVERHEAT",
                                        "0101 - DISPLAY I/O NETWORK CONNECTION FAILED"}));
    EXPECT_EQ(Ticks(dialog), (std::vector<bool>{true, false, false}));

    Click(dialog, HistoryScreen::kSortByNodeId);
    EXPECT_EQ(Column(dialog, 1),
              (std::vector<std::string>{"MAIN I/O", "FAN/HEATER #1", "DISPLAY I/O"}));
    EXPECT_EQ(Ticks(dialog), (std::vector<bool>{false, false, true}));

    // A shutdown recorded while the screen is open shows from the next fill on.
    warnings_.OnWarningCodeChanged(0x0F, 0x02);
    EXPECT_EQ(dialog.model().rowCount(), 3);
    Click(dialog, HistoryScreen::kSortByTimeId);
    EXPECT_EQ(Column(dialog, 0).front(), "0F02 - MAX DRYING TIME EXCEEDED");
    EXPECT_EQ(Ticks(dialog), (std::vector<bool>{false, true, false}));
  });
}

TEST_F(HistoryTest, ShowHelpFileOpensTheHelpOfTheSelectedRowAndKeepsItOpenPastTheWarning) {
  std::vector<WarningCode> helped;
  warnings_.help().SetRunner([&](HelpDialog& help) {
    helped.push_back(help.help_code());
    EXPECT_EQ(help.parentWidget(), warnings_.history_dialog());
    help.open();
    warnings_.CloseWarningHelp();  // no warning live: the tick would close warning help
    EXPECT_TRUE(help.isVisible());
    help.reject();
  });
  WithHistory([&](HistoryDialog& dialog) {
    prompter_.Script(Answer::kOk);
    Click(dialog, HistoryScreen::kShowHelpId);
    ASSERT_EQ(prompter_.Questions().size(), 1U);
    EXPECT_EQ(prompter_.Last()->text, texts::kNoItemSelectedText);
    EXPECT_TRUE(helped.empty());

    dialog.SelectRow(1);
    Click(dialog, HistoryScreen::kShowHelpId);
    EXPECT_TRUE(warnings_.help().opened_from_history());
    Click(dialog, HistoryScreen::kExitId);
  });
  EXPECT_EQ(helped, (std::vector<WarningCode>{0x0E05}));
  EXPECT_FALSE(warnings_.help().opened_from_history()) << "EXIT clears it";
}

TEST_F(HistoryTest, ExitClosesOnAShortPressAndAsksToClearAfterFiveSecondsHeld) {
  WithHistory([&](HistoryDialog& dialog) {
    auto* exit = dialog.ControlAs<QPushButton>(HistoryScreen::kExitId);
    auto hold_for = [&](int seconds) {
      exit->setDown(true);
      for (int s = 0; s < seconds; ++s) warnings_.OnSecondTick();
      exit->setDown(false);
    };
    bool closed = false;
    QObject::connect(&dialog, &QDialog::finished, [&] { closed = true; });

    // Four seconds is not enough: the countdown is at 1 when EXIT goes up, and the next
    // second puts it back.
    hold_for(4);
    EXPECT_EQ(warnings_.history_clear_hold(), 1);
    warnings_.OnSecondTick();
    EXPECT_EQ(warnings_.history_clear_hold(), 5);

    // Five seconds, then No: the screen stays open with everything in it.
    hold_for(5);
    EXPECT_EQ(warnings_.history_clear_hold(), 0);
    prompter_.Script(Answer::kNo);
    exit->click();
    EXPECT_FALSE(closed);
    ASSERT_EQ(prompter_.Questions().size(), 1U);
    EXPECT_EQ(prompter_.Last()->text, texts::kClearQuestionText);
    EXPECT_EQ(prompter_.Last()->buttons, platform::Buttons::kYesNo);
    EXPECT_EQ(dialog.model().rowCount(), 3);
    EXPECT_EQ(warnings_.history_clear_hold(), HistoryScreen::kExitHoldAfterClear);

    // Sorted otherwise, held again, Yes: empty, four columns, sorted by time.
    Click(dialog, HistoryScreen::kSortByNodeId);
    warnings_.OnSecondTick();
    hold_for(5);
    prompter_.Script(Answer::kYes);
    exit->click();
    EXPECT_FALSE(closed);
    EXPECT_EQ(dialog.model().rowCount(), 0);
    EXPECT_EQ(dialog.model().columnCount(), 4);
    EXPECT_EQ(Ticks(dialog), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(warnings_.store().CountShutdowns().count, 0U);

    // After the clear, shutdowns are recorded again, and a short press closes.
    warnings_.OnSecondTick();
    EXPECT_EQ(warnings_.OnWarningCodeChanged(0x02, 0x05).outcome, RecordOutcome::kRecorded);
    exit->click();
    EXPECT_TRUE(closed);
  });
  EXPECT_FALSE(warnings_.HistoryClearButtonHeld()) << "no history screen, nothing held";
  EXPECT_EQ(warnings_.store().CountShutdowns().count, 1U);
}

TEST_F(HistoryTest, ExportAsksForAMissingCardReportsAFailureAndConfirmsTheCopy) {
  const fs::path exported = card() / texts::kExportFileName;
  WithHistory([&](HistoryDialog& dialog) {
    // No card, Retry, still none, Cancel: nothing written.
    prompter_.Script(Answer::kRetry);
    prompter_.Script(Answer::kCancel);
    EXPECT_FALSE(dialog.screen().CopyToUsb().has_value());
    EXPECT_EQ(prompter_.CountAsked(texts::kCardMissingText), 2U);
    EXPECT_EQ(prompter_.Last()->buttons, platform::Buttons::kRetryCancel);

    // With the card in, No to the copy question copies nothing.
    prompter_.Script(Answer::kNo);
    fs::create_directory(card());
    EXPECT_FALSE(dialog.screen().CopyToUsb().has_value());
    EXPECT_EQ(prompter_.Last()->text, texts::kExportQuestionText);

    // A card that takes no file: the operator is told, never that the copy was made.
    fs::create_directories(card() / texts::kExportTempFileName);
    prompter_.Script(Answer::kYes);
    prompter_.Script(Answer::kOk);
    const auto failed = dialog.screen().CopyToUsb();
    ASSERT_TRUE(failed.has_value());
    EXPECT_EQ(failed->status, ExportStatus::kCannotCreate);
    EXPECT_TRUE(prompter_.Last()->text.starts_with(texts::kCannotCreateText))
        << prompter_.Last()->text;
    EXPECT_EQ(prompter_.Last()->caption, texts::kExportFailedCaption);
    EXPECT_EQ(prompter_.CountAsked(texts::kExportDoneText), 0U);
    EXPECT_FALSE(fs::exists(exported));

    fs::remove(card() / texts::kExportTempFileName);
    prompter_.Script(Answer::kYes);
    prompter_.Script(Answer::kOk);
    Click(dialog, HistoryScreen::kCopyToUsbId);
    EXPECT_EQ(prompter_.Last()->text, texts::kExportDoneText);
  });
  EXPECT_EQ(warnings::testing::ReadFile(exported),
            "0205 - BURNER #1 GRAIN OVERHEAT;FAN/HEATER #1;Dec 06, 2026;1:05 AM;\n"
            "0E05 - MAIN I/O - REAR DISCHARGE DOOR OPENED;MAIN I/O;Dec 06, 2026;1:40 PM;\n"
            "0101 - DISPLAY I/O NETWORK CONNECTION FAILED;DISPLAY I/O;Dec 07, 2026;12:02 AM;\n");
}

// A damaged history at start-up is covered with the damage met later, below.
TEST(WarningsStartUp, AHistoryThatCannotBeOpenedIsReportedAndNothingIsRecorded) {
  TempDir data;
  link::LinkShared shared;
  // A data folder that is not there: the operator learns shutdowns will not be kept.
  platform::ScriptedPrompter told{Answer::kOk};
  WarningsSubsystem without_disk(platform::Paths(data.path() / "missing", data.path() / "card"),
                                 shared, told);
  EXPECT_FALSE(without_disk.Start().ok());
  ASSERT_EQ(told.Questions().size(), 1U);
  EXPECT_TRUE(told.Last()->text.starts_with("ERROR: The shutdown history cannot be opened."));
  EXPECT_EQ(without_disk.OnWarningCodeChanged(2, 5).outcome, RecordOutcome::kFailed);
}

// A damaged history is set aside and the operator told where the copy went: at start-up, and
// after it by whichever operation meets the damage, once, with the start-up's words.
TEST(WarningsRunning, ADamagedHistoryMetAfterStartUpIsToldOnceByWhateverMetIt) {
  using Damage = std::function<void()>;
  const struct {
    const char* where;
    std::function<void(WarningsSubsystem&, platform::ScriptedPrompter&, const Damage&)> run;
  } cases[] = {
      {"recording",
       [](WarningsSubsystem& warnings, platform::ScriptedPrompter& prompter, const Damage& damage) {
         prompter.Script(Answer::kOk);
         damage();
         const RecordResult recorded = warnings.OnWarningCodeChanged(2, 5);
         EXPECT_EQ(recorded.outcome, RecordOutcome::kRecorded);
         EXPECT_FALSE(recorded.store.damaged_file.empty());
       }},
      {"opening the history",
       [](WarningsSubsystem& warnings, platform::ScriptedPrompter& prompter, const Damage& damage) {
         prompter.Script(Answer::kOk);
         damage();
         int hold = HistoryScreen::kExitHoldSeconds;
         warnings.SetHistoryRunner([](HistoryDialog&) {});
         warnings.OpenHistory(nullptr, hold);
       }},
      {"sorting the history",
       [](WarningsSubsystem& warnings, platform::ScriptedPrompter& prompter, const Damage& damage) {
         prompter.Script(Answer::kOk);
         int hold = HistoryScreen::kExitHoldSeconds;
         warnings.SetHistoryRunner([&](HistoryDialog& dialog) {
           damage();
           dialog.ControlAs<QPushButton>(HistoryScreen::kSortByNodeId)->click();
         });
         warnings.OpenHistory(nullptr, hold);
       }},
      {"exporting the history",
       [](WarningsSubsystem& warnings, platform::ScriptedPrompter& prompter, const Damage& damage) {
         int hold = HistoryScreen::kExitHoldSeconds;
         warnings.SetHistoryRunner([&](HistoryDialog& dialog) {
           damage();
           prompter.Script(Answer::kYes);
           prompter.Script(Answer::kOk);  // told
           prompter.Script(Answer::kOk);  // the copy is done
           EXPECT_TRUE(dialog.screen().CopyToUsb().has_value());
         });
         warnings.OpenHistory(nullptr, hold);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.where);
    TempDir data;
    fs::create_directory(data.path() / "card");
    link::LinkShared shared;
    platform::ScriptedPrompter prompter{Answer::kOk};
    WarningsSubsystem warnings(platform::Paths(data.path(), data.path() / "card"), shared,
                               prompter);
    const fs::path store = data.path() / "ShutdownHistoryDB";
    warnings::testing::WriteFile(store, "not a database, and long enough to be read as a header");
    const StoreResult started = warnings.Start();
    ASSERT_EQ(started.status, StoreStatus::kRecovered);
    ASSERT_EQ(prompter.Questions().size(), 1U);
    const platform::ScriptedPrompter::Question at_start_up = *prompter.Last();
    const std::string started_copy = started.damaged_file.filename().string();
    ASSERT_NE(at_start_up.text.find(started_copy), std::string::npos);

    c.run(warnings, prompter, [&] {
      warnings::testing::WriteFile(store, "damaged again while running, with a long header");
    });
    std::vector<platform::ScriptedPrompter::Question> told;
    for (const auto& question : prompter.Questions())
      if (question.caption == at_start_up.caption) told.push_back(question);
    ASSERT_EQ(told.size(), 2U);
    std::set<fs::path> copies;
    for (const auto& entry : fs::directory_iterator(data.path()))
      if (entry.path().filename().string().starts_with("ShutdownHistoryDB.damaged-"))
        copies.insert(entry.path());
    copies.erase(started.damaged_file);
    ASSERT_EQ(copies.size(), 1U);
    std::string expected = at_start_up.text;
    expected.replace(expected.find(started_copy), started_copy.size(),
                     copies.begin()->filename().string());
    EXPECT_EQ(told[1].text, expected);
    EXPECT_EQ(told[1].buttons, at_start_up.buttons);
    EXPECT_EQ(told[1].icon, at_start_up.icon);
    EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
  }
}

// The history screen's logic without its window, for the forked children below.
struct NoHelp final : HistoryHelp {
  void SetHelpFromHistory(bool) override {}
  void ShowHelp(WarningCode) override {}
};

// A history on a folder the display may not write: the operator is told once, at start-up, that
// new shutdowns cannot be stored and why; the list and the export still work.
TEST(WarningsReadOnly, AReadOnlyFolderIsToldOnceAndTheListAndExportStillWork) {
  TempDir root;
  const fs::path data = root.path() / "data", card = root.path() / "card";
  fs::create_directories(data);
  fs::create_directories(card);
  {
    ShutdownHistoryStore store(data);
    for (int i = 0; i < 5; ++i)
      ASSERT_TRUE(store
                      .Append(Record("0205 - BURNER #1 GRAIN OVERHEAT", "FAN/HEATER #1",
                                     {2026, 12, 1 + i, 1, 5, 0, 0}))
                      .ok());
  }
  fs::permissions(root.path(), fs::perms(0755));
  fs::permissions(card, fs::perms(0777));
  fs::permissions(data, fs::perms(0555));
  const std::string problems = warnings::testing::RunUnprivileged([&]() -> std::string {
    std::string out;
    link::LinkShared shared;
    platform::ScriptedPrompter prompter{Answer::kOk};
    WarningsSubsystem warnings(platform::Paths(data, card), shared, prompter);
    if (!warnings.Start().ok()) out += "start failed; ";
    if (prompter.Questions().size() != 1 ||
        prompter.Last()->text.find("New shutdowns CANNOT be stored:\nthe folder " + data.string() +
                                   " cannot be written") != 0)
      out += "start-up told: " + (prompter.Last() ? prompter.Last()->text : "nothing") + "; ";
    for (const auto& [node, warning] : {std::pair{2, 5}, std::pair{14, 5}, std::pair{2, 9}})
      if (warnings.OnWarningCodeChanged(node, warning).outcome != RecordOutcome::kFailed)
        out += "recorded; ";
    if (prompter.Questions().size() != 1) out += "told again when recording; ";

    NoHelp help;
    int hold = HistoryScreen::kExitHoldSeconds;
    HistoryScreen screen(warnings.store(), prompter, card, help, hold);
    screen.Open();
    if (screen.rows().size() != 5) out += "rows " + std::to_string(screen.rows().size()) + "; ";
    prompter.Script(Answer::kYes);
    prompter.Script(Answer::kOk);
    const auto exported = screen.CopyToUsb();
    if (!exported || exported->records_written != 5) out += "export: " + prompter.Last()->text;
    if (!prompter.Clean()) out += prompter.Problems();
    return out;
  });
  fs::permissions(data, fs::perms(0755));
  EXPECT_EQ(problems, "");
  const std::string exported = warnings::testing::ReadFile(card / texts::kExportFileName);
  EXPECT_EQ(std::count(exported.begin(), exported.end(), '\n'), 5);
}

// An export that outgrows the file-size limit is told like a full card, leaves nothing on the card,
// and the display lives on.
TEST(WarningsExport, AnExportBeyondTheFileSizeLimitIsToldAndLeavesNoPartialFile) {
  TempDir root;
  const fs::path card = root.path() / "card";
  fs::create_directories(card);
  ShutdownHistoryStore store(root.path());
  ASSERT_TRUE(store
                  .AppendAll(std::vector<ShutdownRecord>(
                      2000, Record("0205 - BURNER #1 GRAIN OVERHEAT", "FAN/HEATER #1",
                                   {2026, 12, 1, 1, 5, 0, 0})))
                  .ok());
  const std::string problems = warnings::testing::RunInChild(
      [&]() -> std::string {
        IgnoreFileSizeSignal();  // as the display does where it starts
        const rlimit limit{32 * 1024, 32 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        platform::ScriptedPrompter prompter{Answer::kYes, Answer::kOk};
        NoHelp help;
        int hold = HistoryScreen::kExitHoldSeconds;
        HistoryScreen screen(store, prompter, card, help, hold);
        const auto result = screen.CopyToUsb();
        std::string out;
        if (!result || result->status != ExportStatus::kWriteFailed) out += "not a failed write; ";
        if (!prompter.Last()->text.starts_with(texts::kWriteFailedText) ||
            prompter.Last()->caption != texts::kExportFailedCaption)
          out += "told: " + prompter.Last()->text;
        return out;
      },
      /*unprivileged=*/false);
  EXPECT_EQ(problems, "");
  EXPECT_TRUE(fs::is_empty(card)) << "a partial file was left";
}

// Runs `act` on the message box once it is open.
void WhenBoxOpens(std::function<void(QMessageBox&)> act) {
  auto* timer = new QTimer;
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, act] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      act(*box);
    }
  });
  timer->start();
}

// The history's messages name files and folders, whose long names must not push the box past the
// panel's 640 x 480 pixels.
TEST(WarningsMessages, TheDamagedAndReadOnlyHistoryMessagesFitThePanel) {
  TempDir root;
  const fs::path data = root.path() / "home" / "operator" / ".local" / "share" / "Kelvra" /
                        "Orvandry-display-data-folder";
  fs::create_directories(data);
  QWidget panel;
  panel.setGeometry(0, 0, 640, 480);
  panel.show();
  platform::QtPrompter prompter(&panel);
  // Each case opens its message through `prompter`.
  const struct {
    const char* name;
    const char* says;
    std::function<void()> show;
  } cases[] = {
      {"history_damaged", " records were read and kept;\nonly what could not be read is lost.",
       [&] {
         ShutdownHistoryStore store(data);
         ASSERT_TRUE(store
                         .AppendAll(std::vector<ShutdownRecord>(
                             400, Record("0205 - BURNER #1 GRAIN OVERHEAT", "FAN/HEATER #1",
                                         {2026, 12, 1, 1, 5, 0, 0})))
                         .ok());
         const auto pages = warnings::testing::PagesOfType(store.path(), 0x0D);
         warnings::testing::OverwritePage(store.path(), pages[pages.size() / 2], 0,
                                          std::string(4096, '\x5A'));
         link::LinkShared shared;
         WarningsSubsystem warnings(platform::Paths(data, root.path() / "card"), shared, prompter);
         EXPECT_EQ(warnings.Start().status, StoreStatus::kRecovered);
       }},
      // Only the words here; the folder's real state is tested above.
      {"history_read_only", "\nThe stored shutdowns can still be listed",
       [&] {
         prompter.Ask(ui::texts::StoreReadOnlyMessage("the folder " + data.string() +
                                                      " cannot be written (Read-only file system)"),
                      ui::texts::kStoreProblemCaption, platform::Buttons::kOk,
                      platform::Icon::kError);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    bool seen = false;
    WhenBoxOpens([&](QMessageBox& box) {
      seen = true;
      const QImage image = box.grab().toImage();
      const QString dir = qEnvironmentVariable("ORVANDRY_SCREENSHOT_DIR");
      image.save((dir.isEmpty() ? QString::fromStdString(testing::ScreenshotDir().string()) : dir) +
                 "/" + QString::fromLatin1(c.name) + ".png");
      EXPECT_LE(box.frameGeometry().width(), 640);
      EXPECT_LE(box.frameGeometry().height(), 480);
      EXPECT_TRUE(box.text().contains(QString::fromLatin1(c.says))) << box.text().toStdString();
      box.button(QMessageBox::Ok)->click();
    });
    c.show();
    EXPECT_TRUE(seen);
  }
}

}  // namespace
}  // namespace orvandry::warnings::ui

namespace orvandry::warnings::ui {
namespace {

// The 100 ms tick as the subsystem follows it: live help closes once all is well, and the door
// warning's help picture runs through its seven frames.
TEST_F(HistoryTest, TenthTickClosesLiveHelpWhenAllIsWellAndAnimatesTheDoorPicture) {
  bool stayed = false, closed = false;
  warnings_.help().SetRunner([&](HelpDialog& help) {
    help.open();
    warnings_.OnTenthTick({.warning_shown = true});
    stayed = help.isVisible();
    warnings_.OnTenthTick({.warning_shown = false});
    closed = !help.isVisible();
  });
  warnings_.help().Open(nullptr, 0x0205);
  EXPECT_TRUE(stayed);
  EXPECT_TRUE(closed);

  shared_.dryer_state.Set(link::status_map::kWarningNode, 14);
  shared_.dryer_state.Set(link::status_map::kWarningId, 5);
  std::vector<int> frames;
  for (int i = 0; i < 9; ++i) {
    warnings_.OnTenthTick({.warning_shown = true});
    frames.push_back(warnings_.help().door_frame());
  }
  EXPECT_EQ(frames, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 0, 1}));
}

}  // namespace
}  // namespace orvandry::warnings::ui
