#include "driver.h"

#include <algorithm>
#include <chrono>

#include "platform/win32/message_pump.h"
#include "platform/win32/wide.h"
#include "windows/control_ids.h"

namespace zorvane::driver {
namespace {

using win32::narrow;
using win32::widen;

// A message to another program waits this long for its reply: a hung program fails the test
// instead of stalling it. 0 when no reply came.
LRESULT ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result);
    return static_cast<LRESULT>(result);
}

// A window's text (WM_GETTEXT) or a list box's item (LB_GETTEXT): its length first.
std::string fetch(HWND window, UINT lengthMessage, UINT textMessage, WPARAM item = 0) {
    std::wstring buffer(std::max<LRESULT>(ask(window, lengthMessage, item), 0) + 1, L'\0');
    const WPARAM wParam = textMessage == WM_GETTEXT ? buffer.size() : item;
    buffer.resize(std::max<LRESULT>(
        ask(window, textMessage, wParam, reinterpret_cast<LPARAM>(buffer.data())), 0));
    return narrow(buffer);
}

// A double click is a click, then a second press reported as such.
void clickAt(HWND window, int x, int y, bool twice) {
    for (int press = 0; press < (twice ? 2 : 1); ++press) {
        PostMessageW(window, press ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON,
                     MAKELPARAM(x, y));
        PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
}

// The programs are built beside the test programs. Nothing quoted here ends in a backslash or
// holds a quote.
std::wstring quoted(std::wstring_view text) { return L'"' + std::wstring(text) + L'"'; }

std::wstring besideMe(std::wstring_view name) {
    wchar_t path[MAX_PATH] = {};
    const std::wstring_view me(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return quoted(std::wstring(me.substr(0, me.find_last_of(L'\\') + 1)) + std::wstring(name));
}

// The first visible top-level window of the process (of any, for 0) that `matches`, once there
// is one; null if none shows in time.
HWND waitForWindow(DWORD processId, const std::function<bool(HWND)>& matches) {
    HWND found = nullptr;
    waitUntil([&] {
        while ((found = FindWindowExW(nullptr, found, nullptr, nullptr))) {
            DWORD owner = 0;
            GetWindowThreadProcessId(found, &owner);
            if ((!processId || owner == processId) && IsWindowVisible(found) && matches(found))
                return true;
        }
        return false;
    });
    return found;
}

double inSeconds(LONGLONG counterReading) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counterReading) / static_cast<double>(frequency.QuadPart);
}

}  // namespace

bool waitUntil(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        win32::pumpPendingMessages();
    }
    return true;
}

double counterSeconds() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return inSeconds(now.QuadPart);
}

std::string text(HWND window) { return fetch(window, WM_GETTEXTLENGTH, WM_GETTEXT); }

std::string className(HWND window) {
    wchar_t name[256] = {};
    return narrow(std::wstring_view(name, GetClassNameW(window, name, std::size(name))));
}

void type(HWND edit, std::string_view text) {
    ask(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(widen(text).c_str()));
}

void paste(HWND edit, std::string_view text) {
    ask(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(widen(text).c_str()));
}

void press(HWND control, WPARAM key) {
    PostMessageW(control, WM_KEYDOWN, key, 0);
    PostMessageW(control, WM_KEYUP, key, 0);
}

HWND focus(HWND window) {
    GUITHREADINFO info{.cbSize = sizeof info};
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus
                                                                              : nullptr;
}

void click(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    clickAt(control, client.right / 2, client.bottom / 2, false);
}

void clickItem(HWND listBox, int index, bool twice) {
    const auto height = static_cast<int>(ask(listBox, LB_GETITEMHEIGHT));
    const auto top = static_cast<int>(ask(listBox, LB_GETTOPINDEX));
    clickAt(listBox, 8, (index - top) * height + height / 2, twice);
}

std::vector<std::string> items(HWND listBox) {
    std::vector<std::string> found;
    for (LRESULT i = 0; i < ask(listBox, LB_GETCOUNT); ++i)
        found.push_back(fetch(listBox, LB_GETTEXTLEN, LB_GETTEXT, i));
    return found;
}

void appendItem(HWND listBox, std::string_view item) {
    ask(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(item).c_str()));
}

HWND child(HWND root, int id) {
    return child(root, [id](HWND window) { return GetDlgCtrlID(window) == id; });
}

HWND child(HWND root, const std::function<bool(HWND)>& matches) {
    for (HWND window = root ? GetWindow(root, GW_CHILD) : nullptr; window;
         window = GetWindow(window, GW_HWNDNEXT)) {
        if (matches(window)) return window;
        if (const HWND inner = child(window, matches)) return inner;
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
    if (!info.hProcess) return;
    TerminateProcess(info.hProcess, 1);
    WaitForSingleObject(info.hProcess, 10000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

FakeImClient::FakeImClient(const FakeWindows& windows)
    : process([&] {
          std::wstring command = besideMe(L"fake_im_client.exe");
          for (const auto& [className, title] : windows)
              command += L' ' + quoted(widen(className)) + L' ' + quoted(widen(title));
          return command;
      }()) {
    const auto set = [](const wchar_t* key, const wchar_t* name, const std::wstring& value) {
        return RegSetKeyValueW(HKEY_CLASSES_ROOT, key, name, REG_SZ, value.c_str(),
                               (value.size() + 1) * sizeof(wchar_t)) == ERROR_SUCCESS;
    };
    const std::wstring handler = besideMe(L"fake_im_client.exe") + L" \"%1\"";
    if (process.info.hProcess && set(L"aim", L"URL Protocol", L"") &&
        set(L"aim\\shell\\open\\command", nullptr, handler)) {
        // The client makes its log last, once its other windows are up.
        waitUntil([&] { return (log = FindWindowW(L"FakeImLog", nullptr)) != nullptr; });
    }
}

std::vector<std::string> FakeImClient::records(std::size_t count) const {
    std::vector<std::string> found;
    waitUntil([&] {
        for (HWND record; (record = GetDlgItem(log, static_cast<int>(found.size()) + 1));)
            found.push_back(text(record));
        return found.size() >= count;
    });
    return found;
}

double FakeImClient::arrival(std::size_t index) const {
    return inSeconds(
        GetWindowLongPtrW(GetDlgItem(log, static_cast<int>(index) + 1), GWLP_USERDATA));
}

double FakeImClient::made(HWND window) {
    return inSeconds(GetWindowLongPtrW(window, GWLP_USERDATA));
}

HWND FakeImClient::open(std::string_view className, std::string_view title) const {
    const std::wstring request = widen(className) + L'\n' + widen(title);
    COPYDATASTRUCT data{.cbData = static_cast<DWORD>(request.size() * sizeof(wchar_t)),
                        .lpData = const_cast<wchar_t*>(request.data())};
    return reinterpret_cast<HWND>(ask(log, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)));
}

Zorvane::Zorvane(bool start, WORD show) {
    if (start) process = std::make_unique<Process>(besideMe(L"..\\..\\zorvane.exe"), show);
    if (start && !process->info.hProcess) return;
    processId = start ? process->info.dwProcessId : 0;
    main = window("Zorvane v1.0");
    GetWindowThreadProcessId(main, &processId);
}

HWND Zorvane::window(std::string_view caption) const {
    return waitForWindow(processId, [&](HWND window) { return text(window) == caption; });
}

HWND Zorvane::dialog(std::string_view shown) const {
    return waitForWindow(processId, [&](HWND window) {
        return className(window) == "#32770" && child(window, [&](HWND item) {
                   return className(item) == "Static" && text(item) == shown;
               });
    });
}

bool Zorvane::answer(HWND dialog, const char* typed, int button) const {
    if (!dialog) return false;
    if (typed) type(child(dialog, [](HWND item) { return className(item) == "Edit"; }), typed);
    click(GetDlgItem(dialog, button));
    return waitUntil([&] { return !IsWindow(dialog); });
}

bool Zorvane::add(HWND extra, const char* name, const char* message, int button) const {
    click(child(extra, ids::add));
    return answer(dialog("Enter Screen Name:"), name, button) &&
           answer(dialog("Enter Message:"), message, button);
}

}  // namespace zorvane::driver
