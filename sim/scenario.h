#pragma once

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace orvandry::sim {

// How the controller misbehaves when it answers.
enum class AnswerFault : std::uint8_t {
  kNone,
  kSilence,  // hears the display but does not answer
  kBadCrc,   // one CRC byte wrong
  kShort,    // the last byte missing: 301 bytes
  kLong,     // a stray byte ahead of the frame: 303 bytes
};

// A script of trouble for the simulated controller. Times are seconds on the controller's clock,
// counted from its start. Built with the chaining calls or from command-line options.
class Scenario {
 public:
  struct WarningEvent {
    double at = 0;
    std::uint16_t code = 0;  // node id high, warning id low; 0 clears
  };
  struct FaultWindow {
    double from = 0;
    double to = 0;  // exclusive
    AnswerFault fault = AnswerFault::kNone;
  };

  Scenario& RaiseWarning(double at, std::uint16_t code);
  Scenario& ClearWarning(double at) { return RaiseWarning(at, 0); }
  Scenario& Silence(double from, double to) { return Fault(from, to, AnswerFault::kSilence); }
  Scenario& CorruptCrc(double from, double to) { return Fault(from, to, AnswerFault::kBadCrc); }
  Scenario& ShortAnswers(double from, double to) { return Fault(from, to, AnswerFault::kShort); }
  Scenario& LongAnswers(double from, double to) { return Fault(from, to, AnswerFault::kLong); }
  Scenario& Fault(double from, double to, AnswerFault fault);
  // Records that write this offset are acknowledged on the line but never applied, so the
  // display never sees its value echoed.
  Scenario& Refuse(std::size_t offset);
  Scenario& Accept(std::size_t offset);
  // From `from` to `to` the controller is a faulty board in a loop: every answer flips the
  // metering-speed request bit (bit 0x80 of byte 159) while the moisture-control learning period
  // runs (mode 3 in byte 187, learning minutes in byte 52, bit 0x04 of byte 179), so the display
  // is asked for the metering-speed dialog about three times a second.
  Scenario& RequestStorm(double from, double to);
  bool RequestStormAt(double now) const;
  // From `from` to `to` the operator turns the metering knob on the control panel: every answer
  // moves the selected speed (its setpoint and working speed together) one step, back and forth
  // across 0..100 %, so an open metering-speed dialog shows the gauges following the knob.
  Scenario& TurnKnob(double from, double to);
  bool KnobTurningAt(double now) const;
  // From `from` to `to` a technician works through the panel's switches: one switch input of
  // bytes 180-182 flips each second, in turn, and the FAN 1 light output reports shorted, so the
  // display's switch test and light output dialogs have something to show.
  Scenario& SwitchTest(double from, double to);
  bool SwitchTestAt(double now) const;

  // The fault in force at `now`; the latest-added window wins where windows overlap.
  AnswerFault FaultAt(double now) const;
  bool Refuses(std::size_t offset) const { return refused_.count(offset) != 0; }

  // Warning events due in (after, upto], in time order.
  std::vector<WarningEvent> WarningsDue(double after, double upto) const;

  const std::vector<WarningEvent>& warnings() const { return warnings_; }
  const std::vector<FaultWindow>& faults() const { return faults_; }
  const std::set<std::size_t>& refused() const { return refused_; }

 private:
  std::vector<WarningEvent> warnings_;
  std::vector<FaultWindow> faults_;
  std::set<std::size_t> refused_;
  std::vector<std::pair<double, double>> storms_;
  std::vector<std::pair<double, double>> knob_;
  std::vector<std::pair<double, double>> switch_test_;
};

// Applies one command-line scenario option to `scenario`:
//   --warning CODE@T     raise CODE (hex, 0x0205 or 0205) at T s
//   --clear-warning T    clear the warning at T s
//   --silence A-B        no answers from A s to B s
//   --bad-crc A-B, --short A-B, --long A-B   damaged answers from A s to B s
//   --refuse OFFSET      never apply writes to OFFSET (0..299)
//   --request-storm A-B  the metering-speed request on every answer from A s to B s
//   --knob A-B           the metering knob turning from A s to B s
//   --switch-test A-B    the panel switches flipped one by one from A s to B s
// Returns false with a reason in `error` for an unknown option or a value it cannot read.
bool ApplyScenarioOption(std::string_view option, std::string_view value, Scenario& scenario,
                         std::string* error);

// True for the options ApplyScenarioOption understands (all of them take one value).
bool IsScenarioOption(std::string_view option);

// One line per option, for --help.
std::string ScenarioOptionsHelp();

}  // namespace orvandry::sim
