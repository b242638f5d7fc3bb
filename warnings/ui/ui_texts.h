#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/prompter.h"
#include "warnings/shutdown_history_store.h"

// Messages of the warnings screens that have no older wording to keep.
namespace orvandry::warnings::ui::texts {

inline constexpr std::string_view kStoreProblemCaption = "SHUTDOWN HISTORY";

// Damage found and dealt with: how much of the history was kept, and where the damaged file went
// (by name; it stays in the history's own folder).
inline std::string StoreRecoveredMessage(std::string_view damaged_file_name,
                                         std::size_t records_kept) {
  const std::string kept =
      records_kept == 0
          ? std::string("No record in it could be read; the history starts again, empty.")
          : std::to_string(records_kept) + (records_kept == 1 ? " record was" : " records were") +
                " read and kept;\nonly what could not be read is lost.";
  return "The shutdown history was damaged.\n" + kept +
         "\nThe damaged file was kept for service as:\n" + std::string(damaged_file_name);
}

inline std::string StoreRepairedMessage(std::size_t records_kept) {
  return "The shutdown history was damaged and has been repaired.\nAll " +
         std::to_string(records_kept) + (records_kept == 1 ? " record was" : " records were") +
         " kept.";
}

inline std::string StoreFailedMessage(std::string_view store_file, std::string_view reason) {
  return "ERROR: The shutdown history cannot be opened.\n"
         "Shutdowns will NOT be recorded until this is corrected.\n" +
         std::string(store_file) + "\n(" + std::string(reason) + ")";
}

inline std::string StoreReadOnlyMessage(std::string_view reason) {
  return "New shutdowns CANNOT be stored:\n" + std::string(reason) +
         ".\nThe stored shutdowns can still be listed and copied to the USB flash card.";
}

// Damage met by any operation is dealt with there and the operator told the same way: once, by
// whichever operation met it.
inline void TellIfDamaged(platform::Prompter& prompter, const StoreResult& result) {
  if (!result.damaged_file.empty())
    prompter.Ask(
        StoreRecoveredMessage(result.damaged_file.filename().string(), result.records_kept),
        kStoreProblemCaption, platform::Buttons::kOk, platform::kExclamation);
  else if (result.status == StoreStatus::kRepaired)
    prompter.Ask(StoreRepairedMessage(result.records_kept), kStoreProblemCaption,
                 platform::Buttons::kOk, platform::Icon::kInformation);
}

}  // namespace orvandry::warnings::ui::texts
