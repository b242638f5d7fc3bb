#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <random>

#include "sim/table_fields.h"

namespace orvandry::sim {

// A plausible continuous-flow dryer behind the controller's table. The table is the model's state
// as far as the display is concerned: setpoints, timers and options are read back from it on every
// step, so a value the display writes takes effect as soon as it is applied. What the table cannot
// hold (exact temperatures, fractions of a second, grain level) lives beside it.
//
// Time advances in fixed internal ticks, so the result depends only on the seed and the total
// time stepped, never on how the steps were split.
class DryerModel {
 public:
  static constexpr double kTickSeconds = 0.25;
  static constexpr int kMaxFanHeaters = 6;

  explicit DryerModel(std::uint32_t seed = 1);

  void Step(double seconds);
  double elapsed() const { return elapsed_; }

  const Table& table() const { return table_; }
  Table& table() { return table_; }

  // The warning code (node id high, warning id low). A non-zero code shuts the dryer down, as a
  // shutdown cause does; clearing it lets the operator's restart happen at once.
  void SetWarningCode(std::uint16_t code);
  std::uint16_t warning_code() const;

  bool running() const;
  int fan_heaters() const;
  double plenum_temperature(int fan_heater) const { return burners_[fan_heater - 1].temperature; }

  enum class BurnerPhase : std::uint8_t { kOff, kPurging, kIgniting, kFiring };
  BurnerPhase burner_phase(int fan_heater) const { return burners_[fan_heater - 1].phase; }
  // Staged batch: the batch dries (high heat, then low heat with the dual dry timers), cools and
  // unloads, each for its running timer, then starts over from the reload values. A switch from
  // continuous flow (the display writes byte 8) starts a fresh batch; a switch back starts the
  // continuous unload cycle with a pause.
  enum class BatchStage : std::uint8_t { kDry, kLowHeatDry, kCool, kUnload };
  BatchStage batch_stage() const { return batch_stage_; }
  bool staged_batch() const;
  double grain_level() const { return grain_level_; }

  // A technician at the panel: while on, one switch input of bytes 180-182 is flipped each second,
  // in turn, and the FAN 1 light output reports shorted.
  void SetPanelTest(bool on) { panel_test_ = on; }
  // Moisture control summaries the printer has printed (byte 218 bit 0x20 with the printer on).
  int summaries_printed() const { return summaries_printed_; }

 private:
  struct Burner {
    double temperature = 0;
    BurnerPhase phase = BurnerPhase::kOff;
    double phase_left = 0;  // seconds left in purge or ignition
    bool high_fire = false;
  };

  void LoadInitialConfiguration();
  void Tick();
  void TickBurners(bool running);
  void TickGrainFlow(bool running);
  void TickDrift();
  void TickCoolDown(bool running);
  // Save (0x02) or restore (0x01) of the settings commanded in byte 266; the bits clear once done.
  void TickUserSettings();
  static bool IsSavedSetting(std::size_t offset);
  void TickBatch();
  void StartBatch();
  void CountDownTimer(std::size_t offset);
  void WriteOutputs(bool running);
  void WritePanel(bool running);
  double Noise(double amplitude);

  Table table_{};
  std::mt19937 rng_;
  double elapsed_ = 0;
  double pending_ = 0;  // time not yet turned into ticks
  std::uint64_t ticks_ = 0;
  std::array<Burner, kMaxFanHeaters> burners_{};

  double grain_level_ = 0.9;  // 0 empty .. 1 full
  bool loading_ = false;
  bool unloading_ = false;
  double unload_phase_left_ = 0;  // seconds left in the current unload or pause
  double bushel_fraction_ = 0;    // 1/3600 bushel not yet counted
  double outgoing_moisture_ = 15.5;
  double incoming_moisture_ = 22.0;
  double grain_temperature_ = 95.0;
  double incoming_grain_temperature_ = 60.0;
  std::optional<Table> saved_settings_;  // what SAVE SETTINGS stored; RESTORE brings it back
  bool was_running_ = true;
  bool cooling_down_ = false;
  bool panel_test_ = false;
  int summaries_printed_ = 0;
  BatchStage batch_stage_ = BatchStage::kDry;
  std::optional<bool> was_staged_batch_;  // unknown until the first tick: a table set up before
                                          // it is a dryer already in that mode
};

}  // namespace orvandry::sim
