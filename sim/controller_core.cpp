#include "sim/controller_core.h"

#include <algorithm>

#include "link/crc16.h"
#include "link/frame_constants.h"
#include "link/status_map.h"

namespace orvandry::sim {

std::vector<std::uint8_t> EncodeStatusFrame(const Table& table, AnswerFault fault) {
  std::vector<std::uint8_t> frame(link::kStatusFrameSize);
  std::copy(table.begin(), table.end(), frame.begin());
  link::link_crc16(frame.data(), link::kStateSize);
  switch (fault) {
    case AnswerFault::kNone:
    case AnswerFault::kSilence:
      break;
    case AnswerFault::kBadCrc:
      frame[link::kStateSize] ^= 0x5A;
      break;
    case AnswerFault::kShort:
      frame.pop_back();
      break;
    case AnswerFault::kLong: {
      // A stray byte ahead of the frame shifts it by one, so whatever reads the first 302 bytes
      // sees a misaligned frame. Pick a byte for which that misaligned block cannot pass the CRC
      // check by chance.
      std::uint8_t stray = 0xFF;
      for (;; --stray) {
        frame.insert(frame.begin(), stray);
        if (!link::link_crc16_check(frame.data(), link::kStateSize)) break;
        frame.erase(frame.begin());
      }
      break;
    }
  }
  return frame;
}

ControllerCore::ControllerCore(std::uint32_t seed, Scenario scenario)
    : model_(seed), scenario_(std::move(scenario)) {
  // Events scheduled at time 0 are in force from the start.
  for (const Scenario::WarningEvent& e : scenario_.warnings())
    if (e.at <= 0) model_.SetWarningCode(e.code);
}

void ControllerCore::AdvanceTo(double now) {
  if (!(now > now_)) return;
  // Scheduled warnings land at their own time, so the dryer has moved exactly as far as it would
  // have when the warning struck.
  for (const Scenario::WarningEvent& e : scenario_.WarningsDue(now_, now)) {
    model_.Step(e.at - now_);
    now_ = e.at;
    model_.SetWarningCode(e.code);
  }
  model_.Step(now - now_);
  now_ = now;
}

void ControllerCore::Receive(const std::uint8_t* bytes, std::size_t count, double now,
                             std::vector<std::uint8_t>& answer) {
  parser_.Feed(bytes, count);
  Drain(now, answer);
}

void ControllerCore::LineIdle(double now, std::vector<std::uint8_t>& answer) {
  if (parser_.buffered() == 0) return;
  parser_.LineIdle();
  Drain(now, answer);
}

void ControllerCore::Drain(double now, std::vector<std::uint8_t>& answer) {
  AdvanceTo(now);
  while (auto frame = parser_.Next()) Handle(*frame, now, answer);
  counts_.skipped_bytes = parser_.skipped_bytes();
}

void ControllerCore::Handle(const DisplayFrame& frame, double now,
                            std::vector<std::uint8_t>& answer) {
  history_.push_back(frame);
  if (history_.size() > kHistorySize) history_.pop_front();
  switch (frame.kind) {
    case FrameKind::kBadCrc:
      // A frame the controller cannot trust is neither applied nor answered.
      ++counts_.bad_crc_frames;
      return;
    case FrameKind::kMalformed:
      ++counts_.malformed_frames;
      return;
    case FrameKind::kNull:
      ++counts_.null_frames;
      break;
    case FrameKind::kReset:
      // The display has lost us and starts over. Our table stands; the answer below is what
      // brings the link back.
      ++counts_.reset_frames;
      break;
    case FrameKind::kCommand:
      ++counts_.command_frames;
      for (const CommandRecord& record : frame.records) Apply(record);
      last_command_ = frame.records;
      break;
  }
  Answer(now, answer);
}

void ControllerCore::Apply(const CommandRecord& record) {
  // A record is taken whole or not at all: the controller never half-applies a value.
  bool refused = false;
  for (std::size_t i = 0; i < record.data.size(); ++i)
    refused = refused || scenario_.Refuses(record.offset + i);
  if (refused) {
    ++counts_.records_refused;
    return;
  }
  Table& table = model_.table();
  std::copy(record.data.begin(), record.data.end(),
            table.begin() + static_cast<std::ptrdiff_t>(record.offset));
  ++counts_.records_applied;
}

void ControllerCore::Answer(double now, std::vector<std::uint8_t>& answer) {
  const AnswerFault fault = scenario_.FaultAt(now);
  if (fault == AnswerFault::kSilence) {
    ++counts_.answers_withheld;
    return;
  }
  if (scenario_.RequestStormAt(now)) {
    Table& table = model_.table();
    table[link::status_map::kMeteringMode] =
        static_cast<std::uint8_t>((table[link::status_map::kMeteringMode] & ~0x07) | 0x03);
    if (table[link::status_map::kMcLearningMinutes] == 0)
      table[link::status_map::kMcLearningMinutes] = 45;
    table[link::status_map::kStatusBits179] |= 0x04;
    table[link::status_map::kSpeedSelection] ^= 0x80;
  }
  if (scenario_.KnobTurningAt(now)) TurnKnob();
  model_.SetPanelTest(scenario_.SwitchTestAt(now));
  const std::vector<std::uint8_t> frame = EncodeStatusFrame(model_.table(), fault);
  answer.insert(answer.end(), frame.begin(), frame.end());
  ++counts_.answers;
}

void ControllerCore::TurnKnob() {
  namespace sm = link::status_map;
  Table& table = model_.table();
  // The knob sets the selected speed: 2 high, 1 main, 0 low (main for anything else).
  std::size_t selected = table[sm::kSpeedSelection] & 0x3F;
  if (selected > 2) selected = 1;
  const std::size_t setpoint = sm::kMeteringSpeedLow - selected;
  const std::size_t working = sm::kWorkingSpeedLow - selected;
  int value = std::min<int>(table[working], 100);
  if (value + knob_step_ > 100 || value + knob_step_ < 0) knob_step_ = -knob_step_;
  value += knob_step_;
  table[working] = static_cast<std::uint8_t>(value);
  table[setpoint] = static_cast<std::uint8_t>(value);
}

std::vector<std::uint8_t> ControllerCore::StatusFrame() const {
  return EncodeStatusFrame(model_.table(), AnswerFault::kNone);
}

}  // namespace orvandry::sim
