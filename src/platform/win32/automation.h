#pragma once
// The web browser's automation object over late-bound COM (IDispatch), and the shell's way of
// opening an address in the default browser.

#include <expected>
#include <memory>
#include <string_view>

#include "platform/desktop.h"

namespace zorvane::win32 {

// A new, hidden window of "InternetExplorer.Application". Needs COM on this thread.
std::expected<std::unique_ptr<Browser>, NoBrowser> createInternetExplorer();

void openInDefaultBrowser(std::string_view url);

}  // namespace zorvane::win32
