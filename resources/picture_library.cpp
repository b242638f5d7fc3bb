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
    // The defaults notice: the reset-defaults dipswitch block, drawn 1:1 beside its EXIT.
    // The graph's trace toggles: 110 x 40, "on" and "off" faces of each trace.
    PictureInfo{229, 110, 40, "green wavy line, \"MOIST IN\", lamp lit (on)"},
    PictureInfo{230, 110, 40, "empty chip, \"MOIST IN\", lamp dark (off)"},
    PictureInfo{231, 110, 40, "orange wavy line, \"TEMP IN\", lamp lit (on)"},
    PictureInfo{232, 110, 40, "empty chip, \"TEMP IN\", lamp dark (off)"},
    PictureInfo{233, 110, 40, "cyan wavy line, \"MOIST OUT\", lamp lit (on)"},
    PictureInfo{234, 110, 40, "empty chip, \"MOIST OUT\", lamp dark (off)"},
    PictureInfo{235, 110, 40, "magenta wavy line, \"TEMP OUT\", lamp lit (on)"},
    PictureInfo{236, 110, 40, "empty chip, \"TEMP OUT\", lamp dark (off)"},
    PictureInfo{237, 110, 40, "yellow wavy line, \"DRYER GRAIN\", lamp lit (on)"},
    PictureInfo{238, 110, 40, "empty chip, \"DRYER GRAIN\", lamp dark (off)"},
    PictureInfo{239, 110, 40, "red wavy line, \"M.R. OUTPUT\", lamp lit (on)"},
    PictureInfo{240, 110, 40, "empty chip, \"M.R. OUTPUT\", lamp dark (off)"},
    PictureInfo{254, 180, 84, "dipswitch block, RESET DEFAULTS slid to the left (off), lamp dark"},
    PictureInfo{259, 100, 75, "plug pulled out of its socket, \"NO LINK\""},
    PictureInfo{260, 100, 124, "controller with a red cross on its screen"},
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
    PictureInfo{602, 200, 50, "\"Load Delay\" with a clock (pressed)"},
    PictureInfo{603, 200, 50, "\"Load Delay\" with a clock"},
    PictureInfo{604, 200, 50, "\"OOG Timer\" with a clock (pressed)"},
    PictureInfo{605, 200, 50, "\"OOG Timer\" with a clock"},
    PictureInfo{606, 200, 50, "\"Fan Delay\" with a clock (pressed)"},
    PictureInfo{607, 200, 50, "\"Fan Delay\" with a clock"},
    PictureInfo{608, 200, 50, "\"Cool Down Timer\" with a clock (pressed)"},
    PictureInfo{609, 200, 50, "\"Cool Down Timer\" with a clock"},
    PictureInfo{610, 200, 50, "\"Unload Delay\" with a clock (pressed)"},
    PictureInfo{611, 200, 50, "\"Unload Delay\" with a clock"},
    // The dryer picture: bodies, fan/heater tiles (three frames each), marks and lamps, drawn 1:1
    // at the positions the picture's layout gives.
    PictureInfo{367, 180, 315, "dryer body, one module: garner, two grain columns, plenum, hoppers, trough"},
    PictureInfo{324, 240, 420, "dryer body, two modules stacked"},
    PictureInfo{323, 240, 420, "dryer body, three modules stacked"},
    PictureInfo{406, 150, 360, "one-plenum dryer body with fan duct, sweep pit and discharge auger tube"},
    PictureInfo{292, 111, 113, "one/two-fan tile, fan/heater idle: grey fan, no flame, frame 0"},
    PictureInfo{293, 111, 113, "one/two-fan tile, fan/heater idle: grey fan, no flame, frame 1"},
    PictureInfo{294, 111, 113, "one/two-fan tile, fan/heater idle: grey fan, no flame, frame 2"},
    PictureInfo{295, 111, 113, "one/two-fan tile, fan running: turning blades, moving air, frame 0"},
    PictureInfo{296, 111, 113, "one/two-fan tile, fan running: turning blades, moving air, frame 1"},
    PictureInfo{297, 111, 113, "one/two-fan tile, fan running: turning blades, moving air, frame 2"},
    PictureInfo{304, 111, 113, "one/two-fan tile, burner firing: flame, frame 0"},
    PictureInfo{305, 111, 113, "one/two-fan tile, burner firing: flame, frame 1"},
    PictureInfo{306, 111, 113, "one/two-fan tile, burner firing: flame, frame 2"},
    PictureInfo{301, 111, 113, "one/two-fan tile, burner at high fire: tall flame, blue root, frame 0"},
    PictureInfo{302, 111, 113, "one/two-fan tile, burner at high fire: tall flame, blue root, frame 1"},
    PictureInfo{303, 111, 113, "one/two-fan tile, burner at high fire: tall flame, blue root, frame 2"},
    PictureInfo{341, 111, 113, "three-fan/two-module tile, fan/heater idle: grey fan, no flame, frame 0"},
    PictureInfo{342, 111, 113, "three-fan/two-module tile, fan/heater idle: grey fan, no flame, frame 1"},
    PictureInfo{343, 111, 113, "three-fan/two-module tile, fan/heater idle: grey fan, no flame, frame 2"},
    PictureInfo{344, 111, 113, "three-fan/two-module tile, fan running: turning blades, moving air, frame 0"},
    PictureInfo{345, 111, 113, "three-fan/two-module tile, fan running: turning blades, moving air, frame 1"},
    PictureInfo{346, 111, 113, "three-fan/two-module tile, fan running: turning blades, moving air, frame 2"},
    PictureInfo{350, 111, 113, "three-fan/two-module tile, burner firing: flame, frame 0"},
    PictureInfo{351, 111, 113, "three-fan/two-module tile, burner firing: flame, frame 1"},
    PictureInfo{352, 111, 113, "three-fan/two-module tile, burner firing: flame, frame 2"},
    PictureInfo{347, 111, 113, "three-fan/two-module tile, burner at high fire: tall flame, blue root, frame 0"},
    PictureInfo{348, 111, 113, "three-fan/two-module tile, burner at high fire: tall flame, blue root, frame 1"},
    PictureInfo{349, 111, 113, "three-fan/two-module tile, burner at high fire: tall flame, blue root, frame 2"},
    PictureInfo{325, 62, 44, "three-module tile, fan/heater idle: grey fan, no flame, frame 0"},
    PictureInfo{326, 62, 44, "three-module tile, fan/heater idle: grey fan, no flame, frame 1"},
    PictureInfo{327, 62, 44, "three-module tile, fan/heater idle: grey fan, no flame, frame 2"},
    PictureInfo{328, 62, 44, "three-module tile, fan running: turning blades, moving air, frame 0"},
    PictureInfo{329, 62, 44, "three-module tile, fan running: turning blades, moving air, frame 1"},
    PictureInfo{330, 62, 44, "three-module tile, fan running: turning blades, moving air, frame 2"},
    PictureInfo{334, 62, 44, "three-module tile, burner firing: flame, frame 0"},
    PictureInfo{335, 62, 44, "three-module tile, burner firing: flame, frame 1"},
    PictureInfo{336, 62, 44, "three-module tile, burner firing: flame, frame 2"},
    PictureInfo{331, 62, 44, "three-module tile, burner at high fire: tall flame, blue root, frame 0"},
    PictureInfo{332, 62, 44, "three-module tile, burner at high fire: tall flame, blue root, frame 1"},
    PictureInfo{333, 62, 44, "three-module tile, burner at high fire: tall flame, blue root, frame 2"},
    PictureInfo{310, 38, 38, "grain falling, frame 0"},
    PictureInfo{311, 38, 38, "grain falling, frame 1"},
    PictureInfo{316, 38, 38, "grain falling, frame 2"},
    PictureInfo{317, 23, 23, "metering roll turning, frame 0"},
    PictureInfo{318, 23, 23, "metering roll turning, frame 1"},
    PictureInfo{319, 23, 23, "metering roll turning, frame 2"},
    PictureInfo{360, 19, 19, "grain falling, small, frame 0"},
    PictureInfo{361, 19, 19, "grain falling, small, frame 1"},
    PictureInfo{362, 19, 19, "grain falling, small, frame 2"},
    PictureInfo{363, 12, 12, "metering roll turning, small, frame 0"},
    PictureInfo{364, 12, 12, "metering roll turning, small, frame 1"},
    PictureInfo{365, 12, 12, "metering roll turning, small, frame 2"},
    PictureInfo{485, 40, 40, "standard metering roll, inside the plenum"},
    PictureInfo{487, 40, 40, "4-inch metering roll, inside the plenum"},
    PictureInfo{489, 40, 40, "4-inch metering roll, badge"},
    PictureInfo{490, 40, 40, "standard metering roll, badge"},
    PictureInfo{462, 32, 32, "attention corner: amber triangle with !"},
    PictureInfo{418, 46, 28, "one-plenum fan turning, frame 0"},
    PictureInfo{419, 46, 28, "one-plenum fan turning, frame 1"},
    PictureInfo{420, 46, 28, "one-plenum fan turning, frame 2"},
    PictureInfo{408, 42, 42, "one-plenum burner flame, frame 0"},
    PictureInfo{409, 42, 42, "one-plenum burner flame, frame 1"},
    PictureInfo{410, 42, 42, "one-plenum burner flame, frame 2"},
    PictureInfo{422, 43, 40, "grain pouring from the fill spout, frame 0"},
    PictureInfo{423, 43, 40, "grain pouring from the fill spout, frame 1"},
    PictureInfo{424, 43, 40, "grain pouring from the fill spout, frame 2"},
    PictureInfo{425, 38, 38, "floor sweep turning, frame 0"},
    PictureInfo{426, 38, 38, "floor sweep turning, frame 1"},
    PictureInfo{427, 38, 38, "floor sweep turning, frame 2"},
    PictureInfo{428, 7, 9, "green lamp, off"},
    PictureInfo{429, 7, 9, "green lamp, on"},
    PictureInfo{430, 71, 16, "discharge auger moving grain, frame 0"},
    PictureInfo{431, 71, 16, "discharge auger moving grain, frame 1"},
    PictureInfo{432, 71, 16, "discharge auger moving grain, frame 2"},
    PictureInfo{433, 11, 9, "amber lamp, off"},
    PictureInfo{434, 11, 9, "amber lamp, on"},
    // Temperature setpoint buttons: 180 x 50 plenum faces, 200 x 50 and 127 x 40 grain faces.
    PictureInfo{4100, 180, 50, "thermometer, \"Plenum 1 Temp\" (pressed)"},
    PictureInfo{4101, 180, 50, "thermometer, \"Plenum 1 Temp\""},
    PictureInfo{4102, 180, 50, "thermometer, \"Plenum 2 Temp\" (pressed)"},
    PictureInfo{4103, 180, 50, "thermometer, \"Plenum 2 Temp\""},
    PictureInfo{4104, 180, 50, "thermometer, \"Plenum 3 Temp\" (pressed)"},
    PictureInfo{4105, 180, 50, "thermometer, \"Plenum 3 Temp\""},
    PictureInfo{4106, 180, 50, "thermometer, \"Plenum 4 Temp\" (pressed)"},
    PictureInfo{4107, 180, 50, "thermometer, \"Plenum 4 Temp\""},
    PictureInfo{4108, 180, 50, "thermometer, \"Plenum 5 Temp\" (pressed)"},
    PictureInfo{4109, 180, 50, "thermometer, \"Plenum 5 Temp\""},
    PictureInfo{4110, 180, 50, "thermometer, \"Plenum 6 Temp\" (pressed)"},
    PictureInfo{4111, 180, 50, "thermometer, \"Plenum 6 Temp\""},
    PictureInfo{4112, 180, 50, "blue thermometer, \"PLENUM 1 LO-TEMP\" (pressed)"},
    PictureInfo{4113, 180, 50, "blue thermometer, \"PLENUM 1 LO-TEMP\""},
    PictureInfo{4114, 180, 50, "thermometer, \"PLENUM 1 HI-TEMP\" (pressed)"},
    PictureInfo{4115, 180, 50, "thermometer, \"PLENUM 1 HI-TEMP\""},
    PictureInfo{4116, 180, 50, "blue thermometer, \"PLENUM 2 LO-TEMP\" (pressed)"},
    PictureInfo{4117, 180, 50, "blue thermometer, \"PLENUM 2 LO-TEMP\""},
    PictureInfo{4118, 180, 50, "thermometer, \"PLENUM 2 HI-TEMP\" (pressed)"},
    PictureInfo{4119, 180, 50, "thermometer, \"PLENUM 2 HI-TEMP\""},
    PictureInfo{4120, 200, 50, "corn cob, \"Grain Temp\" (pressed)"},
    PictureInfo{4121, 200, 50, "corn cob, \"Grain Temp\""},
    PictureInfo{4122, 127, 40, "corn cob, \"HI-TEMP\" (pressed)"},
    PictureInfo{4123, 127, 40, "corn cob, \"HI-TEMP\""},
    PictureInfo{4124, 127, 40, "corn cob, \"LO-TEMP\" (pressed)"},
    PictureInfo{4125, 127, 40, "corn cob, \"LO-TEMP\""},
    // The hardware setup board: 175 x 50 faces.
    PictureInfo{4400, 175, 50, "two chasing arrows, \"Drying Mode\" (pressed)"},
    PictureInfo{4401, 175, 50, "two chasing arrows, \"Drying Mode\""},
    PictureInfo{4402, 175, 50, "corn cob, \"M/C Setup\" (pressed)"},
    PictureInfo{4403, 175, 50, "corn cob, \"M/C Setup\""},
    PictureInfo{4404, 175, 50, "flame, \"Burner Mode\" (pressed)"},
    PictureInfo{4405, 175, 50, "flame, \"Burner Mode\""},
    PictureInfo{4406, 175, 50, "flame, \"Burner Mode\", greyed out"},
    PictureInfo{4408, 175, 50, "hopper letting grain out, \"Unload Parameters\" (pressed)"},
    PictureInfo{4409, 175, 50, "hopper letting grain out, \"Unload Parameters\""},
    PictureInfo{4410, 175, 50, "thermometer with steps down, \"Plenum Temp Manager\" (pressed)"},
    PictureInfo{4411, 175, 50, "thermometer with steps down, \"Plenum Temp Manager\""},
    PictureInfo{4412, 175, 50, "moisture drop over a scale, \"Calibrate Moisture Sensor\" (pressed)"},
    PictureInfo{4413, 175, 50, "moisture drop over a scale, \"Calibrate Moisture Sensor\""},
    PictureInfo{4414, 175, 50, "gear with a plus, \"Extended Setup\" (pressed)"},
    PictureInfo{4415, 175, 50, "gear with a plus, \"Extended Setup\""},
    PictureInfo{4416, 175, 50, "green start button, \"Auto Start\" (pressed)"},
    PictureInfo{4417, 175, 50, "green start button, \"Auto Start\""},
    PictureInfo{4418, 175, 50, "dial gauge, \"BPH Cal\" (pressed)"},
    PictureInfo{4419, 175, 50, "dial gauge, \"BPH Cal\""},
    PictureInfo{4420, 175, 50, "wrench, \"Diagnostics\" (pressed)"},
    PictureInfo{4421, 175, 50, "wrench, \"Diagnostics\""},
    PictureInfo{4422, 175, 50, "clock, \"Set Time/Date\" (pressed)"},
    PictureInfo{4423, 175, 50, "clock, \"Set Time/Date\""},
    PictureInfo{4424, 175, 50, "chart, \"Data Logger Setup\" (pressed)"},
    PictureInfo{4425, 175, 50, "chart, \"Data Logger Setup\""},
    PictureInfo{4426, 175, 50, "antenna, \"Remote Connection\" (pressed)"},
    PictureInfo{4427, 175, 50, "antenna, \"Remote Connection\""},
    // The extended setup board: 175 x 50 faces.
    PictureInfo{4800, 175, 50, "thermometer with a band, \"Differential\" (pressed)"},
    PictureInfo{4801, 175, 50, "thermometer with a band, \"Differential\""},
    PictureInfo{4802, 175, 50, "printer, \"Printer Setup\" (pressed)"},
    PictureInfo{4803, 175, 50, "printer, \"Printer Setup\""},
    PictureInfo{4804, 175, 50, "metering roll turning back, \"Meter Roll Reverse\" (pressed)"},
    PictureInfo{4805, 175, 50, "metering roll turning back, \"Meter Roll Reverse\""},
    PictureInfo{4806, 175, 50, "sample cup and cycle arrow, \"Sampler Cycle Rate\" (pressed)"},
    PictureInfo{4807, 175, 50, "sample cup and cycle arrow, \"Sampler Cycle Rate\""},
    PictureInfo{4808, 175, 50, "dial gauge, \"BPH Calibration\" (pressed)"},
    PictureInfo{4809, 175, 50, "dial gauge, \"BPH Calibration\""},
    PictureInfo{4810, 175, 50, "thermometer between F and C, \"Temp Scale\" (pressed)"},
    PictureInfo{4811, 175, 50, "thermometer between F and C, \"Temp Scale\""},
    PictureInfo{4812, 175, 50, "dryer column, \"Dryer Model\" (pressed)"},
    PictureInfo{4813, 175, 50, "dryer column, \"Dryer Model\""},
    PictureInfo{4814, 175, 50, "storage disk, \"USER SAVED DEFAULTS\" (pressed)"},
    PictureInfo{4815, 175, 50, "storage disk, \"USER SAVED DEFAULTS\""},
    PictureInfo{4816, 175, 50, "counter at zero, \"Batches\" (pressed)"},
    PictureInfo{4817, 175, 50, "counter at zero, \"Batches\""},
    // The auto-start wizard: 159 x 41 keys, 120 x 40 adjusters, the title picture and the banners.
    PictureInfo{533, 589, 222, "green start button, \"AUTO-START UP WIZARD\" and its three steps"},
    PictureInfo{534, 159, 41, "\"NEXT\" (pressed)"},
    PictureInfo{535, 159, 41, "\"NEXT\""},
    PictureInfo{536, 159, 41, "\"BACK\" (pressed)"},
    PictureInfo{537, 159, 41, "\"BACK\""},
    PictureInfo{538, 159, 41, "\"CANCEL\" (pressed)"},
    PictureInfo{539, 159, 41, "\"CANCEL\""},
    PictureInfo{540, 159, 41, "\"HELP\" (pressed)"},
    PictureInfo{541, 159, 41, "\"HELP\""},
    PictureInfo{542, 375, 93, "checklist, \"Summary Page for Automatic Dryer Startup\""},
    PictureInfo{543, 375, 93, "moisture drop, \"Enter the Incoming Moisture Content (%)\""},
    PictureInfo{544, 375, 93, "moisture drop, \"Enter Desired Moisture - Moisture Setpoint (%)\""},
    PictureInfo{546, 159, 41, "\"ACCEPT\" (pressed)"},
    PictureInfo{547, 159, 41, "\"ACCEPT\""},
    PictureInfo{548, 120, 40, "arrow down, \"DECREASE\" (pressed)"},
    PictureInfo{549, 120, 40, "arrow down, \"DECREASE\""},
    PictureInfo{550, 120, 40, "arrow up, \"INCREASE\" (pressed)"},
    PictureInfo{551, 120, 40, "arrow up, \"INCREASE\""},
    PictureInfo{553, 375, 93, "flame, \"Select Full-Heat or Dry & Cool\""},
};

QString FileOf(int number) {
  return QStringLiteral(":/pictures/%1.svg").arg(number);
}

}  // namespace

std::span<const PictureInfo> AllPictures() {
  return kPictures;
}

const PictureInfo* FindPicture(int number) {
  // Every paint looks up the size of each picture it draws: a binary search of the numbers.
  static const auto sorted = [] {
    std::array<const PictureInfo*, kPictures.size()> by_number{};
    for (std::size_t i = 0; i < kPictures.size(); ++i) by_number[i] = &kPictures[i];
    std::sort(by_number.begin(), by_number.end(),
              [](const PictureInfo* a, const PictureInfo* b) { return a->number < b->number; });
    return by_number;
  }();
  const auto it = std::lower_bound(
      sorted.begin(), sorted.end(), number,
      [](const PictureInfo* picture, int wanted) { return picture->number < wanted; });
  return it != sorted.end() && (*it)->number == number ? *it : nullptr;
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

QImage WithoutUnusedAlpha(QImage image) {
  if (image.format() != QImage::Format_ARGB32_Premultiplied) return image;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(line[x]) != 255) return image;
  }
  // Every pixel is opaque: the same pixels without their alpha, which Qt copies instead of
  // blending.
  return std::move(image).convertToFormat(QImage::Format_RGB32);
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
  image = WithoutUnusedAlpha(std::move(image));
  if (cache_.size() >= kMaxCached) cache_.clear();
  cache_.emplace(key, image);
  return image;
}

QRect PictureLibrary::DifferingArea(int a, int b, QSize size) {
  if (a == b) return {};
  size = size.expandedTo(QSize(1, 1));
  const auto key = std::make_tuple(std::min(a, b), std::max(a, b), size.width(), size.height());
  {
    std::lock_guard lock(mutex_);
    if (const auto it = differing_.find(key); it != differing_.end()) return it->second;
  }
  // Compared in one format, so an opaque picture kept without alpha matches its twin with it.
  const QImage one = Image(a, size).convertToFormat(QImage::Format_ARGB32_Premultiplied);
  const QImage other = Image(b, size).convertToFormat(QImage::Format_ARGB32_Premultiplied);
  int left = size.width(), right = -1, top = size.height(), bottom = -1;
  for (int y = 0; y < size.height(); ++y) {
    const auto* p = reinterpret_cast<const QRgb*>(one.constScanLine(y));
    const auto* q = reinterpret_cast<const QRgb*>(other.constScanLine(y));
    for (int x = 0; x < size.width(); ++x) {
      if (p[x] == q[x]) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  const QRect area = right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
  std::lock_guard lock(mutex_);
  if (differing_.size() >= kMaxCached) differing_.clear();
  differing_.emplace(key, area);
  return area;
}

bool PictureLibrary::OpaqueIn(int number, QRect area) {
  const QSize size = NaturalSize(number);
  if (area.isEmpty() || !QRect(QPoint(0, 0), size).contains(area)) return false;
  const auto key = std::make_tuple(number, area.x(), area.y(), area.width(), area.height());
  {
    std::lock_guard lock(mutex_);
    if (const auto it = opaque_.find(key); it != opaque_.end()) return it->second;
  }
  const QImage image = Image(number, size);
  bool opaque = !image.hasAlphaChannel();
  if (!opaque) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    opaque = true;
    for (int y = area.top(); opaque && y <= area.bottom(); ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
      for (int x = area.left(); x <= area.right(); ++x) {
        if (qAlpha(line[x]) != 255) {
          opaque = false;
          break;
        }
      }
    }
  }
  std::lock_guard lock(mutex_);
  if (opaque_.size() >= kMaxCached) opaque_.clear();
  opaque_.emplace(key, opaque);
  return opaque;
}

PictureLibrary& SharedPictures() {
  static PictureLibrary library;
  return library;
}

}  // namespace orvandry::resources
