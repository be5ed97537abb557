#include "zorvane_driver.h"

#include <functional>
#include <utility>

#include "platform/win32/wide.h"
#include "windows/control_ids.h"

namespace zorvane::e2e {
namespace {

using win32::narrow;
using win32::widen;

constexpr std::string_view mainCaption = "Zorvane v1.0";
constexpr std::string_view awayCommand = "aim:goaway?message=";

// A message sent to Zorvane waits this long for its reply: a hung program fails the test
// instead of stalling it. -1 when no reply came.
LRESULT ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 10000, &result)) {
        return -1;
    }
    return static_cast<LRESULT>(result);
}

std::string className(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return narrow(name);
}

HWND findChild(HWND root, const std::function<bool(HWND)>& matches) {
    struct Search {
        const std::function<bool(HWND)>& matches;
        HWND found = nullptr;
    } search{matches};
    if (!root) return nullptr;
    // Every descendant, so the labels inside their frames are found as well.
    EnumChildWindows(
        root,
        [](HWND window, LPARAM param) -> BOOL {
            auto& search = *reinterpret_cast<Search*>(param);
            if (!search.matches(window)) return TRUE;
            search.found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Top-level windows of the process; of every process when `processId` is 0.
std::vector<HWND> topLevelWindows(DWORD processId) {
    std::pair<DWORD, std::vector<HWND>> search{processId, {}};
    EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto& [wanted, found] = *reinterpret_cast<decltype(search)*>(param);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (wanted == 0 || owner == wanted) found.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

void post(HWND window, UINT message, POINT at) {
    PostMessageW(window, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(at.x, at.y));
}

POINT itemCentre(HWND listBox, int index) {
    const LRESULT height = ask(listBox, LB_GETITEMHEIGHT);
    const LRESULT top = ask(listBox, LB_GETTOPINDEX);
    return {8, static_cast<LONG>((index - top) * height + height / 2)};
}

}  // namespace

std::string text(HWND window) {
    const LRESULT length = ask(window, WM_GETTEXTLENGTH);
    if (length <= 0) return {};
    std::wstring buffer(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT copied =
        ask(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
    return narrow(buffer);
}

void type(HWND edit, std::string_view text) {
    const std::wstring wide = widen(text);
    ask(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

void click(HWND control) {
    RECT client{};
    GetClientRect(control, &client);
    const POINT centre{client.right / 2, client.bottom / 2};
    post(control, WM_LBUTTONDOWN, centre);
    post(control, WM_LBUTTONUP, centre);
}

void clickItem(HWND listBox, int index) {
    const POINT at = itemCentre(listBox, index);
    post(listBox, WM_LBUTTONDOWN, at);
    post(listBox, WM_LBUTTONUP, at);
}

void doubleClickItem(HWND listBox, int index) {
    clickItem(listBox, index);
    const POINT at = itemCentre(listBox, index);
    post(listBox, WM_LBUTTONDBLCLK, at);
    post(listBox, WM_LBUTTONUP, at);
}

void appendItem(HWND listBox, std::string_view item) {
    const std::wstring wide = widen(item);
    ask(listBox, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(wide.c_str()));
}

std::vector<std::string> items(HWND listBox) {
    std::vector<std::string> found;
    const LRESULT count = ask(listBox, LB_GETCOUNT);
    for (int i = 0; i < count; ++i) {
        const LRESULT length = ask(listBox, LB_GETTEXTLEN, i);
        std::wstring item(length < 0 ? 0 : static_cast<std::size_t>(length) + 1, L'\0');
        const LRESULT copied = ask(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()));
        item.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
        found.push_back(narrow(item));
    }
    return found;
}

int selectedItem(HWND listBox) { return static_cast<int>(ask(listBox, LB_GETCURSEL)); }

bool ticked(HWND checkBox) { return ask(checkBox, BM_GETCHECK) == BST_CHECKED; }

HWND child(HWND root, int id) {
    return findChild(root, [id](HWND window) { return GetDlgCtrlID(window) == id; });
}

HWND owner(HWND window) { return GetWindow(window, GW_OWNER); }

std::vector<std::string> awayMessages(const std::vector<std::string>& urls) {
    std::vector<std::string> messages;
    for (const std::string& url : urls) {
        messages.push_back(
            url.starts_with(awayCommand) ? fakes::formDecode(url.substr(awayCommand.size())) : url);
    }
    return messages;
}

Zorvane Zorvane::start() {
    const std::wstring exe = fakes::programFolder() + L"\\..\\..\\zorvane.exe";
    return Zorvane(std::make_unique<fakes::Process>(fakes::quoteArgument(exe)));
}

Zorvane Zorvane::running() { return Zorvane(nullptr); }

Zorvane::Zorvane(std::unique_ptr<fakes::Process> process) : process_(std::move(process)) {
    if (process_ && !process_->started()) return;
    const DWORD wanted = process_ ? process_->id() : 0;
    waitUntil([&] {
        for (const HWND window : topLevelWindows(wanted)) {
            if (IsWindowVisible(window) && text(window) == mainCaption) {
                main_ = window;
                return true;
            }
        }
        return false;
    });
    if (main_) GetWindowThreadProcessId(main_, &processId_);
}

HWND Zorvane::waitForExtra() const {
    HWND extra = nullptr;
    waitUntil([&] {
        for (const HWND window : topLevelWindows(processId_)) {
            if (IsWindowVisible(window) && text(window) == "Extra") extra = window;
        }
        return extra != nullptr;
    });
    return extra;
}

HWND Zorvane::waitForDialog(std::string_view shown) const {
    HWND found = nullptr;
    waitUntil([&] {
        for (const HWND window : topLevelWindows(processId_)) {
            if (className(window) == "#32770" && IsWindowVisible(window) &&
                findChild(window, [&](HWND item) {
                    return className(item) == "Static" && text(item) == shown;
                })) {
                found = window;
                return true;
            }
        }
        return false;
    });
    return found;
}

bool Zorvane::answer(HWND dialog, std::optional<std::string_view> typed, int buttonId) const {
    if (!dialog) return false;
    if (typed) {
        const HWND edit = FindWindowExW(dialog, nullptr, L"Edit", nullptr);
        if (!edit) return false;
        type(edit, *typed);
    }
    const HWND button = GetDlgItem(dialog, buttonId);
    if (!button) return false;
    click(button);
    return waitUntil([&] { return !IsWindow(dialog); });
}

bool Zorvane::add(HWND extra, std::string_view screenName, std::string_view message) const {
    click(child(extra, ids::add));
    for (const auto& [shown, typed] :
         {std::pair{"Enter Screen Name:", screenName}, std::pair{"Enter Message:", message}}) {
        const HWND prompt = waitForDialog(shown);
        if (!prompt || !answer(prompt, typed)) return false;
    }
    return true;
}

}  // namespace zorvane::e2e
