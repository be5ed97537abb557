#pragma once
// The web browser's automation object over late-bound COM (IDispatch).

#include <expected>
#include <memory>
#include <string_view>

#include "platform/desktop.h"

namespace zorvane::win32 {

// A new, hidden window of "InternetExplorer.Application". Needs COM on this thread.
std::expected<std::unique_ptr<Browser>, NoBrowser> createInternetExplorer();

}  // namespace zorvane::win32
