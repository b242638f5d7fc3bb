#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace orvandry::logging {

// A file name's date stamp, yy_MM_dd_HH_mm_ss. Ordered as written: it is the files' sequence.
struct FileStamp {
  int year = 0;  // 0..99
  int month = 1;
  int day = 1;
  int hour = 0;
  int minute = 0;
  int second = 0;

  static FileStamp From(const platform::LocalDateTime& t);
  // The stamp one second later (across days, months and years).
  FileStamp Next() const;
  std::string Text() const;  // "26_12_06_01_05_40"
  // Parses exactly the 17 characters of Text(); nullopt for anything else.
  static std::optional<FileStamp> Parse(std::string_view text);
  auto operator<=>(const FileStamp&) const = default;
};

// Removes one file; false when it is still there afterwards. Tests replace it to make a delete
// fail.
using FileRemover = std::function<bool(const std::filesystem::path&)>;
bool RemoveFile(const std::filesystem::path& path);

// Writes `bytes` at `offset` of an open descriptor, through short writes and interruptions.
bool WriteAt(int fd, std::span<const std::uint8_t> bytes, std::uint64_t offset);
// Reads exactly `out.size()` bytes at `offset`; false on an error or a short file.
bool ReadAt(int fd, std::span<std::uint8_t> out, std::uint64_t offset);

// Appends one record of `record.size()` bytes to `path` (created if absent) at the end of its
// whole records: a partial record left by a power cut is cut off first, so every record stays
// aligned. Returns the number of whole records the file held before, or nullopt when nothing was
// written. `limit` (in records) refuses the append when the file already holds that many.
// With `sync` the record is flushed to the disk before the call returns.
std::optional<std::uint64_t> AppendRecord(const std::filesystem::path& path,
                                          std::span<const std::uint8_t> record, std::uint64_t limit,
                                          bool sync);

// Whole records of `record_size` bytes in the file (0 when it is missing or unreadable).
std::uint64_t WholeRecords(const std::filesystem::path& path, std::size_t record_size);

// A log kept as files of at most `file_records` fixed-size records in one folder, named
// <prefix><yy_MM_dd_HH_mm_ss>.DAT. The stamp is the creation time, except that a new file's stamp
// always follows the newest file's (a clock set back does not reorder the files): the names are
// the files' order, never their times on disk.
//
// Writing appends to the newest file; when it is full, every older file is deleted and only then
// is a new file started, so the log holds at most two files however a delete fails or power goes.
// Reading uses the two newest files as one sequence (older then newer) and never deletes.
class RotatingLog {
 public:
  struct File {
    std::filesystem::path path;
    FileStamp stamp;
    std::uint64_t records = 0;  // whole records
  };

  RotatingLog(std::filesystem::path folder, std::string prefix, std::size_t record_size,
              std::uint64_t file_records);

  const std::filesystem::path& Folder() const { return folder_; }
  std::uint64_t FileRecords() const { return file_records_; }

  // Matching regular files, oldest first. Subfolders and other names are ignored.
  std::vector<File> Scan() const;

  // Appends one record; false when it was lost (no folder, no file, a delete that failed).
  bool Append(std::span<const std::uint8_t> record, const platform::LocalDateTime& now);

  // Whole records in the two newest files.
  std::uint64_t CountRecords() const;

  // The `count` records that end `back` records before the newest, `back` limited so the window
  // lies in the log; all records when fewer than `count` are stored. Oldest first, record_size
  // bytes each. A file that cannot be read ends the read with what was read so far (newest part).
  std::vector<std::uint8_t> ReadWindow(std::uint64_t count, std::uint64_t back) const;

  // Deletes every file of the log; false when one is left.
  bool DeleteAll();

  void SetRemover(FileRemover remover) { remover_ = std::move(remover); }
  // Every append is flushed to the disk (the default) so a power cut costs at most the record
  // being written; simulations of many days switch it off.
  void SetSync(bool sync) { sync_ = sync; }

 private:
  std::filesystem::path folder_;
  std::string prefix_;
  std::size_t record_size_;
  std::uint64_t file_records_;
  FileRemover remover_ = RemoveFile;
  bool sync_ = true;
};

}  // namespace orvandry::logging
