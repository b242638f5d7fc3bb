#include "setup/bracket_dialog.h"

#include "link/status_map.h"
#include "setup/drying_mode_dialog.h"
#include "shell/view_context.h"

namespace orvandry::setup {

namespace {

namespace id = bracket_id;
using platform::Rect;

// The two groups' frames: the row names and bracket offsets at the left, the metering speeds at
// the right; each group's INC and DEC inside its frame, under the table.
constexpr Rect kValueGroup{4, 0, 238, 228};
constexpr Rect kSpeedGroup{246, 0, 200, 228};

}  // namespace

Rect BracketDialog::ControlRect(int control_id) {
  switch (control_id) {
    case id::kBracketInc:
      return Rect{20, 174, 100, 46};
    case id::kBracketDec:
      return Rect{130, 174, 100, 46};
    case id::kSpeedInc:
      return Rect{254, 174, 90, 46};
    case id::kSpeedDec:
      return Rect{350, 174, 90, 46};
    case id::kSelect:
      return Rect{4, 236, 100, 50};
    case id::kDefaults:
      return Rect{110, 236, 120, 50};
    case id::kAccept:
      return Rect{236, 236, 120, 50};
    case id::kCancel:
      return Rect{362, 236, 84, 50};
    default:
      return Rect{};
  }
}

BracketDialog::BracketDialog(QWidget* parent, shell::ViewContext& context,
                             std::uint8_t metering_mode)
    : platform::Dialog(parent, id::kTemplate, "BRACKETED 5 SPEED MOISTURE CONTROL SETUP - 23",
                       kClientSize),
      context_(context),
      bracket_(context.shared, metering_mode) {
  const auto add = [this](int control_id, const char* text) {
    QPushButton* button = Place(MakeModeButton(text, 14), control_id, ControlRect(control_id));
    connect(button, &QPushButton::clicked, this, [this, control_id] { OnControl(control_id); });
  };
  add(id::kBracketInc, "INC");
  add(id::kBracketDec, "DEC");
  add(id::kSpeedInc, "INC");
  add(id::kSpeedDec, "DEC");
  add(id::kSelect, "SELECT");
  add(id::kDefaults, "SELECT\nDEFAULTS");
  add(id::kAccept, "ACCEPT / EXIT");
  add(id::kCancel, "CANCEL");
}

void BracketDialog::OnControl(int control_id) {
  if (bracket_.Press(control_id, context_.prompter) == Bracket::Outcome::kClosed) {
    done(control_id == id::kAccept ? QDialog::Accepted : QDialog::Rejected);
    return;
  }
  update();
}

void BracketDialog::Paint(platform::Canvas& canvas) {
  for (const Rect& group : {kValueGroup, kSpeedGroup})
    canvas.RectOutline(group, platform::Rgb(128, 128, 128), 1);
  PaintBracket(canvas, bracket_);
}

void RunBracketDialog(QWidget* parent, shell::ViewContext& context, std::uint8_t metering_mode) {
  BracketDialog dialog(parent, context, metering_mode);
  dialog.exec();
}

void RunBracketDialog(QWidget* parent, shell::ViewContext& context) {
  link::SettingEdit edit(context.shared);
  edit.Load(link::Rec::kMeteringMode);
  RunBracketDialog(parent, context, edit.Get(link::status_map::kMeteringMode));
}

}  // namespace orvandry::setup
