#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orvandry::logging {

struct CopyResult {
  bool ok = false;
  int error = 0;  // errno of the step that failed
};

// Copies `source` to `folder`/`name` on the removable card without ever leaving a partial file
// under the final name: the copy is written to a temporary name, flushed to the card, and renamed
// to `name` only if no file has that name (an existing file is never replaced: EEXIST). The folder
// is flushed afterwards so the rename survives pulling the card. On failure the temporary file is
// removed.
CopyResult CopyToCard(const std::filesystem::path& source, const std::filesystem::path& folder,
                      const std::string& name);

// Writes `text` to `folder`/`name` with the same safety as CopyToCard: temporary name, flushed,
// renamed only if no file has that name, folder flushed.
CopyResult WriteTextToCard(std::string_view text, const std::filesystem::path& folder,
                           const std::string& name);

}  // namespace orvandry::logging
