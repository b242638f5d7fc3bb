#include "platform/qt_conversions.h"

#include <QFontMetrics>
#include <algorithm>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace orvandry::platform {

namespace {
constexpr int kNormalWeight = 400;
constexpr int kLineHeightPercent = 86;
}  // namespace

QFont MakeQFont(Font font) {
  // Every paint asks for its fonts again; a QFont is shared, so each is made once and copied.
  thread_local std::unordered_map<std::uint64_t, QFont> made;
  const std::uint64_t key = (std::uint64_t{static_cast<std::uint32_t>(font.height)} << 32) |
                            static_cast<std::uint32_t>(font.weight);
  if (const auto found = made.find(key); found != made.end()) return found->second;
  if (made.size() >= 64) made.clear();  // the screens use a few dozen
  QFont q(QStringLiteral("DejaVu Sans"));
  q.setStyleHint(QFont::SansSerif);
  // A font height is the height of a whole text line (the panel's fonts were asked for by cell
  // height), and every layout is sized for that. DejaVu Sans' line is about 1.16 of its pixel size,
  // so the letters are set at 86 % of the height to fit the same boxes.
  q.setPixelSize(std::max(1, (font.height * kLineHeightPercent + 50) / 100));
  // Qt's weights use the same 100..900 scale as the panel's.
  const int weight = font.weight <= 0 ? kNormalWeight : std::clamp(font.weight, 100, 900);
  q.setWeight(static_cast<QFont::Weight>(weight));
  made.emplace(key, q);
  return q;
}

Size QtTextSize(std::string_view text, Font font) {
  // Screens measure the same few texts on every paint, and shaping a text is the dear part of
  // drawing it: each is measured once. The table is hashed, as a lookup here runs with cold caches
  // (the display sleeps between ticks) and a tree would cost a miss per level. The key is the font
  // followed by the text, built in a buffer that keeps its capacity. (The widgets live on one
  // thread; each thread keeps its own.)
  static constexpr std::size_t kMaxKept = 1024;  // texts with live values come and go
  thread_local std::unordered_map<std::string, Size> measured;
  thread_local std::string key;
  key.clear();
  key.append(reinterpret_cast<const char*>(&font.height), sizeof font.height);
  key.append(reinterpret_cast<const char*>(&font.weight), sizeof font.weight);
  key.append(text);
  if (const auto found = measured.find(key); found != measured.end()) return found->second;
  const QFontMetrics metrics(MakeQFont(font));
  const Size size{metrics.horizontalAdvance(ToQString(text)), metrics.height()};
  if (measured.size() >= kMaxKept) measured.clear();
  measured.emplace(key, size);
  return size;
}

}  // namespace orvandry::platform
