// A real headless Chromium loads the remote page against the display running on the simulated
// dryer, and watches the screen follow the dryer.
#include <gtest/gtest.h>

#include <QJsonObject>
#include <QJsonValue>
#include <QStandardPaths>

#include "headless_chromium.h"
#include "live_display.h"
#include "warnings/warning_code.h"
#include "warnings/warning_text_table.h"

namespace orvandry::remote {
namespace {

constexpr std::uint16_t kWarning = 0x0205;
constexpr double kWarningAt = 9.0;  // s on the simulated dryer's clock: after the page is up

QString Text(HeadlessChromium& browser, const QString& expression) {
  return browser.Evaluate(expression).toString();
}

TEST(RemoteBrowser, ChromiumSeesTheLiveScreenFollowTheDryerAndNothingWithoutTheToken) {
  ASSERT_FALSE(QStandardPaths::findExecutable("chromium").isEmpty())
      << "chromium is missing: scripts/install-deps installs it";
  LiveDisplay live(sim::Scenario().RaiseWarning(kWarningAt, kWarning));
  ASSERT_TRUE(RunUntil([&] { return live.shared().first_frame_accepted.load(); }, 8000));
  const QString base = QString("http://127.0.0.1:%1/").arg(live.port());

  HeadlessChromium browser;
  QString error;
  ASSERT_TRUE(browser.Open(base + "?token=" + kTestToken, 10000, &error)) << error.toStdString();
  const QString received = "document.getElementById('received').dataset.";
  ASSERT_TRUE(RunUntil([&] { return Text(browser, received + "frames").toInt() > 0; }, 8000))
      << "no picture of the screen reached the page";
  EXPECT_EQ(Text(browser, received + "warnings"), "") << "the warning came before the page";
  EXPECT_EQ(Text(browser, "document.getElementById('link').textContent"), "connected");
  // The token has left the address and is out of the scripts' reach.
  EXPECT_EQ(Text(browser, "location.href"), base);
  EXPECT_FALSE(Text(browser, "document.cookie").contains(kTestToken));

  // The dryer shuts down: the page shows the warning, and the picture changes with the screen.
  const QString text = QString::fromLatin1(warnings::WarningText(kWarning));
  ASSERT_FALSE(text.isEmpty());
  const int frames_before = Text(browser, received + "frames").toInt();
  EXPECT_TRUE(RunUntil([&] { return Text(browser, received + "warnings").contains(text); }, 15000))
      << Text(browser, received + "warnings").toStdString();
  EXPECT_TRUE(
      RunUntil([&] { return Text(browser, received + "frames").toInt() > frames_before; }, 5000));
  EXPECT_EQ(Text(browser, "document.getElementById('warning-text').textContent"), text);
  EXPECT_FALSE(Text(browser, "document.getElementById('warning').hidden ? 'hidden' : ''")
                   .contains("hidden"));
  if (const QByteArray dir = qgetenv("ORVANDRY_SCREENSHOT_DIR"); !dir.isEmpty()) {
    browser.Call(
        "Emulation.setDeviceMetricsOverride",
        QJsonObject{{"width", 1000}, {"height", 800}, {"deviceScaleFactor", 1}, {"mobile", false}});
    RunFor(1500);  // the next pictures are painted at the new size
    EXPECT_TRUE(browser.Screenshot(QString::fromUtf8(dir) + "/remote_page.png"));
  }
  const QStringList sizes = Text(browser, received + "sizes").split(',');
  EXPECT_GE(QSet<QString>(sizes.begin(), sizes.end()).size(), 2) << sizes.join(',').toStdString();

  // Without the token the page is refused.
  HeadlessChromium stranger;
  ASSERT_TRUE(stranger.Open(base, 10000, &error)) << error.toStdString();
  QJsonValue status;
  RunUntil(
      [&] {
        status = stranger.Evaluate(
            "performance.getEntriesByType('navigation').length ? "
            "performance.getEntriesByType('navigation')[0].responseStatus : 0");
        return status.toInt() != 0;
      },
      5000);
  EXPECT_EQ(status.toInt(), 401);
  EXPECT_EQ(Text(stranger, "document.getElementById('received') ? 'the page' : 'nothing'"),
            "nothing");
}

}  // namespace
}  // namespace orvandry::remote
