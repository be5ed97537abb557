// Stands in for the IM client, its "aim:" URL handler and the media player.
// Usage: fake_im_client.exe         runs until killed, registered as the "aim:" handler (its
//                                   starter removes that)
//        fake_im_client.exe URL     (the handler) hands the URL to the running client
// The client's hidden "FakeImLog" window, made once the handler is registered, keeps what
// reached the client: each URL and each text written into an away dialog becomes a child of it
// holding that text, with the ids 1, 2, ... in order. A WM_COPYDATA sent to the log with
// "CLASS\0TITLE\0" (UTF-16) opens a top-level window and answers its handle; a "#32770" one is an
// away dialog: a "WndAte32Class" holding an "Ate32Class" edit field. A text written there that
// begins with "(hang)" is recorded, and then the client stops pumping messages for good, as a
// hung client would. Each window the client makes, records too, holds the performance counter
// at its making, in microseconds, as its user data.

#include <windows.h>

#include <string>
#include <string_view>

namespace {

bool record(const wchar_t* text) {
    return SendMessageW(FindWindowW(L"FakeImLog", nullptr), WM_SETTEXT, 0,
                        reinterpret_cast<LPARAM>(text));
}

LRESULT CALLBACK editProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTEXT && lParam) {
        record(reinterpret_cast<const wchar_t*>(lParam));
        if (std::wstring_view(reinterpret_cast<const wchar_t*>(lParam)).starts_with(L"(hang)"))
            Sleep(INFINITE);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND create(const wchar_t* className, const wchar_t* title, HWND parent = nullptr,
            WNDPROC procedure = DefWindowProcW, INT_PTR id = 0) {
    // A class registered twice simply is there.
    const WNDCLASSW windowClass{.lpfnWndProc = procedure, .lpszClassName = className};
    RegisterClassW(&windowClass);
    const HWND window =
        CreateWindowExW(0, className, title, parent ? WS_CHILD : WS_OVERLAPPEDWINDOW, 20, 20, 320,
                        160, parent, reinterpret_cast<HMENU>(id), nullptr, nullptr);
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      static_cast<LONG_PTR>(1e6 * now.QuadPart / frequency.QuadPart));
    return window;
}

LRESULT CALLBACK logProc(HWND log, UINT message, WPARAM wParam, LPARAM lParam) {
    static INT_PTR records = 0;  // there is one log
    if (message == WM_SETTEXT) {
        create(L"FakeImRecord", reinterpret_cast<const wchar_t*>(lParam), log, DefWindowProcW,
               ++records);
        return TRUE;
    }
    if (message != WM_COPYDATA) return DefWindowProcW(log, message, wParam, lParam);
    const auto* className = static_cast<const wchar_t*>(
        reinterpret_cast<const COPYDATASTRUCT*>(lParam)->lpData);  // then the title
    const HWND window = create(className, className + wcslen(className) + 1);
    if (std::wstring_view(className) == L"#32770")
        create(L"Ate32Class", L"", create(L"WndAte32Class", L"", window), editProc);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return reinterpret_cast<LRESULT>(window);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // The handler: anything but exactly one URL means the shell split it.
    if (__argc > 1) return record(__argc == 2 ? __wargv[1] : L"<not one URL>") ? 0 : 1;
    wchar_t me[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, me, MAX_PATH);
    const std::wstring handler = L'"' + std::wstring(me) + L"\" \"%1\"";
    RegSetKeyValueW(HKEY_CLASSES_ROOT, L"aim", L"URL Protocol", REG_SZ, L"", sizeof L"");
    RegSetKeyValueW(HKEY_CLASSES_ROOT, L"aim\\shell\\open\\command", nullptr, REG_SZ,
                    handler.c_str(), (handler.size() + 1) * sizeof(wchar_t));
    create(L"FakeImLog", L"", nullptr, logProc);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}
