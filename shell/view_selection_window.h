#pragma once

#include <functional>

#include "platform/child_window.h"
#include "shell/window_table.h"

namespace orvandry::shell {

// The pop-over reached through the View button: seven picture buttons on its black background. Each
// press goes to the main screen's command handler, which hides this window as part of the action.
class ViewSelectionWindow : public platform::ChildWindow {
  Q_OBJECT

 public:
  ViewSelectionWindow(QWidget* parent, const WindowDef& def, std::function<void(int)> on_command);
};

}  // namespace orvandry::shell
