#pragma once

// A real headless Chromium, driven over its DevTools protocol: it loads a page, and the test asks
// the page's DOM questions while the page keeps running in real time.

#include <QJsonObject>
#include <QJsonValue>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <QWebSocket>
#include <memory>

namespace orvandry::remote {

class HeadlessChromium {
 public:
  HeadlessChromium();
  ~HeadlessChromium();

  // Starts the browser on `url`; false with the reason in `error` when it or its DevTools
  // endpoint did not come up within `ms`.
  bool Open(const QString& url, int ms, QString* error);
  // Evaluates a JavaScript expression in the page; its value, or Undefined on failure.
  QJsonValue Evaluate(const QString& expression, int ms = 3000);
  // Saves what the page shows as a PNG.
  bool Screenshot(const QString& path);
  // One DevTools call; its result, empty when none came within `ms`.
  QJsonObject Call(const QString& method, const QJsonObject& params, int ms = 3000);

 private:
  QTemporaryDir profile_;
  QProcess process_;
  QWebSocket devtools_;
  int next_id_ = 1;
};

}  // namespace orvandry::remote
