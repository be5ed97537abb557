#include "driver.h"

#include <algorithm>
#include <chrono>

#include "platform/win32/message_pump.h"
#include "platform/win32/wide.h"
#include "windows/control_ids.h"

namespace zorvane::driver {
namespace {

// A message to another program waits this long for its reply: a hung program fails the test
// instead of stalling it. 0 when no reply came.
LRESULT ask(HWND window, UINT message, WPARAM wParam = 0, const void* lParam = nullptr) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, reinterpret_cast<LPARAM>(lParam), SMTO_ABORTIFHUNG,
                        10000, &result);
    return static_cast<LRESULT>(result);
}

// A window's text (WM_GETTEXT) or a list box's item `index` (LB_GETTEXT).
std::string fetch(HWND window, UINT message, WPARAM index = 0) {
    std::wstring text(65536, L'\0');
    const WPARAM wParam = message == WM_GETTEXT ? text.size() : index;
    text.resize(std::max<LRESULT>(ask(window, message, wParam, text.data()), 0));
    return win32::narrow(text);
}

// The programs are built beside the test programs.
std::wstring besideMe(const wchar_t* name) {
    std::wstring path(MAX_PATH, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), MAX_PATH));
    return L'"' + path.substr(0, path.rfind(L'\\') + 1) + name + L'"';
}

// The first visible top-level window of the process (of any, for 0) with this caption (any, for
// null) and showing `shown` (if not null) in a label of its own, once there is one.
HWND find(DWORD processId, const wchar_t* caption, const wchar_t* shown) {
    HWND found = nullptr;
    waitUntil([&] {
        while ((found = FindWindowExW(nullptr, found, nullptr, caption))) {
            DWORD owner = 0;
            GetWindowThreadProcessId(found, &owner);
            if ((!processId || owner == processId) && IsWindowVisible(found) &&
                (!shown || FindWindowExW(found, nullptr, L"Static", shown)))
                return true;
        }
        return false;
    });
    return found;
}

}  // namespace

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        win32::pumpPendingMessages();
    }
    return true;
}

std::string text(HWND window) { return fetch(window, WM_GETTEXT); }

void type(HWND edit, std::string_view text) {
    ask(edit, EM_SETSEL, 0, reinterpret_cast<void*>(-1));
    ask(edit, EM_REPLACESEL, TRUE, win32::widen(text).c_str());
}

void click(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    for (const UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP})
        PostMessageW(control, message, 0, MAKELPARAM(client.right / 2, client.bottom / 2));
}

// A double click is a click, then a second press reported as such.
void doubleClick(HWND listBox, int item) {
    const auto height = static_cast<int>(ask(listBox, LB_GETITEMHEIGHT));
    for (const UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
        PostMessageW(listBox, message, 0, MAKELPARAM(8, item * height + height / 2));
}

std::vector<std::string> items(HWND listBox) {
    std::vector<std::string> found;
    for (LRESULT i = 0; i < ask(listBox, LB_GETCOUNT); ++i)
        found.push_back(fetch(listBox, LB_GETTEXT, i));
    return found;
}

void appendItem(HWND listBox, std::string_view item) {
    ask(listBox, LB_ADDSTRING, 0, win32::widen(item).c_str());
}

HWND child(HWND root, int id) {
    for (HWND window = GetWindow(root, GW_CHILD); window; window = GetWindow(window, GW_HWNDNEXT)) {
        if (GetDlgCtrlID(window) == id) return window;
        if (const HWND inner = child(window, id)) return inner;
    }
    return nullptr;
}

Process::Process(std::wstring commandLine, WORD show) {
    STARTUPINFOW startup{
        .cb = sizeof startup, .dwFlags = STARTF_USESHOWWINDOW, .wShowWindow = show};
    CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                   &startup, &info);
}

Process::~Process() {
    TerminateProcess(info.hProcess, 1);
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

// The client registers itself as the handler, then makes its log.
FakeImClient::FakeImClient() : process(besideMe(L"fake_im_client.exe")) {
    waitUntil([&] { return (log = FindWindowW(L"FakeImLog", nullptr)) || !process.info.hProcess; });
}

std::vector<std::string> FakeImClient::records(std::size_t count) const {
    std::vector<std::string> found;
    waitUntil([&] {
        while (const HWND next = GetDlgItem(log, static_cast<int>(found.size()) + 1))
            found.push_back(text(next));
        return found.size() >= count;
    });
    return found;
}

HWND FakeImClient::open(std::string_view className, std::string_view title) const {
    const std::wstring request = win32::widen(className) + L'\0' + win32::widen(title) + L'\0';
    const COPYDATASTRUCT data{.cbData = static_cast<DWORD>(request.size() * sizeof(wchar_t)),
                              .lpData = const_cast<wchar_t*>(request.data())};
    return reinterpret_cast<HWND>(ask(log, WM_COPYDATA, 0, &data));
}

Zorvane::Zorvane(bool start, WORD show, const wchar_t* program) {
    if (start) process = std::make_unique<Process>(besideMe(program), show);
    main = find(start ? process->info.dwProcessId : 0, L"Zorvane v1.0", nullptr);
    GetWindowThreadProcessId(main, &processId);
}

HWND Zorvane::window(std::string_view caption) const {
    return find(processId, win32::widen(caption).c_str(), nullptr);
}

HWND Zorvane::answer(std::string_view shown, const char* typed) const {
    const HWND dialog = find(processId, nullptr, win32::widen(shown).c_str());
    if (!dialog) return nullptr;
    const HWND owner = GetWindow(dialog, GW_OWNER);
    if (typed) type(FindWindowExW(dialog, nullptr, L"Edit", nullptr), typed);
    click(GetDlgItem(dialog, IDOK));
    return waitUntil([&] { return !IsWindow(dialog); }) ? owner : nullptr;
}

bool Zorvane::add(HWND extra, const char* name, const char* message) const {
    click(child(extra, ids::add));
    return answer("Enter Screen Name:", name) && answer("Enter Message:", message);
}

}  // namespace zorvane::driver
