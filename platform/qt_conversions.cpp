#include "platform/qt_conversions.h"

#include <QFontMetrics>
#include <algorithm>
#include <map>
#include <string>
#include <tuple>

namespace orvandry::platform {

namespace {
constexpr int kNormalWeight = 400;
constexpr int kLineHeightPercent = 86;
}  // namespace

QFont MakeQFont(Font font) {
  // Every paint asks for its fonts again; a QFont is shared, so each is made once and copied.
  thread_local std::map<std::pair<int, int>, QFont> made;
  const auto key = std::make_pair(font.height, font.weight);
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
  // drawing it: each is measured once. (The widgets live on one thread; each thread keeps its own.)
  struct Key {
    std::string text;
    Font font;
    bool operator<(const Key& other) const {
      return std::tie(font.height, font.weight, text) <
             std::tie(other.font.height, other.font.weight, other.text);
    }
  };
  static constexpr std::size_t kMaxKept = 1024;  // texts with live values come and go
  thread_local std::map<Key, Size, std::less<>> measured;
  Key key{std::string(text), font};
  if (const auto found = measured.find(key); found != measured.end()) return found->second;
  const QFontMetrics metrics(MakeQFont(font));
  const Size size{metrics.horizontalAdvance(ToQString(text)), metrics.height()};
  if (measured.size() >= kMaxKept) measured.clear();
  measured.emplace(std::move(key), size);
  return size;
}

}  // namespace orvandry::platform
