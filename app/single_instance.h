#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <functional>

namespace orvandry::app {

// One display per user and machine. The first instance listens on a local socket; a later start
// finds it there, asks it to come to the front and ends, before it has touched the serial port.
class SingleInstance : public QObject {
  Q_OBJECT

 public:
  explicit SingleInstance(QString name);

  // True when another instance answered (it has been asked to come forward).
  bool AskRunningInstanceToRaise();
  // Starts listening; `on_raise` runs on the UI thread when a later start knocks.
  bool Listen(std::function<void()> on_raise);

  static QString DefaultName();

 private:
  QString name_;
  QLocalServer server_;
};

}  // namespace orvandry::app
