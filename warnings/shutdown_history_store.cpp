#include "warnings/shutdown_history_store.h"

#include <sqlite3.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
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
// A rescue copies what it can read into this file first and renames it over the history last.
constexpr std::string_view kRescueSuffix = ".rescue";

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
  StoreResult result;
  result.status = StoreStatus::kFailed;
  result.sqlite_code = code;
  result.detail = std::move(detail);
  return result;
}

// "file:<path>?<query>" with the characters a URI path may not hold escaped.
std::string FileUri(const std::filesystem::path& path, std::string_view query) {
  std::string uri = "file:";
  for (const char c : path.string()) {
    if (c == '%' || c == '?' || c == '#') {
      char escaped[4];
      std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
      uri += escaped;
    } else {
      uri += c;
    }
  }
  return uri + "?" + std::string(query);
}

// One open database; closed when it goes out of scope.
class Connection {
 public:
  Connection() = default;
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;
  ~Connection() { Close(); }

  enum class Mode {
    kReadWrite,  // created when absent
    kReadOnly,
    // Read-only, and SQLite may assume nobody changes the file: the one way to read a database in
    // write-ahead-log mode from a folder where its shared-memory file cannot be created.
    kImmutable,
  };

  int Open(const std::filesystem::path& path, Mode mode = Mode::kReadWrite) {
    Close();
    int rc = SQLITE_OK;
    if (mode == Mode::kReadWrite)
      rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    else if (mode == Mode::kReadOnly)
      rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr);
    else
      rc = sqlite3_open_v2(FileUri(path, "immutable=1").c_str(), &db_,
                           SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, nullptr);
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

bool RefusesWrites(int code) {
  const int primary = code & 0xFF;
  return primary == SQLITE_READONLY || primary == SQLITE_CANTOPEN || primary == SQLITE_PERM;
}

// Why the history cannot be written, in words for the operator; empty when it can (or when the
// folder is missing altogether, which opening reports on its own).
std::string WriteProblem(const std::filesystem::path& path) {
  std::filesystem::path folder = path.parent_path();
  if (folder.empty()) folder = ".";
  if (::access(folder.c_str(), W_OK) != 0 && errno != ENOENT)
    return "the folder " + folder.string() + " cannot be written (" + std::strerror(errno) + ")";
  if (::access(path.c_str(), W_OK) != 0 && errno != ENOENT)
    return "the file " + path.string() + " cannot be written (" + std::strerror(errno) + ")";
  return {};
}

// Checks the whole file, indexes against the table included; "ok" or the first problem found.
int CheckDatabase(Connection& conn, std::string* verdict) {
  return conn.QueryText("PRAGMA integrity_check(1)", verdict);
}

// Opens the database for reading only, changing nothing in it or beside it.
StoreResult OpenForReading(const std::filesystem::path& path, bool verify, std::string reason,
                           Connection* conn) {
  std::string value;
  int rc = conn->Open(path, Connection::Mode::kReadOnly);
  if (rc == SQLITE_OK) rc = conn->QueryText("PRAGMA user_version", &value);
  // A write-ahead-log database wants its shared-memory file, which a read-only folder refuses.
  if (RefusesWrites(rc)) {
    rc = conn->Open(path, Connection::Mode::kImmutable);
    if (rc == SQLITE_OK) rc = conn->QueryText("PRAGMA user_version", &value);
  }
  if (rc == SQLITE_OK && verify) {
    rc = CheckDatabase(*conn, &value);
    if (rc == SQLITE_OK && value != "ok") rc = SQLITE_CORRUPT;
  }
  StoreResult result = rc == SQLITE_OK ? StoreResult{} : Failure(rc, conn->Message());
  if (rc != SQLITE_OK && (rc & 0xFF) == SQLITE_CORRUPT && value != "ok" && !value.empty())
    result.detail = value;
  result.read_only = true;
  result.read_only_reason = std::move(reason);
  return result;
}

// Opens the database and makes sure it holds the history's table and orders. `verify` also runs
// SQLite's full check, which finds damage that opening alone does not notice. A history that
// cannot be written is opened for reading only (StoreResult::read_only).
StoreResult OpenDatabase(const std::filesystem::path& path, bool verify, Connection* conn) {
  std::string reason = WriteProblem(path);
  if (!reason.empty()) return OpenForReading(path, verify, std::move(reason), conn);

  int rc = conn->Open(path);
  if (rc != SQLITE_OK) return Failure(rc, conn->Message());

  std::string value;
  // WAL with full sync: a commit is one append and one fsync, and readers never see a half-done
  // write. Closing the last connection folds the log back into the file.
  rc = conn->QueryText("PRAGMA journal_mode = WAL", &value);
  if (RefusesWrites(rc)) {
    // The disk turned the write down although the file looked writable (a card the kernel has
    // just made read-only): read what is there.
    reason = "the disk refused a write (" + conn->Message() + ")";
    conn->Close();
    return OpenForReading(path, verify, std::move(reason), conn);
  }
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
    rc = CheckDatabase(*conn, &value);
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

// Rebuilds the three orders of a database whose table is whole. True when the file then passes
// the full check; `count` is the number of records it holds.
bool RebuildOrders(const std::filesystem::path& path, std::size_t* count) {
  Connection conn;
  std::string value;
  if (conn.Open(path) != SQLITE_OK || conn.Exec("REINDEX ShutdownHistoryDB") != SQLITE_OK ||
      CheckDatabase(conn, &value) != SQLITE_OK || value != "ok" ||
      conn.QueryText("SELECT count(*) FROM ShutdownHistoryDB", &value) != SQLITE_OK)
    return false;
  *count = static_cast<std::size_t>(std::stoull(value));
  return true;
}

// The highest row id to try when copying from a damaged database: the table's own, or when even
// that cannot be read, as many rows as the file could hold.
sqlite3_int64 HighestRowToTry(Connection& damaged, const std::filesystem::path& path) {
  std::string value;
  if (damaged.QueryText("SELECT max(id) FROM ShutdownHistoryDB", &value) == SQLITE_OK)
    return value.empty() ? 0 : std::stoll(value);
  // A stored row takes at least 8 bytes of its page.
  std::error_code ec;
  const std::uintmax_t size = std::filesystem::file_size(path, ec);
  return ec ? 0 : static_cast<sqlite3_int64>(size / 8);
}

// Copies every record of the damaged database that can still be read into a new database at
// `fresh`, with its row id, so repeated reads keep their order. Rows are fetched one by one by
// id: a damaged page loses only the rows stored on it. Returns the number copied.
StoreResult CopyReadableRows(const std::filesystem::path& damaged_path,
                             const std::filesystem::path& fresh, std::size_t* copied) {
  *copied = 0;
  Connection target;
  StoreResult result = OpenDatabase(fresh, /*verify=*/false, &target);
  if (!result.ok()) return result;
  if (result.read_only) return Failure(SQLITE_READONLY, result.read_only_reason);

  Connection damaged;
  if (damaged.Open(damaged_path, Connection::Mode::kReadOnly) != SQLITE_OK) return {};
  Statement one(damaged.get(),
                "SELECT warning_text, node_name, time FROM ShutdownHistoryDB WHERE id = ?");
  // A table whose definition cannot be read has nothing to give: the new database stays empty.
  if (one.prepare_result() != SQLITE_OK) return {};
  const sqlite3_int64 highest = HighestRowToTry(damaged, damaged_path);

  int rc = target.Exec("BEGIN IMMEDIATE");
  Statement insert(target.get(),
                   "INSERT INTO ShutdownHistoryDB (id, warning_text, node_name, time)"
                   " VALUES (?, ?, ?, ?)");
  if (rc == SQLITE_OK) rc = insert.prepare_result();
  for (sqlite3_int64 id = 1; rc == SQLITE_OK && id <= highest; ++id) {
    sqlite3_reset(one.get());
    sqlite3_bind_int64(one.get(), 1, id);
    if (sqlite3_step(one.get()) != SQLITE_ROW) continue;  // never stored, or unreadable
    sqlite3_stmt* row = insert.get();
    sqlite3_reset(row);
    sqlite3_bind_int64(row, 1, id);
    for (int column = 0; column < 2; ++column) {
      const unsigned char* text = sqlite3_column_text(one.get(), column);
      const int bytes = sqlite3_column_bytes(one.get(), column);
      sqlite3_bind_text(row, column + 2, text != nullptr ? reinterpret_cast<const char*>(text) : "",
                        text != nullptr ? bytes : 0, SQLITE_TRANSIENT);
    }
    sqlite3_bind_int64(row, 4, sqlite3_column_int64(one.get(), 2));
    rc = sqlite3_step(row) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(target.get());
    if (rc == SQLITE_OK) ++*copied;
  }
  if (rc == SQLITE_OK) rc = target.Exec("COMMIT");
  if (rc != SQLITE_OK) {
    result = Failure(rc, target.Message());
    target.Exec("ROLLBACK");
    *copied = 0;
  }
  return result;
}

void RemoveWithCompanions(const std::filesystem::path& path) {
  std::error_code ec;
  for (std::string_view suffix : {"", "-wal", "-shm", "-journal"})
    std::filesystem::remove(Sibling(path, suffix), ec);
}

// Keeps what a damaged database still holds. First the orders are rebuilt in place, which is all
// that damage confined to them needs (kRepaired). Otherwise every readable record is copied into
// a fresh database that replaces the damaged one, which is moved aside for service (kRecovered);
// if nothing at all can be read the fresh database is simply empty.
StoreResult Rescue(const std::filesystem::path& path) {
  StoreResult out;
  if (RebuildOrders(path, &out.records_kept)) {
    out.status = StoreStatus::kRepaired;
    return out;
  }
  const std::filesystem::path fresh = Sibling(path, kRescueSuffix);
  RemoveWithCompanions(fresh);
  const StoreResult copied = CopyReadableRows(path, fresh, &out.records_kept);
  if (!copied.ok()) {
    // No room for the copy: at least move the damaged file aside so the history works again.
    RemoveWithCompanions(fresh);
    out.records_kept = 0;
  }
  if (!MoveAside(path, &out.damaged_file)) return Failure(SQLITE_CORRUPT, "cannot move aside");
  if (copied.ok()) {
    std::error_code ec;
    std::filesystem::rename(fresh, path, ec);
    if (ec) {
      RemoveWithCompanions(fresh);
      out.records_kept = 0;
    }
  }
  out.status = StoreStatus::kRecovered;
  return out;
}

enum class Access { kRead, kWrite };
using Work = std::function<StoreResult(Connection&)>;

// Opens the database and runs `work` on it. A damaged database would otherwise stop the history
// for good (every later shutdown would fail the same way), so it is rescued once and the work runs
// again on what the rescue kept. A history opened for reading only refuses writes at once.
StoreResult RunOnDatabase(const std::filesystem::path& path, Access access, bool verify,
                          const Work& work) {
  StoreResult rescue;
  for (int attempt = 0; attempt < 2; ++attempt) {
    Connection conn;
    const StoreResult opened = OpenDatabase(path, verify, &conn);
    StoreResult result = opened;
    if (result.ok() && result.read_only && access == Access::kWrite)
      result =
          Failure(SQLITE_READONLY, "the shutdown history is read-only: " + opened.read_only_reason);
    else if (result.ok())
      result = work(conn);
    result.read_only = opened.read_only;
    result.read_only_reason = opened.read_only_reason;
    // A history that cannot be written cannot be rescued either; what it reads is all there is.
    if (attempt == 0 && !result.ok() && IsDamage(result.sqlite_code) && !opened.read_only) {
      conn.Close();
      rescue = Rescue(path);
      if (!rescue.ok()) return result;
      continue;
    }
    if (rescue.damaged()) {
      result.damaged_file = rescue.damaged_file;
      result.records_kept = rescue.records_kept;
      if (result.ok()) result.status = rescue.status;
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
  return RunOnDatabase(path_, Access::kRead, /*verify=*/true,
                       [](Connection&) { return StoreResult{}; });
}

StoreResult ShutdownHistoryStore::Append(const ShutdownRecord& record) {
  return AppendAll(std::span<const ShutdownRecord>(&record, 1));
}

StoreResult ShutdownHistoryStore::AppendAll(std::span<const ShutdownRecord> records) {
  std::lock_guard lock(mutex_);
  return RunOnDatabase(path_, Access::kWrite, /*verify=*/false,
                       [records](Connection& conn) { return InsertAll(conn, records); });
}

ShutdownCount ShutdownHistoryStore::CountShutdowns() {
  std::lock_guard lock(mutex_);
  ShutdownCount out;
  out.result = RunOnDatabase(path_, Access::kRead, /*verify=*/false, [&out](Connection& conn) {
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
  out.result =
      RunOnDatabase(path_, Access::kRead, /*verify=*/false, [&out, order](Connection& conn) {
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
  return RunOnDatabase(path_, Access::kWrite, /*verify=*/false,
                       [](Connection&) { return StoreResult{}; });
}

}  // namespace orvandry::warnings
