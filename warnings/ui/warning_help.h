#pragma once

#include <QPointer>
#include <QWidget>
#include <filesystem>
#include <functional>

#include "link/link_shared.h"
#include "platform/prompter.h"
#include "warnings/help_files.h"
#include "warnings/ui/help_dialog.h"
#include "warnings/warning_code.h"

namespace orvandry::warnings::ui {

// Opens the shutdown help and answers the 100 ms tick about it. One per display, on the UI
// thread: the warning window and the shutdown history both open help through it, and the tick
// closes help opened for a warning once the warning has gone.
class WarningHelp {
 public:
  // How an opened dialog is run: modally (the default) or, in tests, inspected and closed.
  using Runner = std::function<void(HelpDialog&)>;

  WarningHelp(std::filesystem::path data_dir, const link::LinkShared& shared,
              platform::Prompter& prompter);

  // Opens the help for `code` over `parent` and returns when it closes.
  void Open(QWidget* parent, WarningCode code);

  // Set by the history's "Show Help File", cleared by its EXIT: help opened from the history
  // stays open when the live warning clears.
  void SetOpenedFromHistory(bool on) { opened_from_history_ = on; }
  bool opened_from_history() const { return opened_from_history_; }

  // 100 ms tick, no warning and the link alive: closes the help as its CLOSE button would,
  // unless the history opened it.
  void CloseUnlessFromHistory();
  // 100 ms tick while the door warning is live: shows door frame `frame` (0..6).
  void AdvanceAnimation(int frame);

  HelpDialog* open_dialog() const { return dialog_; }
  int door_frame() const { return door_frame_; }
  const std::filesystem::path& data_dir() const { return data_dir_; }

  void SetRunner(Runner runner) { runner_ = std::move(runner); }

 private:
  std::filesystem::path data_dir_;
  const link::LinkShared& shared_;
  platform::Prompter& prompter_;
  bool opened_from_history_ = false;
  int door_frame_ = 0;
  QPointer<HelpDialog> dialog_;
  Runner runner_;
};

}  // namespace orvandry::warnings::ui
