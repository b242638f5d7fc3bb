#pragma once

#include "platform/child_window.h"
#include "shell/window_table.h"
#include "views/picture/dryer_picture.h"
#include "views/view_context.h"

namespace orvandry::views {

// DRYER_PIC_WINDOW: the live dryer schematic in the left column of the main screen. The 100 ms
// tick repaints it, so it follows the animation phases and DryerState without help of its own.
class DryerPictureWindow : public platform::ChildWindow {
  Q_OBJECT

 public:
  DryerPictureWindow(QWidget* parent, const shell::WindowDef& def, ViewContext& ctx);

  const DryerPicture& Picture() const { return picture_; }

 protected:
  void Paint(platform::Canvas& canvas) override;
  // The dryer's status bytes, the animation phases and the units: the 100 ms tick asks for a
  // refresh every time, and a still dryer's picture is then not recorded again.
  std::vector<std::uint8_t> DrawingInputs() const override;

 private:
  void ShowBatchUnloadNotice();

  ViewContext& ctx_;
  DryerPicture picture_;
};

}  // namespace orvandry::views
