#pragma once

#include "graphs/graphs_subsystem.h"
#include "logging/log_reader.h"
#include "service/service_subsystem.h"
#include "setup/setup_subsystem.h"
#include "shell/main_window.h"
#include "views/views_subsystem.h"
#include "warnings/ui/warnings_subsystem.h"

namespace orvandry::platform {
class Paths;
}

namespace orvandry::app {

// TODO(merge): stands in for the data logs until the logging subsystem arrives: no samples, no
// hours, nothing used. At the merge the graphs take the logging subsystem's LogReader instead
// (Display's constructor, the `graphs_(...)` initialiser) and this class goes.
class NoLogReader final : public logging::LogReader {
 public:
  std::size_t CountShortTermSamples() const override { return 0; }
  std::vector<logging::LogSample> ReadShortTermSamples(std::size_t, std::size_t) const override {
    return {};
  }
  int GraphHoursAvailable() const override { return 0; }
  int GraphScrollLimit(int) const override { return 0; }
  std::vector<logging::LogSample> ReadGraphWindow(int span_hours, int) const override {
    return std::vector<logging::LogSample>(static_cast<std::size_t>(span_hours) *
                                           kGraphSamplesPerHour);
  }
  int LongTermUsedPercent() const override { return 0; }
};

// The main window with every subsystem of the display registered with it. The shell names no
// subsystem; this is the one place that lists them, one line each.
class Display {
 public:
  Display(link::LinkShared& shared, shell::Settings& settings, platform::Prompter& prompter,
          platform::SettingsStore& store, platform::Clock& clock, const platform::Paths& paths);

  shell::MainWindow& window() { return window_; }
  warnings::ui::WarningsSubsystem& warnings() { return warnings_; }
  graphs::GraphsSubsystem& graphs() { return graphs_; }

 private:
  views::ViewsSubsystem views_;
  warnings::ui::WarningsSubsystem warnings_;
  setup::SetupSubsystem setup_;
  service::ServiceSubsystem service_;
  NoLogReader no_logs_;  // TODO(merge): the logging subsystem's reader
  graphs::GraphsSubsystem graphs_;
  shell::MainWindow window_;  // last: the subsystems outlive it
};

}  // namespace orvandry::app
