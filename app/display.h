#pragma once

#include <memory>
#include <optional>
#include <vector>

#include "alerts/ui/alerts_subsystem.h"
#include "graphs/graphs_subsystem.h"
#include "journal/ui/journal_subsystem.h"
#include "logging/ui/logging_subsystem.h"
#include "remote/remote_subsystem.h"
#include "service/service_subsystem.h"
#include "setup/setup_subsystem.h"
#include "shell/main_window.h"
#include "views/views_subsystem.h"
#include "warnings/ui/warnings_subsystem.h"

namespace orvandry::platform {
class Paths;
}

namespace orvandry::app {

// The main window with every subsystem of the display registered with it. The shell names no
// subsystem; this is the one place that lists them, one line each.
class Display {
 public:
  Display(link::LinkShared& shared, shell::Settings& settings, platform::Prompter& prompter,
          platform::SettingsStore& store, platform::Clock& clock, const platform::Paths& paths,
          std::optional<remote::RemoteConfig> remote = std::nullopt);
  ~Display();
  Display(const Display&) = delete;
  Display& operator=(const Display&) = delete;

  shell::MainWindow& window() { return window_; }
  warnings::ui::WarningsSubsystem& warnings() { return warnings_; }
  logging::ui::LoggingSubsystem& logging() { return logging_; }
  graphs::GraphsSubsystem& graphs() { return graphs_; }
  alerts::ui::AlertsSubsystem& alerts() { return alerts_; }
  journal::ui::JournalSubsystem& journal() { return journal_; }
  // Null unless the remote view was asked for.
  remote::RemoteSubsystem* remote() { return remote_.get(); }

 private:
  link::LinkShared& shared_;
  views::ViewsSubsystem views_;
  warnings::ui::WarningsSubsystem warnings_;
  setup::SetupSubsystem setup_;
  service::ServiceSubsystem service_;
  logging::ui::LoggingSubsystem logging_;
  graphs::GraphsSubsystem graphs_;  // reads the logs above
  alerts::ui::AlertsSubsystem alerts_;
  journal::ui::JournalSubsystem journal_;
  std::unique_ptr<remote::RemoteSubsystem> remote_;  // only with --remote-listen
  shell::MainWindow window_;                         // last: the subsystems outlive it
};

}  // namespace orvandry::app
