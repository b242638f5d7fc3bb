#include "warnings/history_export.h"

#include <fcntl.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

#include "warnings/history_rows.h"
#include "warnings/history_texts.h"
#include "warnings/shutdown_time.h"

namespace orvandry::warnings {
namespace {

namespace texts = history_texts;

std::string FormatCode(std::string_view format, long code) {
  char text[96];
  std::snprintf(text, sizeof text, std::string(format).c_str(), code);
  return text;
}

// The messages the screen has always shown for a history it could not read.
std::string StoreFailureMessage(const StoreResult& result) {
  switch (result.sqlite_code & 0xFF) {
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
    case SQLITE_READONLY:
      return FormatCode(texts::kStoreOpenFailedFormat, result.sqlite_code);
    case SQLITE_NOMEM:
      return std::string(texts::kNotEnoughMemoryText);
    case SQLITE_MISUSE:
    case SQLITE_RANGE:
      return std::string(texts::kInvalidParameterText);
    case SQLITE_NOTFOUND:
      return std::string(texts::kFileNotFoundText);
    default:
      return FormatCode(texts::kStoreErrorFormat, result.sqlite_code);
  }
}

ExportResult FileFailure(ExportStatus status, std::string_view text, int error) {
  ExportResult result;
  result.status = status;
  result.detail = std::strerror(error);
  result.message = std::string(text) + "\n(" + result.detail + ")";
  return result;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (n == 0) {
      errno = EIO;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Makes the rename itself durable; a card whose folder cannot be synced (some do not support it)
// still has the file, so failure here is not reported.
void SyncFolder(const std::filesystem::path& dir) {
  const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Writes the export text under the temporary name, flushes it and renames it over the export.
ExportResult WriteToCard(std::string_view text, const std::filesystem::path& usb_dir,
                         std::string_view file_name, std::string_view temp_name) {
  const std::filesystem::path temp = usb_dir / temp_name;
  const std::filesystem::path final_path = usb_dir / file_name;
  // O_NOFOLLOW: the card is removable media anyone can prepare; never write through a link on it.
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (fd < 0) return FileFailure(ExportStatus::kCannotCreate, texts::kCannotCreateText, errno);

  bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
  int error = errno;
  if (::close(fd) != 0 && written) {
    written = false;
    error = errno;
  }
  if (!written) {
    ::unlink(temp.c_str());
    return FileFailure(ExportStatus::kWriteFailed, texts::kWriteFailedText, error);
  }
  if (::rename(temp.c_str(), final_path.c_str()) != 0) {
    error = errno;
    ::unlink(temp.c_str());
    return FileFailure(ExportStatus::kCannotCreate, texts::kCannotCreateText, error);
  }
  SyncFolder(usb_dir);

  ExportResult result;
  result.message = std::string(texts::kExportDoneText);
  return result;
}

void AppendCsvField(std::string& out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += field;
    return;
  }
  out += '"';
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

std::string HistoryCsv(std::span<const ShutdownRecord> records_by_time) {
  std::string csv = "time (local),node,warning\r\n";
  for (const ShutdownRecord& record : records_by_time) {
    const LocalDateTime t = FromShutdownTime(record.time);
    char time[40];
    std::snprintf(time, sizeof time, "%04d-%02d-%02dT%02d:%02d:%02d", t.year, t.month, t.day,
                  t.hour, t.minute, t.second);
    csv += time;
    csv += ',';
    AppendCsvField(csv, record.node_name);
    csv += ',';
    AppendCsvField(csv, record.warning_text);
    csv += "\r\n";
  }
  return csv;
}

void IgnoreFileSizeSignal() {
  std::signal(SIGXFSZ, SIG_IGN);
}

bool UsbCardPresent(const std::filesystem::path& usb_dir) {
  std::error_code ec;
  return std::filesystem::is_directory(usb_dir, ec);
}

std::string BuildExportText(std::span<const ShutdownRecord> records_by_time) {
  std::string text;
  text.reserve(records_by_time.size() * 96);
  for (const ShutdownRecord& record : records_by_time) text += FormatExportLine(record);
  return text;
}

ExportResult ExportShutdownHistory(ShutdownHistoryStore& store,
                                   const std::filesystem::path& usb_dir) {
  if (!UsbCardPresent(usb_dir)) {
    ExportResult result;
    result.status = ExportStatus::kCardMissing;
    result.message = std::string(texts::kCardMissingText);
    return result;
  }

  const ShutdownReadout readout = store.ReadShutdowns(ShutdownOrder::ByTime);
  ExportResult result;
  if (!readout.result.ok()) {
    result.status = ExportStatus::kStoreFailed;
    result.message = StoreFailureMessage(readout.result);
    result.detail = readout.result.detail;
  } else {
    result = WriteToCard(BuildExportText(readout.records), usb_dir, texts::kExportFileName,
                         texts::kExportTempFileName);
    // The CSV follows only a complete text file, and its failure is the export's: the operator
    // is told and can try again.
    if (result.ok())
      result = WriteToCard(HistoryCsv(readout.records), usb_dir, texts::kExportCsvFileName,
                           texts::kExportCsvTempFileName);
    if (result.ok()) result.records_written = readout.records.size();
  }
  result.store = readout.result;
  return result;
}

}  // namespace orvandry::warnings
