#pragma once

#include <cstddef>
#include <cstdint>

#include "link/link_shared.h"
#include "link/setting_edit.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::service {

// Controls of the moisture control printer setup dialog (template 322).
namespace printer_id {
inline constexpr int kTemplate = 322;
inline constexpr int kPrint = 1053;
inline constexpr int kSelect = 1050;
inline constexpr int kEnabled = 1052;   // indicator
inline constexpr int kDisabled = 1051;  // indicator
inline constexpr int kIncrease = 1054;
inline constexpr int kDecrease = 1055;
inline constexpr int kBinNumber = 1146;
// Grain types 1..4 at index 0..3: the button and its tick.
inline constexpr int kGrainButtons[4] = {1056, 1057, 1058, 1059};
inline constexpr int kGrainTicks[4] = {1319, 1320, 1321, 1322};
inline constexpr int kAccept = 1229;
}  // namespace printer_id

inline constexpr std::size_t kBinNumberByte = 202;
inline constexpr std::size_t kGrainTypeByte = 203;
inline constexpr std::size_t kPrinterDisabledByte = 217;
inline constexpr std::uint8_t kPrinterDisabledBit = 0x40;
inline constexpr std::size_t kPrintCommandByte = 218;
inline constexpr std::uint8_t kPrintSummaryBit = 0x20;
inline constexpr int kBinNumberMax = 99;

// The edit record of the printer setup dialog: the printer's enable bit, the bin number and the
// grain type printed on the summary, and the print order.
class PrinterSetup {
 public:
  enum class Outcome { kKeepOpen, kClose };

  explicit PrinterSetup(link::LinkShared& shared);

  void Open();
  Outcome Press(int control, platform::Prompter& prompter);

  int BinNumber() const { return edit_.Get(kBinNumberByte); }
  // 1 corn, 2 wheat, 3 soybeans, 4 rice; anything else ticks no box.
  int GrainType() const { return edit_.Get(kGrainTypeByte); }
  bool PrinterDisabled() const {
    return (edit_.Get(kPrinterDisabledByte) & kPrinterDisabledBit) != 0;
  }

 private:
  Outcome Print(platform::Prompter& prompter);
  // Sends what the technician changed, in one frame. False (and says so) when it cannot go yet.
  bool SendSettings(platform::Prompter& prompter);

  link::SettingEdit edit_;
};

}  // namespace orvandry::service
