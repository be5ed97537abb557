#include "platform/win32/shell_launcher.h"

#include <windows.h>

#include <shellapi.h>  // after windows.h, which it needs

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <mutex>

#include "platform/win32/handles.h"

namespace zorvane::win32 {

struct ShellLauncher::Queue {
    explicit Queue(Shell shell) : shell(std::move(shell)) {}
    const Shell shell;
    std::mutex mutex;
    UniqueHandle progress{CreateEventW(nullptr, FALSE, FALSE, nullptr)};  // wakes the caller
    // URLs are numbered from 1 in the order given to open().
    std::uint64_t handedOver = 0;      // given to open()
    std::uint64_t started = 0;         // of those, reached by the thread
    std::uint64_t droppedThrough = 0;  // those up to this one never go
    std::uint64_t done = 0;            // taken by the shell, refused or dropped
    std::uint64_t refused = 0;         // the number of the last URL the shell refused
};

namespace {

constexpr auto patience = std::chrono::seconds(2);
constexpr std::uint64_t maxWaiting = 16;

}  // namespace

bool ShellLauncher::shellExecute(const std::wstring& url, bool shown) {
    // No error box of the shell's, and the handler started before the call returns.
    SHELLEXECUTEINFOW info{.cbSize = sizeof info,
                           .fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC,
                           .lpFile = url.c_str(),
                           .nShow = shown ? SW_SHOWNORMAL : SW_HIDE};
    return ShellExecuteExW(&info) != FALSE;
}

ShellLauncher::ShellLauncher(Shell shell, RingAlarms ringAlarms)
    : queue_(std::make_shared<Queue>(std::move(shell))), ringAlarms_(std::move(ringAlarms)) {}

ShellLauncher::~ShellLauncher() {
    std::unique_lock lock(queue_->mutex);
    waitUntilDone(lock, queue_->handedOver);
}

bool ShellLauncher::open(std::wstring url, bool shown) {
    std::unique_lock lock(queue_->mutex);
    Queue& queue = *queue_;
    const bool shellFree = queue.done == queue.handedOver;
    // The newer request says what counts: past the few newest, the oldest waiting never goes.
    if (queue.handedOver - std::max(queue.started, queue.droppedThrough) >= maxWaiting) {
        queue.droppedThrough = std::max(queue.started, queue.droppedThrough) + 1;
        ++queue.done;
    }
    const std::uint64_t mine = ++queue.handedOver;
    thread_.post([queue = queue_, url = std::move(url), shown, mine] {
        std::unique_lock lock(queue->mutex);
        queue->started = mine;
        if (mine <= queue->droppedThrough) return;
        lock.unlock();
        const bool taken = queue->shell(url, shown);
        lock.lock();
        if (!taken) queue->refused = mine;
        ++queue->done;
        SetEvent(queue->progress.get());
    });
    if (shellFree) waitUntilDone(lock, mine);
    return queue.refused != mine;
}

void ShellLauncher::waitUntilDone(std::unique_lock<std::mutex>& lock, std::uint64_t count) {
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + patience;
    while (queue_->done < count) {
        auto left = ceil<milliseconds>(deadline - steady_clock::now()).count();
        if (left <= 0) return;
        lock.unlock();
        // A step due meanwhile (a buddy's message leaving the away dialog) is not held up by the
        // shell. It may hand over a URL in turn: the queue is not ours while it runs.
        if (ringAlarms_) {
            const double next = std::ceil(ringAlarms_() * 1000);
            if (next < static_cast<double>(left))
                left = std::max<decltype(left)>(1, std::lround(next));
        }
        // The shell asks every top-level window, ours too, whether it serves the handler (DDE):
        // messages sent to our windows are answered meanwhile, nothing posted is run.
        HANDLE progress = queue_->progress.get();
        const DWORD woken = MsgWaitForMultipleObjectsEx(1, &progress, static_cast<DWORD>(left),
                                                        QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
        MSG message;
        if (woken == WAIT_OBJECT_0 + 1)
            PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        lock.lock();
        if (woken == WAIT_FAILED) return;
    }
}

}  // namespace zorvane::win32
