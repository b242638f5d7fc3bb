#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace {

// The display as a person starts it: the real binary, off-screen, without a dryer.
class DisplayProcess {
 public:
  DisplayProcess(const QString& instance, const QString& data_dir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("ORVANDRY_INSTANCE", instance);
    process.setProcessEnvironment(env);
    process.setProgram(ORVANDRY_BINARY);
    process.setArguments({"--data-dir", data_dir, "--usb-dir", data_dir + "/usb", "--port",
                          data_dir + "/no-such-port", "--run-seconds", "60"});
  }
  ~DisplayProcess() {
    if (process.state() != QProcess::NotRunning) {
      process.kill();
      process.waitForFinished(5000);
    }
  }
  QProcess process;
};

bool Listening(const QString& instance) {
  QLocalSocket probe;
  probe.connectToServer(instance);
  const bool up = probe.waitForConnected(200);
  probe.abort();
  return up;
}

TEST(SingleInstance, SecondStartBringsTheFirstForwardAndExitsWithZero) {
  QTemporaryDir data;
  ASSERT_TRUE(data.isValid());
  const QString instance = QString("orvandry-test-%1").arg(QCoreApplication::applicationPid());

  DisplayProcess first(instance, data.path());
  first.process.start();
  ASSERT_TRUE(first.process.waitForStarted(10000));
  bool up = false;
  for (int i = 0; i < 100 && !up; ++i) {
    up = Listening(instance);
    if (!up) QThread::msleep(100);
  }
  ASSERT_TRUE(up) << "the first display never started listening";

  DisplayProcess second(instance, data.path());
  second.process.start();
  ASSERT_TRUE(second.process.waitForFinished(15000)) << "the second start did not end";
  EXPECT_EQ(second.process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.process.exitCode(), 0);
  EXPECT_EQ(first.process.state(), QProcess::Running) << "one display keeps running";
}

}  // namespace
