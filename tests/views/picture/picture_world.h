#pragma once

#include <QImage>
#include <QString>
#include <cstdint>

#include "link/link_shared.h"
#include "link/status_map.h"
#include "platform/clock.h"
#include "platform/scripted_prompter.h"
#include "shell/housekeeping.h"
#include "shell/settings.h"
#include "views/view_context.h"

namespace orvandry::views::testing {

// Counts the dryer picture's repaint requests; nothing else is asked of the ticks here.
class PictureTickHost final : public shell::TickHost {
 public:
  void RepaintStatusChart() override {}
  void RepaintGraphDrawingArea() override {}
  void RepaintDryerPicture() override { ++picture_repaints; }
  void RepaintWarningBlinkArea() override {}
  void SetWarningWindowVisible(bool) override {}
  void CloseWarningHelp() override {}
  void AdvanceHelpAnimation(int) override {}
  void UpdateOptionalSetupButtons() override {}
  void RepaintOpenDialogs() override {}
  bool HistoryClearButtonHeld() override { return false; }
  void HandleBatchTimerHolds() override {}
  void OpenDayDataLogger() override {}

  int picture_repaints = 0;
};

// Everything the dryer picture reads, owned by the test.
struct PictureWorld {
  link::LinkShared shared;
  std::uint32_t blink_word = 0x01;
  shell::Settings settings;
  platform::ScriptedPrompter prompter;
  platform::FakeClock clock{platform::LocalDateTime{2024, 10, 14, 21, 40, 0, 1}};
  PictureTickHost host;
  shell::Housekeeping ticks{shared, clock, settings, host, prompter, blink_word};
  ViewContext ctx{shared, blink_word, ticks, settings, prompter, clock};

  link::ByteImage& state() { return shared.dryer_state; }
  void SetSi(bool si) { shared.si_units.store(si ? 1 : 0); }
};

// Saves a screenshot when ORVANDRY_SCREENSHOT_DIR names a folder.
inline void SaveScreenshot(const QImage& image, const char* name) {
  const QString dir = qEnvironmentVariable("ORVANDRY_SCREENSHOT_DIR");
  if (!dir.isEmpty()) image.save(dir + "/" + QString::fromLatin1(name) + ".png");
}

}  // namespace orvandry::views::testing
