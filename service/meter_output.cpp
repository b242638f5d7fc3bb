#include "service/meter_output.h"

#include <cstdio>

#include "link/status_map.h"
#include "platform/prompter.h"

namespace orvandry::service {

namespace id = meter_output_id;
namespace sm = link::status_map;
using link::Rec;

void MeterOutput::Open() {
  edit_.Load({Rec::kMeterOutput236, Rec::kMeterOutput237, Rec::kCommandBits238});
}

int MeterOutput::Minimum() const {
  return edit_.Get(sm::kMeterOutputVoltage2);
}

int MeterOutput::Maximum() const {
  return edit_.Get(sm::kMeterOutputVoltage1);
}

std::string MeterOutput::PercentText(int raw) {
  char text[24];
  std::snprintf(text, sizeof text, " %3.2f %%", raw * 100.0 / 255.0);
  return text;
}

std::string MeterOutput::VoltsText(int raw) {
  char text[24];
  std::snprintf(text, sizeof text, " ~%3.1f V", raw * 10.0 / 255.0);
  return text;
}

void MeterOutput::Send(std::initializer_list<link::SettingEdit::OwnedBits> parts,
                       platform::Prompter& prompter) {
  if (edit_.CommitOwned(parts) != link::CommitResult::kNotConnected) return;
  // Said once per opening: the technician presses UP or DOWN many times.
  if (!told_not_connected_) platform::TellNotConnected(prompter);
  told_not_connected_ = true;
  Open();  // show what the dryer has again
}

void MeterOutput::Step(std::size_t offset, int step, int low, int high, std::uint8_t drive,
                       platform::Prompter& prompter) {
  const int value = edit_.Get(offset) + step;
  if (value >= low && value <= high) edit_.Set(offset, static_cast<std::uint8_t>(value));
  edit_.Set(sm::kCommandBits238, drive);
  const Rec rec = offset == sm::kMeterOutputVoltage1 ? Rec::kMeterOutput236 : Rec::kMeterOutput237;
  // The limit and the output to drive go out in the same frame.
  Send({{rec, 0xFF}, {Rec::kCommandBits238, kTestBits}}, prompter);
}

MeterOutput::Outcome MeterOutput::Press(int control_id, platform::Prompter& prompter) {
  switch (control_id) {
    case id::kMinUp:
    case id::kMinDown:
      Step(sm::kMeterOutputVoltage2, control_id == id::kMinUp ? 1 : -1, kMinLow, kMinHigh,
           kDriveMin, prompter);
      break;
    case id::kMaxUp:
    case id::kMaxDown:
      Step(sm::kMeterOutputVoltage1, control_id == id::kMaxUp ? 1 : -1, kMaxLow, kMaxHigh,
           kDriveMax, prompter);
      break;
    case id::kDefault:
      edit_.Set(sm::kMeterOutputVoltage2, kDefaultMin);
      edit_.Set(sm::kMeterOutputVoltage1, kDefaultMax);
      Send({{Rec::kMeterOutput236, 0xFF}, {Rec::kMeterOutput237, 0xFF}}, prompter);
      break;
    case id::kAccept:
    case id::kCancel:
      // The dryer stops driving a test output; the limits already sent stay.
      edit_.Set(sm::kCommandBits238, kDriveNone);
      Send({{Rec::kCommandBits238, kTestBits}}, prompter);
      return Outcome::kClosed;
    default:
      break;
  }
  return Outcome::kKeepOpen;
}

}  // namespace orvandry::service
