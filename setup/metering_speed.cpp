#include "setup/metering_speed.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "link/status_map.h"
#include "platform/canvas.h"
#include "platform/fitted_text.h"
#include "platform/prompter.h"
#include "setup/timer_entry.h"

namespace orvandry::setup {

namespace {

namespace sm = link::status_map;
using link::Rec;

constexpr std::uint8_t kMaxSpeed = 100;
constexpr std::uint8_t kTrackingBit = 0x20;
constexpr std::uint8_t kOnOffBit = 0x40;
constexpr std::uint8_t kMultiSpeedBit = 0x80;
constexpr std::uint8_t kUnloadManualBit = 0x02;  // byte 179: the selection stays on main
constexpr std::uint8_t kAutomaticState = 3;      // byte 201
constexpr std::uint8_t kStagedBatchBit = 0x02;   // drying mode byte, set on ACCEPT in mode 2

constexpr Rec SpeedRec(Speed speed) {
  return speed == Speed::kHigh   ? Rec::kMeteringSpeedHigh
         : speed == Speed::kMain ? Rec::kMeteringSpeedMain
                                 : Rec::kMeteringSpeedLow;
}
constexpr std::size_t SetpointOffset(Speed speed) {
  return sm::kMeteringSpeedLow - static_cast<std::size_t>(speed);
}
constexpr Speed kSpeeds[3] = {Speed::kHigh, Speed::kMain, Speed::kLow};

}  // namespace

MeteringSpeed::MeteringSpeed(link::LinkShared& shared) : shared_(shared), edit_(shared) {}

std::size_t MeteringSpeed::StateSource(Speed speed) const {
  if (speed == Speed::kMain && (MeteringMode() == 4 || MeteringMode() == 5))
    return sm::kMeteringCopySource;
  return SetpointOffset(speed);
}

void MeteringSpeed::Open() {
  shared_.metering_resync.store(0, std::memory_order_relaxed);
  edit_.Load({Rec::kMeteringFromKnob, Rec::kMeteringMode, Rec::kDryingMode, Rec::kMeteringSpeedHigh,
              Rec::kMeteringSpeedMain, Rec::kMeteringSpeedLow});
  for (std::size_t i = 0; i < seen_.size(); ++i) seen_[i] = edit_.Get(kSelection + i);
  for (Speed speed : kSpeeds)
    edit_.Set(WorkingOffset(speed), shared_.dryer_state.Get(StateSource(speed)));
  // The main gauge shows the five-speed medium speed; the controller's main working speed
  // follows it.
  if (MeteringMode() == 4 || MeteringMode() == 5) edit_.Commit(Rec::kMeteringCopy161);
  from_display_ =
      shared_.metering_source.load(std::memory_order_relaxed) == link::MeteringSource::kDisplay;
  // Only the cases that force the selection apply here: a toggle on every opening would move
  // the selection each time the dialog is merely looked at.
  if (from_display_ && ApplySelectRule(/*forcing_only=*/true)) CommitSelection();
  ApplyTracking();
}

void MeteringSpeed::Follow() {
  link::SettingEdit live(shared_);
  live.Load(Rec::kMeteringFromKnob);
  for (std::size_t i = 0; i < seen_.size(); ++i) {
    const std::uint8_t now = live.Get(kSelection + i);
    if (now == seen_[i]) continue;
    seen_[i] = now;
    edit_.Set(kSelection + i, now);
  }
  if (!shared_.pending.IsRaised(Rec::kMeteringMode)) edit_.Load(Rec::kMeteringMode);
  // Byte 179 changed (its bit 0x02 keeps the selection on main): the forced cases apply again.
  if (shared_.metering_resync.exchange(0, std::memory_order_relaxed) != 0 && from_display_)
    reapply_select_ = true;
  if (reapply_select_) {
    reapply_select_ = false;
    if (ApplySelectRule(/*forcing_only=*/true)) CommitSelection();
  }
  ApplyTracking();
}

std::uint8_t MeteringSpeed::Value(Speed speed) const {
  if (Automatic() && speed == Speed::kMain) return shared_.dryer_state.Get(sm::kMeteringSpeedMain);
  return edit_.Get(WorkingOffset(speed));
}

bool MeteringSpeed::Automatic() const {
  return MeteringMode() == 3 && (ModeByte() & kMultiSpeedBit) != 0 &&
         shared_.dryer_state.Get(sm::kMeteringControl201) == kAutomaticState;
}

bool MeteringSpeed::Step(int delta) {
  if (!from_display_ || Automatic()) return false;
  const std::uint8_t selected = Selected();
  if (selected > static_cast<std::uint8_t>(Speed::kHigh)) return false;
  const std::size_t at = WorkingOffset(static_cast<Speed>(selected));
  const int value = edit_.Get(at);
  // A value above the scale from the controller steps back into it.
  const int next = std::min(value, kMaxSpeed + 1) + delta;
  if (next < 0 || next > kMaxSpeed || (delta > 0 && value >= kMaxSpeed)) return false;
  edit_.Set(at, static_cast<std::uint8_t>(next));
  ApplyTracking();
  return true;
}

bool MeteringSpeed::Increase() {
  return Step(+1);
}
bool MeteringSpeed::Decrease() {
  return Step(-1);
}

bool MeteringSpeed::ApplySelectRule(bool forcing_only) {
  if ((ModeByte() & 0x3F) != 1) return false;
  const std::uint8_t before = Selected();
  std::uint8_t after = before;
  if ((shared_.dryer_state.Get(sm::kStatusBits179) & kUnloadManualBit) != 0) {
    after = static_cast<std::uint8_t>(Speed::kMain);
  } else if ((ModeByte() & kOnOffBit) != 0) {
    after = static_cast<std::uint8_t>(Speed::kHigh);
  } else if (!forcing_only) {
    if (before == static_cast<std::uint8_t>(Speed::kLow))
      after = static_cast<std::uint8_t>(Speed::kHigh);
    else if (before == static_cast<std::uint8_t>(Speed::kHigh))
      after = static_cast<std::uint8_t>(Speed::kLow);
  }
  edit_.Set(kSelection, after);
  return after != before;
}

void MeteringSpeed::Select() {
  if (!from_display_) return;
  if ((ModeByte() & 0x3F) != 1) return;
  ApplySelectRule(/*forcing_only=*/false);
  CommitSelection();
}

void MeteringSpeed::CommitSelection() {
  // The one-byte record carries request byte 159 alone; the speeds stay as they are.
  link::SettingEdit selection(shared_);
  selection.Load(Rec::kMeteringControl);
  selection.Set(kSelection, Selected());
  if (selection.Commit(Rec::kMeteringControl) == link::CommitResult::kSent) seen_[0] = Selected();
}

void MeteringSpeed::CommitFourBytes() {
  if (edit_.Commit(Rec::kMeteringFromKnob) != link::CommitResult::kSent) return;
  for (std::size_t i = 0; i < seen_.size(); ++i) seen_[i] = edit_.Get(kSelection + i);
  sent_four_bytes_ = true;
}

void MeteringSpeed::ApplyTracking() {
  if (!Tracking()) return;
  const int main = edit_.Get(WorkingOffset(Speed::kMain));
  edit_.Set(WorkingOffset(Speed::kHigh),
            static_cast<std::uint8_t>(std::min(main * 115 / 100, 100)));
  edit_.Set(WorkingOffset(Speed::kLow), static_cast<std::uint8_t>(main * 85 / 100));
}

void MeteringSpeed::Scheme(platform::Prompter& prompter) {
  const int mode = MeteringMode();
  if (!Layout().scheme_visible) return;
  if (!edit_.Connected()) {
    prompter.Ask(kNotConnectedText, kNotConnectedCaption, platform::Buttons::kOk,
                 platform::Icon::kInformation);
    return;
  }
  std::uint8_t byte = ModeByte();
  if (mode == 1) {
    byte ^= kOnOffBit;
    // As at opening, the selection is the display's to force only while it sets the speed.
    reapply_select_ = from_display_;
  } else if ((byte & kTrackingBit) != 0) {
    byte &= static_cast<std::uint8_t>(~kTrackingBit);
    // The controller takes the present speeds and selection as they stand.
    CommitFourBytes();
  } else {
    std::string text = "Pressing YES will position the HI setpoint 15% above the center, and ";
    text.append(10, '\t');
    text +=
        "the LOW 15% below the center.\nNOTE: THE PRESENT SETTINGS OF THE HI AND LOW SETPOINTS "
        "WILL BE LOST!";
    if (prompter.Ask(text, " SWITCH TO +/- 15% TRACKING OF CENTER", platform::Buttons::kYesNoCancel,
                     platform::Icon::kQuestion) == platform::Answer::kYes)
      byte |= kTrackingBit;
  }
  edit_.Set(kModeByte, byte);
  edit_.Commit(Rec::kMeteringMode);
  ApplyTracking();
}

MeteringSpeed::Outcome MeteringSpeed::Accept(platform::Prompter& prompter) {
  // The controller runs the speed: nothing the dialog holds may be sent.
  if (Automatic()) return Outcome::kKeepOpen;
  if (!edit_.Connected()) {
    prompter.Ask(kNotConnectedText, kNotConnectedCaption, platform::Buttons::kOk,
                 platform::Icon::kInformation);
    return Outcome::kKeepOpen;
  }
  if (MeteringMode() == 2) {
    // From the byte as it stands now: only the bit is the dialog's change.
    edit_.Load(Rec::kDryingMode);
    edit_.Set(sm::kDryingMode,
              static_cast<std::uint8_t>(edit_.Get(sm::kDryingMode) | kStagedBatchBit));
    edit_.CommitIfChanged(Rec::kDryingMode);
  }
  for (Speed speed : kSpeeds) {
    // Each record carries the edited speed in its own byte (156-158), so the value on the wire
    // is the operator's and its echo in DryerState ends it. A speed equal to the controller's
    // still replaces an older value that has not been echoed yet.
    const std::uint8_t value = edit_.Get(WorkingOffset(speed));
    const Rec rec = SpeedRec(speed);
    if (value == shared_.dryer_state.Get(StateSource(speed)) && !shared_.pending.IsRaised(rec))
      continue;
    edit_.Set(SetpointOffset(speed), value);
    edit_.Commit(rec);
  }
  // From the display the controller's selection and working speeds are set to the edit as well.
  if (from_display_) CommitFourBytes();
  return Outcome::kAccepted;
}

MeteringSpeed::Outcome MeteringSpeed::Cancel() {
  // An edit of the four bytes sent from here and not yet echoed would otherwise follow the
  // restore in the same frame and win: it now carries the restore itself.
  if (sent_four_bytes_ && shared_.pending.IsRaised(Rec::kMeteringFromKnob)) {
    for (Speed speed : kSpeeds)
      edit_.Set(WorkingOffset(speed), shared_.dryer_state.Get(SetpointOffset(speed)));
    edit_.Commit(Rec::kMeteringFromKnob);
  }
  edit_.Commit(Rec::kMeteringCopyWorking);
  return Outcome::kCancelled;
}

MeteringLayout MeteringSpeed::Layout() const {
  MeteringLayout layout;
  const int mode = MeteringMode();
  const bool multi = (ModeByte() & kMultiSpeedBit) != 0;
  auto single = [&] {
    const char* title = shared_.dryer_state.Get(sm::kBatchSelector) != 0 ? "BATCH"
                        : mode == 4                                      ? "5 SPEED MED"
                                                                         : "MANUAL SPEED";
    layout.gauges[0] = GaugeDef{185, Speed::kMain, title};
    layout.count = 1;
    layout.single = true;
  };
  switch (mode) {
    case 1:
      if (!multi) {
        single();
      } else if ((ModeByte() & kOnOffBit) != 0) {
        layout.gauges[0] = GaugeDef{310, Speed::kHigh, "HIGH SPEED"};
        layout.count = 1;
      } else {
        layout.gauges[0] = GaugeDef{60, Speed::kLow, "LOW SP"};
        layout.gauges[1] = GaugeDef{310, Speed::kHigh, "HIGH SP"};
        layout.count = 2;
      }
      layout.scheme_visible = multi;
      break;
    case 2:
      layout.gauges[0] = GaugeDef{60, Speed::kLow, "LOW SP"};
      layout.gauges[1] = GaugeDef{185, Speed::kMain, "MAIN SP"};
      layout.gauges[2] = GaugeDef{310, Speed::kHigh, "HIGH SP"};
      layout.count = 3;
      layout.scheme_visible = true;
      break;
    case 3:
      if (multi) {
        layout.gauges[0] = GaugeDef{185, Speed::kMain, "AUTOMATIC SPEED"};
        layout.count = 1;
      } else {
        single();
      }
      break;
    case 4:
    case 5:
      single();
      break;
    default:
      if (shared_.dryer_state.Get(sm::kBatchSelector) != 0) single();
      break;
  }
  return layout;
}

std::string MeteringSpeed::SchemeCaption() const {
  switch (MeteringMode()) {
    case 1:
      return (ModeByte() & kOnOffBit) != 0 ? "SELECT TWO SPEED OPERATION"
                                           : "SELECT\nON / OFF\nOPERATION";
    case 2:
      return "15% HI/LOW  TRACKING";
    default:
      return "HI = 15% ABOVE LO = 15% BELOW";
  }
}

const char* MeteringSpeed::FirstSchemeCaption() const {
  switch (MeteringMode()) {
    case 1:
      return "ON / OFF";
    case 2:
      return "ON";
    default:
      return "ONE SPEED";
  }
}

const char* MeteringSpeed::SecondSchemeCaption() const {
  return MeteringMode() == 2 ? "OFF" : "TWO SPEED";
}

bool MeteringSpeed::FirstSchemeTicked() const {
  return MeteringMode() == 2 ? Tracking() : (ModeByte() & kOnOffBit) != 0;
}

void PaintMeteringSpeed(platform::Canvas& canvas, const MeteringSpeed& metering) {
  using platform::Point;
  using platform::Rect;
  const platform::Colour black = platform::Rgb(0, 0, 0);
  const MeteringLayout layout = metering.Layout();
  const bool automatic = metering.Automatic();

  for (std::size_t g = 0; g < layout.count; ++g) {
    const GaugeDef& gauge = layout.gauges[g];
    const int x = gauge.centre_x;
    const std::uint8_t value = metering.Value(gauge.speed);
    const bool selected =
        !automatic && metering.Selected() == static_cast<std::uint8_t>(gauge.speed);
    const bool greyed = (metering.Tracking() && gauge.speed != Speed::kMain) || automatic;

    canvas.RectOutline(Rect::FromEdges(x - 50, 30, x + 50, 400), black, 2);
    // The bar column: a value above the scale is drawn at its top.
    const int bar = 3 * std::min<int>(value, kMaxSpeed);
    if (bar < 300)
      canvas.FillRect(Rect::FromEdges(x - 17, 50, x + 18, 350 - bar), kMeteringBackground);
    const platform::Colour bar_colour = selected ? platform::Rgb(255, 0, 0)
                                        : greyed ? platform::Rgb(100, 100, 100)
                                                 : platform::Rgb(0, 0, 100);
    if (bar > 0) canvas.FillRect(Rect::FromEdges(x - 17, 350 - bar, x + 18, 350), bar_colour);
    canvas.RectOutline(Rect::FromEdges(x - 19, 48, x + 20, 352), black, 2);

    char number[16];
    std::snprintf(number, sizeof number, "%3d", value * 10);
    canvas.SetFont(platform::Font{40, 900});
    canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
    canvas.SetTextColour(selected ? platform::Rgb(255, 0, 0) : platform::Rgb(50, 0, 250));
    canvas.Text(Rect::FromEdges(x - 65, 360, x + 65, 396), number,
                platform::kAlignCentre | platform::kAlignVCentre | platform::kSingleLine);

    // A single gauge's title may use the width beside it; side by side each keeps its column.
    // Never into the button column right of the gauges (from x 372).
    const int half = std::min({layout.count == 1 ? 170 : 62, x, 368 - x});
    platform::FitFont(canvas, gauge.title, platform::Font{25, 900}, 2 * half);
    canvas.SetTextColour(black);
    canvas.Text(Rect::FromEdges(x - half, 2, x + half, 28), gauge.title,
                platform::kAlignCentre | platform::kSingleLine);
  }

  if (layout.single) {
    canvas.SetFont(platform::Font{14, 500});
    canvas.SetTextColour(black);
    const char* marks[] = {"-100%", "-75%", "-50%", "-25%", "-0%"};
    const int ys[] = {42, 115, 190, 265, 340};
    for (std::size_t i = 0; i < 5; ++i) canvas.TextAt(Point{237, ys[i]}, marks[i]);
  }

  if (automatic) {
    const char* lines[] = {"NOTE:  The dryer has", "entered automatic mode.",
                           "No manual adjustments", "are allowed in this mode."};
    // The note stands left of the gauge's frame; its longest line sets the font for all.
    const platform::Font font = platform::FitFont(canvas, lines[3], platform::Font{14, 400}, 128);
    canvas.SetFont(font);
    canvas.SetTextColour(black);
    const char* after[] = {"To make adjustments,", "switch to manual mode", "using the UNLOAD",
                           "selector switch."};
    int y = 100;
    for (const char* line : lines) {
      canvas.Text(Rect::FromEdges(3, y, 133, y + 20), line, platform::kSingleLine);
      y += 20;
    }
    y += 25;
    for (const char* line : after) {
      canvas.Text(Rect::FromEdges(3, y, 133, y + 20), line, platform::kSingleLine);
      y += 20;
    }
  }
}

}  // namespace orvandry::setup
