#include "platform/paths.h"

#include <system_error>

namespace orvandry::platform {

bool Paths::UsbPresent() const {
  std::error_code error;  // an unreadable mount point is an absent card, never an exception
  return std::filesystem::is_directory(usb_dir_, error);
}

}  // namespace orvandry::platform
