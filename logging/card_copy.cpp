#include "logging/card_copy.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <cerrno>
#include <vector>

namespace orvandry::logging {
namespace {

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = EIO;
      return false;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// Copies everything of `in` to `out`; errno tells why it stopped.
bool CopyAll(int in, int out) {
  std::vector<std::uint8_t> buffer(1 << 20);
  for (;;) {
    const ssize_t n = ::read(in, buffer.data(), buffer.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    if (!WriteAll(out, buffer.data(), static_cast<std::size_t>(n))) return false;
  }
}

// Renames without replacing. Card file systems without the no-replace rename fall back to a check
// first (the display is the card's only writer).
int RenameNoReplace(const std::filesystem::path& from, const std::filesystem::path& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  if (errno != EINVAL && errno != ENOSYS) return errno;
  if (::access(to.c_str(), F_OK) == 0) return EEXIST;
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

// Flushes and closes the temporary file, renames it to `target` and flushes the folder; on any
// failure the temporary file is removed. `done`/`error`: how the writing went.
CopyResult PlaceOnCard(int out, bool done, int error, const std::filesystem::path& temp,
                       const std::filesystem::path& target, const std::filesystem::path& folder) {
  CopyResult result;
  if (done && ::fsync(out) != 0) {
    done = false;
    error = errno;
  }
  if (::close(out) != 0 && done) {
    done = false;
    error = errno;
  }
  if (done) error = RenameNoReplace(temp, target);
  if (!done || error != 0) {
    ::unlink(temp.c_str());
    result.error = error;
    return result;
  }
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);  // some card file systems cannot sync a folder; the file is there regardless
    ::close(dir);
  }
  result.ok = true;
  return result;
}

}  // namespace

CopyResult CopyToCard(const std::filesystem::path& source, const std::filesystem::path& folder,
                      const std::string& name) {
  const std::filesystem::path target = folder / name;
  const std::filesystem::path temp = folder / (name + ".part");
  CopyResult result;
  const int in = ::open(source.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) {
    result.error = errno;
    return result;
  }
  // O_NOFOLLOW: the card is removable media anyone can prepare; never write through a link on it.
  const int out = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (out < 0) {
    result.error = errno;
    ::close(in);
    return result;
  }
  const bool done = CopyAll(in, out);
  const int error = errno;
  ::close(in);
  return PlaceOnCard(out, done, error, temp, target, folder);
}

CopyResult WriteTextToCard(std::string_view text, const std::filesystem::path& folder,
                           const std::string& name) {
  const std::filesystem::path target = folder / name;
  const std::filesystem::path temp = folder / (name + ".part");
  const int out = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0644);
  if (out < 0) return CopyResult{false, errno};
  const bool done = WriteAll(out, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  return PlaceOnCard(out, done, errno, temp, target, folder);
}

}  // namespace orvandry::logging
