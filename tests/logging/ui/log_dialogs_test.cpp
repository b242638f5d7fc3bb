#include "logging/ui/log_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <deque>
#include <filesystem>
#include <fstream>

#include "csv_reader.h"
#include "link/status_map.h"
#include "logging/log_csv.h"
#include "logging/logging_test_support.h"
#include "logging/ui/logging_subsystem.h"
#include "platform/clock.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "shell/main_window.h"
#include "shell/settings.h"

namespace orvandry::logging::ui {
namespace {

namespace fs = std::filesystem;
namespace sm = link::status_map;
using platform::Answer;
using testing::TempDir;

// Answers from a script and runs `during` while each question is open (the ticks go on under a
// message box).
class TickingPrompter final : public platform::Prompter {
 public:
  struct Asked {
    std::string text, caption;
  };
  std::deque<Answer> answers;
  std::function<void()> during;
  std::vector<Asked> asked;

 protected:
  Answer DoAsk(std::string_view text, std::string_view caption, platform::Buttons buttons,
               platform::Icon) override {
    asked.push_back({std::string(text), std::string(caption)});
    if (during) during();
    if (answers.empty()) return platform::DecliningAnswer(buttons);
    const Answer a = answers.front();
    answers.pop_front();
    return a;
  }
};

void SaveScreenshot(QWidget& widget, const char* name) {
  const QString dir = qEnvironmentVariable("ORVANDRY_SCREENSHOT_DIR");
  if (!dir.isEmpty()) widget.grab().save(dir + "/" + QString::fromLatin1(name) + ".png");
}

class LogDialogsTest : public ::testing::Test {
 protected:
  LogDialogsTest()
      : paths_(data_.path(), card_.path() / "usb"),
        logging_(paths_, shared_, prompter_),
        window_(shared_, settings_, prompter_, store_, clock_, {&logging_}) {
    logging_.store().SetSync(false);
    fs::create_directories(paths_.UsbDir());
  }

  // Opens the dialog through the shell and presses `controls` in it.
  void Open(int template_id, std::vector<int> controls, const char* screenshot = nullptr) {
    logging_.SetDialogRunner([&](platform::Dialog& dialog) {
      if (screenshot != nullptr) {
        dialog.show();
        SaveScreenshot(dialog, screenshot);
      }
      opened_box_ = template_id == sample_time_id::kTemplate
                        ? TickedBox(static_cast<SampleTimeDialog&>(dialog))
                        : 0;
      for (int id : controls) {
        if (template_id == sample_time_id::kTemplate)
          static_cast<SampleTimeDialog&>(dialog).OnControl(id);
        else
          static_cast<DayLoggerDialog&>(dialog).OnControl(id);
      }
      dialog.hide();
    });
    shell::DialogRequest request;
    request.template_id = template_id;
    ASSERT_TRUE(window_.OpenDialog(request));
  }
  static int TickedBox(SampleTimeDialog& dialog) {
    for (int box : sample_time_id::kBoxes)
      if (dialog.Box(box)->isChecked()) return box;
    return 0;
  }
  void Connect() { shared_.first_frame_accepted.store(true); }

  TempDir data_, card_;
  platform::Paths paths_;
  link::LinkShared shared_;
  shell::Settings settings_;
  TickingPrompter prompter_;
  platform::MemorySettingsStore store_;
  platform::FakeClock clock_{{2026, 12, 7, 21, 5, 9, 1}};
  LoggingSubsystem logging_;
  shell::MainWindow window_;
  int opened_box_ = 0;
};

TEST_F(LogDialogsTest, SampleTimeAppliesOnAcceptOnly) {
  struct Case {
    const char* name;
    std::uint8_t in_force;
    std::vector<int> presses;
    std::deque<Answer> answers;
    int box_at_open;
    std::uint8_t minutes_after;
    bool stored, cleared;
  };
  const Case cases[] = {
      {"1 MINUTE, ACCEPT", 10, {1223, 1189}, {}, 1226, 1, true, false},
      {"15 then CLEAR TABLE, No", 10, {1229, 1190}, {Answer::kNo}, 1226, 10, false, false},
      {"CLEAR TABLE, Yes", 5, {1223, 1190}, {Answer::kYes}, 1224, 5, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    store_.Remove(shell::kTempDataLogSampleTime);
    settings_.sample_minutes = c.in_force;
    window_.housekeeping().short_term_countdown = 77;
    ASSERT_TRUE(logging_.store().WriteShortTermSample({}, clock_.Now()));
    prompter_.answers = c.answers;
    Open(sample_time_id::kTemplate, c.presses, c.stored ? "sample_time_245" : nullptr);
    EXPECT_EQ(opened_box_, c.box_at_open);
    EXPECT_EQ(settings_.sample_minutes, c.minutes_after);
    EXPECT_EQ(store_.ReadByte(shell::kTempDataLogSampleTime),
              c.stored ? std::optional<std::uint8_t>(c.minutes_after) : std::nullopt);
    EXPECT_EQ(window_.housekeeping().short_term_countdown, c.stored ? 0u : 77u);
    EXPECT_EQ(logging_.Reader().CountShortTermSamples() == 0, c.cleared);
    EXPECT_TRUE(prompter_.answers.empty());
  }
  EXPECT_EQ(prompter_.asked.back().text, kClearTableText);
  EXPECT_EQ(prompter_.asked.back().caption, kClearTableCaption);
}

TEST_F(LogDialogsTest, OnAndOffGoThroughThePendingWriteAndIndicatorsFollowTheDryer) {
  Connect();
  shared_.dryer_state.Set(sm::kDataLoggerSetting, 0x80);
  DayLoggerDialog* seen = nullptr;
  bool on_indicator = true;
  logging_.SetDialogRunner([&](platform::Dialog& d) {
    auto& dialog = static_cast<DayLoggerDialog&>(d);
    seen = &dialog;
    dialog.OnControl(day_logger_id::kOn);
    on_indicator = dialog.Indicator(day_logger_id::kOnIndicator)->isChecked();
    EXPECT_EQ(logging_.day_logger(), &dialog);
    shared_.dryer_state.Set(sm::kDataLoggerSetting, 0x81);  // the dryer echoes it
    logging_.OnSecondTick();
    EXPECT_TRUE(dialog.Indicator(day_logger_id::kOnIndicator)->isChecked());
    EXPECT_FALSE(dialog.Indicator(day_logger_id::kOffIndicator)->isChecked());
  });
  shell::DialogRequest request;
  request.template_id = day_logger_id::kTemplate;
  window_.OpenDialog(request);
  ASSERT_NE(seen, nullptr);
  EXPECT_FALSE(on_indicator) << "the dryer has not taken it yet";
  EXPECT_TRUE(shared_.pending.IsRaised(link::Rec::kDataLogger));
  EXPECT_EQ(shared_.request.Get(sm::kDataLoggerSetting), 0x81);
  EXPECT_EQ(logging_.day_logger(), nullptr);

  Open(day_logger_id::kTemplate, {day_logger_id::kOff}, "day_logger_258");
  EXPECT_EQ(shared_.request.Get(sm::kDataLoggerSetting), 0x80);
}

TEST_F(LogDialogsTest, Export) {
  struct Case {
    const char* name;
    bool card, name_taken;
    std::deque<Answer> answers;
    std::vector<std::string> captions;
    bool on_card, log_kept;
  };
  const Case cases[] = {
      {"no card: Retry, Cancel",
       false,
       false,
       {Answer::kRetry, Answer::kCancel},
       {kCardMissingCaption, kCardMissingCaption},
       false,
       true},
      {"copy declined", true, false, {Answer::kNo}, {kCopyCaption}, false, true},
      {"copied, kept",
       true,
       false,
       {Answer::kYes, Answer::kOk, Answer::kNo},
       {kCopyCaption, kCopiedCaption, kDeleteCaption},
       true,
       true},
      {"copied, deleted",
       true,
       false,
       {Answer::kYes, Answer::kOk, Answer::kYes},
       {kCopyCaption, kCopiedCaption, kDeleteCaption},
       true,
       false},
      {"same second twice",
       true,
       true,
       {Answer::kYes, Answer::kOk},
       {kCopyCaption, kCopyFailedCaption},
       false,
       true},
  };
  const std::string written = "LongTermDataLog26_12_07_21_05_09.DAT";
  LongTermLog& log = logging_.store().LongTerm();
  const LongTermRecord record{};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(paths_.UsbDir());
    if (c.card) fs::create_directories(paths_.UsbDir());
    if (c.name_taken) std::ofstream(paths_.UsbDir() / written) << "older";
    log.Delete();
    for (int i = 0; i < 3; ++i) log.Append(record, true);
    prompter_.asked.clear();
    prompter_.answers = c.answers;
    // A record every question: while the copy's questions are open they wait.
    prompter_.during = [&] { log.Append(record, true); };
    Open(day_logger_id::kTemplate, {day_logger_id::kExport});
    prompter_.during = nullptr;

    std::vector<std::string> captions;
    for (const auto& q : prompter_.asked) captions.push_back(q.caption);
    EXPECT_EQ(captions, c.captions);
    if (c.card) {
      EXPECT_EQ(prompter_.asked[0].text,
                "Copy dryer data log file to usb flash drive as " + written + ".");
    }
    EXPECT_EQ(c.on_card, fs::exists(paths_.UsbDir() / written) && !c.name_taken);
    if (c.on_card) {
      EXPECT_EQ(prompter_.asked[1].text, written);
      EXPECT_EQ(fs::file_size(paths_.UsbDir() / written), 4 * 16u) << "3 + the one of the question";
      // The CSV beside it holds the same records.
      std::ifstream csv_file(paths_.UsbDir() / CsvNameFor(written));
      const auto csv = orvandry::testing::ParseCsv(
          std::string(std::istreambuf_iterator<char>(csv_file), std::istreambuf_iterator<char>()));
      ASSERT_TRUE(csv.has_value());
      EXPECT_EQ(csv->size(), 1 + 4u) << "the header and the records copied";
      // The records of the two later questions were held: after a delete they start the new log.
      EXPECT_EQ(fs::file_size(log.Path()), (c.log_kept ? 6 : 2) * 16u);
    } else {
      const std::size_t added = c.captions.size();
      EXPECT_EQ(fs::file_size(log.Path()), (3 + added) * 16u);
    }
    if (c.name_taken) {
      EXPECT_EQ(prompter_.asked[1].text, std::string(kCopyFailedText) + "\n(File exists)");
      EXPECT_EQ(fs::file_size(paths_.UsbDir() / written), 5u) << "the older file stays";
    }
    EXPECT_FALSE(log.Held());
    EXPECT_TRUE(prompter_.answers.empty());
  }
}

}  // namespace
}  // namespace orvandry::logging::ui
