#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>

#include "link/status_intake.h"
#include "shell/housekeeping.h"
#include "shell/window_table.h"

class QWidget;

namespace orvandry::platform {
class ChildWindow;
}

namespace orvandry::shell {

struct ViewContext;

// A dialog to open by its template number, with what its opener hands it.
struct DialogRequest {
  int template_id = 0;
  // The dialog's parent: `parent` when set, else the window `parent_window` names, else the main
  // window.
  Win parent_window = Win::kCount;
  QWidget* parent = nullptr;
  // Entry dialogs: the first byte edited and the limits, in the units the dialog works in.
  std::size_t offset = 0;
  int max = 0;
  int min = 0;
  int fallback = 0;
};

// What the shell offers the subsystems. Every call is on the UI thread.
class ShellHost {
 public:
  virtual ~ShellHost() = default;
  virtual ViewContext& Context() = 0;
  // The main window: the parent of dialogs that name no other.
  virtual QWidget* MainWidget() = 0;
  virtual platform::ChildWindow* Window(Win win) const = 0;
  virtual void SetVisible(Win win, bool visible) = 0;
  // Brings the window up to date if it is shown: it repaints what changed (windows that cannot
  // tell repaint whole).
  virtual void Repaint(Win win) = 0;
  // Opens a dialog through the subsystem that owns its template; returns when it closes. False
  // when no subsystem owns the template (nothing opens).
  virtual bool OpenDialog(const DialogRequest& request) = 0;
  virtual void ApplyViewRule() = 0;
  // What every full-screen selection screen does when it closes.
  virtual void RestoreMainScreen() = 0;
  // A dialog whose up/down buttons repeat while held (the 100 ms tick drives them).
  virtual void AddRepeatSource(RepeatSource* source) = 0;
  // The data logs the 1 s tick samples into.
  virtual void SetDataLogs(DataLogs* logs) = 0;
  // A new short-term log interval (minutes) takes effect: kept in the settings and stored, the
  // sampling countdown restarts (the next second of unloading takes a sample) and the status chart
  // repaints with the interval on its button. False when the store could not keep it (it is in
  // force for this run all the same).
  virtual bool SetSampleMinutes(std::uint8_t /*minutes*/) { return false; }
  // True while a modal dialog or a question is open: a new one would stack on top of it.
  virtual bool ModalOpen() const = 0;
  // The hardware setup dialog changed something: the poll tick repaints the views that draw the
  // dryer's configuration a few seconds later, once the dryer has taken it.
  virtual void RequestSetupRepaint() {}
};

// One subsystem of the display (the views, the warnings, the setup screens, the logs, the graphs,
// the service dialogs) as the shell sees it. The shell keeps a list of them and names none; app/
// registers each with one line.
//
// The rules:
// - Every hook has an empty default: override only what the subsystem owns.
// - Phases, in order: Attach (the shared records and the shell's context exist, no window yet);
//   CreateWindow for each child window of the table; Wired (every window exists and the view rule
//   has been applied); Started (the link and the timers run, the main window is on the screen);
//   ShuttingDown (before the main window and the windows go away).
// - A child window belongs to the first subsystem that returns one for it; a window nobody
//   claims is the shell's plain window of the table.
// - A dialog template belongs to the first subsystem whose OpenDialog returns true for it. Keep
//   the templates in a DialogTable: adding a dialog is then one line there.
// - Events come on the UI thread, in the order the shell lists the subsystems. The controller's
//   requests wait until no modal dialog or question is open; warning codes come at once (a
//   shutdown is recorded even while a dialog is open), in the order the frames brought them.
// - A subsystem never includes another subsystem's headers to reach its windows: what it needs of
//   another goes through the host (a window by Win, a dialog by template number).
class Subsystem {
 public:
  virtual ~Subsystem() = default;

  virtual void Attach(ShellHost& /*host*/) {}
  virtual platform::ChildWindow* CreateWindow(const WindowDef& /*def*/, QWidget* /*parent*/) {
    return nullptr;
  }
  virtual void Wired() {}
  virtual void Started() {}
  virtual void ShuttingDown() {}

  // Opens the dialog modally and returns true when the template is this subsystem's.
  virtual bool OpenDialog(const DialogRequest& /*request*/) { return false; }

  // The view rule has been applied (step 2 of the rule: before the right half is shown).
  virtual void OnViewRule() {}
  // What one or more frames changed, after the shell's own windows have been told to repaint.
  virtual void OnIntake(const link::IntakeResult& /*result*/) {}
  // The live warning code changed to a non-zero warning id.
  virtual void OnWarningCode(std::uint8_t /*node_id*/, std::uint8_t /*warning_id*/) {}
  // A controller request the main window has taken (its command id), after the shell's action.
  virtual void OnControllerRequest(int /*command*/) {}
  virtual void OnSecondTick() {}
  virtual void OnTenthTick(const TenthTick& /*tick*/) {}
};

// The dialogs a subsystem owns, by template number: one line each.
class DialogTable {
 public:
  using Open = std::function<void(const DialogRequest&)>;
  void Add(int template_id, Open open) { dialogs_[template_id] = std::move(open); }
  bool Owns(int template_id) const { return dialogs_.count(template_id) != 0; }
  // Opens the dialog if the table has it.
  bool OpenIfOwned(const DialogRequest& request) const {
    auto it = dialogs_.find(request.template_id);
    if (it == dialogs_.end()) return false;
    it->second(request);
    return true;
  }

 private:
  std::map<int, Open> dialogs_;
};

}  // namespace orvandry::shell
