#include "link/status_intake.h"

#include <array>
#include <mutex>

namespace orvandry::link {
namespace sm = status_map;

namespace {

using enum ViewId;

// Width of the field that starts at each offset; 0 for bytes inside a field and for bytes the
// intake never copies. Multi-byte fields are compared and copied as one unit.
struct FieldLayout {
  std::array<std::uint8_t, kStateSize> width{};
};

constexpr FieldLayout MakeFieldLayout() {
  FieldLayout layout;
  for (auto& w : layout.width) w = 1;

  auto never = [&](std::size_t first, std::size_t last) {
    for (std::size_t i = first; i <= last; ++i) layout.width[i] = 0;
  };
  auto field = [&](std::size_t start, std::uint8_t width) {
    layout.width[start] = width;
    for (std::size_t i = 1; i < width; ++i) layout.width[start + i] = 0;
  };

  // Bytes that carry nothing for the display, and the clock target the display itself writes.
  never(0, 2);
  never(33, 38);
  never(48, 48);
  never(53, 57);
  never(107, 112);
  never(119, 124);
  never(170, 170);
  never(204, 205);
  never(210, 215);
  never(231, 231);
  never(256, 256);
  never(276, 276);
  never(285, 286);
  never(294, 299);

  // Timers: minutes then seconds.
  for (std::size_t t : {9, 11, 14, 16, 19, 21, 24, 26, 29, 31, 39, 41, 44, 46, 252, 254, 267, 269})
    field(t, 2);
  // Temperatures and other 16-bit values.
  for (std::size_t t = 59; t <= 93; t += 2) field(t, 2);
  for (std::size_t t :
       {149, 151, 153, 168, 173, 175, 189, 191, 193, 195, 197, 199, 206, 208, 216, 218, 221,
        232, 234, 241, 243, 247, 249, 258, 260, 262, 264, 272, 274, 277, 281, 283, 287, 290})
    field(t, 2);
  field(sm::kBushelCounter, 4);
  // The warning code is one unit: node and warning id change together.
  field(sm::kWarningId, 2);
  // 159-162 are taken by their own rules, never by compare-and-copy.
  never(159, 162);
  return layout;
}

constexpr FieldLayout kLayout = MakeFieldLayout();

// Views repainted when a byte changes.
constexpr std::array<RepaintSet, kStateSize> MakeRepaintTable() {
  std::array<RepaintSet, kStateSize> table{};
  auto add = [&](std::size_t first, std::size_t last, std::initializer_list<ViewId> views) {
    for (std::size_t i = first; i <= last; ++i)
      for (ViewId v : views) table[i].views |= ViewBit(v);
  };
  add(3, 3, {kPlenumPanel});
  add(8, 8, {kBatchDryingWindow, kHardwareSetupSelect});
  add(9, 23, {kBatchDryingWindow});
  add(24, 25, {kRightStatusBar});
  add(28, 28, {kRightStatusBar});
  add(39, 40, {kRightStatusBar});
  add(43, 43, {kRightStatusBar});
  add(26, 27, {kOutOfGrainPanel});
  add(31, 32, {kLoadStartupDelayPanel});
  add(41, 42, {kUnloadCleanoutDelayPanel});
  add(46, 47, {kFanPanel});
  add(269, 270, {kFanPanel});
  add(49, 49, {kDryerPicture});
  add(52, 52, {kDryerPicture, kMeteringSpeedDialog, kRightStatusBar});
  add(59, 70, {kPlenumSetpointPanel});
  for (int k = 1; k <= 6; ++k) {
    const std::size_t reading = sm::PlenumReading(k);
    table[reading].AddPlenumArea(k);
    table[reading + 1].AddPlenumArea(k);
    const std::size_t setpoint = sm::PlenumSetpoint(k);
    if (setpoint >= 63) {  // fan/heaters 1-4 also show their setpoint in the plenum panel
      table[setpoint].AddPlenumArea(k);
      table[setpoint + 1].AddPlenumArea(k);
    }
  }
  add(89, 94, {kLineGraphGrainTempChild, kUnloadStatusWindow, kUnloadStatusChild});
  add(101, 106, {kDiagnostics});
  add(113, 118, {kRightStatusBar});
  add(171, 171, {kRightStatusBar, kStatusChart, kBatchDryingWindow});
  add(172, 172, {kRightStatusBar, kStatusChart});
  add(188, 188, {kRightStatusBar});
  add(271, 271, {kRightStatusBar});
  add(290, 291, {kRightStatusBar});
  add(125, 148, {kPlenumPanel});
  add(149, 150, {kGrainSetpointPanel, kLineGraphSetpointArea});
  add(151, 154, {kDryerPicture, kGrainSetpointPanel});
  add(155, 155, {kUnloadStatusWindow});
  add(156, 158, {kUnloadStatusChild, kMeteringSpeedDialog});
  add(164, 167, {kUnloadBushelsDialog});
  add(168, 169, {kDryerPicture});
  add(223, 223, {kDryerPicture});
  add(245, 245, {kDryerPicture});
  add(249, 250, {kDryerPicture});
  add(177, 183, {kSwitchTest});
  add(179, 179, {kOutOfGrainPanel, kLineGraphWindow, kMcButton});
  add(184, 184, {kLineGraphSelectorArea, kUnloadStatusWindow});
  add(187, 187, {kLineGraphModeArea, kMeteringSpeedDialog});
  add(189, 196, {kLineGraphMoistureChildren, kMoistureCalibration});
  add(197, 198, {kUnloadStatusRpmArea});
  add(199, 200, {kMoistureSetpointDialog, kLineGraphWindow});
  add(201, 201, {kMoistureSetpointDialog, kMeteringSpeedDialog});
  add(218, 219, {kMoistureCalibration});
  add(232, 235, {kMoistureCalibration});
  add(241, 244, {kMoistureCalibration});
  add(220, 220, {kDryerPicture});
  add(221, 222, {kBatchDryingWindow});
  add(252, 255, {kBatchDryingWindow});
  add(264, 265, {kBatchDryingWindow});
  add(225, 225, {kSwitchTest, kPlenumPanel});
  add(230, 230, {kBracketedSetup});
  add(239, 240, {kLightOutputs});
  add(246, 246, {kSetupSelect});
  add(247, 248, {kDryerPicture, kBatchDryingWindow});
  add(262, 263, {kDryerPicture, kBatchDryingWindow});
  add(257, 257, {kBatchDryingWindow, kMcButton});
  add(258, 261, {kPlenumSetpointPanel});
  add(274, 275, {kStagedBatchSetup});
  add(277, 278, {kStagedBatchSetup});
  return table;
}

constexpr std::array<RepaintSet, kStateSize> kRepaintTable = MakeRepaintTable();

// The running timer whose record starts at `start`, if any.
constexpr bool RunningTimerRec(std::size_t start, Rec& rec) {
  switch (start) {
    case sm::kDryTimerRunning:
      rec = Rec::kDryTimerRunning;
      return true;
    case sm::kCoolTimerRunning:
      rec = Rec::kCoolTimerRunning;
      return true;
    case sm::kUnloadTimerRunning:
      rec = Rec::kUnloadTimerRunning;
      return true;
    case sm::kLoHeatDryTimerRunning:
      rec = Rec::kLoHeatTimerRunning;
      return true;
    default:
      return false;
  }
}

// Lowers `rec` when `echoed()` holds. The test and the lowering are one step under the request
// lock, so bytes a screen stores in between are never lowered by the echo of the old ones. Most
// records are lowered most of the time and cost no lock.
template <typename Echoed>
void LowerIfEchoed(LinkShared& shared, Rec rec, Echoed echoed) {
  if (!shared.pending.IsRaised(rec)) return;
  std::scoped_lock lock(shared.request_lock);
  if (shared.pending.IsRaised(rec) && echoed()) shared.pending.Lower(rec);
}

// The record that writes one of the speed setpoints 156-158.
constexpr Rec SpeedRec(std::size_t offset) {
  return offset == sm::kMeteringSpeedHigh   ? Rec::kMeteringSpeedHigh
         : offset == sm::kMeteringSpeedMain ? Rec::kMeteringSpeedMain
                                            : Rec::kMeteringSpeedLow;
}

constexpr std::uint8_t kMcLockoutMask = 0x70;
constexpr std::uint8_t kMcLockoutValue = 0x10;
constexpr std::uint32_t kMaxLoadDuration = 86400;

}  // namespace

StatusIntake::StatusIntake(LinkShared& shared, IntakeListener* listener)
    : shared_(shared), listener_(listener) {}

IntakeResult StatusIntake::Run(const std::uint8_t* frame) {
  IntakeResult out;
  // Setpoint records are tested against the previous frame's values, so their flags drop one
  // frame after the echo.
  TestEqualRecords(/*before_copy=*/true);

  for (std::size_t start = 3; start < kStateSize; ++start) {
    if (start == sm::kSpeedSelection) TakeMeteringBytes(frame, out);
    if (start == sm::kBushelCounter + 4 + 2) ApplyBushelClearing();  // just past byte 169
    const std::size_t width = kLayout.width[start];
    if (width == 0) continue;
    TakeField(frame, start, width, out);
    start += width - 1;
  }

  TestEqualRecords(/*before_copy=*/false);
  AddTiedRepaints(out);
  // DryerState now holds a whole frame: screens may commit edits loaded from it.
  if (!shared_.first_frame_accepted.load(std::memory_order_relaxed))
    shared_.first_frame_accepted.store(true, std::memory_order_release);
  if (listener_ != nullptr) listener_->OnIntakeFinished(out);
  return out;
}

bool StatusIntake::HoldRunningTimer(const std::uint8_t* frame, std::size_t start, Rec rec) {
  if (!shared_.pending.IsRaised(rec)) return false;
  // While a reload is outstanding the screens keep the last value from before it; the flag drops
  // once the controller shows the reloaded time.
  if (!shared_.request.Equals(start, frame + start, 2)) return true;
  shared_.pending.Lower(rec);
  return false;
}

void StatusIntake::TakeField(const std::uint8_t* frame, std::size_t start, std::size_t width,
                             IntakeResult& out) {
  auto& state = shared_.dryer_state;
  Rec timer = Rec::kCount;
  const bool running_timer = RunningTimerRec(start, timer);
  // DryerState is written only here, so an unchanged field is recognised without the lock.
  if (!(running_timer && shared_.pending.IsRaised(timer)) &&
      state.Equals(start, frame + start, width))
    return;

  std::uint8_t old_first = 0;
  {
    // A flag lowered by the reload's echo and the echoed bytes reach DryerState together, and a
    // screen loading a record never sees half of a changed field.
    std::scoped_lock lock(shared_.request_lock);
    if (running_timer && HoldRunningTimer(frame, start, timer)) return;
    if (state.Equals(start, frame + start, width)) return;
    // Load timing (byte 58) reads the old bit through old_first.
    old_first = state.Get(start);
    state.CopyFrom(start, frame + start, width);
  }
  for (std::size_t i = start; i < start + width; ++i) out.repaints.Merge(kRepaintTable[i]);
  OnFieldChanged(frame, start, old_first, out);
}

void StatusIntake::OnFieldChanged(const std::uint8_t* frame, std::size_t start,
                                  std::uint8_t old_first, IntakeResult& out) {
  auto& state = shared_.dryer_state;
  auto& pending = shared_.pending;

  auto recompute_lockout = [&](std::size_t trigger) {
    if (state.Get(sm::kBatchSelector) != 1) {
      shared_.mc_lockout.store(0, std::memory_order_relaxed);
      return;
    }
    const bool config_locks = (state.Get(sm::kConfigBits) & kMcLockoutMask) == kMcLockoutValue;
    if (trigger == sm::kBatchSelector) {
      if (config_locks) shared_.mc_lockout.store(1, std::memory_order_relaxed);
    } else if (trigger == sm::kStatusBits179) {
      const bool manual = (state.Get(sm::kStatusBits179) & 0x02) != 0;
      shared_.mc_lockout.store(manual || config_locks ? 1 : 0, std::memory_order_relaxed);
    } else {
      shared_.mc_lockout.store(config_locks ? 1 : 0, std::memory_order_relaxed);
    }
  };

  switch (start) {
    case sm::kBatchSelector:
      if (shared_.view_rule_enabled.load(std::memory_order_relaxed)) out.apply_view_rule = true;
      out.update_batch_buttons = true;
      recompute_lockout(start);
      break;

    case sm::kFillTimeRemaining: {
      const std::uint32_t remaining = state.GetTimeSeconds(start);
      if (remaining < shared_.lowest_fill_time.load(std::memory_order_relaxed))
        shared_.lowest_fill_time.store(remaining, std::memory_order_relaxed);
      break;
    }

    case sm::kLoadDirectionBits: {
      const bool was_running = (old_first & 0x80) != 0;
      const bool running = (frame[start] & 0x80) != 0;
      // Byte 179 comes later in the walk, so this is the previous frame's timing switch.
      if (was_running != running && (state.Get(sm::kStatusBits179) & 0x10) != 0) {
        const std::uint32_t reload = state.GetTimeSeconds(sm::kFillTimerReload);
        if (running) {
          shared_.lowest_fill_time.store(reload + 1, std::memory_order_relaxed);
        } else {
          std::uint32_t duration =
              reload - shared_.lowest_fill_time.load(std::memory_order_relaxed);
          if (duration > kMaxLoadDuration) duration = kMaxLoadDuration;
          shared_.previous_load_duration.store(duration, std::memory_order_relaxed);
        }
        out.repaints.Add(kOutOfGrainPanel);
      }
      break;
    }

    case sm::kStatusBits179:
      shared_.metering_resync.store(1, std::memory_order_relaxed);
      recompute_lockout(start);
      break;

    case sm::kWarningId: {
      const std::uint8_t warning_id = state.Get(sm::kWarningId);
      if (warning_id != 0 && listener_ != nullptr)
        listener_->OnWarningCodeChanged(state.Get(sm::kWarningNode), warning_id);
      break;
    }

    case sm::kMeteringMode: {
      const std::uint8_t now = state.Get(start);
      const bool was_auto_moisture = (old_first & 0x07) == 3 && (old_first & 0x80) != 0;
      if (was_auto_moisture && (now & 0x80) == 0) pending.Raise(Rec::kMeteringCopyWorking);
      break;
    }

    case sm::kDryerStateBits: {
      const bool defaults_on = (state.Get(start) & 0x20) != 0;
      const bool confirmed = shared_.defaults_confirmed.load(std::memory_order_relaxed);
      shared_.defaults_request.store(defaults_on && !confirmed ? 1 : 0, std::memory_order_relaxed);
      break;
    }

    case sm::kDisplayRequest251:
      if (((old_first ^ state.Get(start)) & 0x10) != 0)
        shared_.byte251_request.store((state.Get(start) & 0x10) != 0 ? 1 : 0,
                                      std::memory_order_relaxed);
      break;

    case sm::kConfigBits:
      recompute_lockout(start);
      break;

    case sm::kDisplaySettings: {
      const std::uint8_t now = state.Get(start);
      shared_.si_units.store((now & 0x80) != 0 ? 1 : 0, std::memory_order_relaxed);
      if (((now ^ previous_display_settings_) & 0x40) != 0) out.apply_view_rule = true;
      previous_display_settings_ = now;
      break;
    }

    default:
      break;
  }
}

void StatusIntake::TakeMeteringBytes(const std::uint8_t* frame, IntakeResult& out) {
  auto& state = shared_.dryer_state;
  auto& request = shared_.request;
  auto& pending = shared_.pending;
  constexpr std::size_t kSel = sm::kSpeedSelection;
  constexpr std::uint8_t kSelectionBits = 0x3F;
  // The intake's own writes to the request image and the echo tests of the metering records, as
  // one step against the metering dialog storing and raising its edit.
  std::scoped_lock lock(shared_.request_lock);

  // The controller reports the selection in the low six bits of 159; its upper bits are its own
  // (0x80 asks for the dialog), so an echo is judged on the selection and the three speeds.
  const bool selection_echoed =
      (frame[kSel] & kSelectionBits) == (request.Get(kSel) & kSelectionBits);
  const bool speeds_echoed =
      request.Equals(sm::kWorkingSpeedHigh, frame + sm::kWorkingSpeedHigh, 3);

  if (shared_.metering_source.load(std::memory_order_relaxed) == MeteringSource::kKnob) {
    if (((frame[kSel] ^ state.Get(kSel)) & sm::kSpeedDialogToggle) != 0) {
      if (!shared_.metering_dialog_open.load(std::memory_order_relaxed))
        shared_.metering_speed_request.store(1, std::memory_order_relaxed);
      state.Set(kSel, frame[kSel]);
      out.repaints.Add(kMeteringSpeedDialog);
    }
    // The dialog follows the knob only while no edit of its own is outstanding: a selection or
    // speeds it has sent are not overwritten by the controller's old values before the echo.
    const bool own_selection =
        pending.IsRaised(Rec::kMeteringControl) || pending.IsRaised(Rec::kMeteringFromKnob);
    if (!own_selection && !selection_echoed) {
      request.Set(kSel, frame[kSel] & kSelectionBits);
      out.repaints.Add(kMeteringSpeedDialog);
    }
    if (!pending.IsRaised(Rec::kMeteringFromKnob)) {
      for (std::size_t i = sm::kWorkingSpeedHigh; i <= sm::kWorkingSpeedLow; ++i) {
        if (frame[i] != request.Get(i)) {
          request.Set(i, frame[i]);
          out.repaints.Add(kMeteringSpeedDialog);
        }
      }
    }
  } else if (request.Equals(kSel, frame + kSel, 4)) {
    pending.Lower(Rec::kMeteringFromDisplay);
  }

  // Each of the dialog's records ends once the controller reports the value it carries, whatever
  // the source is now (the source may have been switched while a record was outstanding).
  if (selection_echoed) pending.Lower(Rec::kMeteringControl);
  if (selection_echoed && speeds_echoed) pending.Lower(Rec::kMeteringFromKnob);
  for (std::size_t i = sm::kMeteringSpeedHigh; i <= sm::kMeteringSpeedLow; ++i) {
    // 156-158 were copied earlier in the walk: DryerState holds this frame's values.
    if (state.Get(i) == request.Get(i)) pending.Lower(SpeedRec(i));
  }
  // The medium-speed copy carries byte 230 into 161.
  if (frame[sm::kWorkingSpeedHigh + 1] == frame[sm::kMeteringCopySource])
    pending.Lower(Rec::kMeteringCopy161);
  if (state.Equals(sm::kMeteringSpeedHigh, frame + sm::kWorkingSpeedHigh, 3))
    pending.Lower(Rec::kMeteringCopyWorking);
}

void StatusIntake::ApplyBushelClearing() {
  if ((shared_.request.Get(sm::kCommandBits238) & 0x08) == 0) return;
  // A screen may be storing other bits of the same byte: read, clear and raise as one step.
  std::scoped_lock lock(shared_.request_lock);
  const std::uint8_t requested = shared_.request.Get(sm::kCommandBits238);
  if ((requested & 0x08) == 0) return;
  // Once the controller reports the counter cleared, the bit goes out once more cleared and the
  // record is then lowered by its echo.
  if (shared_.dryer_state.GetU32(sm::kBushelCounter) == 0)
    shared_.request.Set(sm::kCommandBits238, requested & static_cast<std::uint8_t>(~0x08));
  shared_.pending.Raise(Rec::kCommandBits238);
}

void StatusIntake::TestEqualRecords(bool before_copy) {
  const auto& state = shared_.dryer_state;
  const auto& request = shared_.request;
  for (const PendingWriteRecord& record : kPendingWriteRecords) {
    const bool wanted = before_copy ? record.lowering == Lowering::kEqualBeforeCopy
                                    : record.lowering == Lowering::kEqual ||
                                          record.lowering == Lowering::kPrinterBit ||
                                          record.lowering == Lowering::kAutoStartMode ||
                                          record.lowering == Lowering::kDisplaySettings;
    if (!wanted) continue;
    const std::size_t offset = record.target_offset();
    LowerIfEchoed(shared_, record.rec, [&] {
      switch (record.lowering) {
        case Lowering::kPrinterBit:
          return ((state.Get(offset + 1) ^ request.Get(offset + 1)) & 0x40) == 0;
        case Lowering::kAutoStartMode:
          return state.Get(offset) == (request.Get(offset) & 0x03);
        case Lowering::kDisplaySettings: {
          // Command bits still waiting for their placement keep the record up, even when the
          // controller already reports every other bit.
          const std::uint8_t requested = request.Get(offset);
          return (requested & 0x03) == 0 && ((state.Get(offset) ^ requested) & ~0x03) == 0;
        }
        default:
          for (std::size_t i = 0; i < record.size; ++i)
            if (state.Get(offset + i) != request.Get(offset + i)) return false;
          return true;
      }
    });
  }
}

void StatusIntake::AddTiedRepaints(IntakeResult& out) const {
  const auto& pending = shared_.pending;
  if (pending.IsRaised(Rec::kGrainSetpoint)) out.repaints.Add(kLineGraphSetpointArea);
  if (pending.IsRaised(Rec::kDisplaySettings)) {
    out.repaints.Add(kContinuousFlowSetup);
    out.repaints.Add(kStagedBatchSetup);
  }
  if (pending.IsRaised(Rec::kStagedBatchValue)) out.repaints.Add(kStagedBatchSetup);
}

}  // namespace orvandry::link
