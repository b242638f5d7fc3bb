#include "app/options.h"

#include <unistd.h>

#include <QCommandLineParser>
#include <QHostAddress>
#include <QStandardPaths>
#include <charconv>
#include <cstring>
#include <filesystem>

#include "orvandry/version.h"
#include "platform/paths.h"

namespace orvandry::app {

namespace {

namespace fs = std::filesystem;

struct OwnOption {
  const char* name;
  const char* value_name;  // null for a switch
  const char* description;
  const char* default_text;
};

constexpr OwnOption kOwnOptions[] = {
    {"port", "DEVICE", "serial port wired to the dryer controller", kDefaultPort},
    {"simulate", nullptr, "use the built-in simulated dryer, not --port", "off"},
    {"data-dir", "DIR", "internal disk for logs and help; made if missing", nullptr},
    {"usb-dir", "DIR", "USB card folder; the card is in when it exists",
     platform::Paths::kDefaultUsbDir},
    {"fullscreen", nullptr, "fill the screen (a real panel)", "off: a window"},
    {"screenshot-every", "SECONDS", "off-screen, save the screen this often (1..86400)", "3"},
    {"run-seconds", "SECONDS", "quit after this long (0..2147483)", "0: run until closed"},
    {"exit-after-first-paint", nullptr, "print the start-up time and quit", "off"},
    {"dryer-name", "NAME", "this dryer's name in the MQTT topics", "the host name"},
    {"mqtt-broker", "HOST:PORT", "publish shutdowns and the status to this MQTT broker", "off"},
    {"mqtt-credentials", "FILE", "MQTT user name (line 1) and password (line 2)", "none"},
    {"mqtt-cafile", "FILE", "connect to the MQTT broker with TLS, trusting this CA", "no TLS"},
    {"remote-listen", "ADDR:PORT", "serve the live remote view here (needs a token file)",
     "off: no port is opened"},
    {"remote-token-file", "FILE", "the remote view's access token, on its first line", "none"},
    {"view", "NAME", "with --simulate, start the dryer in view chart, graph or batch",
     "the dryer's own"},
};

// The options QGuiApplication, QApplication and the X11 platform read from the command line.
// They are written with one dash, as Qt documents them; two dashes work as well.
struct QtOption {
  const char* name;
  const char* value_name;  // null for a switch
};

constexpr QtOption kQtOptions[] = {
    {"platform", "NAME[:OPTIONS]"},
    {"platformpluginpath", "DIR"},
    {"platformtheme", "NAME"},
    {"plugin", "NAME"},
    {"qwindowgeometry", "GEOMETRY"},
    {"qwindowicon", "ICON"},
    {"qwindowtitle", "TITLE"},
    {"geometry", "GEOMETRY"},
    {"title", "TITLE"},
    {"icon", "ICON"},
    {"display", "HOST:SCREEN"},
    {"name", "NAME"},
    {"visual", "ID"},
    {"session", "ID"},
    {"style", "NAME"},
    {"stylesheet", "FILE"},
    {"qmljsdebugger", "SETTINGS"},
    {"reverse", nullptr},
    {"widgetcount", nullptr},
    {"testability", nullptr},
    {"nograb", nullptr},
    {"dograb", nullptr},
    {"sync", nullptr},
};

CommandLineExit Mistake(const QString& what) {
  return {2, "orvandry: " + what.toStdString() + "\n\n" + DisplayHelp()};
}

// A whole number in [min, max], digits only.
bool ParseNumber(const QString& text, int min, int max, int* out) {
  const std::string digits = text.toStdString();
  long long value = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
  if (digits.empty() || ec != std::errc() || end != digits.data() + digits.size() || value < min ||
      value > max)
    return false;
  *out = static_cast<int>(value);
  return true;
}

// Qt's options as a paragraph, wrapped for a terminal.
std::string QtOptionsParagraph() {
  std::string text;
  std::string line = " ";
  for (const QtOption& option : kQtOptions) {
    // Appended piece by piece: GCC 12 at -O3 takes `std::string + const char*` here for an
    // overlapping copy (-Werror=restrict), which stopped the release build.
    std::string item = " -";
    item += option.name;
    if (option.value_name != nullptr) {
      item += ' ';
      item += option.value_name;
    }
    if (line.size() + item.size() > 78) {
      text += line;
      text += '\n';
      line.assign(1, ' ');
    }
    line += item;
  }
  text += line;
  text += '\n';
  return text;
}

// "127.0.0.1:8080", "0.0.0.0:8080" or "[::1]:8080": an IP address (no host name, so nothing is
// looked up) and a port from 1 to 65535.
bool ParseListenAddress(const QString& text, std::string* address, int* port) {
  const qsizetype colon = text.lastIndexOf(':');
  if (colon <= 0) return false;
  QString host = text.left(colon);
  if (host.startsWith('[') && host.endsWith(']'))
    host = host.mid(1, host.size() - 2);
  else if (host.contains(':'))
    return false;  // an IPv6 address needs its brackets
  QHostAddress parsed;
  if (!parsed.setAddress(host) || !parsed.scopeId().isEmpty()) return false;
  if (!ParseNumber(text.mid(colon + 1), 1, 65535, port)) return false;
  *address = host.toStdString();
  return true;
}

}  // namespace

std::string DefaultDataDir() {
  return QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation).toStdString();
}

std::string DisplayHelp() {
  std::string text = "usage: orvandry [options] [Qt options]\n\nOptions:\n";
  for (const OwnOption& option : kOwnOptions) {
    std::string left = std::string("  --") + option.name;
    if (option.value_name != nullptr) left += std::string(" ") + option.value_name;
    left.resize(std::max<std::size_t>(left.size() + 2, 30), ' ');
    // Only the data folder has no fixed default: it is the platform's, shown as resolved here.
    std::string default_text =
        option.default_text != nullptr ? option.default_text : DefaultDataDir();
    if (default_text.empty()) default_text = "the platform's application data folder";
    text += left + option.description + "\n" + std::string(30, ' ') + "(default " + default_text +
            ")\n";
  }
  text +=
      "  -h, --help                  this text\n"
      "  -v, --version               the program's version\n"
      "\n"
      "Qt options, handed on to Qt (one dash or two):\n" +
      QtOptionsParagraph() +
      "\n"
      "Without a graphical session the display runs off-screen and saves its screen\n"
      "as a PNG in the data folder. A --port that does not exist is reported, and the\n"
      "display runs without a link. A command-line mistake ends it with status 2.\n";
  return text;
}

std::variant<DisplayOptions, CommandLineExit> ParseDisplayOptions(const QStringList& arguments) {
  QCommandLineParser parser;
  // Qt's options are single-dash words (-platform); without this they would read as -p -l -a ...
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  for (const OwnOption& option : kOwnOptions) {
    parser.addOption(option.value_name != nullptr
                         ? QCommandLineOption(option.name, option.description, option.value_name)
                         : QCommandLineOption(option.name, option.description));
  }
  parser.addOption(QCommandLineOption({"h", "help"}, "this text"));
  parser.addOption(QCommandLineOption({"v", "version"}, "the program's version"));
  for (const QtOption& option : kQtOptions) {
    parser.addOption(option.value_name != nullptr
                         ? QCommandLineOption(option.name, "Qt", option.value_name)
                         : QCommandLineOption(option.name, "Qt"));
  }

  if (!parser.parse(arguments)) return Mistake(parser.errorText());
  if (parser.isSet("help")) return CommandLineExit{0, DisplayHelp()};
  if (parser.isSet("version"))
    return CommandLineExit{0, std::string("orvandry ") + kVersion + "\n"};
  if (!parser.positionalArguments().isEmpty())
    return Mistake(QString("unexpected argument '%1'").arg(parser.positionalArguments().first()));

  DisplayOptions options;
  // A path that starts with '-' is the next option: the path itself was left out.
  std::string broker;
  std::string cafile;
  for (const auto& [name, into] :
       {std::pair{"port", &options.port}, std::pair{"data-dir", &options.data_dir},
        std::pair{"usb-dir", &options.usb_dir}, std::pair{"dryer-name", &options.dryer_name},
        std::pair{"mqtt-broker", &broker},
        std::pair{"mqtt-credentials", &options.mqtt_credentials_file},
        std::pair{"mqtt-cafile", &cafile}}) {
    if (!parser.isSet(name)) continue;
    const QString value = parser.value(name);
    if (value.isEmpty() || value.startsWith('-'))
      return Mistake(QString("--%1 needs a value").arg(name));
    *into = value.toStdString();
  }
  if (parser.isSet("dryer-name") && !alerts::ValidDryerName(options.dryer_name))
    return Mistake(QString("--dryer-name '%1': 1 to 64 characters, without spaces, '/', '+' or '#'")
                       .arg(parser.value("dryer-name")));
  if (!broker.empty()) {
    const auto address = alerts::ParseBrokerAddress(broker);
    if (!address)
      return Mistake(QString("--mqtt-broker '%1': expected HOST:PORT with a port from 1 to 65535")
                         .arg(parser.value("mqtt-broker")));
    options.mqtt.emplace();
    options.mqtt->host = address->host;
    options.mqtt->port = address->port;
    options.mqtt->cafile = cafile;
  } else {
    for (const char* name : {"mqtt-credentials", "mqtt-cafile"})
      if (parser.isSet(name)) return Mistake(QString("--%1 needs --mqtt-broker").arg(name));
  }
  options.simulate = parser.isSet("simulate");
  options.fullscreen = parser.isSet("fullscreen");
  options.exit_after_first_paint = parser.isSet("exit-after-first-paint");
  if (parser.isSet("run-seconds") &&
      !ParseNumber(parser.value("run-seconds"), 0, kMaxRunSeconds, &options.run_seconds))
    return Mistake(QString("--run-seconds '%1': expected a whole number of seconds from 0 to %2")
                       .arg(parser.value("run-seconds"))
                       .arg(kMaxRunSeconds));
  if (parser.isSet("screenshot-every") &&
      !ParseNumber(parser.value("screenshot-every"), 1, kMaxScreenshotSeconds,
                   &options.screenshot_seconds))
    return Mistake(
        QString("--screenshot-every '%1': expected a whole number of seconds from 1 to %2")
            .arg(parser.value("screenshot-every"))
            .arg(kMaxScreenshotSeconds));

  if (parser.isSet("remote-listen") &&
      !ParseListenAddress(parser.value("remote-listen"), &options.remote_address,
                          &options.remote_port))
    return Mistake(QString("--remote-listen '%1': expected an IP address and a port, as "
                           "127.0.0.1:8080 or [::1]:8080")
                       .arg(parser.value("remote-listen")));
  if (parser.isSet("remote-token-file")) {
    const QString value = parser.value("remote-token-file");
    if (value.isEmpty() || value.startsWith('-'))
      return Mistake("--remote-token-file needs a value");
    options.remote_token_file = value.toStdString();
  }
  if (options.remote_port != 0 && options.remote_token_file.empty())
    return Mistake(
        "--remote-listen needs --remote-token-file: the remote view is never open "
        "without a token");
  if (options.remote_port == 0 && !options.remote_token_file.empty())
    return Mistake("--remote-token-file is only used with --remote-listen");
  if (parser.isSet("view")) {
    const QString view = parser.value("view");
    if (view == "chart")
      options.view = sim::StartView::kChart;
    else if (view == "graph")
      options.view = sim::StartView::kGraph;
    else if (view == "batch")
      options.view = sim::StartView::kBatch;
    else
      return Mistake(QString("--view '%1': expected chart, graph or batch").arg(view));
  }

  options.qt_arguments = QStringList{arguments.value(0, "orvandry")};
  for (const QtOption& option : kQtOptions) {
    const QString dashed = QString("-") + option.name;
    if (option.value_name == nullptr) {
      if (parser.isSet(option.name)) options.qt_arguments << dashed;
      continue;
    }
    for (const QString& value : parser.values(option.name)) {
      // Qt reads the QML debugger's settings only when they are joined to the option.
      if (std::strcmp(option.name, "qmljsdebugger") == 0)
        options.qt_arguments << dashed + "=" + value;
      else
        options.qt_arguments << dashed << value;
    }
  }
  options.platform_chosen = parser.isSet("platform");
  return options;
}

std::optional<std::string> PrepareFolders(DisplayOptions& options, std::string* warning) {
  std::error_code ec;
  // Everything is checked before anything is made, so a refused start leaves no trace.
  // A missing card folder only means the card is out, so it is neither refused nor made here.
  const fs::path usb = options.usb_dir;
  if (fs::exists(usb, ec) && !fs::is_directory(usb, ec))
    return "--usb-dir " + options.usb_dir + ": exists and is not a folder";

  if (options.data_dir.empty()) options.data_dir = DefaultDataDir();
  if (options.data_dir.empty()) return "no --data-dir given and no application data folder known";
  const fs::path data = options.data_dir;
  if (fs::exists(data, ec) && !fs::is_directory(data, ec))
    return "--data-dir " + options.data_dir + ": exists and is not a folder";
  if (!fs::is_directory(data, ec)) {
    fs::create_directories(data, ec);
    if (ec) return "--data-dir " + options.data_dir + ": cannot create it: " + ec.message();
  }
  if (access(data.c_str(), X_OK) != 0)
    return "--data-dir " + options.data_dir + ": cannot enter it: " + std::strerror(errno);
  if (access(data.c_str(), W_OK) != 0 && warning != nullptr)
    *warning = "--data-dir " + options.data_dir + ": cannot write there: " + std::strerror(errno) +
               "; starting anyway, but logs and new shutdowns will not be stored";
  return std::nullopt;
}

std::optional<std::string> PrepareMqtt(DisplayOptions& options) {
  if (options.dryer_name.empty()) options.dryer_name = alerts::DefaultDryerName();
  if (!options.mqtt) return std::nullopt;
  options.mqtt->dryer_name = options.dryer_name;
  if (!options.mqtt_credentials_file.empty()) {
    if (auto refused = alerts::ReadCredentials(options.mqtt_credentials_file,
                                               &options.mqtt->username, &options.mqtt->password))
      return "--mqtt-credentials " + *refused;
  }
  if (!options.mqtt->cafile.empty() && access(options.mqtt->cafile.c_str(), R_OK) != 0)
    return "--mqtt-cafile " + options.mqtt->cafile + ": cannot read it: " + std::strerror(errno);
  return std::nullopt;
}

std::string PortProblem(const DisplayOptions& options) {
  if (options.simulate) return {};
  std::error_code ec;
  if (fs::exists(options.port, ec)) return {};
  const std::string what =
      !ec || ec == std::errc::no_such_file_or_directory ? "no such device" : ec.message();
  return "--port " + options.port + ": " + what + "; running without a link to the dryer";
}

}  // namespace orvandry::app
