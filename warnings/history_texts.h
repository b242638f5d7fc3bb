#pragma once

#include <string_view>

// The words of the shutdown history screen and its export, kept here so the dialog and the tests
// share one spelling. Texts are used exactly as the operators have always seen them, typos
// included ("ENOUGHT", "INVALIDE").
namespace orvandry::warnings::history_texts {

inline constexpr std::string_view kCaption = "Shutdown History -29";

inline constexpr std::string_view kColumnShutdownId = "Shutdown ID";
inline constexpr std::string_view kColumnNodeId = "Node ID";
inline constexpr std::string_view kColumnDate = "Date";
inline constexpr std::string_view kColumnTime = "Time";

inline constexpr std::string_view kNoItemSelectedText =
    "Select an item, then press \"Show Help File\".";
inline constexpr std::string_view kNoItemSelectedCaption = "NO ITEM SELECTED";

inline constexpr std::string_view kClearQuestionText =
    "Are you sure you want to clear the Shutdown History?";
inline constexpr std::string_view kClearQuestionCaption = "CLEARING SHUTDOWN HISTORY!";

inline constexpr std::string_view kExportFileName = "DryerShutdownHistory.txt";
// Written first and renamed over the export when complete, so a pulled card never holds a
// half-written history under the real name.
inline constexpr std::string_view kExportTempFileName = "DryerShutdownHistory.txt.partial";
// The same history as CSV for a spreadsheet, written beside it the same safe way.
inline constexpr std::string_view kExportCsvFileName = "DryerShutdownHistory.csv";
inline constexpr std::string_view kExportCsvTempFileName = "DryerShutdownHistory.csv.partial";

inline constexpr std::string_view kCardMissingText = "Please insert flash card into USB port.";
inline constexpr std::string_view kCardMissingCaption = "USB FLASH CARD NOT PRESENT";

inline constexpr std::string_view kExportQuestionText =
    "Copy dryer shutdown history to USB flash card as file \"DryerShutdownHistory.txt\".";
inline constexpr std::string_view kExportQuestionCaption = "SHUTDOWN HISTORY TO USB FLASH CARD";

// Store failures during the export, shown without a caption. The two formats take the error
// code as a long.
inline constexpr std::string_view kStoreOpenFailedFormat = "ERROR: CeMountDBVol failed (%ld)";
inline constexpr std::string_view kNotEnoughMemoryText = "NOT ENOUGHT MEMORY!";
inline constexpr std::string_view kInvalidParameterText = "INVALIDE PARAMETER!";
inline constexpr std::string_view kFileNotFoundText = "FILE NOT FOUND!";
inline constexpr std::string_view kStoreErrorFormat = "ERROR: Handler (%ld)";

// File failures on the card. A pulled or full card must never look like a finished copy.
inline constexpr std::string_view kExportFailedCaption = "USB FLASH CARD COPY FAILED";
inline constexpr std::string_view kCannotCreateText =
    "ERROR: Cannot create \"DryerShutdownHistory.txt\" on the USB flash card.\n"
    "Check that the card is inserted and not write-protected.\n"
    "The shutdown history was NOT copied.";
inline constexpr std::string_view kWriteFailedText =
    "ERROR: Writing \"DryerShutdownHistory.txt\" to the USB flash card failed.\n"
    "The card may be full or was removed.\n"
    "The shutdown history was NOT copied.";
inline constexpr std::string_view kExportDoneText =
    "Shutdown history copied to USB flash card as \"DryerShutdownHistory.txt\".";

}  // namespace orvandry::warnings::history_texts
