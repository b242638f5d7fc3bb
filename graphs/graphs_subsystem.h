#pragma once

#include "graphs/graph_windows.h"
#include "shell/subsystem.h"

namespace orvandry::graphs {

// Graphs and charts as a subsystem of the shell: the graph window with its drawing area and setup
// dialog, the status chart, and the grain temperature and moisture view. Everything they show of
// the logs comes through the LogReader.
class GraphsSubsystem final : public shell::Subsystem {
 public:
  GraphsSubsystem(const logging::LogReader& reader, shell::Settings& settings,
                  platform::SettingsStore& store);

  // The logs to read from now on.
  void SetReader(const logging::LogReader& reader) { model_.reader = &reader; }
  GraphsModel& model() { return model_; }

  void Attach(shell::ShellHost& host) override;
  platform::ChildWindow* CreateWindow(const shell::WindowDef& def, QWidget* parent) override;
  bool OpenDialog(const shell::DialogRequest& request) override {
    return dialogs_.OpenIfOwned(request);
  }
  void OnSecondTick() override;

 private:
  void RunSetup(const shell::DialogRequest& request);

  GraphsModel model_;
  shell::ShellHost* host_ = nullptr;
  shell::DialogTable dialogs_;
};

}  // namespace orvandry::graphs
