#include "warnings/ui/help_dialog.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QListWidget>

#include "../warnings_test_support.h"
#include "warnings/help_files.h"
#include "warnings/ui/warning_help.h"
#include "warnings_ui_test_support.h"

namespace orvandry::warnings::ui {
namespace {

using platform::Answer;
namespace fs = std::filesystem;

class HelpDialogTest : public ::testing::Test {
 protected:
  HelpDialogTest() { fs::create_directories(folder()); }
  fs::path folder() const { return data_.path() / kHelpFolderName; }
  void CopyDemo(const std::string& name) {
    fs::copy_file(testing::DemoHelpFolder() / name, folder() / name,
                  fs::copy_options::overwrite_existing);
  }
  void SetLive(WarningCode code) {
    shared_.dryer_state.Set(link::status_map::kWarningNode, NodeIdOf(code));
    shared_.dryer_state.Set(link::status_map::kWarningId, WarningIdOf(code));
  }

  warnings::testing::TempDir data_;
  link::LinkShared shared_;
  platform::ScriptedPrompter prompter_;
};

TEST_F(HelpDialogTest, TheTextListFollowsTheLineRulesAndSaysWhenThereIsNoText) {
  warnings::testing::WriteFile(folder() / "NID_02_WARNING_ID_05.txt",
                               "FIRST\r\n\tindented\r\nlast without end");
  HelpDialog dialog(nullptr, data_.path(), shared_, prompter_, 0x0705, 0);
  EXPECT_EQ(dialog.TextLines(), (std::vector<std::string>{"FIRST", "    indented"}));
  EXPECT_EQ(dialog.ControlAs<QListWidget>(HelpDialog::kTextListId)->count(), 2);
  EXPECT_EQ(dialog.PictureToShow(), folder() / "NID_02_WARNING_ID_05.bmp");

  HelpDialog none(nullptr, data_.path(), shared_, prompter_, 0x0F03, 0);
  EXPECT_EQ(none.TextLines(), (std::vector<std::string>{"NO TEXT FILE AVAILABLE."}));
}

TEST_F(HelpDialogTest, AMissingPictureIsAskedAboutOnceAndRetryLoadsItWhenItIsThere) {
  HelpDialog dialog(nullptr, data_.path(), shared_, prompter_, 0x0205, 0);
  prompter_.Script(Answer::kRetry);
  dialog.Snapshot();
  dialog.Snapshot();  // painting again before the question is answered asks nothing more
  EXPECT_TRUE(dialog.picture_missing());
  EXPECT_TRUE(prompter_.Questions().empty()) << "never asked from inside a paint";
  QApplication::processEvents();
  ASSERT_EQ(prompter_.Questions().size(), 1U);
  const auto& question = prompter_.Questions()[0];
  EXPECT_EQ(question.text, "No help file available for this topic.");
  EXPECT_EQ(question.buttons, platform::Buttons::kRetryCancel);
  EXPECT_FALSE(dialog.picture_missing()) << "Retry tries again";

  // The technician copies the picture in; the next paint shows it 1:1 at (10, 0).
  CopyDemo("NID_02_WARNING_ID_05.bmp");
  const QImage shown = dialog.Snapshot();
  EXPECT_FALSE(dialog.picture_missing());
  const QImage picture(QString::fromStdString((folder() / "NID_02_WARNING_ID_05.bmp").string()));
  ASSERT_FALSE(picture.isNull());
  const platform::Rect client = dialog.ClientRect();
  for (QPoint p : {QPoint(5, 5), QPoint(120, 60), QPoint(240, 120), QPoint(60, 100)})
    EXPECT_EQ(shown.pixel(client.x + 10 + p.x(), client.y + p.y()), picture.pixel(p)) << p.x();
  QApplication::processEvents();
  EXPECT_TRUE(prompter_.Clean()) << prompter_.Problems();

  // Cancel closes the help.
  HelpDialog other(nullptr, data_.path(), shared_, prompter_, 0x0E09, 0);
  bool finished = false;
  QObject::connect(&other, &QDialog::finished, [&] { finished = true; });
  other.open();
  prompter_.Script(Answer::kCancel);
  other.Snapshot();
  QApplication::processEvents();
  EXPECT_TRUE(finished);
  EXPECT_FALSE(other.isVisible());
  EXPECT_TRUE(prompter_.Clean()) << prompter_.Problems();
}

TEST_F(HelpDialogTest, TheTickAnimatesTheDoorAndClosesHelpForAWarningButNotFromTheHistory) {
  WarningHelp help(data_.path(), shared_, prompter_);
  CopyDemo("IMG_0141.bmp");
  CopyDemo("IMG_0143.bmp");
  std::vector<bool> still_open;
  help.SetRunner([&](HelpDialog& dialog) {
    dialog.open();
    help.AdvanceAnimation(2);
    EXPECT_EQ(dialog.door_frame(), 2);
    // While the door warning is live, any help shows the door.
    EXPECT_EQ(dialog.PictureToShow(), folder() / "IMG_0143.bmp");
    help.CloseUnlessFromHistory();
    still_open.push_back(dialog.isVisible());
    dialog.reject();
  });

  SetLive(0x0E05);
  help.Open(nullptr, 0x0E05);
  help.SetOpenedFromHistory(true);
  help.Open(nullptr, 0x0E01);
  EXPECT_EQ(still_open, (std::vector<bool>{false, true}));
  EXPECT_EQ(help.open_dialog(), nullptr);

  // The frame the tick last gave is where a newly opened help starts.
  help.SetRunner([](HelpDialog& dialog) { EXPECT_EQ(dialog.door_frame(), 2); });
  help.Open(nullptr, 0x0E05);
  help.AdvanceAnimation(9);
  EXPECT_EQ(help.door_frame(), 2) << "wraps at seven frames";
}

}  // namespace
}  // namespace orvandry::warnings::ui
