#include "warnings/ui/warning_window.h"

#include <QPainter>

#include "link/status_map.h"
#include "platform/qt_canvas.h"
#include "platform/qt_conversions.h"
#include "platform/window_frame.h"
#include "warnings/ui/warning_help.h"

namespace orvandry::warnings::ui {
namespace {

namespace sm = link::status_map;

unsigned FrameFlagsFor(shell::Frame frame) {
  return frame == shell::Frame::kTitleBar ? platform::kCaptionBar | platform::kSunkenEdge
                                          : platform::kSunkenEdge;
}

}  // namespace

WarningWindow::WarningWindow(QWidget* parent, const shell::WindowDef& def, shell::ViewContext& ctx)
    : platform::ChildWindow(parent, def.class_name, def.caption,
                            platform::Rect{def.x, def.y, def.width, def.height},
                            FrameFlagsFor(def.frame), platform::Bgr(def.background_bgr)),
      ctx_(ctx),
      current_caption_(QString::fromLatin1(def.caption)) {
  const platform::Rect client = ClientRect();
  help_button_ = new platform::PictureButton(
      this, "WARNING_HELP", kHelpButtonId,
      platform::Rect{client.x + kHelpButtonRect.x, client.y + kHelpButtonRect.y, kHelpButtonRect.w,
                     kHelpButtonRect.h},
      kHelpFaceUp, kHelpFacePressed);
  connect(help_button_, &QAbstractButton::clicked, this, &WarningWindow::OpenHelp);
}

void WarningWindow::RequestReconnectStep() {
  content_.RequestReconnectStep();
  const platform::Rect client = ClientRect();
  update(QRect(client.x + kReconnectStrip.x, client.y + kReconnectStrip.y, kReconnectStrip.w,
               kReconnectStrip.h));
}

void WarningWindow::Paint(platform::Canvas& canvas) {
  const std::string_view caption = content_.Paint(canvas, ctx_.shared, ctx_.BlinkOn());
  current_caption_ = platform::ToQString(caption);
}

QImage WarningWindow::Snapshot() {
  QImage image(size(), QImage::Format_RGB32);
  const platform::Rect client = ClientRect();
  if (!client.IsEmpty()) {
    platform::QtCanvas canvas(image, client);
    canvas.FillRect(platform::Rect{0, 0, client.w, client.h}, Background());
    Paint(canvas);
  }
  // The frame last: the paint above decides the caption.
  QPainter painter(&image);
  platform::PaintFrame(painter, platform::Size{width(), height()}, Frame(), current_caption_);
  if (windowTitle() != current_caption_) setWindowTitle(current_caption_);
  return image;
}

void WarningWindow::paintEvent(QPaintEvent*) {
  const QImage image = Snapshot();
  QPainter painter(this);
  painter.drawImage(0, 0, image);
}

void WarningWindow::OpenHelp() {
  if (help_ == nullptr) return;
  const auto& state = ctx_.shared.dryer_state;
  help_->Open(this, MakeWarningCode(state.Get(sm::kWarningNode), state.Get(sm::kWarningId)));
}

}  // namespace orvandry::warnings::ui
