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

namespace zorvane::win32 {

class ShellLauncher {
  public:
    // What hands one URL over, on the launcher's thread; false when the shell refused it.
    using Shell = std::function<bool(const std::wstring& url, bool shown)>;
    static bool shellExecute(const std::wstring& url, bool shown);

    explicit ShellLauncher(Shell shell = shellExecute);
    // Gives the shell a moment to take what it was handed, then leaves it to finish alone.
    ~ShellLauncher();
    ShellLauncher(const ShellLauncher&) = delete;
    ShellLauncher& operator=(const ShellLauncher&) = delete;

    // Hands over the URL after the earlier ones, for a handler that starts hidden unless
    // `shown`, and returns once the shell has taken it, or after 2 s. Meanwhile only messages sent
    // to our windows are answered; nothing posted runs. A shell still stuck on an earlier URL is
    // not waited for again, and only the newest few URLs wait behind it. False only when the
    // shell refused this URL within the wait.
    bool open(std::wstring url, bool shown = false);

  private:
    struct Queue;  // shared with the thread, which outlives this when the shell is stuck
    static void run(const std::shared_ptr<Queue>& queue);
    // Until `count` URLs are done, or for 2 s.
    void waitUntilDone(std::unique_lock<std::mutex>& lock, std::uint64_t count);
    std::shared_ptr<Queue> queue_;
};

}  // namespace zorvane::win32
