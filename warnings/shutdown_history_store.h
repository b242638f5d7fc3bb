#pragma once

#include <cstddef>
#include <filesystem>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "warnings/shutdown_time.h"

namespace orvandry::warnings {

// One stored shutdown. The code is not kept: it is read back from the first four characters of
// the warning text.
struct ShutdownRecord {
  std::string warning_text;  // at most kWarningTextMax characters
  std::string node_name;     // at most kNodeNameMax characters; empty for a node without a name
  ShutdownTime time = 0;

  friend bool operator==(const ShutdownRecord&, const ShutdownRecord&) = default;
};

// The three orders the history is read in; each is backed by an index over all three fields.
enum class ShutdownOrder {
  ByWarning,  // warning text, node name, time
  ByNode,     // node name, warning text, time
  ByTime,     // time, warning text, node name
};

enum class StoreStatus {
  kOk,
  // The operation succeeded after the database turned out to be damaged in its orders only: they
  // were rebuilt in place and every record kept (StoreResult::records_kept).
  kRepaired,
  // The operation succeeded, but only after the existing database turned out to be damaged: every
  // record that could still be read was copied into a fresh database (StoreResult::records_kept)
  // and the damaged file moved aside (StoreResult::damaged_file).
  kRecovered,
  kFailed,
};

struct StoreResult {
  StoreStatus status = StoreStatus::kOk;
  int sqlite_code = 0;                 // the SQLite result code of a failure (extended code)
  std::string detail;                  // SQLite's own words, for a technician
  std::filesystem::path damaged_file;  // where a damaged database was moved
  std::size_t records_kept = 0;        // kRepaired and kRecovered: what the history holds now
  // The file or its folder cannot be written, so the history was opened for reading only: reads
  // work, and a write fails (SQLITE_READONLY). `read_only_reason` says why, in plain words.
  bool read_only = false;
  std::string read_only_reason;

  bool ok() const { return status != StoreStatus::kFailed; }
  bool damaged() const {
    return status == StoreStatus::kRepaired || status == StoreStatus::kRecovered;
  }
};

struct ShutdownCount {
  StoreResult result;
  std::size_t count = 0;  // at most kMaxReadBack
};

struct ShutdownReadout {
  StoreResult result;
  // In the requested order; partial when the result failed part way.
  std::vector<ShutdownRecord> records;
};

// The persistent shutdown history: the SQLite file "ShutdownHistoryDB" in the data folder.
//
// Every operation opens the database, works in a transaction and closes it again, so nothing is
// held open between operations and the file is consistent on disk after each one. The database
// runs in write-ahead-log mode with full synchronisation: a commit is on the disk when it returns,
// and a crash or power loss part way through a write leaves the last committed state.
//
// When the file or its folder cannot be written (a card the kernel made read-only, a folder
// without write permission) the database is opened for reading only, without touching its
// journal mode: the list and the export still work, and writes fail with the reason.
//
// A damaged database met by any operation is rescued before anything is given up: its orders are
// rebuilt in place when only they are damaged; otherwise every record that can still be read is
// copied, row by row, into a fresh database that takes its place, and the damaged file is moved
// aside (StoreResult::damaged_file) for service. The operation then runs again; the newest three
// set-aside copies are kept.
//
// Thread-safe: the link thread records while the history screen reads; a mutex serialises the
// operations of one store object (there is one per process).
class ShutdownHistoryStore {
 public:
  static constexpr std::string_view kFileName = "ShutdownHistoryDB";
  // Reads and counts are bounded by the history screen's 16-bit count; storage is not.
  static constexpr std::size_t kMaxReadBack = 65535;
  static constexpr std::size_t kWarningTextMax = 99;
  static constexpr std::size_t kNodeNameMax = 24;

  // `data_dir` must exist; the store never creates it, so an absent disk reads as unavailable.
  explicit ShutdownHistoryStore(std::filesystem::path data_dir);

  const std::filesystem::path& path() const { return path_; }

  // Creates the database and its orders when absent, and checks an existing one; a damaged file is
  // rescued (kRepaired or kRecovered). Run once at start-up.
  StoreResult InitShutdownHistory();

  // Appends one record (texts longer than their bound are cut), or all of `records` in a single
  // transaction.
  StoreResult Append(const ShutdownRecord& record);
  StoreResult AppendAll(std::span<const ShutdownRecord> records);

  ShutdownCount CountShutdowns();

  // The newest kMaxReadBack records (by time), in `order`.
  ShutdownReadout ReadShutdowns(ShutdownOrder order);

  // Deletes the database and creates an empty one.
  StoreResult ClearShutdownHistory();

  // The query behind ReadShutdowns (with the cut-off to the newest kMaxReadBack records when the
  // store holds more), so a test can check that SQLite answers it from the index.
  static std::string_view SelectSql(ShutdownOrder order, bool over_limit);

 private:
  std::filesystem::path path_;
  std::mutex mutex_;
};

}  // namespace orvandry::warnings
