// The defaults dipswitch notice: opened by the controller's request through the main window,
// never again once the operator has left it, and what it shows.
#include "setup/defaults_notice.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTimer>

#include "platform/child_window.h"
#include "platform/clock.h"
#include "platform/recording_canvas.h"
#include "platform/scripted_prompter.h"
#include "platform/settings_store.h"
#include "resources/picture_library.h"
#include "setup/defaults_notice_dialog.h"
#include "setup/setup_subsystem.h"
#include "shell/main_window.h"

namespace orvandry::setup {
namespace {

using shell::Win;

class DefaultsNoticeTest : public ::testing::Test {
 protected:
  DefaultsNoticeTest() {
    shared.first_frame_accepted = true;
    window.show();
  }
  // The controller asks; the main window takes the request through `take`. Returns how many
  // notices opened; each is left with EXIT (or, with `escape`, the way a keyboard would).
  int Request(void (shell::MainWindow::*take)(), bool escape = false) {
    int opened = 0;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<DefaultsNoticeDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      ++opened;
      EXPECT_EQ(dialog->parentWidget(), static_cast<QWidget*>(window.Window(Win::kLineGraph)));
      EXPECT_FALSE(shared.defaults_confirmed.load()) << "confirmed only when left";
      Save(*dialog, "defaults_notice");
      if (escape)
        dialog->reject();
      else
        dialog->ExitButton()->click();
    });
    shared.defaults_request.store(1);
    (window.*take)();
    QApplication::processEvents();  // a timer that found nothing to close runs here
    return opened;
  }
  void Save(QWidget& widget, const char* name) {
    const QString dir = qEnvironmentVariable("ORVANDRY_SCREENSHOT_DIR");
    if (!dir.isEmpty()) widget.grab().save(QDir(dir).filePath(QString::fromLatin1(name) + ".png"));
  }

  link::LinkShared shared;
  shell::Settings settings;
  platform::ScriptedPrompter prompter;
  platform::MemorySettingsStore store;
  platform::FakeClock clock;
  SetupSubsystem setup;
  shell::MainWindow window{shared, settings, prompter, store, clock, {&setup}};
};

TEST_F(DefaultsNoticeTest, TheControllersRequestOpensItOnceAndNeverAgainAfterExit) {
  for (auto take : {&shell::MainWindow::DeliverIntake, &shell::MainWindow::HundredMsTick}) {
    shared.defaults_confirmed.store(false);
    EXPECT_EQ(Request(take), 1);
    EXPECT_TRUE(shared.defaults_confirmed.load());
    EXPECT_EQ(Request(take), 0) << "confirmed: later requests open nothing";
    EXPECT_EQ(Request(&shell::MainWindow::HundredMsTick), 0);
  }
  EXPECT_FALSE(shared.pending.AnyRaised()) << "the notice sends nothing";
}

TEST_F(DefaultsNoticeTest, LeavingItAnyOtherWayCountsAsSeen) {
  EXPECT_EQ(Request(&shell::MainWindow::DeliverIntake, /*escape=*/true), 1);
  EXPECT_TRUE(shared.defaults_confirmed.load());
  EXPECT_EQ(Request(&shell::MainWindow::DeliverIntake), 0);
}

TEST_F(DefaultsNoticeTest, ItShowsFourLinesThePictureAndExit) {
  DefaultsNotice notice(shared);
  platform::RecordingCanvas canvas(DefaultsNoticeDialog::kClientSize);
  notice.Paint(canvas);
  EXPECT_EQ(canvas.Texts(), (std::vector<std::string>{
                                "Located on the back of the Control Switch Input/Output Board",
                                "is a dipswitch labelled \"RESET DEFAULTS\".  This needs to be",
                                "switched back to the left (red light should be off).",
                                "Below is a picture of the dipswitch."}));
  const auto pictures = canvas.All<platform::PictureCall>();
  ASSERT_EQ(pictures.size(), 1U);
  EXPECT_EQ(pictures[0]->resource, 254);
  EXPECT_EQ(pictures[0]->at, (platform::Point{16, 127}));
  ASSERT_TRUE(resources::SharedPictures().Has(254));
  EXPECT_EQ(resources::SharedPictures().NaturalSize(254), QSize(180, 84));

  DefaultsNoticeDialog dialog(nullptr, notice);
  EXPECT_EQ(dialog.Caption(), "Please turn off DEFAULTS dipswitch! - 33");
  const platform::Rect c = dialog.ClientRect();
  EXPECT_EQ(dialog.ExitButton()->geometry(), QRect(c.x + 222, c.y + 172, 111, 46));
  EXPECT_EQ(dialog.ExitButton()->text(), "EXIT");
  // The text fits its lines, and the picture sits clear of the text and of EXIT.
  const QFontMetrics metrics([] {
    QFont f;
    f.setPixelSize(13);
    f.setBold(true);
    return f;
  }());
  for (std::size_t i = 0; i < kDefaultsLines.size(); ++i)
    EXPECT_LE(metrics.horizontalAdvance(QString::fromLatin1(kDefaultsLines[i])),
              DefaultsLineRect(static_cast<int>(i)).w)
        << i;
  EXPECT_LT(DefaultsLineRect(3).y + DefaultsLineRect(3).h, 127);
  EXPECT_LT(16 + 180, 222);
}

}  // namespace
}  // namespace orvandry::setup
