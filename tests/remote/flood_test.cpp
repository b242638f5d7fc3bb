// Requests with path tricks, oversized heads and a flood of connections against the running
// display: the server refuses them and the link to the dryer keeps its cycle. The cycle is
// measured from the times the link thread takes frames in, before and during the flood.
#include <gtest/gtest.h>

#include <QNetworkRequest>
#include <QWebSocket>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <numeric>
#include <thread>

#include "live_display.h"
#include "raw_http.h"

namespace orvandry::remote {
namespace {

using Clock = std::chrono::steady_clock;
constexpr double kCycleMs = 350;

struct Gaps {
  double mean_ms = 0;
  double max_ms = 0;
  std::size_t count = 0;
};

Gaps GapsBetween(const std::vector<Clock::time_point>& times, Clock::time_point from,
                 Clock::time_point to) {
  std::vector<double> gaps;
  for (std::size_t i = 1; i < times.size(); ++i)
    if (times[i - 1] >= from && times[i] <= to)
      gaps.push_back(std::chrono::duration<double, std::milli>(times[i] - times[i - 1]).count());
  Gaps out;
  out.count = gaps.size();
  if (gaps.empty()) return out;
  out.mean_ms = std::accumulate(gaps.begin(), gaps.end(), 0.0) / static_cast<double>(gaps.size());
  out.max_ms = *std::max_element(gaps.begin(), gaps.end());
  return out;
}

TEST(RemoteFlood, RefusedFloodLeavesTheLinkOnItsCycleAndTheViewerWatching) {
  LiveDisplay live;
  ASSERT_TRUE(RunUntil([&] { return live.shared().first_frame_accepted.load(); }, 8000));
  const unsigned short port = live.port();

  QWebSocket viewer;
  int pictures = 0;
  QObject::connect(&viewer, &QWebSocket::binaryMessageReceived, [&] { ++pictures; });
  QNetworkRequest request(QUrl(QString("ws://127.0.0.1:%1/live").arg(port)));
  request.setRawHeader("Authorization", QByteArray("Bearer ") + kTestToken);
  viewer.open(request);
  ASSERT_TRUE(RunUntil([&] { return pictures > 0; }, 5000));

  const auto quiet_from = Clock::now();
  RunFor(3500);
  const auto flood_from = Clock::now();
  const int pictures_before = pictures;

  std::atomic<int> connections{0}, answered{0};
  std::thread flood([&] {
    const std::string auth = std::string("Authorization: Bearer ") + kTestToken + "\r\n";
    const std::string tricks[] = {
        "GET /../../../etc/passwd HTTP/1.1\r\n" + auth + "\r\n",
        "GET /api/csv/..%2f..%2f..%2fetc%2fshadow HTTP/1.1\r\n" + auth + "\r\n",
        "GET /api/status HTTP/1.1\r\n\r\n",
        "GET /api/status HTTP/1.1\r\n" + auth + "X-Fill: " + std::string(32 * 1024, 'x') +
            "\r\n\r\n",
    };
    std::vector<int> idle;
    const auto until = Clock::now() + std::chrono::milliseconds(5000);
    for (int i = 0; Clock::now() < until && i < 3000; ++i) {
      ++connections;
      if (i % 5 == 4) {  // connects and says nothing, holding its place
        const int fd = ConnectLoopback(port);
        if (fd >= 0) idle.push_back(fd);
        if (idle.size() > 40) {
          ::close(idle.front());
          idle.erase(idle.begin());
        }
        continue;
      }
      if (StatusOf(Exchange(port, tricks[i % 5], 300)) != 0) ++answered;
    }
    for (const int fd : idle) ::close(fd);
  });
  RunFor(5500);
  flood.join();
  const auto flood_to = Clock::now();

  const auto times = live.listener().times();
  const Gaps quiet = GapsBetween(times, quiet_from, flood_from);
  const Gaps flooded = GapsBetween(times, flood_from, flood_to);
  std::printf("link cycle quiet: mean %.1f ms, max %.1f ms over %zu frames\n", quiet.mean_ms,
              quiet.max_ms, quiet.count);
  std::printf(
      "link cycle during the flood of %d connections: mean %.1f ms, max %.1f ms over %zu "
      "frames; %d pictures sent to the viewer meanwhile\n",
      connections.load(), flooded.mean_ms, flooded.max_ms, flooded.count,
      pictures - pictures_before);
  ::testing::Test::RecordProperty("cycle_quiet_mean_ms", static_cast<int>(quiet.mean_ms));
  ::testing::Test::RecordProperty("cycle_flood_mean_ms", static_cast<int>(flooded.mean_ms));
  ::testing::Test::RecordProperty("cycle_flood_max_ms", static_cast<int>(flooded.max_ms));

  EXPECT_GT(connections.load(), 100) << "the flood was no flood";
  EXPECT_GE(flooded.count, 12U);
  // Loose bounds that only a link thread held up by the serving would break (frames lost for
  // seconds); a busy machine running other suites and builds beside this one, or a sanitizer
  // build, keeps inside them. The figures themselves are printed above: they are the measurement.
  EXPECT_NEAR(flooded.mean_ms, kCycleMs, 0.3 * kCycleMs);
  EXPECT_LT(flooded.max_ms, 4 * kCycleMs);
  EXPECT_GT(pictures, pictures_before) << "the viewer stopped getting the screen";
  EXPECT_EQ(viewer.state(), QAbstractSocket::ConnectedState);
  // And once it is over, the panel answers as before.
  EXPECT_TRUE(RunUntil(
      [&] {
        return StatusOf(Exchange(port,
                                 "GET /api/status HTTP/1.1\r\nAuthorization: Bearer " +
                                     std::string(kTestToken) + "\r\n\r\n",
                                 1000)) == 200;
      },
      3000));
}

}  // namespace
}  // namespace orvandry::remote
