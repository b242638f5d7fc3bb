#include "remote/remote_server.h"

#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSocketNotifier>
#include <QUrl>
#include <algorithm>
#include <cerrno>
#include <cstdio>

#include "link/link_cycle.h"
#include "link/status_map.h"
#include "remote/request_gate.h"
#include "remote/screen_update.h"

namespace orvandry::remote {

namespace {

namespace sm = link::status_map;

constexpr int kRecheckMs = 25;  // a request head that arrives in pieces is looked at again
constexpr int kPingMs = 10000;  // live viewers are pinged this often
constexpr qint64 kViewerSilentMs = 30000;  // and closed when they have not answered for this long
constexpr int kStatusMs = 1000;            // the status goes to the viewers when it changed
constexpr char kPongProperty[] = "orvandry_pong";
constexpr char kNeedsWholeProperty[] = "orvandry_needs_whole";
constexpr qint64 kMaxUnsentBytes = 512 * 1024;

QString Latin1(const std::string& text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

void SendAndClose(qintptr descriptor, const std::string& answer) {
  const int fd = static_cast<int>(descriptor);
  // What the client sent is read first, so closing sends an orderly end rather than a reset.
  char sink[4096];
  for (int i = 0; i < 16 && ::recv(fd, sink, sizeof sink, MSG_DONTWAIT) > 0; ++i) {
  }
  [[maybe_unused]] const ssize_t sent =
      ::send(fd, answer.data(), answer.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
  ::shutdown(fd, SHUT_WR);
  ::close(fd);
}

}  // namespace

RequestHead HeadOf(const QHttpServerRequest& request) {
  RequestHead head;
  head.method = "GET";
  head.path = request.url().path(QUrl::FullyEncoded).toStdString();
  head.query = request.url().query(QUrl::FullyEncoded).toStdString();
  for (const auto& [name, value] : request.headers())
    head.headers.emplace(name.toLower().toStdString(), value.toStdString());
  return head;
}

// A connection whose request head is still awaited.
struct GateListener::Waiting {
  qintptr descriptor = -1;
  QSocketNotifier* notifier = nullptr;
  QTimer* recheck = nullptr;
  QElapsedTimer since;
};

GateListener::GateListener(const RemoteConfig& config, QObject* parent)
    : QTcpServer(parent), config_(config) {}

GateListener::~GateListener() {
  for (Waiting* waiting : waiting_) {
    ::close(static_cast<int>(waiting->descriptor));
    delete waiting;
  }
}

void GateListener::Prune() {
  std::erase_if(sockets_, [](const QPointer<QTcpSocket>& socket) {
    return socket.isNull() || socket->state() == QAbstractSocket::UnconnectedState;
  });
}

int GateListener::open_connections() {
  Prune();
  return static_cast<int>(waiting_.size() + sockets_.size());
}

void GateListener::incomingConnection(qintptr descriptor) {
  if (open_connections() >= config_.max_connections) {
    SendAndClose(descriptor, RefusalResponse(503));
    return;
  }
  auto* waiting = new Waiting;
  waiting->descriptor = descriptor;
  waiting->since.start();
  waiting->notifier = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
  waiting->recheck = new QTimer(this);
  waiting->recheck->setSingleShot(true);
  // The head is only peeked at, so the socket stays readable: the notifier wakes the gate once,
  // then a timer looks again until the head is whole or its time is up.
  connect(waiting->notifier, &QSocketNotifier::activated, this, [this, waiting] {
    waiting->notifier->setEnabled(false);
    Examine(waiting);
  });
  connect(waiting->recheck, &QTimer::timeout, this, [this, waiting] { Examine(waiting); });
  waiting_.push_back(waiting);
  // A client that sends nothing at all is looked at when its time is up.
  waiting->recheck->start(config_.request_deadline_ms);
}

void GateListener::Examine(Waiting* waiting) {
  const auto finish = [this, waiting] {
    std::erase(waiting_, waiting);
    waiting->notifier->deleteLater();
    waiting->recheck->deleteLater();
    delete waiting;
  };
  const int fd = static_cast<int>(waiting->descriptor);
  char head[kMaxRequestHead + 1];
  const ssize_t got = ::recv(fd, head, sizeof head, MSG_PEEK | MSG_DONTWAIT);
  if (got == 0 || (got < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR)) {
    ::close(fd);  // gone before it asked anything
    finish();
    return;
  }
  Verdict verdict;
  if (got > 0)
    verdict = JudgeRequest(std::string_view(head, static_cast<std::size_t>(got)), config_.token);
  if (verdict.kind == Verdict::kWait) {
    if (waiting->since.elapsed() >= config_.request_deadline_ms) {
      verdict = {Verdict::kRefuse, 408};
    } else {
      if (got > 0)
        waiting->recheck->start(kRecheckMs);
      else
        waiting->notifier->setEnabled(true);
      return;
    }
  }
  if (verdict.kind == Verdict::kRefuse) {
    SendAndClose(waiting->descriptor, RefusalResponse(verdict.status));
    finish();
    return;
  }
  auto* socket = new QTcpSocket(this);
  const qintptr descriptor = waiting->descriptor;
  finish();
  if (!socket->setSocketDescriptor(descriptor)) {
    ::close(static_cast<int>(descriptor));
    delete socket;
    return;
  }
  sockets_.emplace_back(socket);
  addPendingConnection(socket);
  emit newConnection();
}

bool HttpFront::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) {
  // The live address asks for a WebSocket: answering true without writing lets the server
  // upgrade the connection. The token is checked once more first.
  if (request.url().path() == QLatin1StringView(kLivePath.data(), kLivePath.size()) &&
      request.value("upgrade").toLower() == "websocket")
    return CheckToken(HeadOf(request), token_) != Proof::kNone;
  QHttpServerResponder responder = makeResponder(request, socket);
  handler_(request, responder);
  // One request per connection: whatever else arrives is not read.
  QObject::disconnect(socket, &QIODevice::readyRead, nullptr, nullptr);
  socket->disconnectFromHost();
  return true;
}

void HttpFront::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) {
  makeResponder(request, socket).write(QHttpServerResponder::StatusCode::NotFound);
  socket->disconnectFromHost();
}

RemoteServer::RemoteServer(RemoteConfig config, link::LinkShared& shared, RemoteSources sources)
    : config_(std::move(config)),
      shared_(shared),
      sources_(std::move(sources)),
      status_timer_(this),
      ping_timer_(this) {
  QFile page(":/remote/page.html");
  if (page.open(QIODevice::ReadOnly)) page_ = page.readAll();
  connect(&status_timer_, &QTimer::timeout, this, &RemoteServer::SendStatusIfChanged);
  connect(&ping_timer_, &QTimer::timeout, this, [this] {
    for (QWebSocket* viewer : viewers_) {
      const qint64 pong = viewer->property(kPongProperty).toLongLong();
      if (QDateTime::currentMSecsSinceEpoch() - pong > kViewerSilentMs)
        viewer->abort();
      else
        viewer->ping();
    }
  });
}

RemoteServer::~RemoteServer() = default;

bool RemoteServer::Listen(QString* error) {
  gate_ = new GateListener(config_, this);
  if (!gate_->listen(config_.address, config_.port)) {
    if (error != nullptr) *error = gate_->errorString();
    delete gate_.data();
    return false;
  }
  http_ = new HttpFront(
      config_.token,
      [this](const QHttpServerRequest& request, QHttpServerResponder& responder) {
        Answer(request, responder);
      },
      this);
  http_->bind(gate_);
  connect(http_, &QAbstractHttpServer::newWebSocketConnection, this, &RemoteServer::TakeViewers);
  port_ = gate_->serverPort();
  return true;
}

void RemoteServer::Stop(QThread* back_to) {
  status_timer_.stop();
  ping_timer_.stop();
  for (QWebSocket* viewer : viewers_) {
    viewer->disconnect(this);
    viewer->abort();
    delete viewer;
  }
  viewers_.clear();
  viewer_count_ = 0;
  if (gate_) gate_->close();
  // The HTTP server keeps the listener it was bound to and goes first; the listener, when the
  // server has not taken it with it, after.
  delete http_;
  http_ = nullptr;
  delete gate_.data();
  if (back_to != nullptr) moveToThread(back_to);
}

QByteArray RemoteServer::StatusJson() {
  QJsonObject status;
  const char* link_state = "connected";
  if (link::LinkLost(shared_))
    link_state = "lost";
  else if (!shared_.first_frame_accepted.load())
    link_state = "waiting";
  status["link"] = link_state;
  const bool si = shared_.si_units.load(std::memory_order_relaxed) != 0;
  status["units"] = si ? "SI" : "US";
  QJsonObject values;
  if (sources_.status)
    for (const RemoteSources::Value& value : sources_.status())
      values[Latin1(value.name)] = Latin1(value.text);
  status["values"] = values;
  const auto code = static_cast<std::uint16_t>((shared_.dryer_state.Get(sm::kWarningNode) << 8) |
                                               shared_.dryer_state.Get(sm::kWarningId));
  // While the link is lost the code is stale: the panel shows the lost link instead.
  if (code != 0 && (code & 0xFF) != 0 && !link::LinkLost(shared_) &&
      shared_.first_frame_accepted.load()) {
    QJsonObject warning;
    char hex[8];
    std::snprintf(hex, sizeof hex, "%04X", static_cast<unsigned>(code));
    warning["code"] = hex;
    if (sources_.warning) {
      const RemoteSources::Warning texts = sources_.warning(code);
      warning["text"] = Latin1(texts.text);
      warning["node"] = Latin1(texts.node);
      QJsonArray help;
      for (const std::string& line : texts.help) help.append(Latin1(line));
      warning["help"] = help;
    }
    status["warning"] = warning;
  } else {
    status["warning"] = QJsonValue::Null;
  }
  // The changes the controller has not taken: the panel shows them as a notice.
  QJsonArray waiting;
  if (sources_.waiting_changes)
    for (const RemoteSources::Change& change : sources_.waiting_changes())
      waiting.append(ChangeJson(change));
  status["waiting_changes"] = waiting;
  return QJsonDocument(status).toJson(QJsonDocument::Compact);
}

QJsonObject RemoteServer::ChangeJson(const RemoteSources::Change& change) {
  QJsonObject json{{"id", static_cast<qint64>(change.id)},  {"time", Latin1(change.time)},
                   {"screen", Latin1(change.screen)},       {"what", Latin1(change.what)},
                   {"requested", Latin1(change.requested)}, {"state", Latin1(change.state)}};
  if (!change.controller.empty()) json["controller"] = Latin1(change.controller);
  json["settled"] = change.settled.empty() ? QJsonValue() : QJsonValue(Latin1(change.settled));
  return json;
}

void RemoteServer::Answer(const QHttpServerRequest& request, QHttpServerResponder& responder) {
  using Status = QHttpServerResponder::StatusCode;
  // The gate judged the request already; it is judged again here, so nothing is answered on the
  // strength of the gate alone.
  const RequestHead head = HeadOf(request);
  const Proof proof = CheckToken(head, config_.token);
  if (proof == Proof::kNone) {
    responder.write({{"WWW-Authenticate", "Bearer"}}, Status::Unauthorized);
    return;
  }
  if (request.method() != QHttpServerRequest::Method::Get) {
    responder.write(Status::MethodNotAllowed);
    return;
  }
  const QByteArray no_store = "no-store";
  if (head.path == kPagePath) {
    if (QueryValue(head.query, "token")) {
      // The token leaves the address: from now on the browser presents it as a cookie that no
      // script can read. (A request that proved itself otherwise only loses the query.)
      const QByteArray cookie = QByteArray(kTokenCookie.data(), kTokenCookie.size()) + "=" +
                                QByteArray::fromStdString(config_.token) +
                                "; HttpOnly; SameSite=Strict; Path=/";
      if (proof == Proof::kPageQuery) {
        responder.write(QByteArray(),
                        {{"Location", "/"},
                         {"Set-Cookie", cookie},
                         {"Cache-Control", no_store},
                         {"Referrer-Policy", "no-referrer"}},
                        Status::SeeOther);
      } else {
        responder.write(
            QByteArray(),
            {{"Location", "/"}, {"Cache-Control", no_store}, {"Referrer-Policy", "no-referrer"}},
            Status::SeeOther);
      }
      return;
    }
    responder.write(page_,
                    {{"Content-Type", "text/html; charset=utf-8"},
                     {"Cache-Control", no_store},
                     {"X-Content-Type-Options", "nosniff"},
                     {"Referrer-Policy", "no-referrer"},
                     {"Content-Security-Policy",
                      "default-src 'none'; script-src 'unsafe-inline'; style-src "
                      "'unsafe-inline'; img-src blob:; connect-src 'self'"}},
                    Status::Ok);
    return;
  }
  if (head.path == kStatusPath) {
    responder.write(StatusJson(),
                    {{"Content-Type", "application/json"}, {"Cache-Control", no_store}},
                    Status::Ok);
    return;
  }
  if (head.path == kHistoryPath) {
    QJsonArray history;
    if (sources_.history) {
      for (const RemoteSources::Shutdown& shutdown : sources_.history()) {
        history.append(QJsonObject{{"warning", Latin1(shutdown.warning)},
                                   {"node", Latin1(shutdown.node)},
                                   {"date", Latin1(shutdown.date)},
                                   {"time", Latin1(shutdown.time)}});
      }
    }
    responder.write(QJsonDocument(history).toJson(QJsonDocument::Compact),
                    {{"Content-Type", "application/json"}, {"Cache-Control", no_store}},
                    Status::Ok);
    return;
  }
  if (head.path == kJournalPath) {
    QJsonObject journal;
    QJsonArray waiting;
    if (sources_.waiting_changes)
      for (const RemoteSources::Change& change : sources_.waiting_changes())
        waiting.append(ChangeJson(change));
    journal["waiting"] = waiting;
    QJsonArray recent;
    if (sources_.changes)
      for (const RemoteSources::Change& change : sources_.changes(kJournalEntriesServed))
        recent.append(ChangeJson(change));
    journal["recent"] = recent;
    responder.write(QJsonDocument(journal).toJson(QJsonDocument::Compact),
                    {{"Content-Type", "application/json"}, {"Cache-Control", no_store}},
                    Status::Ok);
    return;
  }
  if (head.path.starts_with(kCsvPrefix) && IsServedPath(head.path)) {
    const std::string name = head.path.substr(kCsvPrefix.size());
    const auto it = sources_.csv.find(name);
    std::optional<std::string> csv;
    if (it != sources_.csv.end() && it->second) csv = it->second();
    if (!csv) {
      responder.write(Status::NotFound);
      return;
    }
    responder.write(QByteArray::fromStdString(*csv),
                    {{"Content-Type", "text/csv; charset=utf-8"},
                     {"Content-Disposition",
                      "attachment; filename=\"" + QByteArray::fromStdString(name) + "\""},
                     {"Cache-Control", no_store}},
                    Status::Ok);
    return;
  }
  responder.write(Status::NotFound);
}

void RemoteServer::TakeViewers() {
  while (http_ != nullptr && http_->hasPendingWebSocketConnections()) {
    std::unique_ptr<QWebSocket> taken = http_->nextPendingWebSocketConnection();
    if (!taken) break;
    QWebSocket* viewer = taken.release();
    viewer->setParent(this);
    if (static_cast<int>(viewers_.size()) >= config_.max_viewers) {
      connect(viewer, &QWebSocket::disconnected, viewer, &QObject::deleteLater);
      viewer->close(QWebSocketProtocol::CloseCodePolicyViolated, "too many viewers");
      continue;
    }
    viewer->setProperty(kPongProperty, QDateTime::currentMSecsSinceEpoch());
    connect(viewer, &QWebSocket::pong, viewer,
            [viewer] { viewer->setProperty(kPongProperty, QDateTime::currentMSecsSinceEpoch()); });
    // A viewer never sends anything but control frames; anything else closes it.
    connect(viewer, &QWebSocket::textMessageReceived, viewer, [viewer] { viewer->abort(); });
    connect(viewer, &QWebSocket::binaryMessageReceived, viewer, [viewer] { viewer->abort(); });
    connect(viewer, &QWebSocket::disconnected, this, [this, viewer] {
      std::erase(viewers_, viewer);
      viewer_count_ = static_cast<int>(viewers_.size());
      viewer->deleteLater();
      if (viewers_.empty()) {
        status_timer_.stop();
        ping_timer_.stop();
        last_image_ = QImage();
      }
    });
    viewers_.push_back(viewer);
    viewer_count_ = static_cast<int>(viewers_.size());
    last_status_ = StatusJson();
    viewer->sendTextMessage(QString::fromUtf8(last_status_));
    // The first picture is the whole screen.
    viewer->setProperty(kNeedsWholeProperty, true);
    if (!last_image_.isNull()) SendTo(viewer, EncodeWhole(last_image_));
    if (!status_timer_.isActive()) status_timer_.start(kStatusMs);
    if (!ping_timer_.isActive()) ping_timer_.start(kPingMs);
  }
}

void RemoteServer::SendStatusIfChanged() {
  const QByteArray status = StatusJson();
  if (status == last_status_) return;
  last_status_ = status;
  for (QWebSocket* viewer : viewers_) viewer->sendTextMessage(QString::fromUtf8(status));
}

void RemoteServer::SendTo(QWebSocket* viewer, const QByteArray& update) {
  // A viewer that has not taken the last pictures yet skips this one and gets the whole screen
  // once it has caught up: a slow client costs its socket's buffer of a picture or two, never the
  // display's memory.
  if (viewer->bytesToWrite() > kMaxUnsentBytes) {
    viewer->setProperty(kNeedsWholeProperty, true);
    return;
  }
  viewer->setProperty(kNeedsWholeProperty, false);
  viewer->sendBinaryMessage(update);
}

void RemoteServer::PushImage(const QImage& grabbed) {
  if (viewers_.empty()) return;
  const QImage image = grabbed.convertToFormat(QImage::Format_RGB32);
  const QByteArray update = EncodeUpdate(last_image_, image);
  last_image_ = image;
  if (update.isEmpty()) return;
  ++frames_sent_;
  QByteArray whole;  // made once, for the viewers that must start afresh
  for (QWebSocket* viewer : viewers_) {
    if (!viewer->property(kNeedsWholeProperty).toBool()) {
      SendTo(viewer, update);
      continue;
    }
    if (whole.isEmpty()) whole = EncodeWhole(image);
    SendTo(viewer, whole);
  }
  SendStatusIfChanged();
}

RemoteService::RemoteService(RemoteConfig config, link::LinkShared& shared, RemoteSources sources)
    : server_(std::make_unique<RemoteServer>(std::move(config), shared, std::move(sources))) {
  thread_.setObjectName("remote view");
}

RemoteService::~RemoteService() {
  Stop();
}

bool RemoteService::Start(QString* error) {
  server_->moveToThread(&thread_);
  thread_.start();
  bool listening = false;
  QMetaObject::invokeMethod(
      server_.get(), [this, &listening, error] { listening = server_->Listen(error); },
      Qt::BlockingQueuedConnection);
  if (!listening) Stop();
  return listening;
}

void RemoteService::Stop() {
  if (!thread_.isRunning()) return;
  QThread* ui = QThread::currentThread();
  QMetaObject::invokeMethod(
      server_.get(), [this, ui] { server_->Stop(ui); }, Qt::BlockingQueuedConnection);
  thread_.quit();
  thread_.wait();
}

void RemoteService::PushImage(const QImage& image) {
  RemoteServer* server = server_.get();
  QMetaObject::invokeMethod(
      server, [server, image] { server->PushImage(image); }, Qt::QueuedConnection);
}

}  // namespace orvandry::remote
