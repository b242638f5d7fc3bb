#pragma once

#include "shell/view_context.h"

namespace orvandry::views {

using ViewContext = shell::ViewContext;

}  // namespace orvandry::views
