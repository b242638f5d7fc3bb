#include "service/printer_setup.h"

#include "platform/prompter.h"

namespace orvandry::service {

namespace {

namespace id = printer_id;
using link::CommitResult;
using link::Rec;
using platform::Answer;

}  // namespace

PrinterSetup::PrinterSetup(link::LinkShared& shared) : edit_(shared) {}

void PrinterSetup::Open() {
  edit_.Load({Rec::kPrinterSetting202, Rec::kPrinterSetting203, Rec::kPrinterOptions,
              Rec::kPrinterCommand});
}

PrinterSetup::Outcome PrinterSetup::Press(int control, platform::Prompter& prompter) {
  const int bin = BinNumber();
  switch (control) {
    case id::kIncrease:
      edit_.Set(kBinNumberByte, static_cast<std::uint8_t>(bin >= kBinNumberMax ? 0 : bin + 1));
      return Outcome::kKeepOpen;
    case id::kDecrease:
      // A number the dryer reports above 99 steps down to 99.
      edit_.Set(kBinNumberByte, static_cast<std::uint8_t>(
                                    bin == 0 || bin > kBinNumberMax ? kBinNumberMax : bin - 1));
      return Outcome::kKeepOpen;
    case id::kSelect:
      edit_.Set(kPrinterDisabledByte,
                static_cast<std::uint8_t>(edit_.Get(kPrinterDisabledByte) ^ kPrinterDisabledBit));
      return Outcome::kKeepOpen;
    case id::kPrint:
      return Print(prompter);
    case id::kAccept:
      return SendSettings(prompter) ? Outcome::kClose : Outcome::kKeepOpen;
    default:
      for (int type = 1; type <= 4; ++type)
        if (control == id::kGrainButtons[type - 1])
          edit_.Set(kGrainTypeByte, static_cast<std::uint8_t>(type));
      return Outcome::kKeepOpen;
  }
}

bool PrinterSetup::SendSettings(platform::Prompter& prompter) {
  if (edit_.CommitChanged({Rec::kPrinterSetting202, Rec::kPrinterSetting203,
                           Rec::kPrinterOptions}) == CommitResult::kNotConnected) {
    platform::TellNotConnected(prompter);
    Open();
    return false;
  }
  return true;
}

PrinterSetup::Outcome PrinterSetup::Print(platform::Prompter& prompter) {
  if (PrinterDisabled()) {
    const Answer answer =
        prompter.Ask("Enable printer and print summary?", "PRINTER IS NOT ENABLED",
                     platform::Buttons::kYesNoCancel, platform::Icon::kQuestion);
    if (answer == Answer::kNo) return Outcome::kClose;
    if (answer != Answer::kYes) return Outcome::kKeepOpen;
    edit_.Set(kPrinterDisabledByte,
              static_cast<std::uint8_t>(edit_.Get(kPrinterDisabledByte) & ~kPrinterDisabledBit));
  }
  // The summary carries the bin number and grain type on the screen: they are raised before the
  // print order, and the frame builder takes the records in that order, so the dryer has them by
  // the time it prints.
  if (!SendSettings(prompter)) return Outcome::kKeepOpen;
  edit_.Set(kPrintCommandByte,
            static_cast<std::uint8_t>(edit_.Get(kPrintCommandByte) | kPrintSummaryBit));
  edit_.Commit(Rec::kPrinterCommand);
  return Outcome::kClose;
}

}  // namespace orvandry::service
