// orvandry [--port DEVICE] [--simulate] [--data-dir DIR] [--usb-dir DIR] [--fullscreen] [Qt
// options]
//
// The operator display of the grain dryer. Start-up order: single-instance check, main window and
// settings, child windows and the view rule, serial link, the three timers, the shutdown history,
// then the event loop.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "app/display.h"
#include "app/single_instance.h"
#include "link/link_shared.h"
#include "link/link_thread.h"
#include "link/termios_serial_port.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/qt_prompter.h"
#include "platform/qt_settings_store.h"
#include "shell/main_window.h"
#include "shell/settings.h"
#include "sim/in_process_dryer.h"

namespace {

struct Options {
  std::string port = "/dev/ttyS0";
  bool simulate = false;
  std::string data_dir;
  std::string usb_dir = orvandry::platform::Paths::kDefaultUsbDir;
  bool fullscreen = false;
  bool headless = false;           // no graphical session: draw off-screen and save PNGs
  int exit_after_first_paint = 0;  // for the start-up measurement
  int run_seconds = 0;             // quit after this long (measurements); 0 = run for ever
  int screenshot_seconds = 3;
};

void Usage() {
  std::puts(
      "usage: orvandry [--port DEVICE] [--simulate] [--data-dir DIR] [--usb-dir DIR]\n"
      "                [--fullscreen] [--screenshot-every SECONDS] [Qt options]\n"
      "  --port DEVICE       serial port of the dryer controller (default /dev/ttyS0)\n"
      "  --simulate          run against the built-in simulated dryer\n"
      "  --data-dir DIR      internal disk: logs, shutdown history, help files\n"
      "  --usb-dir DIR       USB flash card folder (default /media/usb)\n"
      "  --fullscreen        fill the screen (a real panel)\n"
      "Without a graphical session the display runs off-screen and saves its screen as a PNG.");
}

// Takes our own options out of argv, leaving Qt's for QApplication.
bool ParseOptions(int& argc, char** argv, Options& o) {
  int out = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 >= argc) return false;
      into = argv[++i];
      return true;
    };
    std::string number;
    if (a == "--port") {
      if (!value(o.port)) return false;
    } else if (a == "--simulate") {
      o.simulate = true;
    } else if (a == "--data-dir") {
      if (!value(o.data_dir)) return false;
    } else if (a == "--usb-dir") {
      if (!value(o.usb_dir)) return false;
    } else if (a == "--fullscreen") {
      o.fullscreen = true;
    } else if (a == "--exit-after-first-paint") {
      o.exit_after_first_paint = 1;
    } else if (a == "--run-seconds") {
      if (!value(number)) return false;
      o.run_seconds = std::atoi(number.c_str());
    } else if (a == "--screenshot-every") {
      if (!value(number)) return false;
      o.screenshot_seconds = std::max(1, std::atoi(number.c_str()));
    } else if (a == "--help" || a == "-h") {
      Usage();
      std::exit(0);
    } else {
      argv[out++] = argv[i];
    }
  }
  argc = out;
  return true;
}

bool HasGraphicalSession(int argc, char** argv) {
  if (std::getenv("QT_QPA_PLATFORM") != nullptr) return true;  // the user chose
  for (int i = 1; i < argc; ++i)
    if (std::strcmp(argv[i], "-platform") == 0) return true;
  return std::getenv("DISPLAY") != nullptr || std::getenv("WAYLAND_DISPLAY") != nullptr;
}

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
  Options options;
  if (!ParseOptions(argc, argv, options)) {
    Usage();
    return 2;
  }
  if (!HasGraphicalSession(argc, argv)) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    options.headless = true;
  }
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Kelvra");
  QApplication::setApplicationName("Orvandry");

  orvandry::app::SingleInstance instance(orvandry::app::SingleInstance::DefaultName());
  if (instance.AskRunningInstanceToRaise()) return 0;

  if (options.data_dir.empty())
    options.data_dir =
        QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation).toStdString();
  std::error_code ec;
  std::filesystem::create_directories(options.data_dir, ec);
  const orvandry::platform::Paths paths(options.data_dir, options.usb_dir);

  orvandry::link::LinkShared shared;
  orvandry::platform::QtSettingsStore store;
  orvandry::shell::Settings settings = orvandry::shell::LoadSettings(store);
  orvandry::platform::SystemClock clock;
  orvandry::platform::QtPrompter prompter;

  orvandry::app::Display display(shared, settings, prompter, store, clock, paths);
  orvandry::shell::MainWindow& window = display.window();
  window.SetManualsFolder(QString::fromStdString(paths.ManualsDir().string()));
  instance.Listen([&window] {
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
    simulated = orvandry::sim::StartInProcessDryer(&error);
    if (simulated)
      device = simulated->slave_path();
    else
      std::fprintf(stderr, "orvandry: cannot start the simulated dryer: %s\n", error.c_str());
  }
  LinkListener listener(window);
  std::unique_ptr<orvandry::link::DryerLink> link =
      orvandry::link::DryerLink::Open(shared, &listener, device, &error);
  if (!link) std::fprintf(stderr, "orvandry: no link to the dryer: %s\n", error.c_str());
  if (options.fullscreen)
    window.showFullScreen();
  else
    window.show();
  // The timers, then the subsystems' start (the shutdown history is opened there, after the
  // timers, as the panel always did).
  window.Start(link ? std::function<void()>([&link] { link->SignalPoll(); })
                    : std::function<void()>());

  if (options.exit_after_first_paint != 0) {
    QObject::connect(&window, &orvandry::shell::MainWindow::Painted, &app, [&] {
      std::printf("first paint after %lld ms\n", static_cast<long long>(since_start.elapsed()));
      std::fflush(stdout);
      QTimer::singleShot(0, &app, &QApplication::quit);
    });
    if (options.headless) window.grab();  // off-screen windows paint only when asked
  }

  QTimer screenshots;
  if (options.headless && options.exit_after_first_paint == 0) {
    const QString png =
        QDir(QString::fromStdString(options.data_dir)).filePath("orvandry-screen.png");
    std::printf("orvandry: no graphical session; the live screen is saved every %d s to %s\n",
                options.screenshot_seconds, png.toLocal8Bit().constData());
    std::fflush(stdout);
    QObject::connect(&screenshots, &QTimer::timeout, &window, [&window, png] {
      window.grab().save(png + ".tmp", "PNG");
      std::filesystem::rename((png + ".tmp").toStdString(), png.toStdString());
    });
    screenshots.start(options.screenshot_seconds * 1000);
  }
  if (options.run_seconds > 0)
    QTimer::singleShot(options.run_seconds * 1000, &app, &QApplication::quit);

  const int code = QApplication::exec();
  link.reset();  // stop the link thread before the state it uses goes away
  return code;
}
