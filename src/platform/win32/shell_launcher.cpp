#include "platform/win32/shell_launcher.h"

#include <objbase.h>
#include <windows.h>

#include <shellapi.h>  // after windows.h, which it needs

#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>

#include "platform/win32/handles.h"

namespace zorvane::win32 {

struct ShellLauncher::Queue {
    explicit Queue(Shell shell) : shell(std::move(shell)) {}
    const Shell shell;
    std::mutex mutex;
    UniqueHandle added{CreateEventW(nullptr, FALSE, FALSE, nullptr)};     // wakes the thread
    UniqueHandle progress{CreateEventW(nullptr, FALSE, FALSE, nullptr)};  // wakes the caller
    struct Job {
        std::wstring url;
        bool shown;
        std::uint64_t number;  // from 1, in the order given to open()
    };
    std::deque<Job> waiting;
    std::uint64_t handedOver = 0;  // URLs given to open()
    std::uint64_t done = 0;        // of those, taken by the shell or dropped
    std::uint64_t refused = 0;     // the number of the last URL the shell refused
    bool closing = false;
};

namespace {

constexpr auto patience = std::chrono::seconds(2);
constexpr std::size_t maxWaiting = 16;

}  // namespace

bool ShellLauncher::shellExecute(const std::wstring& url, bool shown) {
    // No error box of the shell's, and the handler started before the call returns.
    SHELLEXECUTEINFOW info{.cbSize = sizeof info,
                           .fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC,
                           .lpFile = url.c_str(),
                           .nShow = shown ? SW_SHOWNORMAL : SW_HIDE};
    return ShellExecuteExW(&info) != FALSE;
}

void ShellLauncher::run(const std::shared_ptr<Queue>& queue) {
    // As the shell asks of its callers. This thread has none of the program's windows: whatever
    // loop the shell runs here dispatches nothing of the program's.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    std::unique_lock lock(queue->mutex);
    while (!queue->waiting.empty() || !queue->closing) {
        if (queue->waiting.empty()) {
            lock.unlock();
            // An apartment thread keeps answering between URLs: a window or object that a shell
            // extension or DDE left here is waited on by others (their SendMessage, a call into
            // this apartment).
            HANDLE added = queue->added.get();
            if (MsgWaitForMultipleObjectsEx(1, &added, INFINITE, QS_ALLINPUT,
                                            MWMO_INPUTAVAILABLE) == WAIT_FAILED)
                Sleep(10);  // never spin on a wait that cannot be made
            MSG message;
            while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            lock.lock();
            continue;
        }
        const Queue::Job job = std::move(queue->waiting.front());
        queue->waiting.pop_front();
        lock.unlock();
        const bool taken = queue->shell(job.url, job.shown);
        lock.lock();
        if (!taken) queue->refused = job.number;
        ++queue->done;
        SetEvent(queue->progress.get());
    }
    lock.unlock();
    if (SUCCEEDED(com)) CoUninitialize();
}

ShellLauncher::ShellLauncher(Shell shell) : queue_(std::make_shared<Queue>(std::move(shell))) {
    // Detached: a shell call that never returns must not keep the program from ending.
    std::thread(run, queue_).detach();
}

ShellLauncher::~ShellLauncher() {
    std::unique_lock lock(queue_->mutex);
    queue_->closing = true;
    SetEvent(queue_->added.get());
    waitUntilDone(lock, queue_->handedOver);
}

bool ShellLauncher::open(std::wstring url, bool shown) {
    std::unique_lock lock(queue_->mutex);
    const bool shellFree = queue_->done == queue_->handedOver;
    if (queue_->waiting.size() >= maxWaiting) {
        queue_->waiting.pop_front();  // the newer request says what counts
        ++queue_->done;
    }
    const std::uint64_t mine = ++queue_->handedOver;
    queue_->waiting.push_back({std::move(url), shown, mine});
    SetEvent(queue_->added.get());
    if (shellFree) waitUntilDone(lock, mine);
    return queue_->refused != mine;
}

void ShellLauncher::waitUntilDone(std::unique_lock<std::mutex>& lock, std::uint64_t count) {
    using namespace std::chrono;
    const auto deadline = steady_clock::now() + patience;
    while (queue_->done < count) {
        const auto left = ceil<milliseconds>(deadline - steady_clock::now()).count();
        if (left <= 0) return;
        lock.unlock();
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
