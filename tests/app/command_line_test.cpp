// The command lines of both programs as a person types them: the built programs run as child
// processes, and their exit status and what they print are checked.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <string>
#include <vector>

#include "app/options.h"
#include "orvandry/version.h"
#include "warnings/warnings_test_support.h"

namespace {

struct Finished {
  int status = -1;
  std::string out;
  std::string err;
};

// "{tmp}" in an argument stands for `tmp`.
Finished RunProgram(const char* program, const std::vector<std::string>& arguments,
                    const QString& tmp,
                    const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
  QStringList args;
  for (const std::string& argument : arguments)
    args << QString::fromStdString(argument).replace("{tmp}", tmp);
  QProcess process;
  QProcessEnvironment child = env;
  child.insert("XDG_RUNTIME_DIR", tmp);  // the instance lock and socket stay in the test's folder
  child.insert("ORVANDRY_INSTANCE",
               QString("orvandry-cli-test-%1").arg(QCoreApplication::applicationPid()));
  process.setProcessEnvironment(child);
  process.start(program, args);
  if (!process.waitForFinished(20000)) {
    process.kill();
    process.waitForFinished(5000);
    return {};
  }
  Finished finished;
  finished.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  finished.out = process.readAllStandardOutput().toStdString();
  finished.err = process.readAllStandardError().toStdString();
  return finished;
}

struct Case {
  const char* name;
  const char* program;
  std::vector<std::string> arguments;
  int status;
  std::vector<std::string> says;  // on standard error for status 2, on standard output for 0
};

const std::string kDisplayUsage = "usage: orvandry [options]";
const std::string kSimUsage = "usage: orvandry-sim";

const Case kCases[] = {
    {"display: unknown option",
     ORVANDRY_BINARY,
     {"--prot", "/dev/ttyUSB0"},
     2,
     {"Unknown option 'prot'", kDisplayUsage}},
    {"display: stray argument",
     ORVANDRY_BINARY,
     {"/dev/ttyUSB0"},
     2,
     {"unexpected argument '/dev/ttyUSB0'", kDisplayUsage}},
    {"display: missing value",
     ORVANDRY_BINARY,
     {"--port"},
     2,
     {"Missing value after '--port'", kDisplayUsage}},
    {"display: an option where a path belongs",
     ORVANDRY_BINARY,
     {"--usb-dir", "--fullscreen"},
     2,
     {"--usb-dir needs a value", kDisplayUsage}},
    {"display: Qt option missing its value",
     ORVANDRY_BINARY,
     {"-platform"},
     2,
     {"Missing value after '-platform'", kDisplayUsage}},
    {"display: not a number",
     ORVANDRY_BINARY,
     {"--run-seconds", "soon"},
     2,
     {"--run-seconds 'soon': expected a whole number", kDisplayUsage}},
    {"display: number out of range",
     ORVANDRY_BINARY,
     {"--screenshot-every", "0"},
     2,
     {"--screenshot-every '0': expected a whole number of seconds from 1 to 86400"}},
    {"display: unknown view",
     ORVANDRY_BINARY,
     {"--view", "pie"},
     2,
     {"--view 'pie': expected chart, graph or batch", kDisplayUsage}},
    {"display: negative number", ORVANDRY_BINARY, {"--run-seconds=-5"}, 2, {"--run-seconds '-5'"}},
    {"display: data folder is a file",
     ORVANDRY_BINARY,
     {"--data-dir", "{tmp}/file"},
     2,
     {"--data-dir {tmp}/file: exists and is not a folder"}},
    {"display: USB folder is a file",
     ORVANDRY_BINARY,
     {"--usb-dir", "{tmp}/file"},
     2,
     {"--usb-dir {tmp}/file: exists and is not a folder"}},
    {"display: MQTT broker without a port",
     ORVANDRY_BINARY,
     {"--mqtt-broker", "localhost"},
     2,
     {"--mqtt-broker 'localhost': expected HOST:PORT", kDisplayUsage}},
    {"display: MQTT credentials without a broker",
     ORVANDRY_BINARY,
     {"--mqtt-credentials", "{tmp}/file"},
     2,
     {"--mqtt-credentials needs --mqtt-broker"}},
    {"display: MQTT credentials that cannot be read",
     ORVANDRY_BINARY,
     {"--mqtt-broker", "127.0.0.1:1", "--mqtt-credentials", "{tmp}/none"},
     2,
     {"--mqtt-credentials {tmp}/none: cannot read it"}},
    {"display: a dryer name that cannot be a topic level",
     ORVANDRY_BINARY,
     {"--dryer-name", "north/2"},
     2,
     {"--dryer-name 'north/2': 1 to 64 characters"}},
    {"display: remote view without a token",
     ORVANDRY_BINARY,
     {"--remote-listen", "127.0.0.1:8080"},
     2,
     {"--remote-listen needs --remote-token-file", kDisplayUsage}},
    {"display: remote view on a host name",
     ORVANDRY_BINARY,
     {"--remote-listen", "panel.local:8080", "--remote-token-file", "{tmp}/file"},
     2,
     {"--remote-listen 'panel.local:8080': expected an IP address and a port"}},
    {"display: remote port out of range",
     ORVANDRY_BINARY,
     {"--remote-listen", "[::1]:65536", "--remote-token-file", "{tmp}/file"},
     2,
     {"--remote-listen '[::1]:65536'"}},
    {"display: token file alone",
     ORVANDRY_BINARY,
     {"--remote-token-file", "{tmp}/file"},
     2,
     {"--remote-token-file is only used with --remote-listen"}},
    {"display: empty token file",
     ORVANDRY_BINARY,
     {"--remote-listen", "127.0.0.1:8080", "--remote-token-file", "{tmp}/file"},
     2,
     {"--remote-token-file {tmp}/file: is empty"}},
    {"display: missing token file",
     ORVANDRY_BINARY,
     {"--remote-listen", "127.0.0.1:8080", "--remote-token-file", "{tmp}/none"},
     2,
     {"--remote-token-file {tmp}/none: cannot be read"}},
    {"display: version",
     ORVANDRY_BINARY,
     {"--version"},
     0,
     {std::string("orvandry ") + orvandry::kVersion + "\n"}},
    {"sim: unknown option",
     ORVANDRY_SIM_BINARY,
     {"--bogus", "1"},
     2,
     {"unknown option '--bogus'", kSimUsage}},
    {"sim: stray argument",
     ORVANDRY_SIM_BINARY,
     {"/dev/ttyUSB0"},
     2,
     {"unexpected argument '/dev/ttyUSB0'", kSimUsage}},
    {"sim: missing value", ORVANDRY_SIM_BINARY, {"--seed"}, 2, {"--seed needs a value", kSimUsage}},
    {"sim: an option where a path belongs",
     ORVANDRY_SIM_BINARY,
     {"--device", "--seed", "2"},
     2,
     {"--device needs a value"}},
    {"sim: not a number",
     ORVANDRY_SIM_BINARY,
     {"--seed", "many"},
     2,
     {"--seed 'many': expected a whole number", kSimUsage}},
    {"sim: number out of range",
     ORVANDRY_SIM_BINARY,
     {"--seed=4294967296"},
     2,
     {"--seed '4294967296'"}},
    {"sim: unknown view",
     ORVANDRY_SIM_BINARY,
     {"--view=pie"},
     2,
     {"--view 'pie': expected chart, graph or batch", kSimUsage}},
    {"sim: scenario value out of range",
     ORVANDRY_SIM_BINARY,
     {"--refuse", "300"},
     2,
     {"--refuse 300: expected a table offset 0..299"}},
    {"sim: version",
     ORVANDRY_SIM_BINARY,
     {"--version"},
     0,
     {std::string("orvandry-sim ") + orvandry::kVersion + "\n"}},
};

// A refused command line ends the program before it opens, creates or shows anything: the display
// is always given a data folder that must not appear, and neither program may print to standard
// output (the simulator prints its terminal's path there once it has one).
TEST(CommandLine, MistakesAreRefusedWithTheReasonAndVersionIsPrinted) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir tmp;
    ASSERT_TRUE(tmp.isValid());
    QFile file(tmp.filePath("file"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    std::vector<std::string> arguments = c.arguments;
    if (c.program == std::string(ORVANDRY_BINARY))
      arguments.insert(arguments.begin(), {"--data-dir", "{tmp}/data"});

    const Finished run = RunProgram(c.program, arguments, tmp.path());
    EXPECT_EQ(run.status, c.status);
    const std::string& said = c.status == 0 ? run.out : run.err;
    for (std::string expected : c.says) {
      QString with_path = QString::fromStdString(expected).replace("{tmp}", tmp.path());
      EXPECT_NE(said.find(with_path.toStdString()), std::string::npos)
          << "expected \"" << with_path.toStdString() << "\" in:\n"
          << said;
    }
    if (c.status != 0) {
      EXPECT_EQ(run.out, "");
      EXPECT_FALSE(QFileInfo::exists(tmp.filePath("data")));
    }
  }
}

// Every option of the program's own is listed with its default; Qt's and the scenario options
// are named.
TEST(CommandLine, HelpListsEveryOptionWithItsDefault) {
  struct Help {
    const char* program;
    std::vector<std::string> with_default;
    std::vector<std::string> named;
  };
  const Help helps[] = {
      {ORVANDRY_BINARY,
       {"--port", "--simulate", "--data-dir", "--usb-dir", "--fullscreen", "--screenshot-every",
        "--run-seconds", "--exit-after-first-paint", "--dryer-name", "--mqtt-broker",
        "--mqtt-credentials", "--mqtt-cafile", "--remote-listen", "--remote-token-file", "--view"},
       {"--help", "--version", "-platform", "-style", "-qwindowgeometry"}},
      {ORVANDRY_SIM_BINARY,
       {"--device", "--seed", "--view"},
       {"--help", "--version", "--warning", "--clear-warning", "--silence", "--bad-crc", "--short",
        "--long", "--refuse"}},
  };
  QTemporaryDir tmp;
  for (const Help& help : helps) {
    SCOPED_TRACE(help.program);
    const Finished run = RunProgram(help.program, {"--help"}, tmp.path());
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    for (const std::string& option : help.named)
      EXPECT_NE(run.out.find(" " + option + " "), std::string::npos) << option << " in:\n"
                                                                     << run.out;
    for (const std::string& option : help.with_default) {
      const std::size_t at = run.out.find("  " + option + " ");
      ASSERT_NE(at, std::string::npos) << option << " in:\n" << run.out;
      // The option's entry runs to the next line that starts another option.
      const std::string entry = run.out.substr(at, run.out.find("\n  -", at) - at);
      EXPECT_NE(entry.find("default"), std::string::npos) << entry;
    }
  }
}

// Qt's own options reach QApplication: with an unusable platform in the environment, the display
// paints only if -platform on the command line got through. The same start shows what the folder
// and port checks do with a start that goes ahead.
TEST(CommandLine, QtOptionsPassThroughAndTheStartGoesAhead) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "no-such-platform");
  env.remove("DISPLAY");
  env.remove("WAYLAND_DISPLAY");

  const Finished run =
      RunProgram(ORVANDRY_BINARY,
                 {"--exit-after-first-paint", "-platform", "offscreen", "-style", "fusion",
                  "-reverse", "--qwindowgeometry", "640x480+0+0", "--data-dir", "{tmp}/new/data",
                  "--usb-dir", "{tmp}/usb", "--port", "{tmp}/no-such-port"},
                 tmp.path(), env);
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_NE(run.out.find("first paint after"), std::string::npos) << run.out;
  EXPECT_NE(run.err.find("--port " + tmp.filePath("no-such-port").toStdString() +
                         ": no such device; running without a link"),
            std::string::npos)
      << run.err;
  EXPECT_TRUE(QFileInfo(tmp.filePath("new/data")).isDir()) << "a missing data folder is made";
  EXPECT_FALSE(QFileInfo::exists(tmp.filePath("usb"))) << "a missing card folder means no card";
}

// A data folder the display may not write (a card the kernel made read-only) still starts the
// display, with a warning: the dryer must be shown and the stored history rescued. A folder that
// cannot even be entered is refused.
TEST(DataFolder, ADataFolderThatCannotBeWrittenStartsWithAWarning) {
  orvandry::warnings::testing::TempDir tmp;
  const std::filesystem::path data = tmp.path() / "data";
  std::filesystem::create_directory(data);
  std::filesystem::permissions(tmp.path(), std::filesystem::perms(0755));
  const struct {
    std::filesystem::perms mode;
    const char* refused;  // what the refusal says, or nullptr
    const char* warned;   // what the warning says, or nullptr
  } cases[] = {
      {std::filesystem::perms(0555), nullptr, "cannot write there"},
      {std::filesystem::perms(0600), "cannot enter it", nullptr},
      {std::filesystem::perms(0777), nullptr, nullptr},
  };
  for (const auto& c : cases) {
    std::filesystem::permissions(data, c.mode);
    const std::string problems = orvandry::warnings::testing::RunUnprivileged([&]() -> std::string {
      orvandry::app::DisplayOptions options;
      options.data_dir = data.string();
      options.usb_dir = (tmp.path() / "usb").string();
      std::string warning;
      const auto refused = orvandry::app::PrepareFolders(options, &warning);
      std::string out;
      if (refused.has_value() != (c.refused != nullptr) ||
          (refused && refused->find(c.refused) == std::string::npos))
        out += "refused: " + refused.value_or("no") + "; ";
      if (warning.empty() != (c.warned == nullptr) ||
          (c.warned != nullptr && warning.find(c.warned) == std::string::npos))
        out += "warned: " + warning + "; ";
      return out;
    });
    EXPECT_EQ(problems, "") << static_cast<int>(c.mode);
  }
  std::filesystem::permissions(data, std::filesystem::perms(0755));
}

}  // namespace
