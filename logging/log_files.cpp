#include "logging/log_files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <system_error>

namespace orvandry::logging {
namespace fs = std::filesystem;

FileStamp FileStamp::From(const platform::LocalDateTime& t) {
  return FileStamp{t.year % 100, t.month, t.day, t.hour, t.minute, t.second};
}

FileStamp FileStamp::Next() const {
  FileStamp next = *this;
  if (++next.second < 60) return next;
  next.second = 0;
  if (++next.minute < 60) return next;
  next.minute = 0;
  if (++next.hour < 24) return next;
  next.hour = 0;
  namespace ch = std::chrono;
  const ch::year_month_day today{ch::year{2000 + year}, ch::month{static_cast<unsigned>(month)},
                                 ch::day{static_cast<unsigned>(day)}};
  const ch::year_month_day tomorrow{ch::sys_days{today} + ch::days{1}};
  next.year = (static_cast<int>(tomorrow.year()) - 2000) % 100;
  next.month = static_cast<int>(static_cast<unsigned>(tomorrow.month()));
  next.day = static_cast<int>(static_cast<unsigned>(tomorrow.day()));
  return next;
}

std::string FileStamp::Text() const {
  char text[24];
  std::snprintf(text, sizeof text, "%02d_%02d_%02d_%02d_%02d_%02d", year, month, day, hour, minute,
                second);
  return text;
}

std::optional<FileStamp> FileStamp::Parse(std::string_view text) {
  if (text.size() != 17) return std::nullopt;
  int fields[6];
  for (int i = 0; i < 6; ++i) {
    const char hi = text[static_cast<std::size_t>(i * 3)];
    const char lo = text[static_cast<std::size_t>(i * 3 + 1)];
    if (hi < '0' || hi > '9' || lo < '0' || lo > '9') return std::nullopt;
    if (i < 5 && text[static_cast<std::size_t>(i * 3 + 2)] != '_') return std::nullopt;
    fields[i] = (hi - '0') * 10 + (lo - '0');
  }
  return FileStamp{fields[0], fields[1], fields[2], fields[3], fields[4], fields[5]};
}

bool RemoveFile(const fs::path& path) {
  std::error_code error;
  fs::remove(path, error);
  return !fs::exists(fs::symlink_status(path, error));
}

bool WriteAt(int fd, std::span<const std::uint8_t> bytes, std::uint64_t offset) {
  while (!bytes.empty()) {
    const ssize_t n = ::pwrite(fd, bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes = bytes.subspan(static_cast<std::size_t>(n));
    offset += static_cast<std::uint64_t>(n);
  }
  return true;
}

bool ReadAt(int fd, std::span<std::uint8_t> out, std::uint64_t offset) {
  while (!out.empty()) {
    const ssize_t n = ::pread(fd, out.data(), out.size(), static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    out = out.subspan(static_cast<std::size_t>(n));
    offset += static_cast<std::uint64_t>(n);
  }
  return true;
}

std::optional<std::uint64_t> AppendRecord(const fs::path& path,
                                          std::span<const std::uint8_t> record, std::uint64_t limit,
                                          bool sync) {
  const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) return std::nullopt;
  struct stat info {};
  std::optional<std::uint64_t> before;
  if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
    const std::uint64_t whole = static_cast<std::uint64_t>(info.st_size) / record.size();
    const std::uint64_t end = whole * record.size();
    // A partial record (the append a power cut interrupted) is cut off: the new one goes where it
    // should have gone.
    const bool room = whole < limit && (end == static_cast<std::uint64_t>(info.st_size) ||
                                        ::ftruncate(fd, static_cast<off_t>(end)) == 0);
    if (room && WriteAt(fd, record, end) && (!sync || ::fdatasync(fd) == 0)) before = whole;
  }
  ::close(fd);
  return before;
}

std::uint64_t WholeRecords(const fs::path& path, std::size_t record_size) {
  std::error_code error;
  const auto size = fs::file_size(path, error);
  return error ? 0 : size / record_size;
}

RotatingLog::RotatingLog(fs::path folder, std::string prefix, std::size_t record_size,
                         std::uint64_t file_records)
    : folder_(std::move(folder)),
      prefix_(std::move(prefix)),
      record_size_(record_size),
      file_records_(file_records) {}

std::vector<RotatingLog::File> RotatingLog::Scan() const {
  std::vector<File> files;
  std::error_code error;
  for (fs::directory_iterator it(folder_, error), end; !error && it != end; it.increment(error)) {
    const std::string name = it->path().filename().string();
    if (name.size() != prefix_.size() + 17 + 4 || name.compare(0, prefix_.size(), prefix_) != 0 ||
        name.compare(name.size() - 4, 4, ".DAT") != 0)
      continue;
    const auto stamp = FileStamp::Parse(std::string_view(name).substr(prefix_.size(), 17));
    std::error_code status_error;
    if (!stamp || !it->is_regular_file(status_error)) continue;
    const auto size = it->file_size(status_error);
    files.push_back(File{it->path(), *stamp, status_error ? 0 : size / record_size_});
  }
  std::sort(files.begin(), files.end(),
            [](const File& a, const File& b) { return a.stamp < b.stamp; });
  return files;
}

bool RotatingLog::Append(std::span<const std::uint8_t> record, const platform::LocalDateTime& now) {
  std::error_code error;
  fs::create_directories(folder_, error);
  const std::vector<File> files = Scan();
  fs::path target;
  if (!files.empty() && files.back().records < file_records_) {
    target = files.back().path;
  } else {
    // The newest file is full (or there is none): the older ones go first, and only when they
    // are gone does a new file start.
    for (std::size_t i = 0; i + 1 < files.size(); ++i)
      if (!remover_(files[i].path)) return false;
    FileStamp stamp = FileStamp::From(now);
    if (!files.empty() && stamp <= files.back().stamp) stamp = files.back().stamp.Next();
    target = folder_ / (prefix_ + stamp.Text() + ".DAT");
  }
  return AppendRecord(target, record, file_records_, sync_).has_value();
}

std::uint64_t RotatingLog::CountRecords() const {
  const std::vector<File> files = Scan();
  std::uint64_t total = 0;
  for (std::size_t i = files.size() > 2 ? files.size() - 2 : 0; i < files.size(); ++i)
    total += files[i].records;
  return total;
}

std::vector<std::uint8_t> RotatingLog::ReadWindow(std::uint64_t count, std::uint64_t back) const {
  std::vector<File> files = Scan();
  if (files.size() > 2) files.erase(files.begin(), files.end() - 2);
  std::uint64_t total = 0;
  for (const File& f : files) total += f.records;
  std::uint64_t first = 0;  // of the window, counted in the whole log
  if (total > count) {
    back = std::min(back, total - count);
    first = total - count - back;
  } else {
    count = total;
  }
  std::vector<std::uint8_t> out(count * record_size_);
  // Newest part first: a file that cannot be read leaves only the part after it.
  std::uint64_t file_start = total;
  std::size_t kept_from = out.size();
  for (auto f = files.rbegin(); f != files.rend(); ++f) {
    file_start -= f->records;
    const std::uint64_t lo = std::max(first, file_start);
    const std::uint64_t hi = std::min(first + count, file_start + f->records);
    if (lo >= hi) continue;
    const std::size_t at = (lo - first) * record_size_;
    const std::size_t bytes = (hi - lo) * record_size_;
    const int fd = ::open(f->path.c_str(), O_RDONLY | O_CLOEXEC);
    const bool read =
        fd >= 0 && ReadAt(fd, std::span(out).subspan(at, bytes), (lo - file_start) * record_size_);
    if (fd >= 0) ::close(fd);
    if (!read) break;
    kept_from = at;
  }
  out.erase(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(kept_from));
  return out;
}

bool RotatingLog::DeleteAll() {
  bool all = true;
  for (const File& f : Scan()) all = remover_(f.path) && all;
  return all;
}

}  // namespace orvandry::logging
