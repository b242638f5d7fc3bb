#include "logging/long_term_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <system_error>

#include "logging/log_files.h"

namespace orvandry::logging {
namespace fs = std::filesystem;

LongTermLog::LongTermLog(const fs::path& data_dir) : path_(data_dir / kFolderName / kFileName) {}

int LongTermLog::PercentOf(std::uint64_t bytes) {
  return bytes >= kCapacityBytes ? 100 : static_cast<int>(bytes * 100 / kCapacityBytes);
}

std::optional<int> LongTermLog::Write(const LongTermRecord& record) {
  std::error_code error;
  fs::create_directories(path_.parent_path(), error);
  const auto before = AppendRecord(path_, record, kCapacityBytes / kRecordSize, sync_);
  if (before) return PercentOf(*before * kRecordSize);
  // Full, or the file cannot be opened: a full file still reports its used space.
  const auto size = fs::file_size(path_, error);
  if (error) return std::nullopt;
  return PercentOf(size);
}

std::optional<int> LongTermLog::Append(const LongTermRecord& record, bool running) {
  std::optional<int> used;
  if (!running) {
    std::error_code error;
    fs::create_directories(path_.parent_path(), error);
    // Opened (and created) like a write, but nothing is added.
    const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
    if (fd < 0) return std::nullopt;
    ::close(fd);
    return Refresh();
  }
  if (held_) {
    held_records_.push_back(record);
    return used_percent_;
  }
  used = Write(record);
  if (used) used_percent_ = *used;
  return used;
}

std::optional<int> LongTermLog::Refresh() {
  std::error_code error;
  const auto size = fs::file_size(path_, error);
  if (error) return std::nullopt;
  used_percent_ = PercentOf(size);
  return used_percent_;
}

bool LongTermLog::Delete() {
  const bool gone = RemoveFile(path_);
  if (gone) used_percent_ = 0;
  return gone;
}

void LongTermLog::Release() {
  held_ = false;
  std::vector<LongTermRecord> records;
  records.swap(held_records_);
  for (const LongTermRecord& record : records)
    if (const auto used = Write(record)) used_percent_ = *used;
  Refresh();
}

std::string ExportFileName(const platform::LocalDateTime& now) {
  return "LongTermDataLog" + FileStamp::From(now).Text() + ".DAT";
}

}  // namespace orvandry::logging
