#pragma once

#include <QImage>
#include <QString>

#include "platform/child_window.h"
#include "platform/picture_button.h"
#include "shell/view_context.h"
#include "shell/window_table.h"
#include "warnings/ui/warning_content.h"

namespace orvandry::warnings::ui {

class WarningHelp;

// WARNING_WINDOW: the overlay that names the shutdown cause or the lost connection. The shell
// shows and hides it; this paints it and carries its help button.
//
// Its caption changes with what it shows, so it draws its own frame rather than the fixed one of
// a plain child window.
class WarningWindow : public platform::ChildWindow {
  Q_OBJECT

 public:
  static constexpr int kHelpButtonId = 0x8844;
  static constexpr platform::Rect kHelpButtonRect{110, 125, 200, 50};  // client coordinates
  static constexpr int kHelpFaceUp = 205;
  static constexpr int kHelpFacePressed = 204;

  WarningWindow(QWidget* parent, const shell::WindowDef& def, shell::ViewContext& ctx);

  // Where the help button opens help. Without one the button does nothing.
  void SetHelp(WarningHelp* help) { help_ = help; }

  // The 100 ms tick's reconnect step (every 300 ms): the next paint of the lost link moves the
  // mark. Also repaints the strip.
  void RequestReconnectStep();

  // The caption the window carries now.
  QString CurrentCaption() const { return current_caption_; }
  platform::PictureButton* help_button() const { return help_button_; }
  const WarningContent& content() const { return content_; }

  // The whole window as it shows now, drawn off-screen with its current caption (painting it
  // updates the caption first).
  QImage Snapshot();

 protected:
  void Paint(platform::Canvas& canvas) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void OpenHelp();

  shell::ViewContext& ctx_;
  WarningContent content_;
  WarningHelp* help_ = nullptr;
  platform::PictureButton* help_button_;
  QString current_caption_;
};

}  // namespace orvandry::warnings::ui
