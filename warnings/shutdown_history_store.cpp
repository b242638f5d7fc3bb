#include "warnings/shutdown_history_store.h"

#include <sqlite3.h>

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <ctime>
#include <functional>
#include <limits>
#include <system_error>
#include <utility>

namespace orvandry::warnings {
namespace {

constexpr int kSchemaVersion = 1;
constexpr int kBusyTimeoutMs = 5000;
// A damaged database is renamed with this tag and a timestamp and kept for service; only the
// newest few copies are kept.
constexpr std::string_view kDamagedTag = ".damaged-";
constexpr std::size_t kDamagedCopiesKept = 3;
constexpr std::string_view kLogSuffix = "-wal";

// The table carries the database's historical name. The three indexes are the sort orders; each
// covers all three fields, so a read never touches the table itself.
constexpr const char* kCreateSchema =
    "CREATE TABLE IF NOT EXISTS ShutdownHistoryDB ("
    "  id INTEGER PRIMARY KEY,"
    "  warning_text TEXT NOT NULL,"
    "  node_name TEXT NOT NULL,"
    "  time INTEGER NOT NULL);"
    "CREATE INDEX IF NOT EXISTS ByWarning ON ShutdownHistoryDB (warning_text, node_name, time);"
    "CREATE INDEX IF NOT EXISTS ByNode ON ShutdownHistoryDB (node_name, warning_text, time);"
    "CREATE INDEX IF NOT EXISTS ByTime ON ShutdownHistoryDB (time, warning_text, node_name);"
    "PRAGMA user_version = 1;";

// A read hands at most kMaxReadBack records, and they are the newest: the oldest ones beyond that
// (in time order) are left out, whichever order the rest is read in. Only a store that holds more
// than that pays for the cut-off: the plain read asks for one row more than it may hand, and only
// when it gets it is the read made again with the cut-off, where the oldest record kept is found
// once from the time index (the subquery is uncorrelated, so SQLite evaluates it once) and each
// row costs one comparison. The row id breaks ties between identical records, so reads are
// repeatable; it is each index's own last column, so it costs no sort.
std::string SelectRows(std::string_view index, std::string_view keys, bool over_limit) {
  const std::size_t max = ShutdownHistoryStore::kMaxReadBack;
  std::string sql = "SELECT warning_text, node_name, time FROM ShutdownHistoryDB INDEXED BY " +
                    std::string(index);
  if (over_limit)
    sql +=
        " WHERE (time, warning_text, node_name, id) >= (SELECT time, warning_text, node_name, id"
        " FROM ShutdownHistoryDB INDEXED BY ByTime"
        " ORDER BY time DESC, warning_text DESC, node_name DESC, id DESC LIMIT 1 OFFSET " +
        std::to_string(max - 1) + ")";
  return sql + " ORDER BY " + std::string(keys) + ", id LIMIT " +
         std::to_string(over_limit ? max : max + 1);
}

bool IsDamage(int code) {
  const int primary = code & 0xFF;
  return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

StoreResult Failure(int code, std::string detail) {
  return StoreResult{StoreStatus::kFailed, code, std::move(detail), {}};
}

// One open database; closed when it goes out of scope.
class Connection {
 public:
  Connection() = default;
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  ~Connection() { Close(); }

  int Open(const std::filesystem::path& path) {
    Close();
    const int rc =
        sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (db_ != nullptr) {
      sqlite3_extended_result_codes(db_, 1);
      sqlite3_busy_timeout(db_, kBusyTimeoutMs);
    }
    return rc;
  }

  void Close() {
    if (db_ != nullptr) sqlite3_close_v2(db_);
    db_ = nullptr;
  }

  sqlite3* get() const { return db_; }
  std::string Message() const { return db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory"; }

  int Exec(const char* sql) { return sqlite3_exec(db_, sql, nullptr, nullptr, nullptr); }

  // Runs a one-row query and hands its first column as text; "" when there is no row.
  int QueryText(const char* sql, std::string* out) {
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db_, sql, -1, &stmt, nullptr);
    if (rc != SQLITE_OK) return rc;
    rc = sqlite3_step(stmt);
    out->clear();
    if (rc == SQLITE_ROW) {
      if (const unsigned char* text = sqlite3_column_text(stmt, 0); text != nullptr)
        out->assign(reinterpret_cast<const char*>(text));
      rc = SQLITE_OK;
    } else if (rc == SQLITE_DONE) {
      rc = SQLITE_OK;
    }
    sqlite3_finalize(stmt);
    return rc;
  }

 private:
  sqlite3* db_ = nullptr;
};

class Statement {
 public:
  Statement(sqlite3* db, std::string_view sql) {
    rc_ = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr);
  }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  ~Statement() { sqlite3_finalize(stmt_); }

  int prepare_result() const { return rc_; }
  sqlite3_stmt* get() const { return stmt_; }

 private:
  sqlite3_stmt* stmt_ = nullptr;
  int rc_ = SQLITE_OK;
};

std::string Cut(std::string_view text, std::size_t max) {
  return std::string(text.substr(0, max));
}

std::string ColumnText(sqlite3_stmt* stmt, int column) {
  const unsigned char* text = sqlite3_column_text(stmt, column);
  if (text == nullptr) return {};
  return std::string(reinterpret_cast<const char*>(text),
                     static_cast<std::size_t>(sqlite3_column_bytes(stmt, column)));
}

std::filesystem::path Sibling(const std::filesystem::path& path, std::string_view suffix) {
  std::filesystem::path out = path;
  out += suffix;
  return out;
}

// Opens the database and makes sure it holds the history's table and orders. `verify` also runs
// SQLite's structural check, which finds damage that opening alone does not notice.
StoreResult OpenDatabase(const std::filesystem::path& path, bool verify, Connection* conn) {
  int rc = conn->Open(path);
  if (rc != SQLITE_OK) return Failure(rc, conn->Message());

  std::string value;
  // WAL with full sync: a commit is one append and one fsync, and readers never see a half-done
  // write. Closing the last connection folds the log back into the file.
  rc = conn->QueryText("PRAGMA journal_mode = WAL", &value);
  if (rc == SQLITE_OK) rc = conn->Exec("PRAGMA synchronous = FULL");
  if (rc == SQLITE_OK) rc = conn->QueryText("PRAGMA user_version", &value);
  if (rc != SQLITE_OK) return Failure(rc, conn->Message());

  if (value != std::to_string(kSchemaVersion)) {
    rc = conn->Exec("BEGIN IMMEDIATE");
    if (rc == SQLITE_OK) rc = conn->Exec(kCreateSchema);
    if (rc == SQLITE_OK) rc = conn->Exec("COMMIT");
    if (rc != SQLITE_OK) {
      const StoreResult failure = Failure(rc, conn->Message());
      conn->Exec("ROLLBACK");
      return failure;
    }
  }

  if (verify) {
    rc = conn->QueryText("PRAGMA quick_check", &value);
    if (rc != SQLITE_OK) return Failure(rc, conn->Message());
    if (value != "ok") return Failure(SQLITE_CORRUPT, value);
  }
  return {};
}

std::string TimestampForName() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
  return text;
}

// Where a set-aside copy falls in time: the timestamp of its name, then the number that tells
// apart copies made within the same second (the first one has none).
std::pair<std::string, unsigned long> DamagedCopyAge(std::string_view after_tag) {
  constexpr std::size_t kStampLength = std::string_view("YYYYmmdd-HHMMSS").size();
  unsigned long number = 1;
  if (after_tag.size() > kStampLength + 1 && after_tag[kStampLength] == '-')
    std::from_chars(after_tag.data() + kStampLength + 1, after_tag.data() + after_tag.size(),
                    number);
  return {std::string(after_tag.substr(0, kStampLength)), number};
}

// Keeps the newest kDamagedCopiesKept set-aside copies, `kept` (the one just made) always among
// them even if the clock was put back: a disk that keeps damaging the history must not fill up.
void PruneDamagedCopies(const std::filesystem::path& path, const std::filesystem::path& kept) {
  const std::string prefix = path.filename().string() + std::string(kDamagedTag);
  std::vector<std::pair<std::pair<std::string, unsigned long>, std::filesystem::path>> others;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(path.parent_path(), ec), end; !ec && it != end;
       it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.starts_with(prefix) && !name.ends_with(kLogSuffix) && it->path() != kept)
      others.emplace_back(DamagedCopyAge(std::string_view(name).substr(prefix.size())), it->path());
  }
  if (others.size() < kDamagedCopiesKept) return;
  std::sort(others.begin(), others.end(), std::greater<>());
  for (std::size_t i = kDamagedCopiesKept - 1; i < others.size(); ++i) {
    std::filesystem::remove(others[i].second, ec);
    std::filesystem::remove(Sibling(others[i].second, kLogSuffix), ec);
  }
}

// Moves a damaged database (and its write-ahead log) out of the way, keeping it for a technician
// to look at, under a name that does not exist yet.
bool MoveAside(const std::filesystem::path& path, std::filesystem::path* moved_to) {
  const std::string base = std::string(kDamagedTag) + TimestampForName();
  std::filesystem::path target = Sibling(path, base);
  std::error_code ec;
  for (int n = 2; std::filesystem::exists(target, ec); ++n)
    target = Sibling(path, base + "-" + std::to_string(n));
  std::filesystem::rename(path, target, ec);
  if (ec) return false;
  const std::filesystem::path wal = Sibling(path, kLogSuffix);
  if (std::filesystem::exists(wal, ec))
    std::filesystem::rename(wal, Sibling(target, kLogSuffix), ec);
  std::filesystem::remove(Sibling(path, "-shm"), ec);
  *moved_to = target;
  PruneDamagedCopies(path, target);
  return true;
}

using Work = std::function<StoreResult(Connection&)>;

// Opens the database and runs `work` on it. A damaged database would otherwise stop the history
// for good (every later shutdown would fail the same way), so it is moved aside once and the work
// runs again on a fresh file.
StoreResult RunOnDatabase(const std::filesystem::path& path, bool verify, const Work& work) {
  std::filesystem::path moved_to;
  for (int attempt = 0; attempt < 2; ++attempt) {
    Connection conn;
    StoreResult result = OpenDatabase(path, verify, &conn);
    if (result.ok()) result = work(conn);
    if (attempt == 0 && !result.ok() && IsDamage(result.sqlite_code)) {
      conn.Close();
      if (!MoveAside(path, &moved_to)) return result;
      continue;
    }
    if (!moved_to.empty()) {
      result.damaged_file = moved_to;
      if (result.ok()) result.status = StoreStatus::kRecovered;
    }
    return result;
  }
  return Failure(SQLITE_CORRUPT, "database damaged");
}

StoreResult InsertAll(Connection& conn, std::span<const ShutdownRecord> records) {
  int rc = conn.Exec("BEGIN IMMEDIATE");
  if (rc != SQLITE_OK) return Failure(rc, conn.Message());
  Statement insert(
      conn.get(), "INSERT INTO ShutdownHistoryDB (warning_text, node_name, time) VALUES (?, ?, ?)");
  rc = insert.prepare_result();
  for (std::size_t i = 0; rc == SQLITE_OK && i < records.size(); ++i) {
    const ShutdownRecord& record = records[i];
    const std::string warning = Cut(record.warning_text, ShutdownHistoryStore::kWarningTextMax);
    const std::string node = Cut(record.node_name, ShutdownHistoryStore::kNodeNameMax);
    constexpr auto kMaxTime = static_cast<ShutdownTime>(std::numeric_limits<std::int64_t>::max());
    const auto time = static_cast<sqlite3_int64>(std::min(record.time, kMaxTime));
    sqlite3_stmt* stmt = insert.get();
    sqlite3_reset(stmt);
    rc = sqlite3_bind_text(stmt, 1, warning.data(), static_cast<int>(warning.size()),
                           SQLITE_TRANSIENT);
    if (rc == SQLITE_OK)
      rc = sqlite3_bind_text(stmt, 2, node.data(), static_cast<int>(node.size()), SQLITE_TRANSIENT);
    if (rc == SQLITE_OK) rc = sqlite3_bind_int64(stmt, 3, time);
    if (rc == SQLITE_OK)
      rc = sqlite3_step(stmt) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(conn.get());
  }
  if (rc == SQLITE_OK) rc = conn.Exec("COMMIT");
  if (rc != SQLITE_OK) {
    const StoreResult failure = Failure(rc, conn.Message());
    conn.Exec("ROLLBACK");
    return failure;
  }
  return {};
}

}  // namespace

ShutdownHistoryStore::ShutdownHistoryStore(std::filesystem::path data_dir)
    : path_(std::move(data_dir) / kFileName) {}

std::string_view ShutdownHistoryStore::SelectSql(ShutdownOrder order, bool over_limit) {
  static const std::string sql[2][3] = {
      {SelectRows("ByWarning", "warning_text, node_name, time", false),
       SelectRows("ByNode", "node_name, warning_text, time", false),
       SelectRows("ByTime", "time, warning_text, node_name", false)},
      {SelectRows("ByWarning", "warning_text, node_name, time", true),
       SelectRows("ByNode", "node_name, warning_text, time", true),
       SelectRows("ByTime", "time, warning_text, node_name", true)}};
  const int column = order == ShutdownOrder::ByWarning ? 0 : order == ShutdownOrder::ByNode ? 1 : 2;
  return sql[over_limit ? 1 : 0][column];
}

StoreResult ShutdownHistoryStore::InitShutdownHistory() {
  std::lock_guard lock(mutex_);
  return RunOnDatabase(path_, /*verify=*/true, [](Connection&) { return StoreResult{}; });
}

StoreResult ShutdownHistoryStore::Append(const ShutdownRecord& record) {
  return AppendAll(std::span<const ShutdownRecord>(&record, 1));
}

StoreResult ShutdownHistoryStore::AppendAll(std::span<const ShutdownRecord> records) {
  std::lock_guard lock(mutex_);
  return RunOnDatabase(path_, /*verify=*/false,
                       [records](Connection& conn) { return InsertAll(conn, records); });
}

ShutdownCount ShutdownHistoryStore::CountShutdowns() {
  std::lock_guard lock(mutex_);
  ShutdownCount out;
  out.result = RunOnDatabase(path_, /*verify=*/false, [&out](Connection& conn) {
    std::string value;
    const int rc = conn.QueryText("SELECT count(*) FROM ShutdownHistoryDB", &value);
    if (rc != SQLITE_OK) return Failure(rc, conn.Message());
    out.count = std::min<std::size_t>(std::stoull(value), kMaxReadBack);
    return StoreResult{};
  });
  return out;
}

ShutdownReadout ShutdownHistoryStore::ReadShutdowns(ShutdownOrder order) {
  std::lock_guard lock(mutex_);
  ShutdownReadout out;
  out.result = RunOnDatabase(path_, /*verify=*/false, [&out, order](Connection& conn) {
    out.records.clear();
    // One read transaction, so a recording in between cannot make the list inconsistent.
    int rc = conn.Exec("BEGIN");
    if (rc != SQLITE_OK) return Failure(rc, conn.Message());
    auto read = [&](bool over_limit) {
      out.records.clear();
      Statement select(conn.get(), SelectSql(order, over_limit));
      int result = select.prepare_result();
      while (result == SQLITE_OK) {
        const int step = sqlite3_step(select.get());
        if (step == SQLITE_DONE) break;
        if (step != SQLITE_ROW) {
          result = sqlite3_errcode(conn.get());
          break;
        }
        out.records.push_back(ShutdownRecord{ColumnText(select.get(), 0),
                                             ColumnText(select.get(), 1),
                                             static_cast<ShutdownTime>(std::max<sqlite3_int64>(
                                                 0, sqlite3_column_int64(select.get(), 2)))});
      }
      return result;
    };
    rc = read(false);
    if (rc == SQLITE_OK && out.records.size() > kMaxReadBack) rc = read(true);
    const StoreResult result = rc == SQLITE_OK ? StoreResult{} : Failure(rc, conn.Message());
    conn.Exec("COMMIT");
    return result;
  });
  return out;
}

StoreResult ShutdownHistoryStore::ClearShutdownHistory() {
  std::lock_guard lock(mutex_);
  // The log and its index go with the file: a stale log next to a new file would be replayed
  // into it.
  for (std::string_view suffix : {"", "-wal", "-shm", "-journal"}) {
    std::error_code ec;
    std::filesystem::remove(Sibling(path_, suffix), ec);
    if (ec) return Failure(SQLITE_IOERR_DELETE, "cannot delete " + ec.message());
  }
  return RunOnDatabase(path_, /*verify=*/false, [](Connection&) { return StoreResult{}; });
}

}  // namespace orvandry::warnings
