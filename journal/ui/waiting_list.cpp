#include "journal/ui/waiting_list.h"

#include <cstdio>

#include "journal/record_format.h"
#include "platform/prompter.h"

namespace orvandry::journal::ui {
namespace {

std::string Waited(std::int64_t seconds) {
  char text[24];
  if (seconds < 120)
    std::snprintf(text, sizeof text, "%lld S", static_cast<long long>(seconds));
  else if (seconds < 2 * 3600)
    std::snprintf(text, sizeof text, "%lld MIN", static_cast<long long>(seconds / 60));
  else
    std::snprintf(text, sizeof text, "%lld H", static_cast<long long>(seconds / 3600));
  return text;
}

}  // namespace

WaitingList::WaitingList(ChangeJournal& journal, link::LinkShared& shared,
                         platform::Prompter& prompter)
    : journal_(journal), shared_(shared), prompter_(prompter) {}

void WaitingList::Refresh(std::int64_t uptime) {
  rows_.clear();
  const bool si = shared_.si_units.load(std::memory_order_relaxed) != 0;
  for (const WaitingChange& w : journal_.Waiting()) {
    WaitingRow row;
    row.id = w.entry.id;
    row.what = w.entry.what;
    row.screen = w.entry.screen;
    // In the units of the moment, like the controller's value beside it.
    row.requested = FormatValue(w.entry.rec, w.entry.requested, si);
    row.controller = FormatReported(w.entry.rec, shared_.dryer_state, si);
    row.since = FormatCivil(w.entry.committed_at).substr(11);
    row.waited = Waited(uptime - w.since_uptime);
    rows_.push_back(std::move(row));
  }
}

std::string WaitingList::Question(const WaitingRow& row) {
  return "WITHDRAW THIS CHANGE?\n\n" + row.what + ": " + row.requested + "\nTHE CONTROLLER HAS " +
         row.controller + ".\n\nTHE PANEL STOPS SENDING THE CHANGE AND THE CONTROLLER KEEPS " +
         row.controller + ".";
}

bool WaitingList::Withdraw(std::size_t row, Stamp now) {
  if (row >= rows_.size()) return false;
  const WaitingRow chosen = rows_[row];
  if (prompter_.Ask(Question(chosen), kWithdrawCaption, platform::Buttons::kYesNo,
                    platform::Icon::kQuestion) != platform::Answer::kYes)
    return false;
  const auto result = journal_.Withdraw(chosen.id, shared_, now);
  if (result == ChangeJournal::WithdrawResult::kAlreadyTaken)
    prompter_.Ask(kAlreadyTakenText, kWithdrawCaption, platform::Buttons::kOk,
                  platform::Icon::kInformation);
  Refresh(now.uptime);
  return result == ChangeJournal::WithdrawResult::kWithdrawn;
}

}  // namespace orvandry::journal::ui
