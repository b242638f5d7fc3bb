#include "app/single_instance.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QThread>
#include <cerrno>
#include <cstring>

namespace orvandry::app {

namespace {
constexpr int kConnectTimeoutMs = 500;
constexpr int kRetryMs = 50;
constexpr char kRaise[] = "raise\n";
}  // namespace

SingleInstance::SingleInstance(QString name, QString runtime_dir)
    : name_(std::move(name)), runtime_dir_(std::move(runtime_dir)) {}

SingleInstance::~SingleInstance() {
  // The socket file goes first: once the lock is free a new display may already have made its own
  // socket at the same path, and closing the server afterwards would delete that one.
  StopListening();
  // The lock file itself stays. Deleting it would let a start that has it open lock a file no
  // longer on disk while the next start locks a new one, and both would run.
  if (lock_fd_ >= 0) ::close(lock_fd_);
}

QString SingleInstance::DefaultName() {
  // Tests and side-by-side bench runs pick their own name; a panel never sets it.
  const QString override_name = qEnvironmentVariable("ORVANDRY_INSTANCE");
  if (!override_name.isEmpty()) return override_name;
  return QString("orvandry-%1").arg(getuid());
}

QString SingleInstance::DefaultRuntimeDir() {
  const QFileInfo runtime(qEnvironmentVariable("XDG_RUNTIME_DIR"));
  if (!runtime.filePath().isEmpty() && runtime.isDir() && runtime.isWritable())
    return runtime.absoluteFilePath();
  return QDir::tempPath();
}

QString SingleInstance::SocketPath() const {
  return QDir(runtime_dir_).filePath(name_ + ".sock");
}

QString SingleInstance::LockPath() const {
  return QDir(runtime_dir_).filePath(name_ + ".lock");
}

SingleInstance::Claim SingleInstance::ClaimInstance(QString* error) {
  if (lock_fd_ >= 0) return Claim::kFirst;
  auto fail = [&](const char* what, int error_number) {
    if (error != nullptr)
      *error = QString("%1 %2: %3").arg(what, LockPath(), std::strerror(error_number));
    return Claim::kNoLock;
  };
  // Each start opens the file itself: flock() locks belong to an open file description, so two
  // starts exclude each other even within one process.
  const QByteArray path = QFile::encodeName(LockPath());
  const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
  if (fd < 0) return fail("cannot open the instance lock", errno);
  int result = 0;
  do {
    result = ::flock(fd, LOCK_EX | LOCK_NB);
  } while (result != 0 && errno == EINTR);
  if (result != 0) {
    const int error_number = errno;
    ::close(fd);
    if (error_number == EWOULDBLOCK) return Claim::kAlreadyRunning;
    return fail("cannot lock", error_number);
  }
  lock_fd_ = fd;
  return Claim::kFirst;
}

bool SingleInstance::RaiseRunningInstance(std::chrono::milliseconds patience) {
  QElapsedTimer waited;
  waited.start();
  for (;;) {
    QLocalSocket socket;
    socket.connectToServer(SocketPath());
    if (socket.waitForConnected(kConnectTimeoutMs)) {
      socket.write(kRaise);
      socket.waitForBytesWritten(kConnectTimeoutMs);
      socket.disconnectFromServer();
      return true;
    }
    // The holder may have taken the lock a moment ago and not be listening yet.
    if (waited.elapsed() >= patience.count()) return false;
    QThread::msleep(kRetryMs);
  }
}

bool SingleInstance::Listen() {
  // Only the lock holder may touch the socket path: without the lock, the file there belongs to
  // the running display.
  if (lock_fd_ < 0) return false;
  StopListening();
  QLocalServer::removeServer(SocketPath());  // left by a display that crashed
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  if (!server_->listen(SocketPath())) {
    server_.reset();
    return false;
  }
  connect(server_.get(), &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      socket->deleteLater();  // the knock itself is the message
      emit RaiseRequested();
    }
  });
  return true;
}

void SingleInstance::StopListening() {
  if (server_ == nullptr) return;
  server_->close();  // removes the socket file
  server_.reset();
}

}  // namespace orvandry::app
