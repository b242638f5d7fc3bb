// Draws every registered picture, normal face next to pressed face, at its own size on the two
// backgrounds the faces sit on (the light-grey button bar and the black selection window), plus one
// unknown number to show the placeholder. Usage: orvandry_faces_sheet [out.png [zoom]]; a zoom of 2
// or 3 enlarges the sheet pixel for pixel to inspect the small symbols.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "resources/picture_library.h"

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/faces.png");

  using orvandry::resources::AllPictures;
  orvandry::resources::PictureLibrary library;
  constexpr int kMargin = 12;
  constexpr int kColumnWidth = 230;
  constexpr int kRowHeight = 64;
  const int rows = static_cast<int>(AllPictures().size()) + 1;
  QImage sheet(kMargin + 2 * kColumnWidth, kMargin + rows * kRowHeight, QImage::Format_RGB32);
  sheet.fill(QColor(0xC0, 0xC0, 0xC0));
  QPainter painter(&sheet);
  painter.fillRect(QRect(kMargin / 2 + kColumnWidth, 0, kColumnWidth + kMargin, sheet.height()),
                   Qt::black);
  int row = 0;
  auto draw = [&](int number) {
    const QImage face = library.Image(number);
    const int y = kMargin + row * kRowHeight;
    painter.setPen(Qt::black);
    painter.drawText(kMargin, y + 10, QString::number(number));
    painter.drawImage(kMargin + 10, y + 14, face);
    painter.drawImage(kMargin + kColumnWidth + 10, y + 14, face);
    painter.setPen(Qt::white);
    painter.drawText(kMargin + kColumnWidth, y + 10, QString::number(number));
    ++row;
  };
  for (const auto& picture : AllPictures()) draw(picture.number);
  draw(999);
  painter.end();
  const int zoom = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
  if (zoom > 1)
    sheet = sheet.scaled(sheet.size() * zoom, Qt::IgnoreAspectRatio, Qt::FastTransformation);
  if (!sheet.save(out)) {
    std::fprintf(stderr, "could not write %s\n", qPrintable(out));
    return 1;
  }
  std::printf("%s\n", qPrintable(out));
  return 0;
}
