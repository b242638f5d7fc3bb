#include "resources/picture_library.h"

#include <QPainter>
#include <QString>
#include <QSvgRenderer>
#include <algorithm>
#include <array>

namespace orvandry::resources {

namespace {

// Button-bar faces are 105 x 40, view-selection faces 200 x 50 and the exit face 158 x 41: each is
// copied 1:1 into its button.
constexpr std::array kPictures{
    PictureInfo{104, 105, 40, "corn cob, \"M/C\" (pressed)"},
    PictureInfo{105, 105, 40, "corn cob, \"M/C\""},
    PictureInfo{106, 105, 40, "magnifier over a board, \"Setup\" (pressed)"},
    PictureInfo{107, 105, 40, "magnifier over a board, \"Setup\""},
    PictureInfo{108, 105, 40, "thermometer, \"Temp\" (pressed)"},
    PictureInfo{109, 105, 40, "thermometer, \"Temp\""},
    PictureInfo{110, 105, 40, "clock, \"Timers\" (pressed)"},
    PictureInfo{111, 105, 40, "clock, \"Timers\""},
    PictureInfo{112, 105, 40, "binoculars, \"View\" (pressed)"},
    PictureInfo{113, 105, 40, "binoculars, \"View\""},
    PictureInfo{136, 158, 41, "\"Exit\" (pressed)"},
    PictureInfo{137, 158, 41, "\"Exit\""},
    PictureInfo{204, 200, 50, "question mark, \"HELP\" (pressed)"},
    PictureInfo{205, 200, 50, "question mark, \"HELP\""},
    PictureInfo{259, 100, 75, "serial cable pulled apart"},
    PictureInfo{260, 100, 124, "controller box with a red cross on its screen"},
    PictureInfo{261, 200, 50, "\"Owners Manual\" (pressed)"},
    PictureInfo{262, 200, 50, "\"Owners Manual\""},
    PictureInfo{278, 200, 50, "\"History\" (pressed)"},
    PictureInfo{279, 200, 50, "\"History\""},
    PictureInfo{282, 200, 50, "\"Table View\" (pressed)"},
    PictureInfo{283, 200, 50, "\"Table View\""},
    PictureInfo{284, 200, 50, "\"Graph View\" (pressed)"},
    PictureInfo{285, 200, 50, "\"Graph View\""},
    PictureInfo{320, 105, 40, "corn cob, \"M/C\", greyed out"},
    PictureInfo{438, 200, 50, "\"SYSTEM INFORMATION\" (pressed)"},
    PictureInfo{439, 200, 50, "\"SYSTEM INFORMATION\""},
    PictureInfo{517, 100, 92, "yellow warning triangle with an exclamation mark"},
    PictureInfo{525, 200, 50, "\"Software Version Info\" (pressed)"},
    PictureInfo{526, 200, 50, "\"Software Version Info\""},
};

QString FileOf(int number) {
  return QStringLiteral(":/pictures/%1.svg").arg(number);
}

}  // namespace

std::span<const PictureInfo> AllPictures() {
  return kPictures;
}

const PictureInfo* FindPicture(int number) {
  const auto it = std::find_if(kPictures.begin(), kPictures.end(),
                               [number](const PictureInfo& p) { return p.number == number; });
  return it == kPictures.end() ? nullptr : &*it;
}

QImage PlaceholderImage(int number, QSize size) {
  QImage image(size.expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
  image.fill(QColor(255, 0, 255));
  QPainter painter(&image);
  painter.setPen(QPen(Qt::black, 2));
  const QRect box = image.rect().adjusted(1, 1, -1, -1);
  painter.drawRect(box);
  painter.drawLine(box.topLeft(), box.bottomRight());
  painter.drawLine(box.topRight(), box.bottomLeft());
  QFont font = painter.font();
  font.setPixelSize(std::clamp(size.height() / 3, 8, 24));
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("?%1").arg(number));
  return image;
}

QSize PictureLibrary::NaturalSize(int number) const {
  const PictureInfo* info = FindPicture(number);
  return info ? QSize(info->width, info->height) : kPlaceholderSize;
}

QImage PictureLibrary::Image(int number) {
  return Image(number, NaturalSize(number));
}

QImage PictureLibrary::Image(int number, QSize size) {
  size = size.expandedTo(QSize(1, 1));
  const auto key = std::make_tuple(number, size.width(), size.height());
  std::lock_guard lock(mutex_);
  if (const auto it = cache_.find(key); it != cache_.end()) return it->second;

  QImage image;
  if (Has(number)) {
    QSvgRenderer renderer(FileOf(number));
    if (renderer.isValid()) {
      image = QImage(size, QImage::Format_ARGB32_Premultiplied);
      image.fill(Qt::transparent);
      QPainter painter(&image);
      painter.setRenderHint(QPainter::Antialiasing);
      renderer.render(&painter, QRectF(0, 0, size.width(), size.height()));
    }
  }
  if (image.isNull()) image = PlaceholderImage(number, size);
  if (cache_.size() >= kMaxCached) cache_.clear();
  cache_.emplace(key, image);
  return image;
}

PictureLibrary& SharedPictures() {
  static PictureLibrary library;
  return library;
}

}  // namespace orvandry::resources
