// The moisture control printer setup: the bin number's wrap, what ACCEPT and PRINT send, and the
// dialog.
#include "service/printer_setup.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/prompter.h"
#include "service/printer_setup_dialog.h"
#include "tests/service/service_fixture.h"

namespace orvandry::service {
namespace {

namespace id = printer_id;
using platform::Answer;
using testing::NextFrame;
using testing::WireRecords;
using Outcome = PrinterSetup::Outcome;

class PrinterSetupTest : public testing::ServiceTest {
 protected:
  void Report(std::uint8_t bin, std::uint8_t grain, std::uint8_t byte217,
              std::uint8_t byte216 = 0x11, std::uint8_t byte219 = 0x07) {
    for (link::Rec rec : {link::Rec::kPrinterSetting202, link::Rec::kPrinterSetting203,
                          link::Rec::kPrinterOptions, link::Rec::kPrinterCommand})
      shared.pending.Lower(rec);
    frame[202] = bin;
    frame[203] = grain;
    frame[216] = byte216;
    frame[217] = byte217;
    frame[219] = byte219;
    Take();
  }
};

TEST_F(PrinterSetupTest, TheBinNumberWrapsAt99) {
  struct Case {
    std::uint8_t reported;
    int control;
    int shown;
  };
  const Case cases[] = {
      {99, id::kIncrease, 0},  {0, id::kDecrease, 99},  {41, id::kIncrease, 42},
      {41, id::kDecrease, 40}, {150, id::kIncrease, 0}, {150, id::kDecrease, 99},
  };
  for (const Case& c : cases) {
    Report(c.reported, 1, 0);
    PrinterSetup setup(shared);
    setup.Open();
    EXPECT_EQ(setup.Press(c.control, prompter), Outcome::kKeepOpen);
    EXPECT_EQ(setup.BinNumber(), c.shown) << int(c.reported) << " " << c.control;
  }
}

// What ACCEPT and PRINT put on the wire. PRINT carries the edited bin number and grain type (and
// the printer switch) ahead of the print order; the printer's other option bits stay as reported.
TEST_F(PrinterSetupTest, AcceptAndPrintSendWhatWasEdited) {
  struct Case {
    const char* name;
    std::uint8_t byte217;
    std::vector<int> presses;
    std::vector<Answer> answers;
    Outcome outcome;
    WireRecords wire;
  };
  const std::vector<Case> cases = {
      {"accept without changes", 0x00, {id::kAccept}, {}, Outcome::kClose, {}},
      {"accept a bin, a grain and the printer off",
       0x01,
       {id::kIncrease, id::kGrainButtons[2], id::kSelect, id::kAccept},
       {},
       Outcome::kClose,
       {{202, {13}}, {203, {3}}, {216, {0x11, 0x41}}}},
      {"SELECT twice changes nothing",
       0x40,
       {id::kSelect, id::kSelect, id::kAccept},
       {},
       Outcome::kClose,
       {}},
      {"print with the printer on sends the edited bin and grain first",
       0x00,
       {id::kDecrease, id::kGrainButtons[3], id::kPrint},
       {},
       Outcome::kClose,
       {{202, {11}}, {203, {4}}, {218, {0x20, 0x07}}}},
      {"print with the printer off: Yes enables it and prints",
       0x40,
       {id::kPrint},
       {Answer::kYes},
       Outcome::kClose,
       {{216, {0x11, 0x00}}, {218, {0x20, 0x07}}}},
      {"print with the printer off: No closes and sends nothing",
       0x40,
       {id::kIncrease, id::kPrint},
       {Answer::kNo},
       Outcome::kClose,
       {}},
      {"print with the printer off: Cancel stays",
       0x40,
       {id::kPrint},
       {Answer::kCancel},
       Outcome::kKeepOpen,
       {}},
      {"switched on here, printed at once without a question",
       0x40,
       {id::kSelect, id::kPrint},
       {},
       Outcome::kClose,
       {{216, {0x11, 0x00}}, {218, {0x20, 0x07}}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Report(12, 2, c.byte217);
    prompter = {};
    for (Answer a : c.answers) prompter.Script(a);
    PrinterSetup setup(shared);
    setup.Open();
    Outcome outcome = Outcome::kKeepOpen;
    for (int control : c.presses) outcome = setup.Press(control, prompter);
    EXPECT_EQ(outcome, c.outcome);
    EXPECT_EQ(NextFrame(shared), c.wire);
    EXPECT_TRUE(prompter.Clean()) << prompter.Problems();
  }
}

TEST_F(PrinterSetupTest, NothingGoesBeforeTheDryerHasReported) {
  PrinterSetup setup(shared);
  setup.Open();
  prompter = {Answer::kOk};
  setup.Press(id::kIncrease, prompter);
  EXPECT_EQ(setup.Press(id::kAccept, prompter), Outcome::kKeepOpen);
  EXPECT_EQ(prompter.Last()->caption, platform::kNotConnectedCaption);
  EXPECT_TRUE(NextFrame(shared).empty());
}

TEST_F(PrinterSetupTest, TheDialogShowsTheEditedSettings) {
  Report(7, 3, 0x40);
  PrinterSetup setup(shared);
  setup.Open();
  PrinterSetupDialog dialog(nullptr, setup, prompter);
  EXPECT_EQ(dialog.BinBox()->text(), "7");
  EXPECT_TRUE(dialog.Box(id::kDisabled)->isChecked());
  EXPECT_FALSE(dialog.Box(id::kEnabled)->isChecked());
  EXPECT_TRUE(dialog.Box(id::kGrainTicks[2])->isChecked());
  dialog.Button(id::kSelect)->click();
  dialog.Button(id::kGrainButtons[0])->click();
  dialog.Button(id::kDecrease)->click();
  EXPECT_EQ(dialog.BinBox()->text(), "6");
  EXPECT_TRUE(dialog.Box(id::kEnabled)->isChecked());
  EXPECT_FALSE(dialog.Box(id::kDisabled)->isChecked());
  EXPECT_TRUE(dialog.Box(id::kGrainTicks[0])->isChecked());
  EXPECT_FALSE(dialog.Box(id::kGrainTicks[2])->isChecked());
  ExpectTouchable(dialog);
  Save(dialog, "service_322_printer_setup");

  Report(7, 9, 0x00);  // a grain type outside 1-4 ticks nothing
  PrinterSetup odd(shared);
  odd.Open();
  PrinterSetupDialog other(nullptr, odd, prompter);
  for (int tick : id::kGrainTicks) EXPECT_FALSE(other.Box(tick)->isChecked());
}

}  // namespace
}  // namespace orvandry::service
