#include "platform/win32/message_pump.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace zorvane::win32 {

void dispatch(MSG& message) {
    // Every window this thread's queue serves is our own; its top-level window handles Tab.
    const HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (root && IsDialogMessageW(root, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

void pumpPendingMessages() {
    // The system makes a fresh WM_TIMER whenever a timer is due, and handlers post messages:
    // a pump that ran until the queue was empty would never return once a handler outlasted a
    // timer's period. So each timer runs at most once here, and the first message that arrived
    // after the pump began is the last one it runs; the rest wait for the next pump.
    const DWORD start = GetTickCount();
    std::vector<std::pair<HWND, WPARAM>> timersRun;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE)) {
        const std::pair timer(message.hwnd, message.wParam);
        if (message.message == WM_TIMER && std::ranges::count(timersRun, timer)) return;
        if (!PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) return;
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            return;
        }
        if (message.message == WM_TIMER) timersRun.emplace_back(message.hwnd, message.wParam);
        dispatch(message);
        if (static_cast<LONG>(message.time - start) > 0) return;
    }
}

}  // namespace zorvane::win32
