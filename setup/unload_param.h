#pragma once

#include <cstdint>
#include <string>

#include "link/link_shared.h"
#include "link/setting_edit.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::setup {

// Controls of the unload parameters dialog (template 513).
namespace unload_param_id {
inline constexpr int kTemplate = 513;
inline constexpr int kMaxGroup = 1320;
inline constexpr int kMaxBph = 1146;
inline constexpr int kMaxPercent = 1147;
inline constexpr int kMaxIncrease = 1300;
inline constexpr int kMaxDecrease = 1301;
inline constexpr int kMaxNote = 1302;
inline constexpr int kMinGroup = 1321;
inline constexpr int kMinBph = 1148;
inline constexpr int kMinPercent = 1149;
inline constexpr int kMinIncrease = 1045;
inline constexpr int kMinDecrease = 1046;
inline constexpr int kMinNote = 1303;
inline constexpr int kHelp = 1009;
inline constexpr int kCancel = 1010;
inline constexpr int kAccept = 1008;
}  // namespace unload_param_id

inline constexpr const char* kUnloadParamCaption = "Unload Parameters - 11";
inline constexpr const char* kUnloadRatesCaption = " ERROR SETTING MAX / MIN UNLOAD RATES";
inline constexpr const char* kUnloadRatesStepText =
    "The MAXIMUM unload rate must be greater than MINIMUM unload rate.  Set defaults?.";
extern const char* const kUnloadRatesAcceptText;
inline constexpr const char* kUnloadHelpCaption = " Moisture Control / Extended Setup";
extern const char* const kUnloadHelpText;

// What the BPH estimate is based on: the hardware option byte (225), the dryer length / model
// index (7) and the 4-inch meter roll bit (0x02 of 183).
struct BphBasis {
  std::uint8_t hardware_options = 0;
  std::uint8_t model_index = 0;
  bool four_inch_roll = false;

  static BphBasis From(const link::ByteImage& state);
};

// Dryer length in feet by index (0 for an unknown index).
int DryerLengthFeet(int index);
// The unload rate `percent` in bushels per hour for this dryer, as shown ("%0.0f").
std::string BphText(int percent, const BphBasis& basis);
// The note under each group: what the estimate is based on (empty when it says nothing).
std::string BphNote(const BphBasis& basis);

// Warned once per run: the minimum at or above the maximum after a step is reported only the
// first time (the ACCEPT check sets it too). Lives as long as the program.
struct UnloadRateWarning {
  bool given = false;
};

// The unload parameters' rules: the maximum and minimum unload rate in percent, stepped by 1 in
// 0..100, sent on ACCEPT.
class UnloadParameters {
 public:
  enum class Outcome { kKeepOpen, kAccepted, kCancelled };

  UnloadParameters(link::LinkShared& shared, UnloadRateWarning& warning);

  void Open();
  void IncreaseMax();
  void DecreaseMax(platform::Prompter& prompter);
  void IncreaseMin(platform::Prompter& prompter);
  void DecreaseMin();
  Outcome Accept(platform::Prompter& prompter);
  Outcome Cancel() const { return Outcome::kCancelled; }
  void Help(platform::Prompter& prompter) const;

  int Max() const;
  int Min() const;
  std::string MaxText() const { return std::to_string(Max()); }
  std::string MinText() const { return std::to_string(Min()); }
  std::string MaxBph() const { return BphText(Max(), basis_); }
  std::string MinBph() const { return BphText(Min(), basis_); }
  std::string Note() const { return BphNote(basis_); }

 private:
  void SetRates(int max, int min);
  void StepWarning(platform::Prompter& prompter);

  link::LinkShared& shared_;
  UnloadRateWarning& warning_;
  link::SettingEdit edit_;
  BphBasis basis_;
};

}  // namespace orvandry::setup
