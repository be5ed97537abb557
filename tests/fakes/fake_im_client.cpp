// Stands in for the IM client, its "aim:" URL handler and the media player.
// Usage: fake_im_client.exe [CLASS TITLE]...   shows top-level windows until killed
//        fake_im_client.exe aim:URL            (the handler) hands the URL to the running client
// A "#32770" window is an away dialog: a "WndAte32Class" holding an "Ate32Class" edit field.
// The client's hidden "FakeImLog" window, made last, keeps what reached the client: each URL
// and each text written into an away dialog becomes a child of it holding that text, with the
// ids 1, 2, ... in order. A text written into an away dialog that begins with "(hang)" is
// recorded, and then the client stops pumping messages for good, as a hung client would.
// Each record holds the performance counter at its arrival as its user data.
// While the client runs, a WM_COPYDATA sent to the log with "CLASS\nTITLE" (UTF-16) opens one
// more window like those of the command line and answers its handle.

#include <windows.h>

#include <string>
#include <string_view>

namespace {

constexpr wchar_t logClass[] = L"FakeImLog";

void record(const wchar_t* text) {
    SendMessageW(FindWindowW(logClass, nullptr), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

LRESULT CALLBACK editProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT && lParam) {
        const auto text = reinterpret_cast<const wchar_t*>(lParam);
        record(text);
        if (std::wstring_view(text).starts_with(L"(hang)")) Sleep(INFINITE);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND create(const wchar_t* className, const wchar_t* title, HWND parent,
            WNDPROC procedure = DefWindowProcW) {
    const WNDCLASSW windowClass{.lpfnWndProc = procedure,
                                .hInstance = GetModuleHandleW(nullptr),
                                .lpszClassName = className};
    // The system's dialog class is there already; a class registered twice simply is there.
    if (std::wstring_view(className) != L"#32770") RegisterClassW(&windowClass);
    return CreateWindowExW(0, className, title,
                           parent ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW, 20, 20, 320, 160,
                           parent, nullptr, GetModuleHandleW(nullptr), nullptr);
}

LONG_PTR performanceCounter() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// A top-level window, shown, with the performance counter at its creation as its user data; a
// "#32770" one is an away dialog with its edit field.
HWND open(const wchar_t* className, const wchar_t* title) {
    const HWND window = create(className, title, nullptr);
    SetWindowLongPtrW(window, GWLP_USERDATA, performanceCounter());
    if (window && std::wstring_view(className) == L"#32770") {
        create(L"Ate32Class", L"", create(L"WndAte32Class", L"", window), editProc);
    }
    if (window) ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

LRESULT CALLBACK logProc(HWND log, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        const std::wstring request(static_cast<const wchar_t*>(data->lpData),
                                   data->cbData / sizeof(wchar_t));
        const std::size_t newline = request.find(L'\n');
        if (newline == std::wstring::npos) return 0;
        const HWND window =
            open(request.substr(0, newline).c_str(), request.substr(newline + 1).c_str());
        return reinterpret_cast<LRESULT>(window);
    }
    if (message != WM_SETTEXT) return DefWindowProcW(log, message, wParam, lParam);
    const LONG_PTR now = performanceCounter();
    const LONG_PTR count = GetWindowLongPtrW(log, GWLP_USERDATA) + 1;
    SetWindowLongPtrW(log, GWLP_USERDATA, count);
    const HWND record =
        CreateWindowExW(0, L"Static", reinterpret_cast<const wchar_t*>(lParam), WS_CHILD, 0, 0, 0,
                        0, log, reinterpret_cast<HMENU>(count), nullptr, nullptr);
    SetWindowLongPtrW(record, GWLP_USERDATA, now);
    return TRUE;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    if (__argc > 1 && std::wstring_view(__wargv[1]).starts_with(L"aim:")) {
        // Anything but exactly one URL means the shell split it: record that visibly.
        record(__argc == 2 ? __wargv[1] : L"<not one URL>");
        return 0;
    }
    for (int i = 1; i + 1 < __argc; i += 2) {
        if (!open(__wargv[i], __wargv[i + 1])) return 3;
    }
    create(logClass, L"", nullptr, logProc);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}
