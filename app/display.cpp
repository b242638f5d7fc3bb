#include "app/display.h"

#include <algorithm>

#include "journal/change_journal.h"
#include "journal/record_format.h"
#include "link/status_map.h"
#include "logging/log_csv.h"
#include "logging/long_term_log.h"
#include "platform/paths.h"
#include "remote/request_gate.h"
#include "views/picture/dryer_picture.h"
#include "views/status/plenum_panel.h"
#include "views/temperature_format.h"
#include "warnings/help_files.h"
#include "warnings/help_text.h"
#include "warnings/history_export.h"
#include "warnings/history_rows.h"
#include "warnings/warning_text_table.h"

namespace orvandry::app {

namespace {

int PlenumCount(views::PlenumLayout layout) {
  switch (layout) {
    case views::PlenumLayout::kNone:
      return 0;
    case views::PlenumLayout::kOne:
      return 1;
    case views::PlenumLayout::kTwo:
      return 2;
    case views::PlenumLayout::kThree:
      return 3;
    case views::PlenumLayout::kFour:
      return 4;
    case views::PlenumLayout::kSix:
      return 6;
  }
  return 0;
}

// What the remote view reads, from the views' own formatting and the warnings' store and texts.
// Each function runs on the remote view's serving thread: the views' helpers only read
// DryerState's atomics, the help files are only read, and the history store locks itself.
remote::RemoteSources MakeRemoteSources(link::LinkShared& shared, const platform::Paths& paths,
                                        const platform::Clock& clock,
                                        warnings::ShutdownHistoryStore& history,
                                        const logging::LogReader& logs,
                                        journal::ui::JournalSubsystem& journal) {
  remote::RemoteSources sources;
  sources.status = [&shared] {
    const link::ByteImage& state = shared.dryer_state;
    const bool si = shared.si_units.load(std::memory_order_relaxed) != 0;
    const views::OverlayValues v = views::OverlayValuesOf(state, si);
    std::vector<remote::RemoteSources::Value> values = {
        {"incoming_moisture", v.incoming_moisture},
        {"outgoing_moisture", v.outgoing_moisture},
        {"moisture_setpoint", v.moisture_setpoint},
        {"grain_temperature", v.controlling_grain_temperature},
        {"grain_temperature_setpoint", v.grain_setpoint},
        {"grain_temperature_high", v.grain_high},
        {"grain_temperature_low", v.grain_low},
        {"outgoing_grain_temperature", v.outgoing_temperature},
        {"unload_rate", v.unload_rate},
        {"total", v.total},
        {v.batch ? "batch_count" : "metering_roll", v.rpm_or_batch_count},
        {"metering_speed", v.labels.speed},
    };
    if (v.batch) {
      values.push_back({"average_incoming_moisture", v.average_in});
      values.push_back({"average_outgoing_moisture", v.average_out});
    }
    if (!v.sampler.empty()) values.push_back({"sampler", v.sampler});
    const views::PlenumLayout layout = views::ChoosePlenumLayout(state);
    const bool by_temperature =
        layout == views::PlenumLayout::kFour || layout == views::PlenumLayout::kSix;
    for (int k = 1; k <= PlenumCount(layout); ++k) {
      const std::string prefix = "plenum_" + std::to_string(k) + "_";
      values.push_back({prefix + "temperature",
                        views::format_temperature(static_cast<std::int16_t>(state.GetT16(
                                                      link::status_map::PlenumReading(k))),
                                                  si, true, true)});
      values.push_back(
          {prefix + "setpoint", views::format_temperature(static_cast<std::int16_t>(state.GetT16(
                                                              link::status_map::PlenumSetpoint(k))),
                                                          si, true, true)});
      values.push_back({prefix + "burner", views::BurnerState(state, k, by_temperature).text});
    }
    std::erase_if(values,
                  [](const remote::RemoteSources::Value& value) { return value.text.empty(); });
    return values;
  };
  sources.warning = [data_dir = paths.DataDir()](std::uint16_t code) {
    remote::RemoteSources::Warning warning;
    warning.text = std::string(warnings::WarningText(code));
    warning.node = std::string(warnings::NodeName(warnings::NodeIdOf(code)));
    warning.help = warnings::LoadHelpTextLines(warnings::HelpTextPath(data_dir, code));
    return warning;
  };
  sources.history = [&history] {
    const warnings::ShutdownReadout readout =
        history.ReadShutdowns(warnings::ShutdownOrder::ByTime);
    std::vector<remote::RemoteSources::Shutdown> shutdowns;
    shutdowns.reserve(readout.records.size());
    for (const warnings::HistoryRow& row : warnings::BuildHistoryRows(readout.records))
      shutdowns.push_back({row.shutdown_id, row.node_id, row.date, row.time});
    return shutdowns;
  };
  // The journal of operator changes (it locks itself; DryerState's bytes are atomics). The
  // journal opens when its subsystem is attached, before the remote view starts serving.
  const auto change_of = [&shared](const journal::JournalEntry& entry) {
    remote::RemoteSources::Change change;
    change.id = entry.id;
    change.time = journal::IsoCivil(entry.committed_at);
    change.screen = entry.screen;
    change.what = entry.what;
    change.requested = entry.requested_text;
    change.state = journal::StateName(entry.state);
    change.settled = journal::IsoCivil(entry.settled_at);
    if (entry.state == journal::ChangeState::kWaiting)
      change.controller = journal::FormatReported(
          entry.rec, shared.dryer_state, shared.si_units.load(std::memory_order_relaxed) != 0);
    return change;
  };
  sources.waiting_changes = [&journal, change_of] {
    std::vector<remote::RemoteSources::Change> changes;
    for (const journal::WaitingChange& waiting : journal.journal().Waiting())
      changes.push_back(change_of(waiting.entry));
    return changes;
  };
  sources.changes = [&journal, change_of](std::size_t count) {
    std::vector<remote::RemoteSources::Change> changes;
    for (const journal::JournalEntry& entry : journal.journal().Entries(count))
      changes.push_back(change_of(entry));
    return changes;
  };
  sources.csv["journal.csv"] = [&journal]() -> std::optional<std::string> {
    return journal::JournalCsv(journal.journal().Entries());
  };
  // The CSV downloads: the same texts the card exports write. The logs are read afresh from their
  // files (whole records only), so a sample being appended meanwhile is left out, never torn.
  const auto si = [&shared] { return shared.si_units.load(std::memory_order_relaxed) != 0; };
  sources.csv["history.csv"] = [&history]() -> std::optional<std::string> {
    return warnings::HistoryCsv(history.ReadShutdowns(warnings::ShutdownOrder::ByTime).records);
  };
  sources.csv["longterm.csv"] = [path = logging::LongTermLog(paths.DataDir()).Path(), si] {
    return logging::LongTermCsv(path, si());
  };
  sources.csv["shortterm.csv"] = [&logs, &clock, si]() -> std::optional<std::string> {
    return logging::ShortTermCsv(logs, clock.Now(), si());
  };
  sources.csv["graph.csv"] = [&logs, &clock, si]() -> std::optional<std::string> {
    return logging::GraphCsv(logs, clock.Now(), si());
  };
  return sources;
}

}  // namespace

Display::Display(link::LinkShared& shared, shell::Settings& settings, platform::Prompter& prompter,
                 platform::SettingsStore& store, platform::Clock& clock,
                 const platform::Paths& paths, std::optional<remote::RemoteConfig> remote)
    : shared_(shared),
      warnings_(paths, shared, prompter),
      logging_(paths, shared, prompter),
      graphs_(logging_.Reader(), settings, store),
      alerts_(shared),
      journal_(paths, shared),
      remote_(remote ? std::make_unique<remote::RemoteSubsystem>(
                           std::move(*remote), shared,
                           MakeRemoteSources(shared, paths, clock, warnings_.store(),
                                             logging_.Reader(), journal_))
                     : nullptr),
      window_(shared, settings, prompter, store, clock, [this] {
        std::vector<shell::Subsystem*> subsystems = {
            &views_,     // the main status screen
            &warnings_,  // warning window, shutdown help and history
            &setup_,     // selection screens and setup dialogs
            &service_,   // diagnostics, calibration and the service dialogs
            &logging_,   // the data logs, their setup and export
            &graphs_,    // graph window, status chart, grain temperature and moisture view
            &alerts_,    // shutdown alerts and the status over MQTT (after the warnings)
            &journal_,   // the journal of operator changes, its notice and waiting list
        };
        if (remote_) subsystems.push_back(remote_.get());  // the live remote view, when asked for
        return subsystems;
      }()) {
  // Every screen's commit reaches the journal (on the UI thread).
  shared_.commit_observer = &journal_;
}

Display::~Display() {
  shared_.commit_observer = nullptr;
}

}  // namespace orvandry::app
