#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "logging/log_records.h"
#include "platform/clock.h"

namespace orvandry::logging {

// The long-term ("day") log: one growing file of 16-byte records, at most 5 MiB, that the display
// never reads back; it is copied to the USB card and may be deleted.
class LongTermLog {
 public:
  static constexpr std::uint64_t kCapacityBytes = 5242880;
  static constexpr std::size_t kRecordSize = sizeof(LongTermRecord);
  static constexpr const char* kFolderName = "DataLog";
  static constexpr const char* kFileName = "LongTermDataLog.dat";

  explicit LongTermLog(const std::filesystem::path& data_dir);

  const std::filesystem::path& Path() const { return path_; }

  // Opens the file (creating its folder and the file), takes the used space, and appends the
  // record when `running` and the file is not full. Returns the used space before the append;
  // nullopt when the file cannot be opened (the used space keeps its last value). While held the
  // record is kept in memory and written on Release.
  std::optional<int> Append(const LongTermRecord& record, bool running);
  // Takes the used space afresh without writing (logging is off).
  std::optional<int> Refresh();
  // The used space as last taken, in whole percent (100 at 5 MiB and above).
  int UsedPercent() const { return used_percent_; }
  // Deletes the file; false when it is still there.
  bool Delete();

  // An export copies the file: from the start of the copy until the operator has answered whether
  // to delete it, nothing is added to it, so deleting never removes a record that was not copied.
  // The records that arrive meanwhile are written on Release (to the new file after a delete).
  void Hold() { held_ = true; }
  void Release();
  bool Held() const { return held_; }
  std::size_t HeldRecords() const { return held_records_.size(); }

  // Each append is flushed to the disk (the default); long simulations switch it off.
  void SetSync(bool sync) { sync_ = sync; }

  static int PercentOf(std::uint64_t bytes);

 private:
  std::optional<int> Write(const LongTermRecord& record);

  std::filesystem::path path_;
  int used_percent_ = 0;
  bool held_ = false;
  std::vector<LongTermRecord> held_records_;
  bool sync_ = true;
};

// The export's name on the card: "LongTermDataLog" and the local date and time yy_MM_dd_HH_mm_ss,
// ".DAT".
std::string ExportFileName(const platform::LocalDateTime& now);

}  // namespace orvandry::logging
