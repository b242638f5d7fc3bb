#include "link/termios_serial_port.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace orvandry::link {
namespace {

void SetError(std::string* error, const std::string& what) {
  if (error != nullptr) *error = what + ": " + std::strerror(errno);
}

}  // namespace

bool TermiosSerialPort::Configure(int fd, std::string* error) {
  termios tio{};
  if (tcgetattr(fd, &tio) != 0) {
    SetError(error, "cannot read the line settings");
    return false;
  }
  cfmakeraw(&tio);
  tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARODD | CRTSCTS);
  tio.c_cflag |= CS8 | PARENB | CREAD | CLOCAL;
  // Parity errors are detected; bytes, including nulls, arrive unchanged.
  tio.c_iflag |= INPCK;
  tio.c_iflag &= ~static_cast<tcflag_t>(ISTRIP | IGNPAR | PARMRK | IXON | IXOFF | IXANY);
  // A read returns at once with whatever has arrived.
  tio.c_cc[VMIN] = 0;
  tio.c_cc[VTIME] = 0;
  if (cfsetispeed(&tio, B38400) != 0 || cfsetospeed(&tio, B38400) != 0 ||
      tcsetattr(fd, TCSANOW, &tio) != 0) {
    SetError(error, "cannot apply 38400 8E1");
    return false;
  }
  // Non-blocking throughout: a line that stops draining (a stalled adapter, a pseudo-terminal
  // nobody reads) must never hang the link thread. Write waits a bounded time instead.
  const int flags = fcntl(fd, F_GETFL);
  if (flags < 0 || fcntl(fd, F_SETFL, flags | O_NONBLOCK) != 0) {
    SetError(error, "cannot set non-blocking mode");
    return false;
  }
  return true;
}

std::unique_ptr<TermiosSerialPort> TermiosSerialPort::Open(const std::string& path,
                                                           std::string* error) {
  const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    SetError(error, "cannot open " + path);
    return nullptr;
  }
  // The line is not shared: a second opener is refused by the driver.
  if (isatty(fd) && ioctl(fd, TIOCEXCL) != 0) {
    SetError(error, "cannot get exclusive use of " + path);
    ::close(fd);
    return nullptr;
  }
  if (!Configure(fd, error)) {
    if (error != nullptr) *error = path + ": " + *error;
    ::close(fd);
    return nullptr;
  }
  return std::unique_ptr<TermiosSerialPort>(new TermiosSerialPort(fd));
}

std::unique_ptr<TermiosSerialPort> TermiosSerialPort::Adopt(int fd, std::string* error) {
  if (!Configure(fd, error)) return nullptr;
  return std::unique_ptr<TermiosSerialPort>(new TermiosSerialPort(fd));
}

TermiosSerialPort::~TermiosSerialPort() { ::close(fd_); }

std::size_t TermiosSerialPort::Read(std::uint8_t* buffer, std::size_t max) {
  std::size_t got = 0;
  // A driver may hand over what has arrived in pieces; keep taking until it has none left.
  while (got < max) {
    const ssize_t n = ::read(fd_, buffer + got, max - got);
    if (n > 0) {
      got += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else {
      break;
    }
  }
  return got;
}

void TermiosSerialPort::Purge() { tcflush(fd_, TCIOFLUSH); }

void TermiosSerialPort::Write(const std::uint8_t* bytes, std::size_t count) {
  // A 108-byte frame takes about 31 ms on the wire; waiting longer than a cycle would only delay
  // the next one, so the rest of a frame that cannot go out by then is dropped.
  constexpr int kWriteWaitMs = 300;
  int waited_ms = 0;
  std::size_t sent = 0;
  while (sent < count) {
    const ssize_t n = ::write(fd_, bytes + sent, count - sent);
    if (n > 0) {
      sent += static_cast<std::size_t>(n);
    } else if (n < 0 && errno == EINTR) {
      continue;
    } else if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && waited_ms < kWriteWaitMs) {
      pollfd pfd{fd_, POLLOUT, 0};
      constexpr int kStepMs = 20;
      ::poll(&pfd, 1, kStepMs);
      waited_ms += kStepMs;
    } else {
      return;  // not retried: the next cycle sends its own frame
    }
  }
}

}  // namespace orvandry::link
