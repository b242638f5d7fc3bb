#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "warnings/warning_code.h"

namespace orvandry::warnings {

// Help texts and pictures live in this folder of the data folder; they are installed beside the
// display and only read here.
inline constexpr std::string_view kHelpFolderName = "WarningBitmaps";

// The rear discharge door warning shows a short animation of the door instead of one picture.
inline constexpr WarningCode kDoorAnimationCode = 0x0E05;
// Frames per cycle at one frame per 100 ms tick; the last picture holds for the last four.
inline constexpr int kDoorAnimationFrames = 7;

inline constexpr std::string_view kNoHelpPictureText = "No help file available for this topic.";
inline constexpr std::string_view kNoHelpPictureCaption = " WARNING HELP FILE INFORMATION";

// The node id a code's help files are filed under: the six fan/heaters share the files of the
// first one, every other node has its own.
std::uint8_t HelpFileNodeId(std::uint8_t node_id);

// "NID_14_WARNING_ID_05" for 0x0E05, "NID_02_WARNING_ID_05" for 0x0605: both numbers decimal.
std::string HelpFileStem(WarningCode code);

std::filesystem::path HelpFolder(const std::filesystem::path& data_dir);
std::filesystem::path HelpTextPath(const std::filesystem::path& data_dir, WarningCode code);
std::filesystem::path HelpPicturePath(const std::filesystem::path& data_dir, WarningCode code);

// The picture the help window shows: the door frame for the live code 0x0E05 (whichever code's
// help is open), the help code's own picture otherwise. `frame` wraps at kDoorAnimationFrames.
std::filesystem::path HelpPictureToShow(const std::filesystem::path& data_dir,
                                        WarningCode live_code, WarningCode help_code, int frame);

// IMG_0141.bmp, IMG_0142.bmp, IMG_0143.bmp, then IMG_0144.bmp for frames 3 to 6.
std::filesystem::path DoorAnimationFramePath(const std::filesystem::path& data_dir, int frame);

}  // namespace orvandry::warnings
