#pragma once

#include <QPointer>
#include <functional>
#include <memory>

#include "journal/change_journal.h"
#include "journal/ui/journal_windows.h"
#include "journal/ui/waiting_list.h"
#include "link/commit_observer.h"
#include "link/link_shared.h"
#include "platform/paths.h"
#include "shell/subsystem.h"

namespace orvandry::journal::ui {

// The journal of operator changes as a subsystem of the shell. app/ makes it the commit observer
// of the shared records, so every SettingEdit commit reaches it on the UI thread; the intake's
// results and the 1 s tick show it which changes the controller has taken. A change still waiting
// after ChangeJournal::kOverdueSeconds raises the notice in the strip under the bar buttons
// (shell::kNoticeArea); touching it opens the list (template kWaitingListTemplate), where the
// operator can withdraw a change. Never called from the link thread.
class JournalSubsystem final : public shell::Subsystem, public link::CommitObserver {
 public:
  JournalSubsystem(const platform::Paths& paths, link::LinkShared& shared);
  ~JournalSubsystem() override;

  // The journal, for readers of the entries and the waiting changes. Exists from Attach on.
  ChangeJournal& journal() { return *journal_; }
  ChangeNotice* notice() const { return notice_; }
  WaitingListDialog* list_dialog() const { return list_dialog_; }
  std::int64_t uptime() const { return uptime_; }

  // link::CommitObserver
  void OnCommitted(link::Rec rec, std::span<const std::uint8_t> bytes) override;

  // shell::Subsystem
  void Attach(shell::ShellHost& host) override;
  void Wired() override;
  bool OpenDialog(const shell::DialogRequest& request) override {
    return dialogs_.OpenIfOwned(request);
  }
  void OnIntake(const link::IntakeResult& result) override;
  void OnSecondTick() override;
  void OnTenthTick(const shell::TenthTick& tick) override;

  // Opens the list of waiting changes; returns when it closes.
  void OpenList(QWidget* parent);

  // How the list is run: modally (the default) or, in tests, inspected and closed.
  using Runner = std::function<void(platform::Dialog&)>;
  void SetDialogRunner(Runner runner) { runner_ = std::move(runner); }

  // Where a change is being made: the caption of the open dialog, else of the open selection
  // screen, else the main screen.
  std::string ScreenName() const;

 private:
  Stamp Now() const;
  void Update();
  void ShowNotice();

  platform::Paths paths_;
  link::LinkShared& shared_;
  shell::ShellHost* host_ = nullptr;
  shell::DialogTable dialogs_;
  std::unique_ptr<ChangeJournal> journal_;
  std::unique_ptr<WaitingList> list_;
  ChangeNotice* notice_ = nullptr;  // owned by the main window
  QPointer<WaitingListDialog> list_dialog_;
  Runner runner_;
  std::int64_t uptime_ = 0;
};

}  // namespace orvandry::journal::ui
