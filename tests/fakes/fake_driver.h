#pragma once
// Starts and ends the fakes from a test program, and waits on what they record. Every process
// and every registration a test makes here is undone when its owner goes.

#include <windows.h>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace zorvane::fakes {

// The folder of the running program; the fakes are built beside the test programs.
std::wstring programFolder();
// Quotes one argument so that the C runtime and CommandLineToArgvW read it back unchanged.
std::wstring quoteArgument(std::wstring_view argument);

// What the IM client makes of a message in an away command: "+" is a space, %XX the byte XX.
std::string formDecode(std::string_view text);

// Polls `condition`, running this thread's messages meanwhile; false if `limit` passes first.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds limit = std::chrono::seconds(20));

// A process the test started; it is killed and waited for when this goes.
class Process {
  public:
    explicit Process(std::wstring commandLine);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool started() const { return info_.hProcess != nullptr; }
    DWORD id() const { return info_.dwProcessId; }

  private:
    PROCESS_INFORMATION info_{};
};

// A fresh, empty log file of the fakes' record format, deleted when this goes.
class TempLog {
  public:
    TempLog();
    ~TempLog();
    TempLog(const TempLog&) = delete;
    TempLog& operator=(const TempLog&) = delete;

    const std::wstring& path() const { return path_; }
    std::vector<std::string> records() const;
    // The records once there are at least `count` of them (or whatever is there at the deadline).
    std::vector<std::string> waitForRecords(std::size_t count) const;

  private:
    std::wstring path_;
};

struct FakeWindow {
    std::string className;  // "#32770" makes an away dialog with its edit field
    std::string title;
};

// The fake IM client (and media player), running with its windows up.
class FakeImClient {
  public:
    explicit FakeImClient(const std::vector<FakeWindow>& windows);
    explicit FakeImClient(std::initializer_list<FakeWindow> windows)
        : FakeImClient(std::vector<FakeWindow>(windows)) {}

    bool ready() const { return ready_; }  // every window is up
    // The client's first top-level window of this class and title; null when there is none.
    HWND window(std::string_view className, std::string_view title) const;
    // The away dialog's edit field; null when the dialog has none.
    static HWND editField(HWND dialog);
    // What was written into its edit fields, in order.
    const TempLog& log() const { return log_; }
    DWORD processId() const { return process_.id(); }

  private:
    TempLog log_;
    Process process_;
    bool ready_ = false;
};

// The fake "aim:" handler, registered for this prefix in HKEY_CLASSES_ROOT and recording into
// its own log; the registration is removed when this goes.
class AimHandler {
  public:
    AimHandler();
    ~AimHandler();
    AimHandler(const AimHandler&) = delete;
    AimHandler& operator=(const AimHandler&) = delete;

    bool registered() const { return registered_; }
    // Every URL the handler was started with, in order.
    const TempLog& log() const { return log_; }

  private:
    TempLog log_;
    bool registered_ = false;
};

}  // namespace zorvane::fakes
