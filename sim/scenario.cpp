#include "sim/scenario.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "link/frame_constants.h"

namespace orvandry::sim {

Scenario& Scenario::RaiseWarning(double at, std::uint16_t code) {
  // Kept in time order; events at the same time keep the order they were added in.
  const auto pos = std::upper_bound(warnings_.begin(), warnings_.end(), at,
                                    [](double t, const WarningEvent& e) { return t < e.at; });
  warnings_.insert(pos, WarningEvent{at, code});
  return *this;
}

Scenario& Scenario::Fault(double from, double to, AnswerFault fault) {
  faults_.push_back(FaultWindow{from, to, fault});
  return *this;
}

Scenario& Scenario::Refuse(std::size_t offset) {
  refused_.insert(offset);
  return *this;
}

Scenario& Scenario::Accept(std::size_t offset) {
  refused_.erase(offset);
  return *this;
}

Scenario& Scenario::RequestStorm(double from, double to) {
  storms_.emplace_back(from, to);
  return *this;
}

bool Scenario::RequestStormAt(double now) const {
  return std::any_of(storms_.begin(), storms_.end(),
                     [now](const auto& w) { return now >= w.first && now < w.second; });
}

Scenario& Scenario::TurnKnob(double from, double to) {
  knob_.emplace_back(from, to);
  return *this;
}

bool Scenario::KnobTurningAt(double now) const {
  return std::any_of(knob_.begin(), knob_.end(),
                     [now](const auto& w) { return now >= w.first && now < w.second; });
}

Scenario& Scenario::SwitchTest(double from, double to) {
  switch_test_.emplace_back(from, to);
  return *this;
}

bool Scenario::SwitchTestAt(double now) const {
  return std::any_of(switch_test_.begin(), switch_test_.end(),
                     [now](const auto& w) { return now >= w.first && now < w.second; });
}

AnswerFault Scenario::FaultAt(double now) const {
  for (auto it = faults_.rbegin(); it != faults_.rend(); ++it)
    if (now >= it->from && now < it->to) return it->fault;
  return AnswerFault::kNone;
}

std::vector<Scenario::WarningEvent> Scenario::WarningsDue(double after, double upto) const {
  std::vector<WarningEvent> due;
  for (const WarningEvent& e : warnings_)
    if (e.at > after && e.at <= upto) due.push_back(e);
  return due;
}

namespace {

bool ParseSeconds(std::string_view text, double* out) {
  double value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value) || value < 0)
    return false;
  *out = value;
  return true;
}

bool ParseUnsigned(std::string_view text, int base, unsigned long max, unsigned long* out) {
  if (text.empty()) return false;
  unsigned long value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (ec != std::errc() || end != text.data() + text.size() || value > max) return false;
  *out = value;
  return true;
}

// Warning codes are written as four hex digits everywhere ("0205"); a 0x prefix is allowed.
bool ParseCode(std::string_view text, std::uint16_t* out) {
  if (text.starts_with("0x") || text.starts_with("0X")) text.remove_prefix(2);
  unsigned long value = 0;
  if (!ParseUnsigned(text, 16, 0xFFFF, &value)) return false;
  *out = static_cast<std::uint16_t>(value);
  return true;
}

bool ParseWindow(std::string_view text, double* from, double* to) {
  const std::size_t dash = text.find('-');
  if (dash == std::string_view::npos) return false;
  return ParseSeconds(text.substr(0, dash), from) && ParseSeconds(text.substr(dash + 1), to) &&
         *from < *to;
}

struct FaultOption {
  std::string_view name;
  AnswerFault fault;
};
constexpr FaultOption kFaultOptions[] = {
    {"--silence", AnswerFault::kSilence},
    {"--bad-crc", AnswerFault::kBadCrc},
    {"--short", AnswerFault::kShort},
    {"--long", AnswerFault::kLong},
};

}  // namespace

bool IsScenarioOption(std::string_view option) {
  if (option == "--warning" || option == "--clear-warning" || option == "--refuse" ||
      option == "--request-storm" || option == "--knob" || option == "--switch-test")
    return true;
  return std::any_of(std::begin(kFaultOptions), std::end(kFaultOptions),
                     [&](const FaultOption& f) { return f.name == option; });
}

bool ApplyScenarioOption(std::string_view option, std::string_view value, Scenario& scenario,
                         std::string* error) {
  auto fail = [&](std::string_view what) {
    if (error != nullptr)
      *error = std::string(option) + " " + std::string(value) + ": " + std::string(what);
    return false;
  };

  if (option == "--warning") {
    const std::size_t at = value.find('@');
    std::uint16_t code = 0;
    double when = 0;
    if (at == std::string_view::npos || !ParseCode(value.substr(0, at), &code) ||
        !ParseSeconds(value.substr(at + 1), &when))
      return fail("expected CODE@SECONDS, for example 0x0205@30");
    if (code == 0) return fail("code 0 means no warning; use --clear-warning");
    scenario.RaiseWarning(when, code);
    return true;
  }
  if (option == "--clear-warning") {
    double when = 0;
    if (!ParseSeconds(value, &when)) return fail("expected SECONDS");
    scenario.ClearWarning(when);
    return true;
  }
  if (option == "--refuse") {
    unsigned long offset = 0;
    if (!ParseUnsigned(value, 10, link::kStateSize - 1, &offset))
      return fail("expected a table offset 0..299");
    scenario.Refuse(offset);
    return true;
  }
  if (option == "--request-storm") {
    double from = 0;
    double to = 0;
    if (!ParseWindow(value, &from, &to)) return fail("expected FROM-TO in seconds, FROM < TO");
    scenario.RequestStorm(from, to);
    return true;
  }
  if (option == "--knob") {
    double from = 0;
    double to = 0;
    if (!ParseWindow(value, &from, &to)) return fail("expected FROM-TO in seconds, FROM < TO");
    scenario.TurnKnob(from, to);
    return true;
  }
  if (option == "--switch-test") {
    double from = 0;
    double to = 0;
    if (!ParseWindow(value, &from, &to)) return fail("expected FROM-TO in seconds, FROM < TO");
    scenario.SwitchTest(from, to);
    return true;
  }
  for (const FaultOption& f : kFaultOptions) {
    if (option != f.name) continue;
    double from = 0;
    double to = 0;
    if (!ParseWindow(value, &from, &to)) return fail("expected FROM-TO in seconds, FROM < TO");
    scenario.Fault(from, to, f.fault);
    return true;
  }
  return fail("unknown option");
}

std::string ScenarioOptionsHelp() {
  return "  --warning CODE@T     raise warning CODE (hex, e.g. 0x0205) T seconds after start\n"
         "  --clear-warning T    clear the warning at T seconds\n"
         "  --silence A-B        do not answer from A to B seconds\n"
         "  --bad-crc A-B        answer with a wrong CRC from A to B seconds\n"
         "  --short A-B          answer with 301 bytes from A to B seconds\n"
         "  --long A-B           answer with 303 bytes from A to B seconds\n"
         "  --refuse OFFSET      never apply writes to table OFFSET (0..299)\n"
         "  --request-storm A-B  ask for the metering-speed dialog on every answer from A to B\n"
         "                       seconds, with the moisture-control learning period running\n"
         "  --knob A-B           turn the metering knob from A to B seconds: the selected speed\n"
         "                       moves one step per answer, back and forth across 0..100 %\n"
         "  --switch-test A-B    flip the panel switch inputs one per second from A to B seconds,\n"
         "                       with the FAN 1 light output shorted\n";
}

}  // namespace orvandry::sim
