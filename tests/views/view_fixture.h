#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <string_view>

#include "link/link_shared.h"
#include "platform/canvas.h"
#include "platform/clock.h"
#include "platform/scripted_prompter.h"
#include "shell/housekeeping.h"
#include "shell/settings.h"
#include "shell/shell_fakes.h"
#include "views/view_context.h"

namespace orvandry::views::testing {

// Everything a view reads, owned by the test; the tick host counts the repaints the ticks ask for.
struct ViewWorld {
  link::LinkShared shared;
  std::uint32_t blink_word = 0x01;
  shell::Settings settings;
  platform::ScriptedPrompter prompter;
  platform::FakeClock clock{platform::LocalDateTime{2024, 10, 14, 21, 40, 0, 1}};
  shell::testing::FakeTickHost host;
  shell::Housekeeping ticks{shared, clock, settings, host, prompter, blink_word};
  ViewContext ctx{shared, blink_word, ticks.phases, settings, prompter, clock, {}};

  link::ByteImage& state() { return shared.dryer_state; }
  void SetSi(bool si) { shared.si_units.store(si ? 1 : 0); }
  void SetBlink(bool on) { blink_word = on ? (blink_word | 1U) : (blink_word & ~1U); }
};

// A measurer by which every text fits its box, so a canvas records the fonts the rules ask for;
// the squeezing of long texts is tested on its own with the real font.
inline platform::Size EverythingFits(std::string_view, platform::Font font) {
  return platform::Size{1, font.height};
}

// Saves a screenshot when ORVANDRY_SCREENSHOT_DIR names a folder; the tests look at the image
// themselves either way.
inline void SaveScreenshot(const QImage& image, const char* name) {
  const QString dir = qEnvironmentVariable("ORVANDRY_SCREENSHOT_DIR");
  if (!dir.isEmpty()) image.save(dir + "/" + QString::fromLatin1(name) + ".png");
}

}  // namespace orvandry::views::testing
