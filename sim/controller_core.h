#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "sim/display_frame_parser.h"
#include "sim/dryer_model.h"
#include "sim/scenario.h"

namespace orvandry::sim {

// What the controller has heard on the line.
struct FrameCounts {
  std::uint64_t null_frames = 0;
  std::uint64_t reset_frames = 0;
  std::uint64_t command_frames = 0;
  std::uint64_t bad_crc_frames = 0;
  std::uint64_t malformed_frames = 0;
  std::uint64_t skipped_bytes = 0;  // noise between frames
  std::uint64_t records_applied = 0;
  std::uint64_t records_refused = 0;
  std::uint64_t answers = 0;           // StatusFrames sent, damaged ones included
  std::uint64_t answers_withheld = 0;  // frames heard but not answered (silence)

  std::uint64_t good_frames() const { return null_frames + reset_frames + command_frames; }
};

// The controller without any I/O or threads: it takes the display's bytes with the time they
// arrived, applies what they carry, moves the dryer on, and produces the bytes to send back. The
// thread that drives a real line (SimController) and the unit tests both use it.
class ControllerCore {
 public:
  explicit ControllerCore(std::uint32_t seed = 1, Scenario scenario = {});

  // Bytes from the display that arrived at `now` (seconds on the controller's clock). Every
  // recognised frame is answered with one StatusFrame, appended to `answer`.
  void Receive(const std::uint8_t* bytes, std::size_t count, double now,
               std::vector<std::uint8_t>& answer);
  // The line has been quiet for a while: a partial frame at the head is noise.
  void LineIdle(double now, std::vector<std::uint8_t>& answer);
  // Moves the dryer and the scenario's scheduled events on to `now`. Time never runs backwards.
  void AdvanceTo(double now);

  // The StatusFrame the controller would send now, without any fault.
  std::vector<std::uint8_t> StatusFrame() const;

  DryerModel& model() { return model_; }
  const DryerModel& model() const { return model_; }
  Scenario& scenario() { return scenario_; }
  const FrameCounts& counts() const { return counts_; }
  const std::vector<CommandRecord>& last_command() const { return last_command_; }
  // The most recent frames heard, oldest first (at most kHistorySize), for bench logs and tests.
  static constexpr std::size_t kHistorySize = 256;
  const std::deque<DisplayFrame>& history() const { return history_; }
  double now() const { return now_; }

 private:
  void Drain(double now, std::vector<std::uint8_t>& answer);
  void Handle(const DisplayFrame& frame, double now, std::vector<std::uint8_t>& answer);
  void Apply(const CommandRecord& record);
  void Answer(double now, std::vector<std::uint8_t>& answer);
  void TurnKnob();

  DryerModel model_;
  Scenario scenario_;
  DisplayFrameParser parser_;
  FrameCounts counts_;
  std::vector<CommandRecord> last_command_;
  std::deque<DisplayFrame> history_;
  double now_ = 0;
  int knob_step_ = 1;  // the way the knob is being turned
};

// A StatusFrame for `table` as the given fault would put it on the line.
std::vector<std::uint8_t> EncodeStatusFrame(const Table& table, AnswerFault fault);

}  // namespace orvandry::sim
