#pragma once
// Hands URLs to the shell from a thread of its own. The shell may run a message loop while it
// works (its error box, a COM or DDE handler), which on the program's thread would run our
// timers and clicks inside the call, and it may wait on a program that hangs. Here it can do
// neither to the program.

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/win32/apartment_thread.h"

namespace zorvane::win32 {

class ShellLauncher {
  public:
    // What hands one URL over, on the launcher's thread; false when the shell refused it.
    using Shell = std::function<bool(const std::wstring& url, bool shown)>;
    static bool shellExecute(const std::wstring& url, bool shown);
    // Rings the program's alarms that are due; the seconds until the next one.
    using RingAlarms = std::function<double()>;

    explicit ShellLauncher(Shell shell = shellExecute, RingAlarms ringAlarms = {});
    // Gives the shell a moment to take what it was handed, then leaves it to finish alone.
    ~ShellLauncher();
    ShellLauncher(const ShellLauncher&) = delete;
    ShellLauncher& operator=(const ShellLauncher&) = delete;

    // Hands over the URL after the earlier ones, for a handler that starts hidden unless
    // `shown`, and returns once the shell has taken it, or after 2 s. Meanwhile messages sent to
    // our windows are answered and the alarms ring; nothing posted runs. A shell still stuck on
    // an earlier URL is not waited for again, and only the newest few URLs wait behind it. False
    // only when the shell refused this URL within the wait.
    bool open(std::wstring url, bool shown = false);

  private:
    struct Queue;  // shared with the thread's jobs, which outlive this when the shell is stuck
    // Until `count` URLs are done, or for 2 s.
    void waitUntilDone(std::unique_lock<std::mutex>& lock, std::uint64_t count);
    std::shared_ptr<Queue> queue_;
    RingAlarms ringAlarms_;
    // The shell runs here: whatever loop it runs dispatches nothing of the program's, and a
    // window or object that a shell extension or DDE leaves here goes on being answered.
    ApartmentThread thread_;
};

}  // namespace zorvane::win32
