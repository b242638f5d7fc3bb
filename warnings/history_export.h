#pragma once

#include <cstddef>
#include <filesystem>
#include <span>
#include <string>

#include "warnings/shutdown_history_store.h"

namespace orvandry::warnings {

enum class ExportStatus {
  kOk,
  kCardMissing,   // the card folder is not there; the screen offers Retry/Cancel
  kStoreFailed,   // the history could not be read; nothing was written
  kCannotCreate,  // the file could not be created on the card
  kWriteFailed,   // writing or flushing failed part way (card full or pulled)
};

struct ExportResult {
  ExportStatus status = ExportStatus::kOk;
  std::size_t records_written = 0;
  // What the screen shows: one of the texts of history_texts.h, with the system's reason added
  // to the file failures. Empty for kOk when no confirmation is wanted.
  std::string message;
  std::string detail;  // the system's or the store's own reason
  // The history's read: shows a damaged history that was set aside (and read as empty) on the way.
  StoreResult store;

  bool ok() const { return status == ExportStatus::kOk; }
};

// Makes a write beyond the process's file-size limit fail (EFBIG, reported like a full card)
// instead of ending the whole display with SIGXFSZ. Called once where the process starts.
void IgnoreFileSizeSignal();

// True when the USB card's folder exists.
bool UsbCardPresent(const std::filesystem::path& usb_dir);

// The export file's contents: every record, oldest first, one "text;node;date;time;" line each.
std::string BuildExportText(std::span<const ShutdownRecord> records_by_time);

// The history as CSV, oldest first: a header row, then one row per shutdown with its local time
// in ISO 8601 (the history keeps no time zone: "2026-12-07T21:30:05"), the node and the warning
// text, each quoted where it holds a comma, a quote or a line break.
std::string HistoryCsv(std::span<const ShutdownRecord> records_by_time);

// Copies the shutdown history to "DryerShutdownHistory.txt" in `usb_dir`, replacing an older
// copy, and the same as CSV to "DryerShutdownHistory.csv" beside it. The file is written under a
// temporary name, flushed to the card and only then renamed, so the card holds either the old file
// or the complete new one. The history is read before the card is touched, so a failing store
// leaves an older export in place.
ExportResult ExportShutdownHistory(ShutdownHistoryStore& store,
                                   const std::filesystem::path& usb_dir);

}  // namespace orvandry::warnings
