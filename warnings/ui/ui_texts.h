#pragma once

#include <string>
#include <string_view>

#include "platform/prompter.h"
#include "warnings/shutdown_history_store.h"

// Messages of the warnings screens that have no older wording to keep.
namespace orvandry::warnings::ui::texts {

inline constexpr std::string_view kStoreProblemCaption = "SHUTDOWN HISTORY";

inline std::string StoreRecoveredMessage(std::string_view damaged_file) {
  return "The shutdown history was damaged and has been started again, empty.\n"
         "The damaged file was kept for service as:\n" +
         std::string(damaged_file);
}

inline std::string StoreFailedMessage(std::string_view store_file, std::string_view reason) {
  return "ERROR: The shutdown history cannot be opened.\n"
         "Shutdowns will NOT be recorded until this is corrected.\n" +
         std::string(store_file) + "\n(" + std::string(reason) + ")";
}

// A damaged history met while running is set aside just as at start-up, and the operator is told
// the same way: once, by whichever operation set it aside.
inline void TellIfSetAside(platform::Prompter& prompter, const StoreResult& result) {
  if (!result.damaged_file.empty())
    prompter.Ask(StoreRecoveredMessage(result.damaged_file.string()), kStoreProblemCaption,
                 platform::Buttons::kOk, platform::kExclamation);
}

}  // namespace orvandry::warnings::ui::texts
