#include "views/picture/dryer_picture_window.h"

#include <QTimer>

#include "platform/prompter.h"

namespace orvandry::views {

namespace {

unsigned FrameOf(const shell::WindowDef& def) {
  return def.frame == shell::Frame::kTitleBar ? platform::kCaptionBar | platform::kSunkenEdge
                                              : platform::kSunkenEdge;
}

}  // namespace

DryerPictureWindow::DryerPictureWindow(QWidget* parent, const shell::WindowDef& def,
                                       ViewContext& ctx)
    : platform::ChildWindow(parent, def.class_name, def.caption,
                            platform::Rect{def.x, def.y, def.width, def.height}, FrameOf(def),
                            platform::Bgr(def.background_bgr)),
      ctx_(ctx) {
  // Asked ten times a second; between frames only the animated parts change, and only while
  // something runs.
  DrawOnlyChanges();
}

void DryerPictureWindow::Paint(platform::Canvas& canvas) {
  const bool notice = picture_.Paint(canvas, ctx_.shared.dryer_state, ctx_.phases, ctx_.SiUnits());
  // The notice is a modal box; opening it inside a paint would run a message loop in the middle of
  // drawing, so it opens right after. The latch is already set: later paints do not ask again.
  if (notice) QTimer::singleShot(0, this, [this] { ShowBatchUnloadNotice(); });
}

std::vector<std::uint8_t> DryerPictureWindow::DrawingInputs() const {
  const auto state = ctx_.shared.dryer_state.Snapshot();
  const shell::AnimationPhases& p = ctx_.phases;
  std::vector<std::uint8_t> inputs(state.begin(), state.end());
  inputs.insert(inputs.end(), p.fan.begin(), p.fan.end());
  inputs.insert(inputs.end(), {p.loading, p.unloading_fast, p.unloading_slow, p.direction_a,
                               p.direction_b, static_cast<std::uint8_t>(ctx_.SiUnits())});
  return inputs;
}

void DryerPictureWindow::ShowBatchUnloadNotice() {
  // Never on top of another dialog or question: the notice waits until they are answered.
  constexpr int kRetryMs = 300;
  if (ctx_.ModalOpen()) {
    QTimer::singleShot(kRetryMs, this, [this] { ShowBatchUnloadNotice(); });
    return;
  }
  ctx_.prompter.Ask(kBatchUnloadNoticeText, kBatchUnloadNoticeCaption, platform::Buttons::kOk,
                    platform::Icon::kNone);
}

}  // namespace orvandry::views
