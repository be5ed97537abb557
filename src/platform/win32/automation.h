#pragma once
// The web browser's automation object over late-bound COM (IDispatch).

#include <expected>
#include <memory>
#include <string_view>

#include "platform/desktop.h"
#include "platform/win32/apartment_thread.h"

namespace zorvane::win32 {

// A new, hidden window of "InternetExplorer.Application", made and driven on `thread`. Needs COM
// on this thread too, to look the class up.
std::expected<std::unique_ptr<Browser>, NoBrowser> createInternetExplorer(ApartmentThread& thread);

}  // namespace zorvane::win32
