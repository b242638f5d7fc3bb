#pragma once

// Texts the service dialogs share.
namespace orvandry::service {

// What a dialog says when the dryer has not answered yet since start-up and nothing was sent.
inline constexpr const char* kNotConnectedText =
    "The dryer has not reported its settings yet.\nNothing was sent. Try again when the dryer's "
    "values are shown.";
inline constexpr const char* kNotConnectedCaption = " NO CONNECTION TO DRYER";

}  // namespace orvandry::service
