#include "graphs/graphs_subsystem.h"

#include "graphs/graph_setup_dialog.h"

namespace orvandry::graphs {

GraphsSubsystem::GraphsSubsystem(const logging::LogReader& reader, shell::Settings& settings,
                                 platform::SettingsStore& store)
    : model_(reader, settings, store) {}

void GraphsSubsystem::Attach(shell::ShellHost& host) {
  host_ = &host;
  dialogs_.Add(graph_setup_id::kTemplate, [this](const shell::DialogRequest& r) { RunSetup(r); });
}

platform::ChildWindow* GraphsSubsystem::CreateWindow(const shell::WindowDef& def, QWidget* parent) {
  switch (def.win) {
    case shell::Win::kGraph:
      return new GraphWindow(parent, def, model_, *host_);
    case shell::Win::kStatusChart:
      return new StatusChartWindow(parent, def, model_, *host_);
    case shell::Win::kLineGraph:
      return new LineGraphWindow(parent, def, model_, *host_);
    default:
      return nullptr;
  }
}

void GraphsSubsystem::RunSetup(const shell::DialogRequest& request) {
  const int code = RunGraphSetupDialog(request.parent, model_.graph.SpanCode());
  if (code < 0) return;
  model_.graph.SetSpanCode(code, model_.Reader());
  host_->Repaint(shell::Win::kGraph);
  host_->Repaint(shell::Win::kGraphDrawingArea);
}

void GraphsSubsystem::OnSecondTick() {
  // When the hold runs out the chart goes back to the newest samples.
  if (model_.chart.SecondTick()) host_->Repaint(shell::Win::kStatusChart);
}

}  // namespace orvandry::graphs
