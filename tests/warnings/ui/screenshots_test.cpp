// Renders the warning window, the help and the history as an operator sees them, saves them as
// PNGs for a person to look at, and checks what a person would check first.

#include <gtest/gtest.h>

#include <QPixmap>

#include "../warnings_test_support.h"
#include "warnings/shutdown_time.h"
#include "warnings/ui/help_dialog.h"
#include "warnings/ui/history_dialog.h"
#include "warnings/ui/warning_window.h"
#include "warnings/ui/warnings_subsystem.h"
#include "warnings_ui_test_support.h"

namespace orvandry::warnings::ui {
namespace {

using testing::ScreenshotDir;
using testing::ViewWorld;

QImage Save(QWidget& widget, const char* name) {
  const QImage image = widget.grab().toImage();
  EXPECT_TRUE(image.save(QString::fromStdString((ScreenshotDir() / name).string())));
  return image;
}

// How many pixels of `image` inside `area` have exactly this colour.
int CountColour(const QImage& image, QRect area, QColor colour) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y)
    for (int x = area.left(); x <= area.right(); ++x) n += image.pixelColor(x, y) == colour;
  return n;
}

TEST(Screenshots, WarningWindowForAGrainOverheatAndForALostLink) {
  ViewWorld world;
  WarningWindow window(nullptr, testing::WarningWindowDef(), world.ctx);
  window.show();
  world.SetCode(0x0205);
  const QImage warning = Save(window, "warning_0205.png");
  const platform::Rect client = window.ClientRect();
  // The red title is there, and the help button covers its place under the code's text.
  EXPECT_GT(CountColour(warning, QRect(client.x + 25, client.y, 380, 50), QColor(255, 0, 0)), 300);
  EXPECT_EQ(window.CurrentCaption(), " WARNING - DRYER SHUTTING DOWN!");

  world.shared.dryer_state.Set(link::status_map::kDryerStateBits, 0x10);
  world.shared.dryer_state.SetT16(link::status_map::kGrainTempSelector0, 187);
  Save(window, "warning_0205_emergency_cooling.png");

  world.LoseLink();
  for (int i = 0; i < 4; ++i) window.RequestReconnectStep(), window.Snapshot();
  const QImage lost = Save(window, "warning_link_lost.png");
  EXPECT_EQ(CountColour(lost, QRect(client.x + 25, client.y, 380, 50), QColor(255, 0, 0)), 0)
      << "no warning title while the link is lost";
  EXPECT_GT(CountColour(lost, QRect(client.x + 105, client.y + 66, 150, 9), QColor(0, 125, 0)), 500)
      << "the reconnect track";
}

TEST(Screenshots, HelpDialogWithTheDemoFilesOfAGrainOverheat) {
  link::LinkShared shared;
  platform::ScriptedPrompter prompter;
  const auto demo_data = testing::DemoHelpFolder().parent_path();
  HelpDialog dialog(nullptr, demo_data, shared, prompter, 0x0305, 0);
  dialog.show();
  const QImage image = Save(dialog, "help_0205.png");
  EXPECT_FALSE(dialog.picture_missing());
  EXPECT_GT(dialog.TextLines().size(), 10U);
  EXPECT_EQ(dialog.TextLines().front(), "BURNER GRAIN OVERHEAT (0205, 0305 ... 0705)");
  EXPECT_EQ(image.size(), dialog.size());
  EXPECT_TRUE(prompter.Clean()) << prompter.Problems();

  // The door warning live: the help shows the animation's frames.
  shared.dryer_state.Set(link::status_map::kWarningNode, 14);
  shared.dryer_state.Set(link::status_map::kWarningId, 5);
  HelpDialog door(nullptr, demo_data, shared, prompter, 0x0E05, 3);
  door.show();
  Save(door, "help_0e05_frame3.png");
  EXPECT_FALSE(door.picture_missing());
}

TEST(Screenshots, HistoryDialogWithAFewShutdowns) {
  warnings::testing::TempDir data;
  const platform::Paths paths(data.path(), data.path() / "card");
  link::LinkShared shared;
  platform::ScriptedPrompter prompter;
  WarningsSubsystem warnings(paths, shared, prompter);
  ASSERT_TRUE(warnings.Start().ok());
  const std::vector<ShutdownRecord> records = {
      {"0205 - BURNER #1 GRAIN OVERHEAT", "FAN/HEATER #1",
       ToShutdownTime({2026, 12, 6, 1, 5, 0, 0})},
      {"0E05 - MAIN I/O - REAR DISCHARGE DOOR OPENED", "MAIN I/O",
       ToShutdownTime({2026, 12, 6, 13, 40, 0, 0})},
      {"0F02 - MAX DRYING TIME EXCEEDED", "MOISTURE CONT",
       ToShutdownTime({2026, 12, 7, 22, 15, 0, 0})},
      {"0418 - FAN #3 NETWORK CONNECTION FAILED", "FAN/HEATER #3",
       ToShutdownTime({2026, 12, 8, 9, 0, 0, 0})},
      {"", "FAN/HEATER INT #2", ToShutdownTime({2026, 12, 8, 9, 30, 0, 0})},
  };
  ASSERT_TRUE(warnings.store().AppendAll(records).ok());
  int hold = 5;
  warnings.SetHistoryRunner([&](HistoryDialog& dialog) {
    dialog.show();
    dialog.SelectRow(1);
    Save(dialog, "history.png");
    EXPECT_EQ(dialog.model().rowCount(), 5);
  });
  warnings.OpenHistory(nullptr, hold);
}

}  // namespace
}  // namespace orvandry::warnings::ui
