#include "warnings/ui/history_dialog.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QCheckBox>
#include <QPushButton>
#include <csignal>

#include "../warnings_test_support.h"
#include "warnings/history_texts.h"
#include "warnings/shutdown_time.h"
#include "warnings/ui/warnings_subsystem.h"
#include "warnings_ui_test_support.h"

namespace orvandry::warnings::ui {
namespace {

using platform::Answer;
using warnings::testing::ReadFile;
using warnings::testing::TempDir;
namespace fs = std::filesystem;
namespace texts = history_texts;

ShutdownRecord Record(const char* text, const char* node, LocalDateTime when) {
  return ShutdownRecord{text, node, ToShutdownTime(when)};
}

// Three shutdowns, appended out of time order.
const std::vector<ShutdownRecord> kThree = {
    Record("0E05 - MAIN I/O - REAR DISCHARGE DOOR OPENED", "MAIN I/O", {2026, 12, 6, 13, 40, 0, 0}),
    Record("0205 - BURNER #1 GRAIN OVERHEAT", "FAN/HEATER #1", {2026, 12, 6, 1, 5, 0, 0}),
    Record("0101 - DISPLAY I/O NETWORK CONNECTION FAILED", "DISPLAY I/O",
           {2026, 12, 7, 0, 2, 0, 0}),
};

class HistoryTest : public ::testing::Test {
 protected:
  HistoryTest() : paths_(data_.path(), data_.path() / "card") {}

  void SetUp() override {
    ASSERT_TRUE(warnings_.Start().ok());
    EXPECT_TRUE(prompter_.Questions().empty()) << "a healthy store starts without a word";
  }
  void AddThree() { ASSERT_TRUE(warnings_.store().AppendAll(kThree).ok()); }
  // Opens the history and runs `body` on it while it is open.
  void WithHistory(const std::function<void(HistoryDialog&)>& body) {
    bool ran = false;
    warnings_.SetHistoryRunner([&](HistoryDialog& dialog) {
      ran = true;
      dialog.open();
      body(dialog);
    });
    warnings_.OpenHistory(nullptr, ticks_.history_clear_hold);
    EXPECT_TRUE(ran);
  }
  static std::vector<std::string> FirstColumn(const HistoryDialog& dialog) {
    std::vector<std::string> column;
    for (int r = 0; r < dialog.model().rowCount(); ++r)
      column.push_back(dialog.model().index(r, 0).data().toString().toStdString());
    return column;
  }
  static std::vector<bool> Ticks(const HistoryDialog& dialog) {
    std::vector<bool> ticks;
    for (int id : {HistoryScreen::kSortedByWarningId, HistoryScreen::kSortedByTimeId,
                   HistoryScreen::kSortedByNodeId})
      ticks.push_back(dialog.ControlAs<QCheckBox>(id)->isChecked());
    return ticks;
  }

  TempDir data_;
  platform::Paths paths_;
  link::LinkShared shared_;
  platform::ScriptedPrompter prompter_;
  // The recorder's clock: the day after the three shutdowns above.
  warnings::testing::FakeClock* shutdown_clock_ =
      new warnings::testing::FakeClock({2026, 12, 8, 9, 0, 0, 0});
  WarningsSubsystem warnings_{paths_, shared_, prompter_,
                              std::unique_ptr<ShutdownClock>(shutdown_clock_)};
  // The shell's 1 s tick, asking the subsystem whether EXIT is held.
  platform::FakeClock clock_;
  shell::Settings settings_;
  testing::QuietTickHost host_;
  std::uint32_t blink_word_ = 0;
  shell::Housekeeping ticks_{shared_, clock_, settings_, host_, prompter_, blink_word_};
};

TEST_F(HistoryTest, TheListOpensNewestFirstAndEachSortRunsFromTheLastKeyDown) {
  AddThree();
  WithHistory([&](HistoryDialog& dialog) {
    EXPECT_EQ(dialog.Caption(), "Shutdown History -29");
    EXPECT_EQ(dialog.model().columnCount(), 4);
    EXPECT_EQ(dialog.model().headerData(0, Qt::Horizontal, Qt::DisplayRole), "Shutdown ID");
    EXPECT_EQ(dialog.model().headerData(3, Qt::Horizontal, Qt::DisplayRole), "Time");
    // All four columns fit the list: the shutdown text gives up what it lacks.
    int total = 0;
    for (int c = 0; c < 4; ++c) total += dialog.list()->columnWidth(c);
    EXPECT_LE(total, dialog.list()->viewport()->width());
    EXPECT_LE(dialog.list()->columnWidth(0), 325);
    EXPECT_GE(dialog.list()->columnWidth(1), 90) << "widened to the longest node name, never less";
    EXPECT_EQ(dialog.list()->columnWidth(2), 90);
    EXPECT_EQ(dialog.list()->textElideMode(), Qt::ElideNone);
    EXPECT_EQ(dialog.screen().count(), 3U);
    EXPECT_EQ(FirstColumn(dialog),
              (std::vector<std::string>{"0101 - DISPLAY I/O NETWORK CONNECTION FAILED",
                                        "0E05 - MAIN I/O - REAR DISCHARGE DOOR OPENED",
                                        "0205 - BURNER #1 GRAIN OVERHEAT"}));
    EXPECT_EQ(dialog.model().index(1, 1).data(), "MAIN I/O");
    EXPECT_EQ(dialog.model().index(1, 2).data(), "Dec 06, 2026");
    EXPECT_EQ(dialog.model().index(1, 3).data(), "1:40 PM");
    EXPECT_EQ(Ticks(dialog), (std::vector<bool>{false, true, false}));

    dialog.ControlAs<QPushButton>(HistoryScreen::kSortByWarningId)->click();
    EXPECT_EQ(FirstColumn(dialog),
              (std::vector<std::string>{"0E05 - MAIN I/O - REAR DISCHARGE DOOR OPENED",
                                        "0205 - BURNER #1 GRAIN OVERHEAT",
                                        "0101 - DISPLAY I/O NETWORK CONNECTION FAILED"}));
    EXPECT_EQ(Ticks(dialog), (std::vector<bool>{true, false, false}));

    dialog.ControlAs<QPushButton>(HistoryScreen::kSortByNodeId)->click();
    EXPECT_EQ(dialog.model().index(0, 1).data(), "MAIN I/O");
    EXPECT_EQ(dialog.model().index(1, 1).data(), "FAN/HEATER #1");
    EXPECT_EQ(dialog.model().index(2, 1).data(), "DISPLAY I/O");
    EXPECT_EQ(Ticks(dialog), (std::vector<bool>{false, false, true}));

    // A shutdown recorded while the screen is open shows from the next fill on.
    warnings_.OnWarningCodeChanged(0x0F, 0x02);
    EXPECT_EQ(dialog.model().rowCount(), 3);
    dialog.ControlAs<QPushButton>(HistoryScreen::kSortByTimeId)->click();
    EXPECT_EQ(FirstColumn(dialog).front(), "0F02 - MAX DRYING TIME EXCEEDED");
    EXPECT_EQ(Ticks(dialog), (std::vector<bool>{false, true, false}));
  });
  EXPECT_TRUE(prompter_.Clean()) << prompter_.Problems();
}

TEST_F(HistoryTest, ShowHelpFileOpensTheHelpOfTheSelectedRowAndKeepsItOpenPastTheWarning) {
  AddThree();
  std::vector<WarningCode> helped;
  std::vector<bool> closed_by_tick;
  warnings_.help().SetRunner([&](HelpDialog& help) {
    helped.push_back(help.help_code());
    EXPECT_EQ(help.parentWidget(), warnings_.history_dialog());
    help.open();
    warnings_.CloseWarningHelp();  // no warning live: the tick would close warning help
    closed_by_tick.push_back(!help.isVisible());
    help.reject();
  });
  WithHistory([&](HistoryDialog& dialog) {
    prompter_.Script(Answer::kOk);
    dialog.ControlAs<QPushButton>(HistoryScreen::kShowHelpId)->click();
    ASSERT_EQ(prompter_.Questions().size(), 1U);
    EXPECT_EQ(prompter_.Last()->text, texts::kNoItemSelectedText);
    EXPECT_EQ(prompter_.Last()->caption, texts::kNoItemSelectedCaption);
    EXPECT_EQ(prompter_.Last()->buttons, platform::Buttons::kOkCancel);
    EXPECT_EQ(prompter_.Last()->icon, platform::Icon::kInformation);
    EXPECT_TRUE(helped.empty());

    dialog.SelectRow(1);
    dialog.ControlAs<QPushButton>(HistoryScreen::kShowHelpId)->click();
    EXPECT_TRUE(warnings_.help().opened_from_history());
    dialog.ControlAs<QPushButton>(HistoryScreen::kExitId)->click();
  });
  EXPECT_EQ(helped, (std::vector<WarningCode>{0x0E05}));
  EXPECT_EQ(closed_by_tick, (std::vector<bool>{false}));
  EXPECT_FALSE(warnings_.help().opened_from_history()) << "EXIT clears it";
  EXPECT_TRUE(prompter_.Clean()) << prompter_.Problems();
}

TEST_F(HistoryTest, AnEmptyHistoryShowsNoRowsAndHelpAsksForASelection) {
  WithHistory([&](HistoryDialog& dialog) {
    EXPECT_EQ(dialog.model().rowCount(), 0);
    EXPECT_EQ(dialog.model().columnCount(), 4);
    prompter_.Script(Answer::kCancel);
    dialog.ControlAs<QPushButton>(HistoryScreen::kShowHelpId)->click();
    EXPECT_EQ(prompter_.CountAsked(texts::kNoItemSelectedText), 1U);
  });
  EXPECT_TRUE(prompter_.Clean()) << prompter_.Problems();
}

TEST_F(HistoryTest, ExitClosesOnAShortPressAndAsksToClearAfterFiveSecondsHeld) {
  AddThree();
  host_.held = [this] { return warnings_.HistoryClearButtonHeld(); };
  WithHistory([&](HistoryDialog& dialog) {
    auto* exit = dialog.ControlAs<QPushButton>(HistoryScreen::kExitId);
    auto hold_for = [&](int seconds) {
      exit->setDown(true);
      for (int s = 0; s < seconds; ++s) ticks_.OneSecondTick();
      exit->setDown(false);
    };
    bool closed = false;
    QObject::connect(&dialog, &QDialog::finished, [&] { closed = true; });

    // Four seconds is not enough: the countdown is at 1 when EXIT goes up, and the next
    // second puts it back.
    hold_for(4);
    EXPECT_EQ(ticks_.history_clear_hold, 1);
    ticks_.OneSecondTick();
    EXPECT_EQ(ticks_.history_clear_hold, 5);

    // Five seconds, then No: the screen stays open with everything in it.
    hold_for(5);
    EXPECT_EQ(ticks_.history_clear_hold, 0);
    prompter_.Script(Answer::kNo);
    exit->click();
    EXPECT_FALSE(closed);
    ASSERT_EQ(prompter_.Questions().size(), 1U);
    EXPECT_EQ(prompter_.Last()->text, texts::kClearQuestionText);
    EXPECT_EQ(prompter_.Last()->caption, texts::kClearQuestionCaption);
    EXPECT_EQ(prompter_.Last()->buttons, platform::Buttons::kYesNo);
    EXPECT_EQ(prompter_.Last()->icon, platform::kExclamation);
    EXPECT_EQ(dialog.model().rowCount(), 3);
    EXPECT_EQ(ticks_.history_clear_hold, HistoryScreen::kExitHoldAfterClear);

    // Sorted otherwise, held again, Yes: empty, four columns, sorted by time.
    dialog.ControlAs<QPushButton>(HistoryScreen::kSortByNodeId)->click();
    ticks_.OneSecondTick();
    hold_for(5);
    prompter_.Script(Answer::kYes);
    exit->click();
    EXPECT_FALSE(closed);
    EXPECT_EQ(dialog.model().rowCount(), 0);
    EXPECT_EQ(dialog.model().columnCount(), 4);
    EXPECT_EQ(Ticks(dialog), (std::vector<bool>{false, true, false}));
    EXPECT_EQ(warnings_.store().CountShutdowns().count, 0U);

    // After the clear, shutdowns are recorded again, and a short press closes.
    ticks_.OneSecondTick();
    EXPECT_EQ(warnings_.OnWarningCodeChanged(0x02, 0x05).outcome, RecordOutcome::kRecorded);
    exit->click();
    EXPECT_TRUE(closed);
  });
  EXPECT_FALSE(warnings_.HistoryClearButtonHeld()) << "no history screen, nothing held";
  EXPECT_EQ(warnings_.store().CountShutdowns().count, 1U);
  EXPECT_TRUE(prompter_.Clean()) << prompter_.Problems();
}

class HistoryExportTest : public HistoryTest {
 protected:
  fs::path card() const { return paths_.UsbDir(); }
  fs::path exported() const { return card() / texts::kExportFileName; }
};

TEST_F(HistoryExportTest, AMissingCardIsAskedForUntilItIsThereThenTheCopyIsConfirmed) {
  AddThree();
  WithHistory([&](HistoryDialog& dialog) {
    // No card, Retry, still none, Cancel: nothing written.
    prompter_.Script(Answer::kRetry);
    prompter_.Script(Answer::kCancel);
    EXPECT_FALSE(dialog.screen().CopyToUsb().has_value());
    EXPECT_EQ(prompter_.CountAsked(texts::kCardMissingText), 2U);
    EXPECT_EQ(prompter_.Last()->caption, texts::kCardMissingCaption);
    EXPECT_EQ(prompter_.Last()->buttons, platform::Buttons::kRetryCancel);
    EXPECT_EQ(prompter_.Last()->icon, platform::Icon::kError);

    // With the card in, No to the copy question copies nothing.
    prompter_.Script(Answer::kNo);
    fs::create_directory(card());
    EXPECT_FALSE(dialog.screen().CopyToUsb().has_value());
    EXPECT_EQ(prompter_.Last()->text, texts::kExportQuestionText);
    EXPECT_EQ(prompter_.Last()->caption, texts::kExportQuestionCaption);
    EXPECT_EQ(prompter_.Last()->buttons, platform::Buttons::kYesNoCancel);
    EXPECT_FALSE(fs::exists(exported()));
    fs::remove(card());
  });

  fs::create_directory(card());
  WithHistory([&](HistoryDialog& dialog) {
    prompter_.Script(Answer::kYes);
    prompter_.Script(Answer::kOk);
    dialog.ControlAs<QPushButton>(HistoryScreen::kCopyToUsbId)->click();
    EXPECT_EQ(prompter_.Last()->text, texts::kExportDoneText);
    EXPECT_EQ(prompter_.Last()->buttons, platform::Buttons::kOk);
  });
  EXPECT_EQ(ReadFile(exported()),
            "0205 - BURNER #1 GRAIN OVERHEAT;FAN/HEATER #1;Dec 06, 2026;1:05 AM;\n"
            "0E05 - MAIN I/O - REAR DISCHARGE DOOR OPENED;MAIN I/O;Dec 06, 2026;1:40 PM;\n"
            "0101 - DISPLAY I/O NETWORK CONNECTION FAILED;DISPLAY I/O;Dec 07, 2026;12:02 AM;\n");
  EXPECT_TRUE(prompter_.Clean()) << prompter_.Problems();
}

TEST_F(HistoryExportTest, AFileThatCannotBeCreatedIsReportedNotPassedOffAsACopy) {
  AddThree();
  fs::create_directories(card() / texts::kExportTempFileName);  // stands in for a locked card
  WithHistory([&](HistoryDialog& dialog) {
    prompter_.Script(Answer::kYes);
    prompter_.Script(Answer::kOk);
    const auto result = dialog.screen().CopyToUsb();
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->status, ExportStatus::kCannotCreate);
    EXPECT_TRUE(prompter_.Last()->text.starts_with(texts::kCannotCreateText))
        << prompter_.Last()->text;
    EXPECT_EQ(prompter_.Last()->caption, texts::kExportFailedCaption);
    EXPECT_EQ(prompter_.Last()->icon, platform::Icon::kError);
    EXPECT_EQ(prompter_.CountAsked(texts::kExportDoneText), 0U);
  });
  EXPECT_FALSE(fs::exists(exported()));
  EXPECT_TRUE(prompter_.Clean()) << prompter_.Problems();
}

TEST_F(HistoryExportTest, AWriteThatFailsPartWayIsReportedAndLeavesNoFile) {
  // About 150 KB of history onto a "card" that takes 64 KB: a file size limit stops root too.
  std::vector<ShutdownRecord> many(2000, kThree[1]);
  ASSERT_TRUE(warnings_.store().AppendAll(many).ok());
  fs::create_directory(card());
  platform::ScriptedPrompter prompter{Answer::kYes, Answer::kOk};
  struct NoHelp : HistoryHelp {
    void SetHelpFromHistory(bool) override {}
    void ShowHelp(WarningCode) override {}
  } no_help;
  int hold = 5;
  HistoryScreen screen(warnings_.store(), prompter, card(), no_help, hold);

  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    std::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{64 * 1024, 64 * 1024};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const auto result = screen.CopyToUsb();
    const auto* told = prompter.Last();
    const bool reported = result && result->status == ExportStatus::kWriteFailed &&
                          told != nullptr && told->text.starts_with(texts::kWriteFailedText) &&
                          told->caption == texts::kExportFailedCaption &&
                          prompter.CountAsked(texts::kExportDoneText) == 0 && prompter.Clean();
    ::_exit(reported ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the failed write was not reported as a failure";
  EXPECT_TRUE(fs::is_empty(card())) << "neither the file nor a partial one is left";
}

TEST(WarningsStartUp, ADamagedHistoryIsSetAsideAndTheOperatorToldWhere) {
  TempDir data;
  warnings::testing::WriteFile(data.path() / "ShutdownHistoryDB",
                               std::string(8192, '\x5A') + "not a database");
  const platform::Paths paths(data.path(), data.path() / "card");
  link::LinkShared shared;
  platform::ScriptedPrompter prompter{Answer::kOk};
  WarningsSubsystem warnings(paths, shared, prompter);
  const StoreResult result = warnings.Start();
  EXPECT_EQ(result.status, StoreStatus::kRecovered);
  ASSERT_EQ(prompter.Questions().size(), 1U);
  EXPECT_NE(prompter.Last()->text.find(result.damaged_file.string()), std::string::npos)
      << prompter.Last()->text;
  EXPECT_EQ(warnings.OnWarningCodeChanged(2, 5).outcome, RecordOutcome::kRecorded);

  // A data folder that is not there: the operator learns shutdowns will not be kept.
  const platform::Paths gone(data.path() / "missing", data.path() / "card");
  platform::ScriptedPrompter told{Answer::kOk};
  WarningsSubsystem without_disk(gone, shared, told);
  EXPECT_FALSE(without_disk.Start().ok());
  ASSERT_EQ(told.Questions().size(), 1U);
  EXPECT_TRUE(told.Last()->text.starts_with("ERROR: The shutdown history cannot be opened."));
  EXPECT_EQ(told.Last()->icon, platform::Icon::kError);
  EXPECT_EQ(without_disk.OnWarningCodeChanged(2, 5).outcome, RecordOutcome::kFailed);
}

}  // namespace
}  // namespace orvandry::warnings::ui
