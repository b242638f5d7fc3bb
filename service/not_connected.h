#pragma once

#include "platform/prompter.h"

namespace orvandry::service {

// What a service dialog says when a change cannot go out because the dryer has not reported its
// settings since start-up.
inline constexpr const char* kNotConnectedText =
    "The dryer has not reported its settings yet.\nNothing was sent. Try again when the dryer's "
    "values are shown.";
inline constexpr const char* kNotConnectedCaption = " NO CONNECTION TO DRYER";

inline void TellNotConnected(platform::Prompter& prompter) {
  prompter.Ask(kNotConnectedText, kNotConnectedCaption, platform::Buttons::kOk,
               platform::kExclamation);
}

}  // namespace orvandry::service
