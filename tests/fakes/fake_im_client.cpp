// Stands in for the IM client and the media player: shows top-level windows of given classes and
// titles, and records what is written into its away dialogs. Runs until killed or sent WM_QUIT.
// Usage: fake_im_client.exe LOG [CLASS TITLE]...
// A "#32770" window is an away dialog: it holds a "WndAte32Class" child with an "Ate32Class"
// edit field, and every WM_SETTEXT of that field is appended to LOG as one record.

#include <windows.h>

#include <shellapi.h>  // after windows.h, which it needs

#include <memory>
#include <string>

#include "platform/win32/wide.h"
#include "record_log.h"

namespace {

constexpr wchar_t dialogClass[] = L"#32770";
constexpr wchar_t containerClass[] = L"WndAte32Class";
constexpr wchar_t editClass[] = L"Ate32Class";

// The edit field's log path travels in its creation parameter.
LRESULT CALLBACK editProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    } else if (message == WM_SETTEXT && lParam) {
        const auto* log =
            reinterpret_cast<const std::wstring*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (log) {
            zorvane::fakes::appendRecord(
                *log, zorvane::win32::narrow(reinterpret_cast<const wchar_t*>(lParam)));
        }
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void registerClass(const wchar_t* name, WNDPROC procedure) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = name;
    RegisterClassExW(&windowClass);  // a class named twice is simply already there
}

HWND createWindow(const wchar_t* className, const wchar_t* title, DWORD style, HWND parent,
                  void* parameter = nullptr) {
    return CreateWindowExW(0, className, title, style, 20, 20, 320, 160, parent, nullptr,
                           GetModuleHandleW(nullptr), parameter);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int count = 0;
    const std::unique_ptr<wchar_t*, decltype(&LocalFree)> args(
        CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
    if (!args || count < 2 || count % 2 != 0) return 2;
    std::wstring log = args.get()[1];
    registerClass(containerClass, DefWindowProcW);
    registerClass(editClass, editProc);

    for (int i = 2; i + 1 < count; i += 2) {
        const std::wstring className = args.get()[i];
        const bool isDialog = className == dialogClass;
        // The system's dialog class is there already; any other class is ours to register.
        if (!isDialog) registerClass(className.c_str(), DefWindowProcW);
        const HWND window =
            createWindow(className.c_str(), args.get()[i + 1], WS_OVERLAPPEDWINDOW, nullptr);
        if (!window) return 3;
        if (isDialog) {
            const HWND container = createWindow(containerClass, L"", WS_CHILD | WS_VISIBLE, window);
            if (!createWindow(editClass, L"", WS_CHILD | WS_VISIBLE | WS_BORDER, container, &log)) {
                return 3;
            }
        }
        ShowWindow(window, SW_SHOWNOACTIVATE);
    }

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
