#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "link/byte_image.h"
#include "link/pending_write.h"

namespace orvandry::journal {

// Whether an operator's commit of `rec` goes into the journal: every record a screen stores and
// the controller echoes. One-shot records (the clock, the printer command) are sent once and never
// echoed, and the records whose bytes come from DryerState (the metering copies) carry nothing of
// the operator's, so neither is journalled.
bool Journalled(link::Rec rec);

// The record as the operator knows it ("PLENUM 1 SETPOINT"); "RECORD <number>" for the records no
// entry of the table names.
std::string RecordName(link::Rec rec);

// The record's value as the screens show it: temperatures in the panel's units, timers as
// minutes:seconds, moisture in percent; the raw bytes in hex for the records the table does not
// know. `bytes` are the record's bytes from its target offset on (RecordOf(rec).size of them).
std::string FormatValue(link::Rec rec, std::span<const std::uint8_t> bytes, bool si_units);

// The value the controller reports for `rec` now (its bytes in DryerState), formatted as above.
std::string FormatReported(link::Rec rec, const link::ByteImage& dryer_state, bool si_units);

}  // namespace orvandry::journal
