#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>
#include <chrono>
#include <memory>

namespace orvandry::app {

// One display per user and machine. The claim is a lock file held with flock() for the life of the
// process, so two starts at the same moment cannot both win, and the lock goes away with a
// display that crashes. The holder listens on a local socket beside the lock; a start that finds
// the lock taken knocks there to bring the running display forward and ends, before it has
// touched the serial port.
class SingleInstance : public QObject {
  Q_OBJECT

 public:
  enum class Claim {
    kFirst,           // this process holds the lock: it is the display
    kAlreadyRunning,  // another process holds it
    kNoLock,          // the lock file could not be used; see the error
  };

  static constexpr std::chrono::milliseconds kRaisePatience{5000};

  // `name` names the lock file and the socket, both in `runtime_dir`.
  explicit SingleInstance(QString name, QString runtime_dir = DefaultRuntimeDir());
  ~SingleInstance() override;  // stops listening, then lets the lock go

  // Takes the lock without waiting. Needs no QCoreApplication, so it can come first of all.
  Claim ClaimInstance(QString* error = nullptr);

  // For a start that found the lock taken: knocks on the holder's socket, trying again while the
  // holder is still starting up, for at most `patience`. True once the knock was delivered.
  bool RaiseRunningInstance(std::chrono::milliseconds patience = kRaisePatience);

  // Lock holder only: clears a socket left by a display that crashed and listens. Each knock is
  // reported as RaiseRequested from the event loop. False without the lock or when listening fails.
  bool Listen();
  // Closes the socket and removes its file. Call it while the QCoreApplication still exists; the
  // destructor does it too, for an instance that outlives none.
  void StopListening();

  QString SocketPath() const;
  QString LockPath() const;

  static QString DefaultName();
  // $XDG_RUNTIME_DIR when it is a usable folder, otherwise the system's temporary folder.
  static QString DefaultRuntimeDir();

 signals:
  void RaiseRequested();

 private:
  QString name_;
  QString runtime_dir_;
  int lock_fd_ = -1;
  std::unique_ptr<QLocalServer> server_;
};

}  // namespace orvandry::app
