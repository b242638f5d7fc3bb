// The dryer picture repaints on every 100 ms tick, so one paint must stay far below 1 ms: it is
// measured here into an off-screen image through QtCanvas, the way the window paints, for each
// layout with every fan/heater busy.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include "link/byte_image.h"
#include "link/status_map.h"
#include "platform/qt_canvas.h"
#include "views/picture/dryer_picture.h"

namespace {

namespace sm = orvandry::link::status_map;
using orvandry::views::AnimationPhases;
using orvandry::views::DryerPicture;

void FillBusyDryer(orvandry::link::ByteImage& state, std::uint8_t modules, std::uint8_t options,
                   std::uint8_t fans) {
  state.Set(sm::kModuleCountCode, modules);
  state.Set(sm::kHardwareOptions, options);
  state.Set(sm::kFanCountCode, fans);
  for (std::size_t b = 131; b <= 136; ++b) state.Set(b, 0x03);
  state.Set(sm::kMeteringMode, 1);
  state.Set(sm::kSamplerConfig, 0x80);
  state.SetBe16(sm::kIncomingMoisture, 214);
  state.SetBe16(sm::kOutgoingMoisture, 153);
  state.SetT16(sm::kGrainTempSelector0, 112);
  state.SetBe16(sm::kUnloadRate, 1180);
  state.SetU32(sm::kBushelCounter, 3600U * 24518);
}

void PaintDryerPicture(benchmark::State& bench, std::uint8_t modules, std::uint8_t options,
                       std::uint8_t fans) {
  orvandry::link::ByteImage state;
  FillBusyDryer(state, modules, options, fans);
  DryerPicture picture;
  QImage image(236, 416, QImage::Format_RGB32);
  AnimationPhases phases;
  std::uint8_t tick = 0;
  for (auto _ : bench) {
    // Every paint shows the next frame, as on the panel.
    tick = static_cast<std::uint8_t>((tick + 1) % 3);
    phases.fan.fill(tick);
    phases.loading = phases.unloading_fast = phases.direction_a = tick;
    orvandry::platform::QtCanvas canvas(image);
    benchmark::DoNotOptimize(picture.Paint(canvas, state, phases, false));
  }
}

void BM_StandardTwoFans(benchmark::State& s) {
  PaintDryerPicture(s, 0, 0x80, 1);
}
void BM_StandardThreeFans(benchmark::State& s) {
  PaintDryerPicture(s, 0, 0x80, 2);
}
void BM_TwoModules(benchmark::State& s) {
  PaintDryerPicture(s, 1, 0x80, 3);
}
void BM_ThreeModulesSixFans(benchmark::State& s) {
  PaintDryerPicture(s, 2, 0x80, 4);
}
void BM_OnePlenum(benchmark::State& s) {
  PaintDryerPicture(s, 0, 0x20, 0);
}

BENCHMARK(BM_StandardTwoFans)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_StandardThreeFans)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_TwoModules)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ThreeModulesSixFans)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_OnePlenum)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
