#include "headless_chromium.h"

#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpSocket>
#include <QUrl>

#include "live_display.h"

namespace orvandry::remote {

namespace {

// GET on the loopback DevTools endpoint, with a plain socket (it answers HTTP/1.1).
QByteArray Get(quint16 port, const QByteArray& path, int ms) {
  QTcpSocket socket;
  socket.connectToHost(QHostAddress::LocalHost, port);
  if (!RunUntil([&] { return socket.state() == QAbstractSocket::ConnectedState; }, ms)) return {};
  // The browser names its endpoints after the Host header.
  socket.write("GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + QByteArray::number(port) +
               "\r\nConnection: close\r\n\r\n");
  QByteArray answer;
  RunUntil(
      [&] {
        answer += socket.readAll();
        return socket.state() == QAbstractSocket::UnconnectedState;
      },
      ms);
  answer += socket.readAll();
  const qsizetype body = answer.indexOf("\r\n\r\n");
  return body < 0 ? QByteArray() : answer.mid(body + 4);
}

}  // namespace

HeadlessChromium::HeadlessChromium() = default;

HeadlessChromium::~HeadlessChromium() {
  devtools_.abort();
  if (process_.state() != QProcess::NotRunning) {
    process_.terminate();
    if (!process_.waitForFinished(3000)) {
      process_.kill();
      process_.waitForFinished(3000);
    }
  }
}

bool HeadlessChromium::Open(const QString& url, int ms, QString* error) {
  QElapsedTimer timer;
  timer.start();
  process_.setStandardOutputFile(QProcess::nullDevice());
  process_.setStandardErrorFile(QProcess::nullDevice());
  process_.start("chromium", {"--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
                              "--disable-extensions", "--user-data-dir=" + profile_.path(),
                              "--remote-debugging-port=0", "--remote-allow-origins=*", url});
  if (!process_.waitForStarted(5000)) {
    *error = "chromium did not start: " + process_.errorString();
    return false;
  }
  // The browser writes its DevTools port into the profile once it listens.
  QFile active(profile_.filePath("DevToolsActivePort"));
  quint16 port = 0;
  RunUntil(
      [&] {
        if (!active.open(QIODevice::ReadOnly)) return false;
        port = static_cast<quint16>(active.readLine().trimmed().toUInt());
        active.close();
        return port != 0;
      },
      ms);
  if (port == 0) {
    *error = "chromium's DevTools endpoint did not come up";
    return false;
  }
  QString page;
  RunUntil(
      [&] {
        const QJsonArray targets = QJsonDocument::fromJson(Get(port, "/json/list", 2000)).array();
        for (const QJsonValue& target : targets)
          if (target["type"].toString() == "page") page = target["webSocketDebuggerUrl"].toString();
        return !page.isEmpty();
      },
      ms - static_cast<int>(timer.elapsed()));
  if (page.isEmpty()) {
    *error = "chromium shows no page";
    return false;
  }
  const QUrl endpoint(page);
  devtools_.open(endpoint);
  if (!RunUntil([&] { return devtools_.state() == QAbstractSocket::ConnectedState; },
                std::max(1000, ms - static_cast<int>(timer.elapsed())))) {
    *error = "cannot reach chromium's page over DevTools at " + endpoint.toString() + ": " +
             devtools_.errorString();
    return false;
  }
  return true;
}

QJsonObject HeadlessChromium::Call(const QString& method, const QJsonObject& params, int ms) {
  const int id = next_id_++;
  QJsonObject result;
  bool answered = false;
  const auto connection =
      QObject::connect(&devtools_, &QWebSocket::textMessageReceived, [&](const QString& text) {
        const QJsonObject message = QJsonDocument::fromJson(text.toUtf8()).object();
        if (message["id"].toInt() != id) return;
        result = message["result"].toObject();
        answered = true;
      });
  const QJsonObject call{{"id", id}, {"method", method}, {"params", params}};
  devtools_.sendTextMessage(QString::fromUtf8(QJsonDocument(call).toJson(QJsonDocument::Compact)));
  RunUntil([&] { return answered; }, ms);
  QObject::disconnect(connection);
  return result;
}

QJsonValue HeadlessChromium::Evaluate(const QString& expression, int ms) {
  const QJsonObject result = Call(
      "Runtime.evaluate", QJsonObject{{"expression", expression}, {"returnByValue", true}}, ms);
  return result["result"].toObject().value("value");
}

bool HeadlessChromium::Screenshot(const QString& path) {
  const QJsonObject result = Call("Page.captureScreenshot", QJsonObject{{"format", "png"}});
  const QByteArray png = QByteArray::fromBase64(result["data"].toString().toLatin1());
  QFile file(path);
  return !png.isEmpty() && file.open(QIODevice::WriteOnly) && file.write(png) == png.size();
}

}  // namespace orvandry::remote
