#include "app/display.h"

#include "platform/paths.h"

namespace orvandry::app {

Display::Display(link::LinkShared& shared, shell::Settings& settings, platform::Prompter& prompter,
                 platform::SettingsStore& store, platform::Clock& clock,
                 const platform::Paths& paths)
    : shared_(shared),
      warnings_(paths, shared, prompter),
      logging_(paths, shared, prompter),
      graphs_(logging_.Reader(), settings, store),
      alerts_(shared),
      journal_(paths, shared),
      window_(shared, settings, prompter, store, clock,
              {
                  &views_,     // the main status screen
                  &warnings_,  // warning window, shutdown help and history
                  &setup_,     // selection screens and setup dialogs
                  &service_,   // diagnostics, calibration and the service dialogs
                  &logging_,   // the data logs, their setup and export
                  &graphs_,    // graph window, status chart, grain temperature and moisture view
                  &alerts_,    // shutdown alerts and the status over MQTT (after the warnings)
                  &journal_,   // the journal of operator changes, its notice and waiting list
              }) {
  // Every screen's commit reaches the journal (on the UI thread).
  shared_.commit_observer = &journal_;
}

Display::~Display() {
  shared_.commit_observer = nullptr;
}

}  // namespace orvandry::app
