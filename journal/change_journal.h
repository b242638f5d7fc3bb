#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "link/link_shared.h"
#include "link/pending_write.h"

struct sqlite3;

namespace orvandry::journal {

// Where an operator's change stands.
enum class ChangeState : std::uint8_t {
  kWaiting = 0,    // raised and resent in every frame; the controller has not reported it yet
  kTaken = 1,      // the controller reported the value (settled_at: when the display saw it)
  kWithdrawn = 2,  // the operator withdrew it from the waiting list
  kReplaced = 3,   // a newer change of the same record took its place while it was waiting
  kDropped = 4,    // still waiting when the display stopped: a restart never resends it
};

const char* StateName(ChangeState state);

// Seconds of local panel time since 1970-01-01 00:00 read as if it were UTC: what the panel's
// clock shows, as one sortable number.
std::int64_t CivilSeconds(int year, int month, int day, int hour, int minute, int second);
// "2026-12-07 21:30:05".
std::string FormatCivil(std::int64_t civil_seconds);
// The same as ISO 8601 ("YYYY-MM-DDTHH:MM:SS"); empty for 0.
std::string IsoCivil(std::int64_t civil_seconds);

// When something happens: the panel's clock (for the record) and the seconds the display has
// been running (for the waiting time, which must not jump when the operator sets the clock).
struct Stamp {
  std::int64_t local = 0;   // CivilSeconds
  std::int64_t uptime = 0;  // seconds
};

// One operator change as the journal keeps it.
struct JournalEntry {
  std::int64_t id = 0;            // increasing; newer changes have larger ids
  std::int64_t committed_at = 0;  // CivilSeconds
  std::string screen;             // the screen or dialog the change was made on
  link::Rec rec = link::Rec::kCount;
  std::string what;                     // RecordName
  std::vector<std::uint8_t> requested;  // the record's bytes as sent
  std::string requested_text;           // FormatValue in the units of the moment of the change
  ChangeState state = ChangeState::kWaiting;
  std::int64_t settled_at = 0;  // CivilSeconds; 0 while waiting

  friend bool operator==(const JournalEntry&, const JournalEntry&) = default;
};

// A change the controller has not taken yet.
struct WaitingChange {
  JournalEntry entry;
  std::int64_t since_uptime = 0;  // Stamp::uptime of the commit
};

// The journal of operator changes: every journalled record a screen commits (Journalled()), when,
// from which screen, the value asked for, and then when the controller was seen to take it, or
// that it is still waiting. Kept in the SQLite file "ChangeJournalDB" in the data folder, in
// write-ahead-log mode with full synchronisation: an entry is on the disk when Committed returns,
// and a crash or power cut leaves the last committed state. Only the newest `max_entries` are kept.
//
// Written from the UI thread only (the commit hook, the intake and the ticks all run there; the
// link thread never calls in). Readers may be on any thread: every call holds one mutex.
//
// Without a usable file (no internal disk, a damaged file that cannot be opened) the waiting
// changes are still tracked in memory, so the notice and the withdrawal work; Entries() is then
// empty and error() says why.
class ChangeJournal {
 public:
  static constexpr std::string_view kFileName = "ChangeJournalDB";
  static constexpr std::size_t kMaxEntries = 10000;
  // A change still waiting this long is overdue: the main screen shows the notice.
  static constexpr std::int64_t kOverdueSeconds = 15;

  // Opens (or creates) the file; changes the last run left waiting are marked kDropped at `now`.
  ChangeJournal(const std::filesystem::path& file, Stamp now,
                std::size_t max_entries = kMaxEntries);
  ~ChangeJournal();
  ChangeJournal(const ChangeJournal&) = delete;
  ChangeJournal& operator=(const ChangeJournal&) = delete;

  bool stored() const;
  std::string error() const;

  // --- Writers (UI thread) ---
  // A screen committed `rec` with `bytes`. Records that are not Journalled() are ignored. A change
  // of the same record still waiting is marked kReplaced.
  void Committed(link::Rec rec, std::span<const std::uint8_t> bytes, std::string_view screen,
                 bool si_units, Stamp now);
  // Marks taken every waiting change whose flag the intake has lowered. Returns how many.
  std::size_t Review(const link::LinkShared& shared, Stamp now);

  enum class WithdrawResult { kWithdrawn, kAlreadyTaken, kNotWaiting };
  // Withdraws the waiting change `id`: its flag is lowered and its requested bytes return to the
  // controller's value (link::WithdrawRequest). kAlreadyTaken when the controller took it
  // meanwhile (it is then journalled as taken).
  WithdrawResult Withdraw(std::int64_t id, link::LinkShared& shared, Stamp now);

  // --- Readers (any thread) ---
  // The newest `count` entries, newest first.
  std::vector<JournalEntry> Entries(std::size_t count = kMaxEntries) const;
  // The changes still waiting, oldest first.
  std::vector<WaitingChange> Waiting() const;
  // The waiting changes that have waited kOverdueSeconds or more at `uptime`.
  std::vector<WaitingChange> Overdue(std::int64_t uptime) const;

 private:
  void Open(const std::filesystem::path& file, Stamp now);
  bool Exec(const char* sql);
  bool Settle(std::int64_t id, ChangeState state, std::int64_t at);
  bool Insert(const JournalEntry& entry);
  void Fail(const char* what);

  mutable std::mutex mutex_;
  sqlite3* db_ = nullptr;
  std::string error_;
  std::size_t max_entries_;
  std::int64_t next_id_ = 1;
  std::vector<WaitingChange> waiting_;
};

// The journal as CSV, oldest first: a header row, ISO 8601 local times, values in the units of the
// moment each change was made, CRLF rows; texts quoted where they hold a comma, quote or line
// break.
std::string JournalCsv(const std::vector<JournalEntry>& newest_first);

}  // namespace orvandry::journal
