#include "sim/sim_line.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace orvandry::sim {
namespace {

void SetError(std::string* error, const std::string& what) {
  if (error != nullptr) *error = what + ": " + std::strerror(errno);
}

bool MakeRaw(int fd, bool even_parity_38400, std::string* error) {
  termios tio{};
  if (tcgetattr(fd, &tio) != 0) {
    SetError(error, "cannot read the line settings");
    return false;
  }
  cfmakeraw(&tio);
  tio.c_cflag |= CREAD | CLOCAL;
  if (even_parity_38400) {
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARODD | CRTSCTS);
    tio.c_cflag |= CS8 | PARENB;
    tio.c_iflag |= INPCK;
    if (cfsetispeed(&tio, B38400) != 0 || cfsetospeed(&tio, B38400) != 0) {
      SetError(error, "cannot set 38400 baud");
      return false;
    }
  }
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (tcsetattr(fd, TCSANOW, &tio) != 0) {
    SetError(error, "cannot apply the line settings");
    return false;
  }
  return true;
}

}  // namespace

void UniqueFd::Reset() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

std::optional<PtyPair> OpenPtyPair(std::string* error) {
  PtyPair pair;
  pair.master = UniqueFd(posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC));
  if (!pair.master.valid()) {
    SetError(error, "cannot open a pseudo-terminal");
    return std::nullopt;
  }
  if (grantpt(pair.master.get()) != 0 || unlockpt(pair.master.get()) != 0) {
    SetError(error, "cannot unlock the pseudo-terminal");
    return std::nullopt;
  }
  char name[128];
  if (ptsname_r(pair.master.get(), name, sizeof name) != 0) {
    SetError(error, "cannot name the pseudo-terminal");
    return std::nullopt;
  }
  pair.slave_path = name;
  pair.slave_keepalive = OpenTerminal(pair.slave_path, error);
  if (!pair.slave_keepalive.valid()) return std::nullopt;
  // The line discipline must not echo, buffer lines or translate anything. On Linux both ends
  // share one setting, but set both so no platform difference can leak in.
  if (!MakeRaw(pair.master.get(), false, error) ||
      !MakeRaw(pair.slave_keepalive.get(), false, error))
    return std::nullopt;
  return pair;
}

UniqueFd OpenTerminal(const std::string& path, std::string* error) {
  UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC));
  if (!fd.valid()) SetError(error, "cannot open " + path);
  return fd;
}

UniqueFd OpenSerialDevice(const std::string& path, std::string* error) {
  // Non-blocking so that a missing carrier cannot hang the open.
  UniqueFd fd(::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
  if (!fd.valid()) {
    SetError(error, "cannot open " + path);
    return fd;
  }
  if (!MakeRaw(fd.get(), true, error)) {
    if (error != nullptr) *error = path + ": " + *error;
    return UniqueFd();
  }
  return fd;
}

}  // namespace orvandry::sim
