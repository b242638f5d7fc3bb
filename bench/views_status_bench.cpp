// Painting the status views off-screen, as every repaint does: the right bar (every 175 ms), the
// plenum panel in each layout and the unload status window with its two buttons.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include "link/link_shared.h"
#include "link/status_map.h"
#include "platform/qt_canvas.h"
#include "views/status/plenum_panel.h"
#include "views/status/status_bars.h"
#include "views/status/unload_status.h"

namespace {

namespace sm = orvandry::link::status_map;
using orvandry::link::LinkShared;
using orvandry::platform::QtCanvas;

// A running dryer with every plenum near its setpoint.
void FillDryer(LinkShared& shared) {
  auto& s = shared.dryer_state;
  s.Set(sm::kDryerStateBits, 0x40);
  s.Set(sm::kDryerActivity, 0xA0);
  for (int k = 1; k <= 6; ++k) {
    s.SetT16(sm::PlenumSetpoint(k), 180);
    s.SetT16(sm::PlenumReading(k), static_cast<std::int16_t>(175 + k));
    s.Set(131 - static_cast<std::size_t>(k), 0x06);
  }
  s.SetBe16(sm::kMeteringRpm, 125);
  s.SetBe16(sm::kUnloadRate, 1250);
  s.SetU32(sm::kBushelCounter, 3600U * 1234U);
}

void BM_RightStatusBar(benchmark::State& state) {
  LinkShared shared;
  FillDryer(shared);
  // The longest line: it is squeezed to fit, the most work the bar ever does.
  shared.dryer_state.Set(sm::kDryingMode, 0x08);
  QImage image(396, 36, QImage::Format_RGB32);
  for (auto _ : state) {
    QtCanvas canvas(image);
    orvandry::views::PaintRightStatusBar(canvas, shared.dryer_state, true, true);
  }
}
BENCHMARK(BM_RightStatusBar)->Unit(benchmark::kMicrosecond);

void BM_PlenumPanel(benchmark::State& state) {
  LinkShared shared;
  FillDryer(shared);
  shared.dryer_state.Set(sm::kFanCountCode, static_cast<std::uint8_t>(state.range(0)));
  QImage image(396, 151, QImage::Format_RGB32);
  for (auto _ : state) {
    QtCanvas canvas(image);
    orvandry::views::PaintPlenumPanel(canvas, shared.dryer_state, false);
  }
}
BENCHMARK(BM_PlenumPanel)->DenseRange(0, 4)->ArgName("fan_code")->Unit(benchmark::kMicrosecond);

void BM_UnloadStatus(benchmark::State& state) {
  LinkShared shared;
  FillDryer(shared);
  QImage window(236, 151, QImage::Format_RGB32);
  QImage bushels(234, 76, QImage::Format_RGB32);
  QImage metering(104, 70, QImage::Format_RGB32);
  for (auto _ : state) {
    {
      QtCanvas canvas(window);
      orvandry::views::PaintUnloadStatus(canvas, shared.dryer_state);
    }
    {
      QtCanvas canvas(bushels);
      orvandry::views::DrawBushelButton(canvas, shared.dryer_state);
    }
    QtCanvas canvas(metering);
    orvandry::views::DrawMeteringRollButton(canvas, shared.dryer_state);
  }
}
BENCHMARK(BM_UnloadStatus)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  // Fonts need a GUI application; no display is needed.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
