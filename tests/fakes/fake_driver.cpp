#include "fake_driver.h"

#include <charconv>
#include <memory>

#include "platform/win32/message_pump.h"
#include "platform/win32/wide.h"
#include "record_log.h"

namespace zorvane::fakes {
namespace {

using win32::widen;

struct KeyCloser {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
using UniqueKey = std::unique_ptr<std::remove_pointer_t<HKEY>, KeyCloser>;

bool setValue(const wchar_t* keyPath, const wchar_t* name, const std::wstring& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    const UniqueKey owned(key);
    const auto bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          bytes) == ERROR_SUCCESS;
}

std::wstring clientCommand(const std::wstring& log, const std::vector<FakeWindow>& windows) {
    std::wstring command =
        quoteArgument(programFolder() + L"\\fake_im_client.exe") + L' ' + quoteArgument(log);
    for (const auto& [className, title] : windows) {
        command += L' ' + quoteArgument(widen(className)) + L' ' + quoteArgument(widen(title));
    }
    return command;
}

}  // namespace

std::wstring programFolder() {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = 0;
    while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
           path.size()) {
        path.resize(path.size() * 2);
    }
    path.resize(length);
    return path.substr(0, path.find_last_of(L"\\/"));
}

std::wstring quoteArgument(std::wstring_view argument) {
    std::wstring quoted = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count double only in front of a quote.
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    return quoted + L'"';
}

std::string formDecode(std::string_view text) {
    std::string decoded;
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned byte = 0;
        if (text[i] == '+') {
            decoded += ' ';
        } else if (text[i] == '%' && i + 2 < text.size() &&
                   std::from_chars(&text[i + 1], &text[i + 3], byte, 16).ptr == &text[i + 3]) {
            decoded += static_cast<char>(byte);
            i += 2;
        } else {
            decoded += text[i];
        }
    }
    return decoded;
}

bool waitUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        win32::pumpPendingMessages();
    }
    return true;
}

Process::Process(std::wstring commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info_)) {
        info_ = {};
    }
}

Process::~Process() {
    if (!started()) return;
    TerminateProcess(info_.hProcess, 1);
    WaitForSingleObject(info_.hProcess, 10000);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

TempLog::TempLog() {
    wchar_t folder[MAX_PATH + 1] = {};
    wchar_t path[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, folder);
    if (GetTempFileNameW(folder, L"zv", 0, path)) path_ = path;
}

TempLog::~TempLog() {
    if (!path_.empty()) DeleteFileW(path_.c_str());
}

std::vector<std::string> TempLog::records() const { return readRecords(path_); }

std::vector<std::string> TempLog::waitForRecords(std::size_t count) const {
    std::vector<std::string> found;
    waitUntil([&] { return (found = records()).size() >= count; });
    return found;
}

FakeImClient::FakeImClient(const std::vector<FakeWindow>& windows)
    : process_(clientCommand(log_.path(), windows)) {
    ready_ = process_.started() && waitUntil([&] {
                 for (const auto& [className, title] : windows) {
                     const HWND found = window(className, title);
                     if (!found || (className == "#32770" && !editField(found))) return false;
                 }
                 return true;
             });
}

HWND FakeImClient::window(std::string_view className, std::string_view title) const {
    const std::wstring wideClass = widen(className);
    const std::wstring wideTitle = widen(title);
    HWND found = nullptr;
    while ((found = FindWindowExW(nullptr, found, wideClass.c_str(), wideTitle.c_str()))) {
        DWORD owner = 0;
        GetWindowThreadProcessId(found, &owner);
        if (owner == processId()) return found;
    }
    return nullptr;
}

HWND FakeImClient::editField(HWND dialog) {
    const HWND container = FindWindowExW(dialog, nullptr, L"WndAte32Class", nullptr);
    return container ? FindWindowExW(container, nullptr, L"Ate32Class", nullptr) : nullptr;
}

AimHandler::AimHandler() {
    const std::wstring command = quoteArgument(programFolder() + L"\\fake_aim_handler.exe") + L' ' +
                                 quoteArgument(log_.path()) + L" \"%1\"";
    registered_ = setValue(L"aim", L"URL Protocol", L"") &&
                  setValue(L"aim\\shell\\open\\command", nullptr, command);
}

AimHandler::~AimHandler() { RegDeleteTreeW(HKEY_CLASSES_ROOT, L"aim"); }

}  // namespace zorvane::fakes
