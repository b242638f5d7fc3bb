#include "shell/view_selection_window.h"

#include "platform/colour.h"
#include "platform/picture_button.h"
#include "platform/window_frame.h"

namespace orvandry::shell {

ViewSelectionWindow::ViewSelectionWindow(QWidget* parent, const WindowDef& def,
                                         std::function<void(int)> on_command)
    : ChildWindow(parent, def.class_name, def.caption, {def.x, def.y, def.width, def.height},
                  // The class background is white, but the window paints its whole client area
                  // black before the buttons go on it.
                  platform::kCaptionBar | platform::kSunkenEdge, platform::Bgr(kBlack)) {
  const platform::Rect client = ClientRect();
  for (const ViewButtonDef& b : kViewSelectionButtons) {
    auto* button = new platform::PictureButton(this, b.text, b.id,
                                               {client.x + b.x, client.y + b.y, b.width, b.height},
                                               b.normal_face, b.pressed_face);
    connect(button, &QAbstractButton::clicked, this, [on_command, id = b.id] { on_command(id); });
  }
}

}  // namespace orvandry::shell
