#pragma once

#include <QAbstractButton>
#include <functional>

#include "platform/child_window.h"
#include "shell/window_table.h"
#include "views/view_context.h"

namespace orvandry::views {

// The frame a status view gets for its table entry: every view has a sunken edge, and a caption
// bar when the table gives it a title.
unsigned StatusViewFrame(const shell::WindowDef& def);

// The common part of the status views: the window of its table entry, and what it paints from.
class StatusView : public platform::ChildWindow {
  Q_OBJECT
 public:
  StatusView(QWidget* parent, const shell::WindowDef& def, ViewContext& ctx);

 protected:
  ViewContext& ctx_;
};

// The bar across the top right of the main screen: what the dryer is doing, in one line. The poll
// tick repaints it every 175 ms, so it follows the blink bit and DryerState without help.
class RightStatusBarWindow : public StatusView {
  Q_OBJECT
 public:
  RightStatusBarWindow(QWidget* parent, const shell::WindowDef& def, ViewContext& ctx);

 protected:
  void Paint(platform::Canvas& canvas) override;
  std::vector<std::uint8_t> DrawingInputs() const override;
};

// Clock, date and version, or the airflow-testing warning. No screen shows it today; it paints
// correctly whenever it is made visible.
class LeftStatusBarWindow : public StatusView {
  Q_OBJECT
 public:
  LeftStatusBarWindow(QWidget* parent, const shell::WindowDef& def, ViewContext& ctx);

 protected:
  void Paint(platform::Canvas& canvas) override;
};

// Plenum temperatures, setpoints and burner states for every fan/heater of the dryer.
class PlenumPanelWindow : public StatusView {
  Q_OBJECT
 public:
  PlenumPanelWindow(QWidget* parent, const shell::WindowDef& def, ViewContext& ctx);

 protected:
  void Paint(platform::Canvas& canvas) override;
};

// A push button whose face is drawn by a function of the window that owns it. Its objectName is
// its window text and it carries its command id.
class OwnerDrawnButton : public QAbstractButton {
  Q_OBJECT
 public:
  using DrawFace = std::function<void(platform::Canvas&)>;
  OwnerDrawnButton(QWidget* parent, const char* window_text, int command_id, platform::Rect rect,
                   DrawFace draw);

  int CommandId() const { return command_id_; }
  // The face as it is drawn now, off-screen.
  QImage Render() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int command_id_;
  DrawFace draw_;
};

// Unload rate, metering-roll presets and bushel figures. Created hidden like the shell's other
// spare views; its two buttons are created with it, so whenever it is shown it is complete and
// paints from the current DryerState.
class UnloadStatusWindow : public StatusView {
  Q_OBJECT
 public:
  UnloadStatusWindow(QWidget* parent, const shell::WindowDef& def, ViewContext& ctx);

  // Where the window's commands go: the metering-roll button asks for the metering-roll speed
  // dialog (template kMeteringSpeedDialog) with this window as its parent. Without a handler the
  // press does nothing.
  void SetDialogOpener(std::function<void(int template_id, QWidget* parent)> open) {
    open_dialog_ = std::move(open);
  }
  OwnerDrawnButton* BushelButton() const { return bushel_button_; }
  OwnerDrawnButton* MeteringRollButton() const { return metering_button_; }

 protected:
  void Paint(platform::Canvas& canvas) override;

 private:
  void OnCommand(int id);

  OwnerDrawnButton* bushel_button_;
  OwnerDrawnButton* metering_button_;
  std::function<void(int, QWidget*)> open_dialog_;
};

// The view for one of the status windows of the table, or null when the entry is not one of them;
// fits the shell's view factory.
platform::ChildWindow* CreateStatusView(const shell::WindowDef& def, QWidget* parent,
                                        ViewContext& ctx);

}  // namespace orvandry::views
