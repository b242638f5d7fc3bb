#include "setup/burner_differential.h"

#include <cstdio>

#include "link/status_map.h"
#include "platform/prompter.h"
#include "setup/timer_entry.h"

namespace orvandry::setup {

namespace {

namespace sm = link::status_map;
namespace id = burner_differential_id;
using link::Rec;

template <std::size_t N>
int NumberOf(const std::array<int, N>& ids, int control_id) {
  for (std::size_t i = 0; i < N; ++i)
    if (ids[i] == control_id) return static_cast<int>(i) + 1;
  return 0;
}

}  // namespace

const char* const kBurnerDifferentialHelpText =
    "Each plenum differential (See \nOperator's Manual) can be set by first \npressing the "
    "button corresponding to the\nplenum you wish to modify.  Then press the \nbutton that is "
    "the gives the burner\ndifferential you wish to have for that\nparticular burner.\n";

platform::Point DifferentialLineAt(int plenum) {
  // Plenums 1..3 up the left column, 4..6 up the middle one.
  static constexpr int kRows[3] = {205, 112, 20};
  const int column = plenum <= 3 ? 0 : 1;
  const int row = (plenum - 1) % 3;
  return platform::Point{column == 0 ? 15 : 197, kRows[row]};
}

void BurnerDifferential::Open() {
  edit_.Load({Rec::kBurnerDifferential1, Rec::kBurnerDifferential2, Rec::kBurnerDifferential3,
              Rec::kBurnerDifferential4, Rec::kBurnerDifferential5, Rec::kBurnerDifferential6});
  selected_ = 1;
}

std::uint8_t BurnerDifferential::Differential(int plenum) const {
  return edit_.Get(sm::BurnerDifferential(plenum));
}

std::string BurnerDifferential::Line(int plenum) const {
  char text[32];
  std::snprintf(text, sizeof text, "PLENUM %d: %3d %cF ", plenum, Differential(plenum), 0xB0);
  return text;
}

void BurnerDifferential::Select(int plenum) {
  if (plenum >= 1 && plenum <= 6) selected_ = plenum;
}

void BurnerDifferential::SetDegrees(int degrees) {
  if (degrees < 1 || degrees > 5) return;
  edit_.Set(sm::BurnerDifferential(selected_), static_cast<std::uint8_t>(degrees));
}

BurnerDifferential::Outcome BurnerDifferential::Accept(platform::Prompter& prompter) {
  if (edit_.CommitChanged({Rec::kBurnerDifferential1, Rec::kBurnerDifferential2,
                           Rec::kBurnerDifferential3, Rec::kBurnerDifferential4,
                           Rec::kBurnerDifferential5, Rec::kBurnerDifferential6}) ==
      link::CommitResult::kNotConnected) {
    prompter.Ask(kNotConnectedText, kNotConnectedCaption, platform::Buttons::kOk,
                 platform::kExclamation);
    return Outcome::kCancelled;
  }
  return Outcome::kAccepted;
}

void BurnerDifferential::Help(platform::Prompter& prompter) const {
  prompter.Ask(kBurnerDifferentialHelpText, kBurnerDifferentialHelpCaption,
               platform::Buttons::kOkCancel, platform::Icon::kNone);
}

BurnerDifferential::Outcome BurnerDifferential::Press(int control_id,
                                                      platform::Prompter& prompter) {
  if (const int plenum = NumberOf(id::kPlenum, control_id); plenum != 0) {
    Select(plenum);
  } else if (const int degrees = NumberOf(id::kDegrees, control_id); degrees != 0) {
    SetDegrees(degrees);
  } else if (control_id == id::kAccept) {
    return Accept(prompter);
  } else if (control_id == id::kCancel) {
    return Cancel();
  } else if (control_id == id::kHelp) {
    Help(prompter);
  }
  return Outcome::kKeepOpen;
}

void BurnerDifferential::Paint(platform::Canvas& canvas) const {
  canvas.SetFont(kDifferentialFont);
  canvas.SetBackgroundMode(platform::BackgroundMode::kTransparent);
  for (int plenum = 6; plenum >= 1; --plenum) {
    canvas.SetTextColour(plenum == selected_ ? kSelectedLine : kOtherLine);
    canvas.TextAt(DifferentialLineAt(plenum), Line(plenum));
  }
}

}  // namespace orvandry::setup
