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
using warnings::testing::TempDir;
using warnings::testing::WriteFile;
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

  TempDir data_;
  link::LinkShared shared_;
  platform::ScriptedPrompter prompter_;
};

TEST_F(HelpDialogTest, TheFanHeatersShareTheFilesOfTheFirstAndTheDoorAnimates) {
  HelpDialog fan4(nullptr, data_.path(), shared_, prompter_, 0x0405, 0);
  EXPECT_EQ(fan4.PictureToShow(), folder() / "NID_02_WARNING_ID_05.bmp");
  HelpDialog main_io(nullptr, data_.path(), shared_, prompter_, 0x0E01, 0);
  EXPECT_EQ(main_io.PictureToShow(), folder() / "NID_14_WARNING_ID_01.bmp");

  // While the door warning is live, any help shows the door, frame by frame.
  SetLive(0x0E05);
  const char* frames[7] = {"IMG_0141.bmp", "IMG_0142.bmp", "IMG_0143.bmp", "IMG_0144.bmp",
                           "IMG_0144.bmp", "IMG_0144.bmp", "IMG_0144.bmp"};
  for (int frame = 0; frame < 7; ++frame) {
    main_io.SetDoorFrame(frame);
    EXPECT_EQ(main_io.PictureToShow(), folder() / frames[frame]) << frame;
  }
  EXPECT_TRUE(prompter_.Clean()) << prompter_.Problems();
}

TEST_F(HelpDialogTest, TheTextListFollowsTheLineRulesAndSaysWhenThereIsNoText) {
  WriteFile(folder() / "NID_02_WARNING_ID_05.txt", "FIRST\r\n\tindented\r\nlast without end");
  HelpDialog dialog(nullptr, data_.path(), shared_, prompter_, 0x0705, 0);
  EXPECT_EQ(dialog.TextLines(), (std::vector<std::string>{"FIRST", "    indented"}));
  auto* list = dialog.ControlAs<QListWidget>(HelpDialog::kTextListId);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->count(), 2);

  HelpDialog none(nullptr, data_.path(), shared_, prompter_, 0x0F03, 0);
  EXPECT_EQ(none.TextLines(), (std::vector<std::string>{"NO TEXT FILE AVAILABLE."}));
  EXPECT_EQ(none.Caption(), "Shutdown Help File - 34");
  EXPECT_NE(none.Control(HelpDialog::kCloseId), nullptr);
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
  EXPECT_EQ(question.caption, " WARNING HELP FILE INFORMATION");
  EXPECT_EQ(question.buttons, platform::Buttons::kRetryCancel);
  EXPECT_EQ(question.icon, platform::Icon::kInformation);
  EXPECT_FALSE(dialog.picture_missing()) << "Retry tries again";

  // The technician copies the picture in; the next paint shows it 1:1 at (10, 0).
  CopyDemo("NID_02_WARNING_ID_05.bmp");
  const QImage shown = dialog.Snapshot();
  EXPECT_FALSE(dialog.picture_missing());
  const QImage picture(QString::fromStdString((folder() / "NID_02_WARNING_ID_05.bmp").string()));
  ASSERT_FALSE(picture.isNull());
  const platform::Rect client = dialog.ClientRect();
  int same = 0;
  for (QPoint p : {QPoint(5, 5), QPoint(120, 60), QPoint(240, 120), QPoint(60, 100)})
    same += shown.pixel(client.x + 10 + p.x(), client.y + p.y()) == picture.pixel(p);
  EXPECT_EQ(same, 4);
  QApplication::processEvents();
  EXPECT_TRUE(prompter_.Clean()) << prompter_.Problems();
}

TEST_F(HelpDialogTest, CancelOnAMissingPictureClosesTheHelp) {
  HelpDialog dialog(nullptr, data_.path(), shared_, prompter_, 0x0E09, 0);
  bool finished = false;
  QObject::connect(&dialog, &QDialog::finished, [&] { finished = true; });
  dialog.open();
  prompter_.Script(Answer::kCancel);
  dialog.Snapshot();
  QApplication::processEvents();
  EXPECT_TRUE(finished);
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_TRUE(prompter_.Clean()) << prompter_.Problems();
}

TEST_F(HelpDialogTest, TheTickClosesHelpForAWarningButNotHelpOpenedFromTheHistory) {
  WarningHelp help(data_.path(), shared_, prompter_);
  CopyDemo("IMG_0141.bmp");
  CopyDemo("IMG_0143.bmp");
  std::vector<bool> still_open;
  help.SetRunner([&](HelpDialog& dialog) {
    dialog.open();
    help.AdvanceAnimation(2);
    EXPECT_EQ(dialog.door_frame(), 2);
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
