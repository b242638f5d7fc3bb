#pragma once

#include <QPointer>
#include <functional>

#include "link/link_shared.h"
#include "logging/data_log_store.h"
#include "logging/log_records.h"
#include "platform/paths.h"
#include "shell/housekeeping.h"
#include "shell/subsystem.h"

namespace orvandry::platform {
class Dialog;
class Prompter;
}  // namespace orvandry::platform

namespace orvandry::logging::ui {

class DayLoggerDialog;
class SampleTimeDialog;

// The data logs as a subsystem of the shell: the 1 s tick writes through it (shell::DataLogs), the
// charts and graphs read through Reader(), and it owns the interval dialog (template 245) and the
// day data logger dialog (template 258). UI thread only.
class LoggingSubsystem final : public shell::Subsystem, public shell::DataLogs {
 public:
  LoggingSubsystem(const platform::Paths& paths, link::LinkShared& shared,
                   platform::Prompter& prompter);
  ~LoggingSubsystem() override;

  // What the status chart and the graph read.
  const LogReader& Reader() const { return store_; }
  DataLogStore& store() { return store_; }
  bool short_term_active() const { return short_term_active_; }

  // shell::Subsystem
  void Attach(shell::ShellHost& host) override;
  bool OpenDialog(const shell::DialogRequest& request) override {
    return dialogs_.OpenIfOwned(request);
  }
  void OnSecondTick() override;

  // shell::DataLogs
  void MarkShortTermActive(bool unloading) override { short_term_active_ = unloading; }
  void AppendShortTermSample(const link::LinkShared& shared,
                             const platform::LocalDateTime& now) override;
  void AppendGraphSample(const link::LinkShared& shared,
                         const platform::LocalDateTime& now) override;
  int AppendLongTermRecord(const link::LinkShared& shared,
                           const platform::LocalDateTime& now) override;
  int OpenLongTermFile() override;

  // The two dialogs; each returns when it closes.
  void OpenSampleTime(QWidget* parent);
  void OpenDayLogger(QWidget* parent);
  DayLoggerDialog* day_logger() const;

  // How a dialog is run: modally (the default) or, in tests, inspected and closed.
  using Runner = std::function<void(platform::Dialog&)>;
  void SetDialogRunner(Runner runner) { runner_ = std::move(runner); }

 private:
  void Run(platform::Dialog& dialog);

  platform::Paths paths_;
  link::LinkShared& shared_;
  platform::Prompter& prompter_;
  DataLogStore store_;
  RecordBuilder builder_;
  shell::ShellHost* host_ = nullptr;
  shell::DialogTable dialogs_;
  QPointer<DayLoggerDialog> day_logger_;
  Runner runner_;
  bool short_term_active_ = false;
};

}  // namespace orvandry::logging::ui
