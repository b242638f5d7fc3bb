#pragma once

#include <string>

#include "link/link_shared.h"
#include "link/setting_edit.h"

namespace orvandry::platform {
class Canvas;
class Prompter;
}  // namespace orvandry::platform

namespace orvandry::setup {

// Controls of the auto-start wizard (AUTO_START_WINDOW).
namespace auto_start_id {
inline constexpr int kNext = 36998;  // reads ACCEPT on the summary
inline constexpr int kBack = 36999;
inline constexpr int kCancel = 37000;
inline constexpr int kHelp = 37001;
inline constexpr int kIncrease = 37008;
inline constexpr int kDecrease = 37009;
}  // namespace auto_start_id

// The wizard's pictures: the title picture of the welcome page and the banner of each page.
namespace auto_start_picture {
inline constexpr int kWelcome = 533;
inline constexpr int kIncoming = 543;
inline constexpr int kDesired = 544;
inline constexpr int kHeatMode = 553;
inline constexpr int kSummary = 542;
}  // namespace auto_start_picture

inline constexpr const char* kDisableAutoStartText = "Do you wish to disable AUTO STARTUP MODE?";
inline constexpr const char* kAutoStartCaption = " AUTO START UP";
inline constexpr const char* kAutoStartHelpCaption = " AUTO START UP - HELP";
inline constexpr const char* kAutoStartHelpText =
    "The wizard sets up the automatic start of the dryer in three steps:\n"
    "  1. the moisture of the grain coming in,\n"
    "  2. the moisture wanted at the outlet (the moisture setpoint),\n"
    "  3. FULL HEAT or DRY and COOL.\n\n"
    "Use INCREASE and DECREASE to change a value; hold them down to change it faster. "
    "Moistures are in tenths of a percent, from 0.0 to 99.9.\n\n"
    "Nothing is sent to the dryer until ACCEPT on the summary page; ACCEPT also arms the "
    "automatic start. CANCEL leaves everything as it was.";

// Moisture values the wizard lets the operator set, in tenths of a percent.
inline constexpr int kAutoStartMinTenths = 0;
inline constexpr int kAutoStartMaxTenths = 999;

// The auto start-up mode byte: armed, and dry-and-cool instead of full heat.
inline constexpr std::uint8_t kAutoStartArmed = 0x01;
inline constexpr std::uint8_t kAutoStartDryAndCool = 0x02;

// "12.3" for 123 tenths; a negative value the dryer may report reads "-0.1", never "0.-1".
std::string FormatTenths(int tenths);

// The Auto Start button of the hardware setup board. With automatic start-up armed it only offers
// to disarm it (Yes sends the mode byte with the armed bit cleared) and returns false; otherwise it
// returns true: show the wizard.
bool AutoStartOpens(link::LinkShared& shared, platform::Prompter& prompter);

// The rules of the auto-start wizard. Its values are its own copy of the dryer's (a SettingEdit):
// the adjusters change only that copy, and only ACCEPT on the summary sends, all changed records
// in one step. The copy is taken afresh whenever the operator leaves the welcome page, so BACK to
// the welcome page drops every edit.
class AutoStart {
 public:
  enum class Page { kWelcome, kIncoming, kDesired, kHeatMode, kSummary };
  enum class Outcome {
    kStay,   // the wizard stays up
    kClose,  // hide the wizard and show the hardware setup board again
  };

  explicit AutoStart(link::LinkShared& shared);

  Page CurrentPage() const { return page_; }
  bool BackShown() const { return page_ != Page::kWelcome; }
  bool AdjustersShown() const {
    return page_ == Page::kIncoming || page_ == Page::kDesired || page_ == Page::kHeatMode;
  }
  // NEXT reads ACCEPT.
  bool OnSummary() const { return page_ == Page::kSummary; }

  int Incoming() const;
  int Desired() const;
  bool DryAndCool() const;

  // One control by id, as the window forwards touches (and hold-to-repeat sends the adjusters).
  // Unknown ids are ignored.
  Outcome Press(int id, platform::Prompter& prompter);

 private:
  void Reload();
  void Adjust(int step);
  Outcome Accept(platform::Prompter& prompter);

  link::SettingEdit edit_;
  Page page_ = Page::kWelcome;
};

// The wizard's client area on its white background.
void PaintAutoStart(platform::Canvas& canvas, const AutoStart& wizard);

}  // namespace orvandry::setup
