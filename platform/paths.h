#pragma once

#include <filesystem>

namespace orvandry::platform {

// Where the display keeps its files: the internal disk (logs, shutdown history, warning help,
// manuals) and the removable USB flash card that exports go to.
class Paths {
 public:
  static constexpr const char* kDefaultUsbDir = "/media/usb";

  Paths(std::filesystem::path data_dir, std::filesystem::path usb_dir)
      : data_dir_(std::move(data_dir)), usb_dir_(std::move(usb_dir)) {}

  const std::filesystem::path& DataDir() const { return data_dir_; }
  const std::filesystem::path& UsbDir() const { return usb_dir_; }
  std::filesystem::path ManualsDir() const { return data_dir_ / "manuals"; }

  // The card counts as present when its folder exists; checked afresh on every call because the
  // operator may pull the card at any time.
  bool UsbPresent() const;

 private:
  std::filesystem::path data_dir_;
  std::filesystem::path usb_dir_;
};

}  // namespace orvandry::platform
