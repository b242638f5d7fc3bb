#pragma once

#include <QStringList>
#include <optional>
#include <string>
#include <variant>

#include "alerts/mqtt_config.h"
#include "platform/paths.h"
#include "sim/sim_controller.h"

namespace orvandry::app {

inline constexpr char kDefaultPort[] = "/dev/ttyS0";
inline constexpr int kDefaultScreenshotSeconds = 3;
inline constexpr int kMaxScreenshotSeconds = 24 * 60 * 60;
inline constexpr int kMaxRunSeconds = 2147483;  // the longest a Qt timer can wait, in seconds

// What the display was asked to do by its command line.
struct DisplayOptions {
  std::string port = kDefaultPort;
  bool simulate = false;
  std::string data_dir;  // empty: the platform's application data folder
  std::string usb_dir = platform::Paths::kDefaultUsbDir;
  bool fullscreen = false;
  bool exit_after_first_paint = false;  // for the start-up measurement
  int run_seconds = 0;                  // quit after this long (measurements); 0 = run for ever
  int screenshot_seconds = kDefaultScreenshotSeconds;
  // With --simulate: the view the simulated dryer starts in (for measurements); kUnchanged leaves
  // the dryer's own.
  sim::StartView view = sim::StartView::kUnchanged;
  // Qt's own options, for QApplication: the program name first, then each option as Qt reads it.
  QStringList qt_arguments;
  bool platform_chosen = false;  // -platform was given
  // The name of this dryer where several share a broker; empty: the host name.
  std::string dryer_name;
  // Shutdown alerts and the status over MQTT: off unless --mqtt-broker is given. The credentials
  // file's path waits in mqtt_credentials_file until PrepareMqtt reads it.
  std::optional<alerts::MqttConfig> mqtt;
  std::string mqtt_credentials_file;
  // The live remote view: off unless an address to listen on is given, and then only with a
  // token file (read at start-up, not here).
  std::string remote_address;  // an IP address, without brackets for IPv6
  int remote_port = 0;         // 0: no remote view
  std::string remote_token_file;
};

// The command line ends the program before anything is started: `text` goes to standard output
// with status 0 (--help, --version) or to standard error with status 2 (a mistake, with the usage).
struct CommandLineExit {
  int status = 0;
  std::string text;
};

// Reads the whole command line (program name first). Touches nothing: no file, port or window.
// Qt's options (-platform NAME, -style NAME, ...) are recognised and handed on in qt_arguments;
// anything neither we nor Qt know is a mistake.
std::variant<DisplayOptions, CommandLineExit> ParseDisplayOptions(const QStringList& arguments);

std::string DisplayHelp();

// The data folder used without --data-dir. QCoreApplication's organisation and application names
// must be set first.
std::string DefaultDataDir();

// Makes sure the folders can serve: fills in the default data folder, creates it when missing and
// refuses one that is not a folder; the USB folder may be missing (the card is out) but must be a
// folder when it exists. Returns the reason for refusing. A data folder that exists but cannot be
// written (a failing card the kernel made read-only) is not refused: the display still shows the
// dryer and can still list and export the stored history; `warning` then says why nothing new
// will be kept.
std::optional<std::string> PrepareFolders(DisplayOptions& options, std::string* warning = nullptr);

// Reads the MQTT credentials file and checks the CA file can be read, filling in the dryer name
// (the host name when none was given). Returns the reason for refusing.
std::optional<std::string> PrepareMqtt(DisplayOptions& options);

// Empty when the serial port exists (or the simulated dryer is used); otherwise what to say.
std::string PortProblem(const DisplayOptions& options);

}  // namespace orvandry::app
