#include "journal/change_journal.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>

#include "journal/record_format.h"
#include "link/setting_edit.h"

namespace orvandry::journal {
namespace {

constexpr int kBusyTimeoutMs = 2000;

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS changes ("
    "  id INTEGER PRIMARY KEY,"
    "  committed_at INTEGER NOT NULL,"
    "  screen TEXT NOT NULL,"
    "  record INTEGER NOT NULL,"
    "  what TEXT NOT NULL,"
    "  requested BLOB NOT NULL,"
    "  requested_text TEXT NOT NULL,"
    "  state INTEGER NOT NULL,"
    "  settled_at INTEGER NOT NULL);"
    "PRAGMA user_version = 1;";

class Statement {
 public:
  Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement() { sqlite3_finalize(stmt_); }
  bool ok() const { return stmt_ != nullptr; }
  sqlite3_stmt* get() const { return stmt_; }
  void Bind(int at, std::int64_t value) { sqlite3_bind_int64(stmt_, at, value); }
  void Bind(int at, std::string_view text) {
    sqlite3_bind_text(stmt_, at, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  }
  void Bind(int at, std::span<const std::uint8_t> bytes) {
    sqlite3_bind_blob(stmt_, at, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
  }
  bool Done() { return sqlite3_step(stmt_) == SQLITE_DONE; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
};

std::string ColumnText(sqlite3_stmt* stmt, int column) {
  const auto* text = sqlite3_column_text(stmt, column);
  return text == nullptr
             ? std::string()
             : std::string(reinterpret_cast<const char*>(text),
                           static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)));
}

// Days since 1970-01-01 of a proleptic Gregorian date.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

}  // namespace

const char* StateName(ChangeState state) {
  switch (state) {
    case ChangeState::kWaiting:
      return "WAITING";
    case ChangeState::kTaken:
      return "TAKEN";
    case ChangeState::kWithdrawn:
      return "WITHDRAWN";
    case ChangeState::kReplaced:
      return "REPLACED";
    case ChangeState::kDropped:
      return "NOT SENT AFTER RESTART";
  }
  return "?";
}

std::int64_t CivilSeconds(int year, int month, int day, int hour, int minute, int second) {
  return DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) * 86400 +
         hour * 3600 + minute * 60 + second;
}

std::string FormatCivil(std::int64_t s) {
  std::int64_t z = (s >= 0 ? s : s - 86399) / 86400;
  const std::int64_t secs = s - z * 86400;
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400 + (m <= 2);
  char text[96];
  std::snprintf(text, sizeof text, "%04lld-%02u-%02u %02lld:%02lld:%02lld",
                static_cast<long long>(y), m, d, static_cast<long long>(secs / 3600),
                static_cast<long long>(secs / 60 % 60), static_cast<long long>(secs % 60));
  return text;
}

ChangeJournal::ChangeJournal(const std::filesystem::path& file, Stamp now, std::size_t max_entries)
    : max_entries_(std::max<std::size_t>(max_entries, 1)) {
  Open(file, now);
}

ChangeJournal::~ChangeJournal() {
  if (db_ != nullptr) sqlite3_close_v2(db_);
}

void ChangeJournal::Fail(const char* what) {
  error_ = std::string(what) + ": " + (db_ != nullptr ? sqlite3_errmsg(db_) : "cannot open");
}

bool ChangeJournal::Exec(const char* sql) {
  return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

void ChangeJournal::Open(const std::filesystem::path& file, Stamp now) {
  if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
      SQLITE_OK) {
    Fail("open");
    sqlite3_close_v2(db_);
    db_ = nullptr;
    return;
  }
  sqlite3_busy_timeout(db_, kBusyTimeoutMs);
  // Write-ahead log with a sync at every commit: an entry survives a crash or a power cut once
  // Committed has returned, and a cut part way through a write leaves the previous state.
  if (!Exec("PRAGMA journal_mode=WAL;") || !Exec("PRAGMA synchronous=FULL;") || !Exec(kSchema)) {
    Fail("schema");
    sqlite3_close_v2(db_);
    db_ = nullptr;
    return;
  }
  {
    Statement max_id(db_, "SELECT COALESCE(MAX(id), 0) FROM changes");
    if (max_id.ok() && sqlite3_step(max_id.get()) == SQLITE_ROW)
      next_id_ = sqlite3_column_int64(max_id.get(), 0) + 1;
  }
  // The request image starts empty on every run: what was still waiting will never be sent again.
  Statement dropped(db_, "UPDATE changes SET state = ?1, settled_at = ?2 WHERE state = ?3");
  dropped.Bind(1, static_cast<std::int64_t>(ChangeState::kDropped));
  dropped.Bind(2, now.local);
  dropped.Bind(3, static_cast<std::int64_t>(ChangeState::kWaiting));
  if (!dropped.ok() || !dropped.Done()) Fail("restart");
}

bool ChangeJournal::stored() const {
  std::scoped_lock lock(mutex_);
  return db_ != nullptr;
}

std::string ChangeJournal::error() const {
  std::scoped_lock lock(mutex_);
  return error_;
}

bool ChangeJournal::Settle(std::int64_t id, ChangeState state, std::int64_t at) {
  if (db_ == nullptr) return false;
  Statement update(db_, "UPDATE changes SET state = ?1, settled_at = ?2 WHERE id = ?3");
  update.Bind(1, static_cast<std::int64_t>(state));
  update.Bind(2, at);
  update.Bind(3, id);
  if (update.ok() && update.Done()) return true;
  Fail("update");
  return false;
}

bool ChangeJournal::Insert(const JournalEntry& e) {
  if (db_ == nullptr) return false;
  Statement insert(
      db_,
      "INSERT INTO changes (id, committed_at, screen, record, what, requested,"
      " requested_text, state, settled_at) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
  insert.Bind(1, e.id);
  insert.Bind(2, e.committed_at);
  insert.Bind(3, e.screen);
  insert.Bind(4, static_cast<std::int64_t>(link::RecordOf(e.rec).number()));
  insert.Bind(5, e.what);
  insert.Bind(6, std::span<const std::uint8_t>(e.requested));
  insert.Bind(7, e.requested_text);
  insert.Bind(8, static_cast<std::int64_t>(e.state));
  insert.Bind(9, e.settled_at);
  // The bound: ids only grow, so the newest max_entries are the ids above this one.
  Statement trim(db_, "DELETE FROM changes WHERE id <= ?1");
  trim.Bind(1, e.id - static_cast<std::int64_t>(max_entries_));
  if (insert.ok() && insert.Done() && trim.ok() && trim.Done()) return true;
  Fail("insert");
  return false;
}

void ChangeJournal::Committed(link::Rec rec, std::span<const std::uint8_t> bytes,
                              std::string_view screen, bool si_units, Stamp now) {
  if (!Journalled(rec)) return;
  std::scoped_lock lock(mutex_);
  JournalEntry entry;
  entry.id = next_id_++;
  entry.committed_at = now.local;
  entry.screen = std::string(screen);
  entry.rec = rec;
  entry.what = RecordName(rec);
  entry.requested.assign(bytes.begin(), bytes.end());
  entry.requested_text = FormatValue(rec, bytes, si_units);
  const bool transaction = db_ != nullptr && Exec("BEGIN IMMEDIATE");
  for (auto it = waiting_.begin(); it != waiting_.end();) {
    if (it->entry.rec != rec) {
      ++it;
      continue;
    }
    Settle(it->entry.id, ChangeState::kReplaced, now.local);
    it = waiting_.erase(it);
  }
  Insert(entry);
  if (transaction && !Exec("COMMIT")) {
    Fail("commit");
    Exec("ROLLBACK");
  }
  waiting_.push_back({std::move(entry), now.uptime});
}

std::size_t ChangeJournal::Review(const link::LinkShared& shared, Stamp now) {
  std::scoped_lock lock(mutex_);
  std::size_t taken = 0;
  for (auto it = waiting_.begin(); it != waiting_.end();) {
    if (shared.pending.IsRaised(it->entry.rec)) {
      ++it;
      continue;
    }
    Settle(it->entry.id, ChangeState::kTaken, now.local);
    it = waiting_.erase(it);
    ++taken;
  }
  return taken;
}

ChangeJournal::WithdrawResult ChangeJournal::Withdraw(std::int64_t id, link::LinkShared& shared,
                                                      Stamp now) {
  std::scoped_lock lock(mutex_);
  auto it = std::find_if(waiting_.begin(), waiting_.end(),
                         [id](const WaitingChange& w) { return w.entry.id == id; });
  if (it == waiting_.end()) return WithdrawResult::kNotWaiting;
  const bool withdrawn = link::WithdrawRequest(shared, it->entry.rec);
  Settle(id, withdrawn ? ChangeState::kWithdrawn : ChangeState::kTaken, now.local);
  waiting_.erase(it);
  return withdrawn ? WithdrawResult::kWithdrawn : WithdrawResult::kAlreadyTaken;
}

std::vector<JournalEntry> ChangeJournal::Entries(std::size_t count) const {
  std::scoped_lock lock(mutex_);
  std::vector<JournalEntry> out;
  if (db_ == nullptr) return out;
  Statement select(db_,
                   "SELECT id, committed_at, screen, record, what, requested, requested_text,"
                   " state, settled_at FROM changes ORDER BY id DESC LIMIT ?1");
  select.Bind(1, static_cast<std::int64_t>(std::min(count, max_entries_)));
  while (select.ok() && sqlite3_step(select.get()) == SQLITE_ROW) {
    sqlite3_stmt* s = select.get();
    const std::int64_t number = sqlite3_column_int64(s, 3);
    if (number < 1 || number > static_cast<std::int64_t>(link::kPendingWriteCount)) continue;
    JournalEntry e;
    e.id = sqlite3_column_int64(s, 0);
    e.committed_at = sqlite3_column_int64(s, 1);
    e.screen = ColumnText(s, 2);
    e.rec = static_cast<link::Rec>(number - 1);
    e.what = ColumnText(s, 4);
    const auto* blob = static_cast<const std::uint8_t*>(sqlite3_column_blob(s, 5));
    e.requested.assign(blob, blob + sqlite3_column_bytes(s, 5));
    e.requested_text = ColumnText(s, 6);
    e.state = static_cast<ChangeState>(sqlite3_column_int64(s, 7));
    e.settled_at = sqlite3_column_int64(s, 8);
    out.push_back(std::move(e));
  }
  return out;
}

std::vector<WaitingChange> ChangeJournal::Waiting() const {
  std::scoped_lock lock(mutex_);
  return waiting_;
}

std::vector<WaitingChange> ChangeJournal::Overdue(std::int64_t uptime) const {
  std::scoped_lock lock(mutex_);
  std::vector<WaitingChange> out;
  for (const WaitingChange& w : waiting_)
    if (uptime - w.since_uptime >= kOverdueSeconds) out.push_back(w);
  return out;
}

std::string IsoCivil(std::int64_t civil_seconds) {
  if (civil_seconds == 0) return {};
  std::string text = FormatCivil(civil_seconds);
  if (text.size() > 10 && text[10] == ' ') text[10] = 'T';
  return text;
}

namespace {

void AppendCsvField(std::string& out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += field;
    return;
  }
  out += '"';
  for (const char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

std::string JournalCsv(const std::vector<JournalEntry>& newest_first) {
  std::string out = "id,time (local),screen,setting,requested,state,settled (local)\r\n";
  for (auto it = newest_first.rbegin(); it != newest_first.rend(); ++it) {
    const std::string committed = IsoCivil(it->committed_at);
    out += std::to_string(it->id);
    for (const std::string_view field :
         {std::string_view(committed), std::string_view(it->screen), std::string_view(it->what),
          std::string_view(it->requested_text), std::string_view(StateName(it->state))}) {
      out += ',';
      AppendCsvField(out, field);
    }
    out += ',';
    AppendCsvField(out, IsoCivil(it->settled_at));
    out += "\r\n";
  }
  return out;
}

}  // namespace orvandry::journal
