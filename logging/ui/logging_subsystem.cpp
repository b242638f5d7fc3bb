#include "logging/ui/logging_subsystem.h"

#include "logging/ui/log_dialogs.h"
#include "shell/settings.h"
#include "shell/view_context.h"

namespace orvandry::logging::ui {

LoggingSubsystem::LoggingSubsystem(const platform::Paths& paths, link::LinkShared& shared,
                                   platform::Prompter& prompter)
    : paths_(paths), shared_(shared), prompter_(prompter), store_(paths.DataDir()) {
  dialogs_.Add(sample_time_id::kTemplate,
               [this](const shell::DialogRequest& r) { OpenSampleTime(r.parent); });
  dialogs_.Add(day_logger_id::kTemplate,
               [this](const shell::DialogRequest& r) { OpenDayLogger(r.parent); });
}

LoggingSubsystem::~LoggingSubsystem() = default;

void LoggingSubsystem::Attach(shell::ShellHost& host) {
  host_ = &host;
  host.SetDataLogs(this);
}

void LoggingSubsystem::AppendShortTermSample(const link::LinkShared& shared,
                                             const platform::LocalDateTime& now) {
  store_.WriteShortTermSample(builder_.Sample(shared, now), now);
}

void LoggingSubsystem::AppendGraphSample(const link::LinkShared& shared,
                                         const platform::LocalDateTime& now) {
  store_.WriteGraphSample(builder_.Sample(shared, now), now);
}

int LoggingSubsystem::AppendLongTermRecord(const link::LinkShared& shared,
                                           const platform::LocalDateTime& now) {
  store_.LongTerm().Append(builder_.LongTerm(shared, now), Unloading(shared));
  if (day_logger_) day_logger_->Refresh();
  return store_.LongTerm().UsedPercent();
}

int LoggingSubsystem::OpenLongTermFile() {
  // Logging is off: the used space is taken afresh, and no file is made for it.
  store_.LongTerm().Refresh();
  return store_.LongTerm().UsedPercent();
}

void LoggingSubsystem::OnSecondTick() {
  // The indicators follow the dryer's echo of the enable bit.
  if (day_logger_) day_logger_->Refresh();
}

void LoggingSubsystem::Run(platform::Dialog& dialog) {
  if (runner_) {
    runner_(dialog);
  } else {
    dialog.exec();
  }
}

void LoggingSubsystem::OpenSampleTime(QWidget* parent) {
  if (host_ == nullptr) return;
  SampleTimeSetup setup(host_->Context().settings.sample_minutes);
  SampleTimeDialog dialog(parent, setup, prompter_, [this] {
    store_.DeleteShortTermLog();
    host_->Repaint(shell::Win::kStatusChart);
  });
  Run(dialog);
  if (dialog.Outcome() == SampleTimeSetup::Outcome::kAccepted)
    host_->SetSampleMinutes(static_cast<std::uint8_t>(setup.Minutes()));
}

void LoggingSubsystem::OpenDayLogger(QWidget* parent) {
  if (host_ == nullptr) return;
  DayLoggerSetup setup(shared_, store_.LongTerm(), prompter_, host_->Context().clock,
                       paths_.UsbDir());
  DayLoggerDialog dialog(parent, setup);
  day_logger_ = &dialog;
  Run(dialog);
}

DayLoggerDialog* LoggingSubsystem::day_logger() const {
  return day_logger_.data();
}

}  // namespace orvandry::logging::ui
