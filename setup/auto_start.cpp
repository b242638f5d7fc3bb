#include "setup/auto_start.h"

#include <algorithm>
#include <cstdlib>

#include "link/status_map.h"
#include "platform/canvas.h"
#include "platform/prompter.h"
#include "setup/timer_entry.h"

namespace orvandry::setup {

namespace {

namespace sm = link::status_map;
namespace id = auto_start_id;
namespace pic = auto_start_picture;
using link::Rec;

constexpr platform::Colour kText = platform::Bgr(0x008000);
constexpr platform::Colour kFrame = platform::Bgr(0x0F960F);
constexpr platform::Colour kWhite = platform::Bgr(0xFFFFFF);

// Where a value is drawn and the frame around it, on the three adjusting pages.
constexpr platform::Point kValueAt{300, 150};
constexpr platform::Rect kHeatModeBox{280, 150, 220, 100};
constexpr platform::Rect kAdjustFrame{25, 130, 535, 125};
constexpr platform::Rect kSummaryFrame{25, 90, 535, 165};

std::int16_t Value(const link::SettingEdit& edit, std::size_t offset) {
  return static_cast<std::int16_t>(edit.GetLe16(offset));
}

const char* HeatModeText(bool dry_and_cool) {
  return dry_and_cool ? "DRY and COOL" : "FULL HEAT";
}

}  // namespace

std::string FormatTenths(int tenths) {
  const int magnitude = std::abs(tenths);
  // Built up in place: GCC 12 at -O3 reads `const char* + std::string&&` as an overlapping copy
  // (-Werror=restrict), which stopped the release build.
  std::string text = tenths < 0 ? "-" : "";
  text += std::to_string(magnitude / 10);
  text += '.';
  text += std::to_string(magnitude % 10);
  return text;
}

bool AutoStartOpens(link::LinkShared& shared, platform::Prompter& prompter) {
  if ((shared.dryer_state.Get(sm::kAutoStartMode) & kAutoStartArmed) == 0) return true;
  const platform::Answer answer =
      prompter.Ask(kDisableAutoStartText, kAutoStartCaption, platform::Buttons::kYesNoCancel,
                   platform::Icon::kQuestion);
  if (answer == platform::Answer::kYes) {
    link::SettingEdit edit(shared);
    edit.Load(Rec::kAutoStartMode);
    edit.Set(sm::kAutoStartMode,
             static_cast<std::uint8_t>(edit.Get(sm::kAutoStartMode) & ~kAutoStartArmed));
    edit.Commit(Rec::kAutoStartMode);
  }
  return false;
}

AutoStart::AutoStart(link::LinkShared& shared) : edit_(shared) {
  Reload();
}

void AutoStart::Reload() {
  // The third auto start-up value (285-286) is left alone: the dryer does not report it and there
  // is no record to send it with.
  edit_.Load({Rec::kAutoStartMode, Rec::kAutoStartValue1, Rec::kAutoStartValue2});
}

int AutoStart::Incoming() const {
  return Value(edit_, sm::kAutoStartValue1);
}

int AutoStart::Desired() const {
  return Value(edit_, sm::kAutoStartValue2);
}

bool AutoStart::DryAndCool() const {
  return (edit_.Get(sm::kAutoStartMode) & kAutoStartDryAndCool) != 0;
}

void AutoStart::Adjust(int step) {
  const std::uint8_t mode = edit_.Get(sm::kAutoStartMode);
  switch (page_) {
    case Page::kIncoming:
    case Page::kDesired: {
      const std::size_t offset =
          page_ == Page::kIncoming ? sm::kAutoStartValue1 : sm::kAutoStartValue2;
      // A press never leaves the range, whatever the dryer reported.
      const int value =
          std::clamp(Value(edit_, offset) + step, kAutoStartMinTenths, kAutoStartMaxTenths);
      edit_.SetLe16(offset, static_cast<std::uint16_t>(value));
      return;
    }
    case Page::kHeatMode:
      // INCREASE selects full heat, DECREASE dry and cool.
      edit_.Set(sm::kAutoStartMode,
                static_cast<std::uint8_t>(step > 0 ? mode & ~kAutoStartDryAndCool
                                                   : mode | kAutoStartDryAndCool));
      return;
    default:
      return;
  }
}

AutoStart::Outcome AutoStart::Accept(platform::Prompter& prompter) {
  edit_.Set(sm::kAutoStartMode,
            static_cast<std::uint8_t>(edit_.Get(sm::kAutoStartMode) | kAutoStartArmed));
  const link::CommitResult result =
      edit_.CommitChanged({Rec::kAutoStartMode, Rec::kAutoStartValue1, Rec::kAutoStartValue2});
  page_ = Page::kWelcome;
  if (result == link::CommitResult::kNotConnected) {
    // The values were not the dryer's: nothing is sent, and the operator starts again once the
    // dryer has reported.
    prompter.Ask(kNotConnectedText, kNotConnectedCaption, platform::Buttons::kOk,
                 platform::kExclamation);
    return Outcome::kStay;
  }
  return Outcome::kClose;
}

AutoStart::Outcome AutoStart::Press(int control, platform::Prompter& prompter) {
  switch (control) {
    case id::kNext:
      if (page_ == Page::kSummary) return Accept(prompter);
      // Leaving the welcome page starts from the dryer's values as they are now.
      if (page_ == Page::kWelcome) Reload();
      page_ = static_cast<Page>(static_cast<int>(page_) + 1);
      return Outcome::kStay;
    case id::kBack:
      if (page_ != Page::kWelcome) page_ = static_cast<Page>(static_cast<int>(page_) - 1);
      return Outcome::kStay;
    case id::kCancel:
      page_ = Page::kWelcome;
      return Outcome::kClose;
    case id::kHelp:
      prompter.Ask(kAutoStartHelpText, kAutoStartHelpCaption, platform::Buttons::kOk,
                   platform::Icon::kInformation);
      return Outcome::kStay;
    case id::kIncrease:
      if (AdjustersShown()) Adjust(+1);
      return Outcome::kStay;
    case id::kDecrease:
      if (AdjustersShown()) Adjust(-1);
      return Outcome::kStay;
    default:
      return Outcome::kStay;
  }
}

void PaintAutoStart(platform::Canvas& canvas, const AutoStart& wizard) {
  canvas.SetTextColour(kText);
  canvas.SetBackgroundColour(kWhite);
  canvas.SetBackgroundMode(platform::BackgroundMode::kOpaque);
  switch (wizard.CurrentPage()) {
    case AutoStart::Page::kWelcome:
      canvas.Picture(pic::kWelcome, platform::Point{0, 0});
      canvas.SetFont({16, 400});
      canvas.TextAt({400, 310}, "Press NEXT to Continue");
      return;
    case AutoStart::Page::kIncoming:
    case AutoStart::Page::kDesired: {
      const bool incoming = wizard.CurrentPage() == AutoStart::Page::kIncoming;
      canvas.Picture(incoming ? pic::kIncoming : pic::kDesired, platform::Point{0, 0});
      canvas.SetFont({72, 900});
      canvas.TextAt(kValueAt, FormatTenths(incoming ? wizard.Incoming() : wizard.Desired()));
      canvas.RectOutline(kAdjustFrame, kFrame);
      return;
    }
    case AutoStart::Page::kHeatMode:
      canvas.Picture(pic::kHeatMode, platform::Point{0, 0});
      canvas.SetFont({50, 900});
      canvas.Text(kHeatModeBox, HeatModeText(wizard.DryAndCool()),
                  platform::kAlignLeft | platform::kWordBreak);
      canvas.RectOutline(kAdjustFrame, kFrame);
      return;
    case AutoStart::Page::kSummary:
      canvas.Picture(pic::kSummary, platform::Point{0, 0});
      canvas.SetFont({20, 900});
      canvas.TextAt({40, 100}, "Incoming Moisture:    " + FormatTenths(wizard.Incoming()));
      canvas.TextAt({40, 130}, "Desired Moisture Out: " + FormatTenths(wizard.Desired()));
      canvas.TextAt({40, 160}, HeatModeText(wizard.DryAndCool()));
      canvas.RectOutline(kSummaryFrame, kFrame);
      return;
  }
}

}  // namespace orvandry::setup
