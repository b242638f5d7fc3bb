#pragma once

#include <QImage>
#include <cstdint>
#include <filesystem>
#include <string>

#include "link/link_shared.h"
#include "link/status_map.h"
#include "platform/clock.h"
#include "platform/scripted_prompter.h"
#include "shell/housekeeping.h"
#include "shell/settings.h"
#include "shell/view_context.h"
#include "shell/window_table.h"
#include "warnings/warning_code.h"

namespace orvandry::warnings::ui::testing {

namespace sm = link::status_map;

// A tick host that ignores what the ticks ask.
class QuietTickHost final : public shell::TickHost {
 public:
  void Repaint(shell::Win) override {}
  void SetWarningWindowVisible(bool) override {}
  void OpenDialog(int, shell::Win) override {}
  bool ModalOpen() const override { return false; }
};

// Everything a view context refers to, owned in one place.
struct ViewWorld {
  link::LinkShared shared;
  std::uint32_t blink_word = 0x01;  // title shown
  platform::FakeClock clock;
  shell::Settings settings;
  platform::ScriptedPrompter prompter;
  QuietTickHost host;
  shell::Housekeeping ticks{shared, clock, settings, host, prompter, blink_word};
  shell::ViewContext ctx{shared, blink_word, ticks.phases, settings, prompter, clock, {}};

  void SetCode(WarningCode code) {
    shared.dryer_state.Set(sm::kWarningNode, NodeIdOf(code));
    shared.dryer_state.Set(sm::kWarningId, WarningIdOf(code));
  }
  void SetBlink(bool on) { blink_word = on ? (blink_word | 1U) : (blink_word & ~1U); }
  void LoseLink() { shared.link_alive.store(0); }
  void RestoreLink() { shared.link_alive.store(10); }
};

inline const shell::WindowDef& WarningWindowDef() {
  for (const shell::WindowDef& def : shell::kChildWindows)
    if (def.win == shell::Win::kWarning) return def;
  std::abort();
}

// Pictures and PNGs of these tests go here, for a person to look at.
inline std::filesystem::path ScreenshotDir() {
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "orvandry-warnings-ui";
  std::filesystem::create_directories(dir);
  return dir;
}

inline std::filesystem::path DemoHelpFolder() {
  return std::filesystem::path(ORVANDRY_SOURCE_DIR) / "resources" / "demo-data" / "WarningBitmaps";
}

}  // namespace orvandry::warnings::ui::testing
