#pragma once

#include <cstdint>

#include "link/link_shared.h"
#include "link/setting_edit.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::service {

// Controls of the moisture sampler setup dialog (template 556).
namespace sampler_id {
inline constexpr int kTemplate = 556;
inline constexpr int kShutdown = 1336;
inline constexpr int kSwitchToGrainTemp = 1046;
inline constexpr int kDelays[4] = {1047, 1048, 1049, 1050};
inline constexpr int kMaxTimes[4] = {1051, 1052, 1053, 1054};
inline constexpr int kSelectAction = 1337;
inline constexpr int kSelectDelay = 1338;
inline constexpr int kSelectMaxTime = 1339;
inline constexpr int kHelp = 1340;
inline constexpr int kAccept = 1335;
// The three frames; no ids of the dryer's.
inline constexpr int kActionGroup = 1341;
inline constexpr int kDelayGroup = 1342;
inline constexpr int kMaxTimeGroup = 1343;
}  // namespace sampler_id

inline constexpr const char* kSamplerCaption = "Moisture Sampler Setup";
inline constexpr const char* kSamplerHelpCaption = "Cycled Sampler Help";
inline constexpr const char* kSamplerHelpText =
    "When the cycled moisture sampler needs cleaning the dryer can:\n"
    "  - Shutdown Dryer Immediately, or\n"
    "  - Switch to Grain Temperature Moisture Control and keep drying on the grain temperature.\n\n"
    "ACTION DELAY: how long the dryer waits after the sampler asks for cleaning before it acts "
    "(zero, 1/2 hour, 1 hour or 2 hours).\n\n"
    "MAXIMUM TIME: how long the dryer may run on grain temperature moisture control before it "
    "shuts down (1, 2 or 4 hours, or indefinite).\n\n"
    "Each SELECT is sent to the dryer at once.";

// The cycled sampler's settings (byte 293): bit 0x20 switch to grain temperature moisture control
// instead of shutting down, bits 0x18 the action delay, bits 0x06 the maximum time on grain
// temperature control. Each SELECT is sent at once; the other bits of the byte are not this
// dialog's.
class SamplerSetup {
 public:
  enum class Outcome { kKeepOpen, kClosed };
  static constexpr std::uint8_t kSwitchBit = 0x20;
  static constexpr std::uint8_t kDelayBits = 0x18;
  static constexpr std::uint8_t kMaxTimeBits = 0x06;

  explicit SamplerSetup(link::LinkShared& shared) : edit_(shared) {}

  void Open();

  bool SwitchesToGrainTemp() const { return (Byte() & kSwitchBit) != 0; }
  int Delay() const { return (Byte() & kDelayBits) >> 3; }
  int MaxTime() const { return (Byte() & kMaxTimeBits) >> 1; }
  std::uint8_t Byte() const;

  Outcome Press(int control_id, platform::Prompter& prompter);

 private:
  void Send(std::uint8_t value, std::uint8_t bits, platform::Prompter& prompter);

  link::SettingEdit edit_;
};

}  // namespace orvandry::service
