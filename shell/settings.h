#pragma once

#include <cstdint>

namespace orvandry::platform {
class SettingsStore;
}

namespace orvandry::shell {

// The four one-byte settings kept across restarts.
inline constexpr const char* kGraphHorizontalScale = "GRAPH_HORIZONTAL_SCALE";
inline constexpr const char* kGraphTracesOnOff = "GRAPH_TRACES_ON_OFF";
inline constexpr const char* kTempDataLogSampleTime = "TEMP_DATA_LOG_SAMPLE_TIME";
inline constexpr const char* kScreenViewSelection = "SCREEN_VIEW_SELECTION";

struct Settings {
  std::uint8_t graph_horizontal_scale = 0;  // 0..3
  std::uint8_t graph_traces = 0;            // bits 0..5 = traces 1..6
  std::uint8_t sample_minutes = 10;         // short-term log period
  std::uint8_t view_selection = 0;          // 0 status chart, 1 graph
};

// Loads the settings, correcting stored values that are out of range (the correction is not
// written back). Anything absent or unreadable keeps its default.
Settings LoadSettings(const platform::SettingsStore& store);

}  // namespace orvandry::shell
