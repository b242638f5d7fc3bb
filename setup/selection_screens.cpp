#include "setup/selection_screens.h"

#include "platform/colour.h"
#include "platform/picture_button.h"
#include "platform/window_frame.h"

namespace orvandry::setup {

SelectionScreen::SelectionScreen(QWidget* parent, const shell::WindowDef& def,
                                 const ExitButtonDef& exit, std::function<void()> on_exit)
    : ChildWindow(parent, def.class_name, def.caption, {def.x, def.y, def.width, def.height},
                  platform::kDialogFrame | platform::kCaptionBar | platform::kSunkenEdge,
                  platform::Bgr(def.background_bgr)) {
  const platform::Rect client = ClientRect();
  exit_ = new platform::PictureButton(
      this, "EXIT", exit.id, {client.x + exit.x, client.y + exit.y, kExitWidth, kExitHeight},
      kExitFace, kExitFacePressed);
  connect(exit_, &QAbstractButton::clicked, this, [on_exit = std::move(on_exit)] { on_exit(); });
}

}  // namespace orvandry::setup
