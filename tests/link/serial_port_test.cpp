#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <vector>

#include "link/termios_serial_port.h"

namespace orvandry::link {
namespace {

// A pseudo-terminal pair: the display's port on the slave, the test on the master.
struct Pty {
  Pty() {
    master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return;
    termios tio{};
    tcgetattr(master, &tio);
    cfmakeraw(&tio);
    tcsetattr(master, TCSANOW, &tio);
    slave_path = ptsname(master);
  }
  ~Pty() {
    if (master >= 0) close(master);
  }
  int master = -1;
  std::string slave_path;
};

TEST(TermiosSerialPort, MissingDeviceIsReportedNotFatal) {
  std::string error;
  EXPECT_EQ(TermiosSerialPort::Open("/dev/no-such-dryer-port", &error), nullptr);
  EXPECT_NE(error.find("/dev/no-such-dryer-port"), std::string::npos);
}

TEST(TermiosSerialPort, ReadsWhatHasArrivedAndReturnsAtOnceWhenNothingHas) {
  Pty pty;
  ASSERT_GE(pty.master, 0);
  std::string error;
  auto port = TermiosSerialPort::Open(pty.slave_path, &error);
  ASSERT_NE(port, nullptr) << error;

  std::uint8_t buffer[302];
  EXPECT_EQ(port->Read(buffer, sizeof buffer), 0U);

  std::vector<std::uint8_t> sent(200);
  for (std::size_t i = 0; i < sent.size(); ++i) sent[i] = static_cast<std::uint8_t>(i);
  sent[5] = 0x00;  // nulls pass through
  ASSERT_EQ(write(pty.master, sent.data(), sent.size()), static_cast<ssize_t>(sent.size()));
  tcdrain(pty.master);
  std::size_t got = 0;
  for (int i = 0; i < 100 && got < sent.size(); ++i) {
    got += port->Read(buffer + got, sizeof buffer - got);
    if (got < sent.size()) usleep(2000);
  }
  ASSERT_EQ(got, sent.size());
  EXPECT_TRUE(std::equal(sent.begin(), sent.end(), buffer));

  // The port belongs to the display alone.
  EXPECT_EQ(TermiosSerialPort::Open(pty.slave_path, &error), nullptr);
}

// A line that stops draining must not hang the link thread: each write gives up after a bounded
// wait and the cycle goes on.
TEST(TermiosSerialPort, WriteIntoAStalledLineGivesUp) {
  Pty pty;
  ASSERT_GE(pty.master, 0);
  std::string error;
  auto port = TermiosSerialPort::Open(pty.slave_path, &error);
  ASSERT_NE(port, nullptr) << error;
  const std::vector<std::uint8_t> frame(108, 0x55);
  // Nobody reads the master: fill whatever the pseudo-terminal buffers until a write has to wait,
  // then check that the waiting write came back.
  bool stalled = false;
  for (int i = 0; i < 20000 && !stalled; ++i) {
    const auto start = std::chrono::steady_clock::now();
    port->Write(frame.data(), frame.size());
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, std::chrono::seconds(10)) << "a write must not block for good";
    stalled = took > std::chrono::milliseconds(100);
  }
  EXPECT_TRUE(stalled) << "the line never filled up";
}

}  // namespace
}  // namespace orvandry::link
