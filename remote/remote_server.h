#pragma once

#include <QAbstractHttpServer>
#include <QByteArray>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QHttpServerResponder>
#include <QImage>
#include <QJsonObject>
#include <QPointer>
#include <QTcpServer>
#include <QThread>
#include <QTimer>
#include <QWebSocket>
#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "link/link_shared.h"
#include "remote/remote_sources.h"
#include "remote/request_gate.h"

namespace orvandry::remote {

struct RemoteConfig {
  QHostAddress address;
  quint16 port = 0;  // 0: any free port (tests)
  std::string token;
  // Every connection counts, from its first byte until it has closed: those still sending their
  // request, those being answered and the live viewers.
  int max_connections = 8;
  int max_viewers = 4;
  int request_deadline_ms = 5000;  // a request head must be complete by then
};

// The request as the gate judged it.
RequestHead HeadOf(const QHttpServerRequest& request);

// Accepts connections and keeps each to itself until its request head has arrived whole: the head
// is only peeked at (nothing is read), judged by JudgeRequest, and the connection is then either
// refused here with a short answer or handed on, untouched, to the HTTP server. So the HTTP
// server never sees a request without the token, an address that is not served, an oversized
// head, or a second request on the same connection.
class GateListener final : public QTcpServer {
  Q_OBJECT
 public:
  GateListener(const RemoteConfig& config, QObject* parent);
  ~GateListener() override;
  int open_connections();

 protected:
  void incomingConnection(qintptr descriptor) override;

 private:
  struct Waiting;
  void Examine(Waiting* waiting);
  void Refuse(qintptr descriptor, int status);
  void Prune();

  const RemoteConfig& config_;
  std::vector<Waiting*> waiting_;
  std::vector<QPointer<QTcpSocket>> sockets_;  // handed on or being refused, until they close
};

// Answers the requests the gate let through, one per connection, and upgrades the live address to
// a WebSocket.
class HttpFront final : public QAbstractHttpServer {
  Q_OBJECT
 public:
  using Handler = std::function<void(const QHttpServerRequest&, QHttpServerResponder&)>;
  HttpFront(std::string token, Handler handler, QObject* parent)
      : QAbstractHttpServer(parent), token_(std::move(token)), handler_(std::move(handler)) {}

 protected:
  bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
  void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

 private:
  std::string token_;
  Handler handler_;
};

// The remote view's server. Lives on the serving thread: everything it does, the pictures' PNG
// encoding included, happens there.
class RemoteServer final : public QObject {
  Q_OBJECT
 public:
  RemoteServer(RemoteConfig config, link::LinkShared& shared, RemoteSources sources);
  ~RemoteServer() override;

  bool Listen(QString* error);
  // Closes everything, then hands the server back to `back_to` (the thread that will delete it).
  void Stop(QThread* back_to);
  quint16 port() const { return port_.load(); }
  int viewers() const { return viewer_count_.load(); }
  int frames_sent() const { return frames_sent_.load(); }

  // A new picture of the main screen; what changed goes to the viewers (see screen_update.h).
  void PushImage(const QImage& image);
  // The status as /api/status answers it.
  QByteArray StatusJson();
  static QJsonObject ChangeJson(const RemoteSources::Change& change);
  // The newest journal entries /api/journal gives (journal.csv has them all).
  static constexpr std::size_t kJournalEntriesServed = 200;

 private:
  void Answer(const QHttpServerRequest& request, QHttpServerResponder& responder);
  void TakeViewers();
  void SendStatusIfChanged();
  void SendTo(QWebSocket* viewer, const QByteArray& update);

  RemoteConfig config_;
  link::LinkShared& shared_;
  RemoteSources sources_;
  QPointer<GateListener> gate_;
  HttpFront* http_ = nullptr;
  std::vector<QWebSocket*> viewers_;
  std::atomic<int> viewer_count_{0};
  std::atomic<int> frames_sent_{0};
  std::atomic<quint16> port_{0};
  QImage last_image_;
  QByteArray last_status_;
  QTimer status_timer_;
  QTimer ping_timer_;
  QByteArray page_;
};

// The remote view as the UI thread sees it: the serving thread and the server on it.
class RemoteService {
 public:
  RemoteService(RemoteConfig config, link::LinkShared& shared, RemoteSources sources);
  ~RemoteService();

  // Starts the serving thread and listens; false with the reason when the address cannot be had.
  bool Start(QString* error);
  // Waits for the serving thread to end.
  void Stop();
  bool running() const { return thread_.isRunning(); }

  int viewers() const { return server_->viewers(); }
  quint16 port() const { return server_->port(); }
  RemoteServer& server() { return *server_; }
  // Hands a picture to the serving thread; returns at once.
  void PushImage(const QImage& image);

 private:
  QThread thread_;
  std::unique_ptr<RemoteServer> server_;
};

}  // namespace orvandry::remote
