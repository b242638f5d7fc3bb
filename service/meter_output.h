#pragma once

#include <cstdint>
#include <string>

#include "link/link_shared.h"
#include "link/setting_edit.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::service {

// Controls of the meter rolls output voltage dialog (template 252).
namespace meter_output_id {
inline constexpr int kTemplate = 252;
inline constexpr int kMinPercent = 1146;
inline constexpr int kMaxPercent = 1147;
inline constexpr int kMinVolts = 1148;
inline constexpr int kMaxVolts = 1149;
inline constexpr int kMinUp = 1215;
inline constexpr int kMinDown = 1216;
inline constexpr int kMaxUp = 1045;
inline constexpr int kMaxDown = 1046;
inline constexpr int kDefault = 1217;
inline constexpr int kAccept = 1219;
inline constexpr int kCancel = 1220;
// Frames and notes; no ids of the dryer's.
inline constexpr int kMinGroup = 1221;
inline constexpr int kMaxGroup = 1222;
inline constexpr int kMinNote = 1223;
inline constexpr int kMaxNote = 1224;
}  // namespace meter_output_id

inline constexpr const char* kMeterOutputCaption = "Meter Rolls Output Voltage Setup - 27";
inline constexpr const char* kMeterRollsOnNote = "Meter rolls need to be on!";

// The metering roll drive's output limits: maximum (byte 236, 165-255) and minimum (byte 237,
// 0-64), raw 0-255 for 0-10 V. Each step is sent at once together with the output the dryer
// should drive meanwhile (the test value in bits 0x03 of byte 238: 1 maximum, 2 minimum, 0 none);
// the rest of byte 238 (the bushel counter's clear bit) is never this dialog's.
class MeterOutput {
 public:
  enum class Outcome { kKeepOpen, kClosed };
  static constexpr int kMinLow = 0, kMinHigh = 64, kMaxLow = 165, kMaxHigh = 255;
  static constexpr int kDefaultMin = 32, kDefaultMax = 190;
  static constexpr std::uint8_t kTestBits = 0x03;
  static constexpr std::uint8_t kDriveMax = 1, kDriveMin = 2, kDriveNone = 0;

  explicit MeterOutput(link::LinkShared& shared) : edit_(shared) {}

  void Open();

  int Minimum() const;
  int Maximum() const;
  static std::string PercentText(int raw);  // " 12.55 %"
  static std::string VoltsText(int raw);    // " ~1.3 V"

  Outcome Press(int control_id, platform::Prompter& prompter);

 private:
  void Send(std::initializer_list<link::SettingEdit::OwnedBits> parts,
            platform::Prompter& prompter);
  void Step(std::size_t offset, int step, int low, int high, std::uint8_t drive,
            platform::Prompter& prompter);

  link::SettingEdit edit_;
  bool told_not_connected_ = false;
};

}  // namespace orvandry::service
