#pragma once

#include <string>
#include <string_view>

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

}  // namespace orvandry::warnings::ui::texts
