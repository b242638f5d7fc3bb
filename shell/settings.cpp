#include "shell/settings.h"

#include "platform/settings_store.h"

namespace orvandry::shell {

Settings LoadSettings(const platform::SettingsStore& store) {
  Settings s;
  if (auto v = store.ReadByte(kGraphHorizontalScale)) s.graph_horizontal_scale = *v >= 4 ? 0 : *v;
  // Only six traces exist; bits 6 and 7 mean nothing.
  if (auto v = store.ReadByte(kGraphTracesOnOff)) s.graph_traces = *v & 0x3F;
  // Only the periods the log setup offers; anything else (0 would sample every second and flood
  // the log) loads as 5 minutes.
  if (auto v = store.ReadByte(kTempDataLogSampleTime))
    s.sample_minutes = (*v == 1 || *v == 5 || *v == 10 || *v == 15) ? *v : 5;
  if (auto v = store.ReadByte(kScreenViewSelection)) s.view_selection = *v == 1 ? 1 : 0;
  return s;
}

}  // namespace orvandry::shell
