#pragma once

#include <QPushButton>
#include <functional>

#include "platform/child_window.h"
#include "setup/timer_entry.h"
#include "shell/window_table.h"
#include "views/batch/batch_drying.h"
#include "views/view_context.h"

namespace orvandry::views {

// BATCH_DRYING_WINDOW: the batch timers with one push button per timer. A short touch edits the
// timer's reload value in the timer entry dialog; holding a button offers to reload the running
// timer (driven by the shell's 1 s tick through HandleHeldButtons).
class BatchDryingWindow final : public platform::ChildWindow {
  Q_OBJECT

 public:
  // Opens the timer entry dialog for the filled record and returns when it closes.
  using DialogOpener = std::function<void(setup::TimerEntry& entry)>;

  BatchDryingWindow(QWidget* parent, const shell::WindowDef& def, ViewContext& ctx);

  // Shows the dry-timer buttons that fit the drying mode. The shell calls it when the batch
  // selector changes and after the view rule; every paint calls it too.
  void UpdateButtons();
  // The 1 s tick's long-press check.
  void HandleHeldButtons();

  QPushButton* Button(int id) const;
  // Tests replace the modal dialog with their own.
  void SetDialogOpener(DialogOpener opener) { open_dialog_ = std::move(opener); }

 protected:
  void Paint(platform::Canvas& canvas) override;

 private:
  void OnTimerButton(int id);
  QPushButton* AddButton(int id, const char* text, platform::Rect client_rect, bool shown);

  ViewContext& ctx_;
  BatchReloadHolds holds_;
  DialogOpener open_dialog_;
};

}  // namespace orvandry::views
