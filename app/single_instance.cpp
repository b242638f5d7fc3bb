#include "app/single_instance.h"

#include <QLocalSocket>
#include <unistd.h>

namespace orvandry::app {

namespace {
constexpr int kConnectTimeoutMs = 500;
constexpr char kRaise[] = "raise\n";
}  // namespace

SingleInstance::SingleInstance(QString name) : name_(std::move(name)) {}

QString SingleInstance::DefaultName() {
  // Tests and side-by-side bench runs pick their own name; a panel never sets it.
  const QString override_name = qEnvironmentVariable("ORVANDRY_INSTANCE");
  if (!override_name.isEmpty()) return override_name;
  return QString("orvandry-%1").arg(getuid());
}

bool SingleInstance::AskRunningInstanceToRaise() {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(kConnectTimeoutMs)) return false;
  socket.write(kRaise);
  socket.waitForBytesWritten(kConnectTimeoutMs);
  socket.disconnectFromServer();
  return true;
}

bool SingleInstance::Listen(std::function<void()> on_raise) {
  // A socket file left by a display that crashed would block every later start.
  QLocalServer::removeServer(name_);
  if (!server_.listen(name_)) return false;
  connect(&server_, &QLocalServer::newConnection, this, [this, on_raise] {
    while (QLocalSocket* socket = server_.nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      on_raise();
    }
  });
  return true;
}

}  // namespace orvandry::app
