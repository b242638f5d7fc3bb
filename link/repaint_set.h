#pragma once

#include <cstdint>

namespace orvandry::link {

// The views the status intake can ask to repaint. The link thread only collects these; the UI side
// receives one set per accepted frame and repaints on its own thread.
enum class ViewId : std::uint8_t {
  kRightStatusBar,
  kLeftStatusBar,
  kPlenumPanel,             // whole panel
  kPlenumPanelArea,         // only the plenums named in RepaintSet::plenum_areas
  kBatchDryingWindow,
  kDryerPicture,
  kUnloadStatusWindow,
  kUnloadStatusRpmArea,     // the metering roll RPM line of the unload status window
  kUnloadStatusChild,
  kStatusChart,
  kWarningWindow,
  kMcButton,
  kHardwareSetupSelect,
  kSetupSelect,
  kOutOfGrainPanel,
  kLoadStartupDelayPanel,
  kUnloadCleanoutDelayPanel,
  kFanPanel,
  kPlenumSetpointPanel,
  kGrainSetpointPanel,
  kLineGraphWindow,         // whole grain temperature / moisture view
  kLineGraphSetpointArea,   // x 197-235, y 110-130
  kLineGraphSelectorArea,
  kLineGraphModeArea,
  kLineGraphGrainTempChild,
  kLineGraphMoistureChildren,
  kMeteringSpeedDialog,
  kMoistureSetpointDialog,
  kMoistureCalibration,
  kUnloadBushelsDialog,
  kBracketedSetup,
  kContinuousFlowSetup,
  kStagedBatchSetup,
  kDiagnostics,
  kSwitchTest,
  kLightOutputs,
  kCount
};

static_assert(static_cast<int>(ViewId::kCount) <= 64);

constexpr std::uint64_t ViewBit(ViewId view) { return std::uint64_t{1} << static_cast<int>(view); }

struct RepaintSet {
  std::uint64_t views = 0;
  std::uint8_t plenum_areas = 0;  // bit k-1 set: repaint fan/heater k's area of the plenum panel

  constexpr void Add(ViewId view) { views |= ViewBit(view); }
  constexpr void AddPlenumArea(int fan_heater) {
    views |= ViewBit(ViewId::kPlenumPanelArea);
    plenum_areas |= static_cast<std::uint8_t>(1U << (fan_heater - 1));
  }
  constexpr bool Has(ViewId view) const { return (views & ViewBit(view)) != 0; }
  constexpr bool Empty() const { return views == 0; }
  constexpr void Merge(const RepaintSet& other) {
    views |= other.views;
    plenum_areas |= other.plenum_areas;
  }
  bool operator==(const RepaintSet&) const = default;
};

}  // namespace orvandry::link
