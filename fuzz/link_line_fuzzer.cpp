// The display's end of the serial line fed arbitrary bytes: each cycle the port holds what the
// input says (raw line noise, or a whole StatusFrame whose data is arbitrary but whose CRC is
// right, so the intake sees every value), operator changes and reconnect requests come in
// between, and the link cycle runs its frame check, status intake and CommandFrame builder.
//
// Properties: every cycle writes exactly one frame, at most kMaxCommandFrameSize bytes, which the
// controller's side (the simulator's parser) reads as a null, reset or command frame and never as
// damaged or malformed; the intake reports only real warnings.

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_check.h"
#include "link/crc16.h"
#include "link/link_cycle.h"
#include "link/link_shared.h"
#include "link/pending_write.h"
#include "link/status_intake.h"
#include "sim/display_frame_parser.h"

namespace {

using namespace orvandry;

class ScriptedPort final : public link::SerialPort {
 public:
  std::size_t Read(std::uint8_t* buffer, std::size_t max) override {
    const std::size_t n = std::min(max, waiting.size());
    std::copy_n(waiting.begin(), n, buffer);
    waiting.erase(waiting.begin(), waiting.begin() + static_cast<std::ptrdiff_t>(n));
    return n;
  }
  void Purge() override { waiting.clear(); }
  void Write(const std::uint8_t* bytes, std::size_t count) override {
    written.insert(written.end(), bytes, bytes + count);
    ++writes;
  }

  std::vector<std::uint8_t> waiting;
  std::vector<std::uint8_t> written;
  int writes = 0;
};

class Listener final : public link::IntakeListener {
 public:
  void OnWarningCodeChanged(std::uint8_t, std::uint8_t warning_id) override {
    FUZZ_CHECK(warning_id != 0);
  }
  void OnIntakeFinished(const link::IntakeResult&) override {}
};

enum Step : int { kNoise, kStatusFrame, kOperatorChange, kReconnect, kLastStep = kReconnect };

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  link::LinkShared shared;
  shared.metering_source =
      in.ConsumeBool() ? link::MeteringSource::kKnob : link::MeteringSource::kDisplay;
  shared.metering_dialog_open = in.ConsumeBool();
  shared.defaults_confirmed = in.ConsumeBool();
  shared.view_rule_enabled = in.ConsumeBool();
  ScriptedPort port;
  Listener listener;
  link::StatusIntake intake(shared, &listener);
  link::LinkCycle cycle(shared, port, intake);
  sim::DisplayFrameParser controller;

  while (in.remaining_bytes() > 0) {
    switch (in.ConsumeIntegralInRange<int>(0, kLastStep)) {
      case kNoise:
        port.waiting = in.ConsumeBytes<std::uint8_t>(
            in.ConsumeIntegralInRange<std::size_t>(0, link::kStatusFrameSize + 8));
        break;
      case kStatusFrame: {
        std::vector<std::uint8_t> frame = in.ConsumeBytes<std::uint8_t>(link::kStateSize);
        frame.resize(link::kStatusFrameSize);
        link::link_crc16(frame.data(), link::kStateSize);
        port.waiting = frame;
        break;
      }
      case kOperatorChange: {
        const link::PendingWriteRecord& record =
            link::kPendingWriteRecords[in.ConsumeIntegralInRange<std::size_t>(
                0, link::kPendingWriteCount - 1)];
        std::vector<std::uint8_t> bytes = in.ConsumeBytes<std::uint8_t>(record.size);
        bytes.resize(record.size);
        if (record.source == link::DataSource::kRequestImage)
          shared.RequestWrite(record.rec, record.data_offset, bytes.data(), bytes.size());
        else
          shared.pending.Raise(record.rec);
        continue;  // no cycle: several changes may come between two
      }
      case kReconnect:
        shared.reconnect_request.store(1);
        break;
    }
    port.written.clear();
    port.writes = 0;
    cycle.RunOnce();

    FUZZ_CHECK(port.writes == 1);
    FUZZ_CHECK(port.written.size() <= link::kMaxCommandFrameSize);
    controller.Clear();
    controller.Feed(port.written.data(), port.written.size());
    const auto frame = controller.Next();
    FUZZ_CHECK(frame.has_value());
    FUZZ_CHECK(frame->kind == sim::FrameKind::kNull || frame->kind == sim::FrameKind::kReset ||
               frame->kind == sim::FrameKind::kCommand);
    FUZZ_CHECK(frame->bytes == port.written);
    FUZZ_CHECK(!controller.Next().has_value());
  }
  return 0;
}
