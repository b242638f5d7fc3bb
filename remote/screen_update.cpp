#include "remote/screen_update.h"

#include <QBuffer>
#include <QPainter>
#include <QtEndian>
#include <cstring>

namespace orvandry::remote {

namespace {

// Qt's scale: 100 stores, 0 packs hardest. The panel's flat colours pack well with a light
// compression, which costs a fraction of the default.
constexpr int kPngQuality = 80;

void AppendTile(QByteArray& out, const QImage& image, const QRect& rect) {
  QByteArray png;
  QBuffer buffer(&png);
  buffer.open(QIODevice::WriteOnly);
  image.copy(rect).save(&buffer, "PNG", kPngQuality);
  char head[8];
  qToBigEndian<quint16>(static_cast<quint16>(rect.x()), head);
  qToBigEndian<quint16>(static_cast<quint16>(rect.y()), head + 2);
  qToBigEndian<quint32>(static_cast<quint32>(png.size()), head + 4);
  out.append(head, sizeof head);
  out.append(png);
}

bool TileDiffers(const QImage& a, const QImage& b, const QRect& rect) {
  const qsizetype bytes = static_cast<qsizetype>(rect.width()) * 4;
  for (int y = rect.top(); y <= rect.bottom(); ++y) {
    const uchar* row_a = a.constScanLine(y) + static_cast<qsizetype>(rect.x()) * 4;
    const uchar* row_b = b.constScanLine(y) + static_cast<qsizetype>(rect.x()) * 4;
    if (std::memcmp(row_a, row_b, static_cast<std::size_t>(bytes)) != 0) return true;
  }
  return false;
}

}  // namespace

QByteArray EncodeWhole(const QImage& image) {
  QByteArray out;
  if (!image.isNull()) AppendTile(out, image, image.rect());
  return out;
}

QByteArray EncodeUpdate(const QImage& previous, const QImage& current) {
  if (previous.isNull() || previous.size() != current.size() ||
      previous.format() != current.format() || current.depth() != 32)
    return EncodeWhole(current);
  QByteArray out;
  for (int y = 0; y < current.height(); y += kTileHeight) {
    for (int x = 0; x < current.width(); x += kTileWidth) {
      const QRect tile = QRect(x, y, kTileWidth, kTileHeight).intersected(current.rect());
      if (TileDiffers(previous, current, tile)) AppendTile(out, current, tile);
    }
  }
  return out;
}

bool ApplyUpdate(const QByteArray& update, QImage& image) {
  qsizetype at = 0;
  while (at < update.size()) {
    if (update.size() - at < 8) return false;
    const char* head = update.constData() + at;
    const int x = qFromBigEndian<quint16>(head);
    const int y = qFromBigEndian<quint16>(head + 2);
    const quint32 length = qFromBigEndian<quint32>(head + 4);
    at += 8;
    if (length > static_cast<quint32>(update.size() - at)) return false;
    QImage tile;
    if (!tile.loadFromData(update.mid(at, length), "PNG")) return false;
    at += length;
    if (image.isNull()) {
      image = QImage(x + tile.width(), y + tile.height(), QImage::Format_RGB32);
      image.fill(Qt::black);
    }
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(x, y, tile);
  }
  return true;
}

}  // namespace orvandry::remote
