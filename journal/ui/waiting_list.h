#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "journal/change_journal.h"
#include "link/link_shared.h"

namespace orvandry::platform {
class Prompter;
}

namespace orvandry::journal::ui {

inline constexpr const char* kWaitingListCaption = " CHANGES NOT TAKEN";
inline constexpr const char* kWithdrawCaption = "WITHDRAW CHANGE";
inline constexpr const char* kAlreadyTakenText =
    "THE CONTROLLER HAS TAKEN THIS CHANGE IN THE MEANTIME.\nNOTHING WAS WITHDRAWN.";

// One line of the list, in the panel's units of the moment.
struct WaitingRow {
  std::int64_t id = 0;
  std::string what;        // the record's name
  std::string screen;      // where the change was made
  std::string requested;   // the value asked for
  std::string controller;  // the value the controller reports now
  std::string since;       // the panel time of the change, "21:30:05"
  std::string waited;      // how long it has waited, "45 S", "3 MIN", "2 H"
};

// The list of the changes the controller has not taken, and their withdrawal: the logic behind
// the waiting-changes dialog. UI thread.
class WaitingList {
 public:
  WaitingList(ChangeJournal& journal, link::LinkShared& shared, platform::Prompter& prompter);

  // Reads the waiting changes afresh (oldest first); a change taken meanwhile drops out.
  void Refresh(std::int64_t uptime);
  const std::vector<WaitingRow>& Rows() const { return rows_; }

  // The question WITHDRAW asks for `row`.
  static std::string Question(const WaitingRow& row);
  // The operator touched WITHDRAW on `row`: asks first; on Yes the change is withdrawn (its flag
  // lowered, its requested bytes back to the controller's value). True when it was withdrawn.
  bool Withdraw(std::size_t row, Stamp now);

 private:
  ChangeJournal& journal_;
  link::LinkShared& shared_;
  platform::Prompter& prompter_;
  std::vector<WaitingRow> rows_;
};

}  // namespace orvandry::journal::ui
