#include "app/single_instance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <latch>
#include <memory>
#include <thread>
#include <vector>

namespace orvandry::app {
namespace {

using namespace std::chrono_literals;

// Each SingleInstance opens the lock file itself, and flock() locks belong to the open file, so
// instances in one process exclude each other exactly as two processes do.
class SingleInstanceTest : public ::testing::Test {
 protected:
  std::unique_ptr<SingleInstance> Start() {
    return std::make_unique<SingleInstance>("orvandry-test", dir.path());
  }
  QTemporaryDir dir;
};

TEST_F(SingleInstanceTest, RacingStartsLeaveOneHolderAndTheOthersRaiseIt) {
  constexpr int kStarts = 6;
  std::vector<std::unique_ptr<SingleInstance>> starts;
  for (int i = 0; i < kStarts; ++i) starts.push_back(Start());
  std::vector<SingleInstance::Claim> claims(kStarts);
  std::latch go(kStarts);
  std::vector<std::thread> threads;
  for (int i = 0; i < kStarts; ++i)
    threads.emplace_back([&, i] {
      go.arrive_and_wait();
      claims[i] = starts[i]->ClaimInstance();
    });
  for (std::thread& thread : threads) thread.join();

  int winners = 0;
  SingleInstance* winner = nullptr;
  for (int i = 0; i < kStarts; ++i) {
    if (claims[i] != SingleInstance::Claim::kFirst) continue;
    ++winners;
    winner = starts[i].get();
  }
  ASSERT_EQ(winners, 1);
  ASSERT_TRUE(winner->Listen());
  int raised = 0;
  QObject::connect(winner, &SingleInstance::RaiseRequested, [&raised] { ++raised; });

  for (int i = 0; i < kStarts; ++i) {
    if (starts[i].get() == winner) continue;
    EXPECT_EQ(claims[i], SingleInstance::Claim::kAlreadyRunning);
    EXPECT_FALSE(starts[i]->Listen()) << "only the lock holder may take the socket";
    EXPECT_TRUE(starts[i]->RaiseRunningInstance(5s));
  }
  for (int i = 0; i < 500 && raised < kStarts - 1; ++i) {
    QCoreApplication::processEvents();
    QThread::msleep(10);
  }
  EXPECT_EQ(raised, kStarts - 1);
}

TEST_F(SingleInstanceTest, TheLockEndsWithItsHolderAndTheNextClearsTheOldSocket) {
  ASSERT_EQ(Start()->ClaimInstance(), SingleInstance::Claim::kFirst);  // and gone again
  auto next = Start();
  QFile stale(next->SocketPath());  // what a display that crashed leaves behind
  ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
  stale.close();

  ASSERT_EQ(next->ClaimInstance(), SingleInstance::Claim::kFirst);
  auto early = Start();
  ASSERT_EQ(early->ClaimInstance(), SingleInstance::Claim::kAlreadyRunning);
  EXPECT_FALSE(early->RaiseRunningInstance(200ms)) << "nobody listens yet: it gives up";
  EXPECT_TRUE(next->Listen());
  EXPECT_TRUE(early->RaiseRunningInstance(200ms));
}

// The display as a person starts it, twice at once: the real binary, off-screen, without a dryer.
TEST(SingleInstanceProcess, TwoDisplaysStartedTogetherLeaveOneRunningBroughtForward) {
  QTemporaryDir data;
  ASSERT_TRUE(data.isValid());
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_RUNTIME_DIR", data.path());
  env.insert("ORVANDRY_INSTANCE",
             QString("orvandry-test-%1").arg(QCoreApplication::applicationPid()));
  QProcess displays[2];
  for (QProcess& display : displays) {
    display.setProcessEnvironment(env);
    display.setProgram(ORVANDRY_BINARY);
    display.setArguments({"--data-dir", data.path(), "--usb-dir", data.path() + "/usb", "--port",
                          data.path() + "/no-such-port", "--run-seconds", "60"});
  }
  for (QProcess& display : displays) display.start();

  QProcess* ended = nullptr;
  for (int i = 0; i < 300 && ended == nullptr; ++i) {
    for (QProcess& display : displays)
      if (display.state() == QProcess::NotRunning || display.waitForFinished(50)) ended = &display;
  }
  ASSERT_NE(ended, nullptr) << "neither start ended";
  QProcess& running = ended == &displays[0] ? displays[1] : displays[0];
  EXPECT_EQ(ended->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(ended->exitCode(), 0);
  EXPECT_EQ(ended->readAllStandardOutput(),
            "orvandry: a display is already running; it was asked to come to the front\n");
  EXPECT_EQ(running.state(), QProcess::Running) << "one display keeps running";

  for (QProcess& display : displays) {
    display.kill();
    display.waitForFinished(5000);
  }
}

}  // namespace
}  // namespace orvandry::app
