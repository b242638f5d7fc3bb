#pragma once

#include <cstdint>
#include <span>

#include "link/pending_write.h"

namespace orvandry::link {

// Told of every record a screen commits through SettingEdit, on the UI thread, after the commit
// (the request lock is no longer held). `bytes` are the record's bytes as the commit stored them
// (empty for records whose data come from DryerState). What the observer does costs the screen,
// never the link thread. app/ sets one (LinkShared::commit_observer) before the display starts.
class CommitObserver {
 public:
  virtual ~CommitObserver() = default;
  virtual void OnCommitted(Rec rec, std::span<const std::uint8_t> bytes) = 0;
};

}  // namespace orvandry::link
