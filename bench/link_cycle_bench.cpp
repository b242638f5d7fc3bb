// One whole link cycle on the link thread: read and check a StatusFrame, take it in, build the
// CommandFrame, add its CRC and hand it to the port. The port is an in-memory stand-in so the
// figure is the display's own work, not the driver's.
#include <benchmark/benchmark.h>

// The counting operator new below pairs malloc with free; g++ cannot see that pairing.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

#include <array>
#include <atomic>
#include <cstdlib>
#include <new>

#include "link/crc16.h"
#include "link/link_cycle.h"
#include "link/status_map.h"

namespace {

std::atomic<long> g_allocations{0};

}  // namespace

void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace orvandry::link {
namespace {

class MemoryPort final : public SerialPort {
 public:
  std::size_t Read(std::uint8_t* buffer, std::size_t max) override {
    const std::size_t n = std::min(max, frame_size);
    std::copy_n(frame.data(), n, buffer);
    return n;
  }
  void Purge() override {}
  void Write(const std::uint8_t* bytes, std::size_t count) override {
    benchmark::DoNotOptimize(bytes);
    written += count;
  }

  std::array<std::uint8_t, kStatusFrameSize> frame{};
  std::size_t frame_size = kStatusFrameSize;
  std::size_t written = 0;
};

class NullListener final : public IntakeListener {
 public:
  void OnWarningCodeChanged(std::uint8_t, std::uint8_t) override {}
  void OnIntakeFinished(const IntakeResult& result) override { benchmark::DoNotOptimize(&result); }
};

// A running dryer: each frame moves a few values (temperatures, a timer, the bushel counter) and a
// write plus the clock are pending, as in a normal second of operation.
void BM_LinkCycle(benchmark::State& state) {
  LinkShared shared;
  NullListener listener;
  StatusIntake intake(shared, &listener);
  MemoryPort port;
  LinkCycle cycle(shared, port, intake);
  for (std::size_t i = 0; i < kStateSize; ++i) port.frame[i] = static_cast<std::uint8_t>(i * 31);
  const std::uint8_t f180[2] = {0xB4, 0x00};
  shared.RequestWrite(Rec::kPlenumSetpoint1, status_map::kPlenumSetpoint1, f180, 2);

  std::uint8_t tick = 0;
  const long allocations_before = g_allocations.load();
  for (auto _ : state) {
    ++tick;
    port.frame[status_map::PlenumReading(1)] = tick;
    port.frame[status_map::kDryTimerRunning + 1] = static_cast<std::uint8_t>(tick % 60);
    port.frame[status_map::kBushelCounter] = tick;
    link_crc16(port.frame.data(), kStateSize);
    shared.pending.Raise(Rec::kClock);
    cycle.RunOnce();
  }
  state.counters["allocations_per_cycle"] = benchmark::Counter(
      static_cast<double>(g_allocations.load() - allocations_before) /
      static_cast<double>(state.iterations()));
  benchmark::DoNotOptimize(port.written);
}
BENCHMARK(BM_LinkCycle);

// The same with a frame that changes nothing: the steady state of a dryer at rest.
void BM_LinkCycleSteady(benchmark::State& state) {
  LinkShared shared;
  NullListener listener;
  StatusIntake intake(shared, &listener);
  MemoryPort port;
  LinkCycle cycle(shared, port, intake);
  for (std::size_t i = 0; i < kStateSize; ++i) port.frame[i] = static_cast<std::uint8_t>(i * 31);
  link_crc16(port.frame.data(), kStateSize);
  for (auto _ : state) cycle.RunOnce();
}
BENCHMARK(BM_LinkCycleSteady);

}  // namespace
}  // namespace orvandry::link

BENCHMARK_MAIN();
