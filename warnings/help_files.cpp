#include "warnings/help_files.h"

#include <algorithm>
#include <cstdio>

namespace orvandry::warnings {
namespace {

constexpr std::uint8_t kFirstFanHeaterNode = 2;
constexpr std::uint8_t kLastFanHeaterNode = 7;
constexpr int kFirstDoorPicture = 141;
constexpr int kDoorPictures = 4;

}  // namespace

std::uint8_t HelpFileNodeId(std::uint8_t node_id) {
  return node_id >= kFirstFanHeaterNode && node_id <= kLastFanHeaterNode ? kFirstFanHeaterNode
                                                                         : node_id;
}

std::string HelpFileStem(WarningCode code) {
  char stem[40];
  std::snprintf(stem, sizeof stem, "NID_%02d_WARNING_ID_%02d", HelpFileNodeId(NodeIdOf(code)),
                WarningIdOf(code));
  return stem;
}

std::filesystem::path HelpFolder(const std::filesystem::path& data_dir) {
  return data_dir / kHelpFolderName;
}

std::filesystem::path HelpTextPath(const std::filesystem::path& data_dir, WarningCode code) {
  return HelpFolder(data_dir) / (HelpFileStem(code) + ".txt");
}

std::filesystem::path HelpPicturePath(const std::filesystem::path& data_dir, WarningCode code) {
  return HelpFolder(data_dir) / (HelpFileStem(code) + ".bmp");
}

std::filesystem::path DoorAnimationFramePath(const std::filesystem::path& data_dir, int frame) {
  frame %= kDoorAnimationFrames;
  if (frame < 0) frame += kDoorAnimationFrames;
  const int picture = kFirstDoorPicture + std::min(frame, kDoorPictures - 1);
  char name[24];
  std::snprintf(name, sizeof name, "IMG_%04d.bmp", picture);
  return HelpFolder(data_dir) / name;
}

std::filesystem::path HelpPictureToShow(const std::filesystem::path& data_dir,
                                        WarningCode live_code, WarningCode help_code, int frame) {
  if (live_code == kDoorAnimationCode) return DoorAnimationFramePath(data_dir, frame);
  return HelpPicturePath(data_dir, help_code);
}

}  // namespace orvandry::warnings
