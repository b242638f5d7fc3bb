// orvandry [options] [Qt options]; --help lists them.
//
// The operator display of the grain dryer. Start-up order: command line, single-instance lock,
// folders, main window and settings, child windows and the view rule, serial link, the three
// timers, the shutdown history, then the event loop.

#include <QApplication>
#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <variant>
#include <vector>

#include "app/display.h"
#include "app/options.h"
#include "app/single_instance.h"
#include "link/link_shared.h"
#include "link/link_thread.h"
#include "link/status_map.h"
#include "link/termios_serial_port.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/qt_prompter.h"
#include "platform/qt_settings_store.h"
#include "remote/request_gate.h"
#include "shell/main_window.h"
#include "shell/settings.h"
#include "sim/in_process_dryer.h"
#include "warnings/history_export.h"

namespace {

bool HasGraphicalSession(const orvandry::app::DisplayOptions& options) {
  if (options.platform_chosen || std::getenv("QT_QPA_PLATFORM") != nullptr) return true;
  return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
}

// argc and argv for QApplication, which keeps referring to them for as long as it lives.
class QtArguments {
 public:
  explicit QtArguments(const QStringList& arguments) {
    for (const QString& argument : arguments) storage_.push_back(argument.toLocal8Bit());
    for (QByteArray& argument : storage_) pointers_.push_back(argument.data());
    pointers_.push_back(nullptr);
    argc = static_cast<int>(storage_.size());
  }
  char** argv() { return pointers_.data(); }
  int argc = 0;

 private:
  std::vector<QByteArray> storage_;
  std::vector<char*> pointers_;
};

// Passes the link's results from the link thread to the main window and the shutdown recorder.
class LinkListener final : public orvandry::link::IntakeListener {
 public:
  explicit LinkListener(orvandry::shell::MainWindow& window) : window_(window) {}
  void OnWarningCodeChanged(std::uint8_t node, std::uint8_t warning) override {
    window_.OnWarningCodeChanged(node, warning);
  }
  void OnIntakeFinished(const orvandry::link::IntakeResult& result) override {
    window_.OnIntakeFinished(result);
  }

 private:
  orvandry::shell::MainWindow& window_;
};

}  // namespace

int main(int argc, char** argv) {
  QElapsedTimer since_start;
  since_start.start();
  // A file that outgrows the file-size limit must fail its write like a full card, not end the
  // display.
  orvandry::warnings::IgnoreFileSizeSignal();
  QApplication::setOrganizationName("Kelvra");
  QApplication::setApplicationName("Orvandry");

  // The whole command line is checked before anything is opened or created.
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  auto parsed = orvandry::app::ParseDisplayOptions(arguments);
  if (const auto* exit = std::get_if<orvandry::app::CommandLineExit>(&parsed)) {
    std::fputs(exit->text.c_str(), exit->status == 0 ? stdout : stderr);
    return exit->status;
  }
  orvandry::app::DisplayOptions options =
      std::get<orvandry::app::DisplayOptions>(std::move(parsed));
  QtArguments qt_arguments(options.qt_arguments);
  // The MQTT credentials are read before anything is made, so a bad file leaves no trace either.
  if (const auto refused = orvandry::app::PrepareMqtt(options)) {
    std::fprintf(stderr, "orvandry: %s\n", refused->c_str());
    return 2;
  }

  // The remote view: only when asked for, and never without a usable token.
  std::optional<orvandry::remote::RemoteConfig> remote;
  if (options.remote_port != 0) {
    orvandry::remote::TokenFile token = orvandry::remote::ReadTokenFile(options.remote_token_file);
    if (!token.error.empty()) {
      std::fprintf(stderr, "orvandry: %s; the remote view is not started without a token\n",
                   token.error.c_str());
      return 2;
    }
    remote.emplace();
    remote->address = QHostAddress(QString::fromStdString(options.remote_address));
    remote->port = static_cast<quint16>(options.remote_port);
    remote->token = std::move(token.token);
  }

  // The single-instance lock comes before anything of the display is built.
  orvandry::app::SingleInstance instance(orvandry::app::SingleInstance::DefaultName());
  QString lock_error;
  switch (instance.ClaimInstance(&lock_error)) {
    case orvandry::app::SingleInstance::Claim::kFirst:
      break;
    case orvandry::app::SingleInstance::Claim::kAlreadyRunning: {
      const QCoreApplication knock(qt_arguments.argc, qt_arguments.argv());
      if (instance.RaiseRunningInstance()) {
        std::printf("orvandry: a display is already running; it was asked to come to the front\n");
      } else {
        std::fprintf(stderr, "orvandry: a display is already running but did not answer\n");
      }
      return 0;
    }
    case orvandry::app::SingleInstance::Claim::kNoLock:
      std::fprintf(stderr, "orvandry: %s; starting without the one-display guard\n",
                   lock_error.toLocal8Bit().constData());
      break;
  }

  std::string folder_warning;
  if (const auto refused = orvandry::app::PrepareFolders(options, &folder_warning)) {
    std::fprintf(stderr, "orvandry: %s\n", refused->c_str());
    return 2;
  }
  if (!folder_warning.empty()) std::fprintf(stderr, "orvandry: %s\n", folder_warning.c_str());
  const std::string port_problem = orvandry::app::PortProblem(options);
  if (!port_problem.empty()) std::fprintf(stderr, "orvandry: %s\n", port_problem.c_str());

  bool headless = false;  // no graphical session: draw off-screen and save PNGs
  if (!HasGraphicalSession(options)) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    headless = true;
  }
  QApplication app(qt_arguments.argc, qt_arguments.argv());
  instance.Listen();  // knocks wait in the socket's queue until the event loop runs
  const orvandry::platform::Paths paths(options.data_dir, options.usb_dir);

  orvandry::link::LinkShared shared;
  orvandry::platform::QtSettingsStore store;
  orvandry::shell::Settings settings = orvandry::shell::LoadSettings(store);
  orvandry::platform::SystemClock clock;
  orvandry::platform::QtPrompter prompter;

  orvandry::app::Display display(shared, settings, prompter, store, clock, paths,
                                 std::move(remote));
  if (orvandry::remote::RemoteSubsystem* remote_view = display.remote()) {
    QString remote_error;
    if (!remote_view->Start(&remote_error)) {
      std::fprintf(stderr, "orvandry: --remote-listen %s:%d: %s\n", options.remote_address.c_str(),
                   options.remote_port, remote_error.toLocal8Bit().constData());
      return 2;
    }
    std::printf("orvandry: remote view on http://%s%s%s:%d/\n",
                options.remote_address.find(':') != std::string::npos ? "[" : "",
                options.remote_address.c_str(),
                options.remote_address.find(':') != std::string::npos ? "]" : "",
                static_cast<int>(remote_view->service().port()));
    std::fflush(stdout);
  }
  orvandry::shell::MainWindow& window = display.window();
  display.alerts().Configure(options.mqtt);
  window.SetManualsFolder(QString::fromStdString(paths.ManualsDir().string()));
  QObject::connect(&instance, &orvandry::app::SingleInstance::RaiseRequested, &window, [&window] {
    window.showNormal();
    window.raise();
    window.activateWindow();
  });

  // The link: the simulated dryer on a pseudo-terminal, or the real port. A port that cannot be
  // opened leaves the display running without a link; the warning window will say so.
  std::unique_ptr<orvandry::sim::InProcessDryer> simulated;
  std::string device = options.port;
  std::string error;
  if (options.simulate) {
    simulated = orvandry::sim::StartInProcessDryer(&error, orvandry::sim::DemoOptions());
    if (simulated) {
      device = simulated->slave_path();
      orvandry::sim::PutInView(simulated->controller(), options.view);
    } else {
      std::fprintf(stderr, "orvandry: cannot start the simulated dryer: %s\n", error.c_str());
    }
  }
  LinkListener listener(window);
  std::unique_ptr<orvandry::link::DryerLink> link;
  if (port_problem.empty()) {
    link = orvandry::link::DryerLink::Open(shared, &listener, device, &error);
    if (!link) std::fprintf(stderr, "orvandry: no link to the dryer: %s\n", error.c_str());
  }
  if (options.fullscreen)
    window.showFullScreen();
  else
    window.show();
  // The timers, then the subsystems' start (the shutdown history is opened there, after the
  // timers, as the panel always did).
  window.Start(link ? std::function<void()>([&link] { link->SignalPoll(); })
                    : std::function<void()>());

  if (options.exit_after_first_paint) {
    QObject::connect(&window, &orvandry::shell::MainWindow::Painted, &app, [&] {
      // From main(), and the wall clock, so a caller can count from the exec (the libraries'
      // loading included).
      const auto wall = std::chrono::system_clock::now().time_since_epoch();
      std::printf("first paint after %lld ms\nfirst paint at %lld ns\n",
                  static_cast<long long>(since_start.elapsed()),
                  static_cast<long long>(
                      std::chrono::duration_cast<std::chrono::nanoseconds>(wall).count()));
      std::fflush(stdout);
      // exit(), not quit(): quit() first asks the windows to close, and the display refuses.
      QTimer::singleShot(0, &app, [] { QCoreApplication::exit(0); });
    });
    if (headless) window.grab();  // off-screen windows paint only when asked
  }

  QTimer screenshots;
  if (headless && !options.exit_after_first_paint) {
    const QString png =
        QDir(QString::fromStdString(options.data_dir)).filePath("orvandry-screen.png");
    std::printf("orvandry: no graphical session; the live screen is saved every %d s to %s\n",
                options.screenshot_seconds, png.toLocal8Bit().constData());
    std::fflush(stdout);
    QObject::connect(&screenshots, &QTimer::timeout, &window, [&window, png] {
      // A data folder that cannot be written just goes without the picture.
      if (!window.grab().save(png + ".tmp", "PNG")) return;
      std::error_code ec;
      std::filesystem::rename((png + ".tmp").toStdString(), png.toStdString(), ec);
    });
    screenshots.start(options.screenshot_seconds * 1000);
  }
  if (options.run_seconds > 0)
    QTimer::singleShot(options.run_seconds * 1000, &app, [] { QCoreApplication::exit(0); });

  const int code = QApplication::exec();
  link.reset();              // stop the link thread before the state it uses goes away
  instance.StopListening();  // while the application it listens in still exists
  return code;
}
