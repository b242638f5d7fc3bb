#pragma once

#include <cstdint>

#include "link/link_shared.h"
#include "link/repaint_set.h"

namespace orvandry::link {

// What one accepted frame asks of the UI side. Delivered once per frame, after DryerState holds
// the frame's values, so the UI can act on it with a single queued call.
struct IntakeResult {
  RepaintSet repaints;
  bool apply_view_rule = false;       // byte 8 changed (while enabled) or bit 0x40 of 266 changed
  bool update_batch_buttons = false;  // byte 8 changed
};

// The link thread's view of the rest of the program. Both calls come from the link thread.
class IntakeListener {
 public:
  virtual ~IntakeListener() = default;
  // The live warning code changed to a non-zero warning id.
  virtual void OnWarningCodeChanged(std::uint8_t node_id, std::uint8_t warning_id) = 0;
  // The frame has been taken in.
  virtual void OnIntakeFinished(const IntakeResult& result) = 0;
};

// Brings DryerState up to date from one accepted StatusFrame: compare and copy field by field in
// a fixed walk from byte 3 upward, lower echoed PendingWrites, derive the values the display
// computes itself, raise the requests to the message loop, and collect the views to repaint.
// Runs only on the link thread and allocates nothing. Every echo test that lowers a flag, and
// every write of its own to the request image, holds LinkShared::request_lock.
class StatusIntake {
 public:
  StatusIntake(LinkShared& shared, IntakeListener* listener);

  // `frame` holds the 300 data bytes of a frame that passed the length and CRC check.
  IntakeResult Run(const std::uint8_t* frame);

 private:
  void TakeField(const std::uint8_t* frame, std::size_t start, std::size_t width, IntakeResult& out);
  void OnFieldChanged(const std::uint8_t* frame, std::size_t start, std::uint8_t old_first,
                      IntakeResult& out);
  void TakeMeteringBytes(const std::uint8_t* frame, IntakeResult& out);
  void ApplyBushelClearing();
  void TestEqualRecords(bool before_copy);
  void AddTiedRepaints(IntakeResult& out) const;
  bool HoldRunningTimer(const std::uint8_t* frame, std::size_t start, Rec rec);

  LinkShared& shared_;
  IntakeListener* listener_;
  std::uint8_t previous_display_settings_ = 0;
};

}  // namespace orvandry::link
