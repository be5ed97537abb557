#include "platform/win32/apartment_thread.h"

#include <objbase.h>
#include <windows.h>

#include <deque>
#include <mutex>
#include <thread>

#include "platform/win32/handles.h"

namespace zorvane::win32 {

struct ApartmentThread::Queue {
    std::mutex mutex;
    UniqueHandle posted{CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    std::deque<std::function<void()>> jobs;
    bool closing = false;
};

ApartmentThread::ApartmentThread() : queue_(std::make_shared<Queue>()) {
    // Detached: a job that never returns must not keep the program from ending.
    std::thread(run, queue_).detach();
}

ApartmentThread::~ApartmentThread() {
    const std::scoped_lock lock(queue_->mutex);
    queue_->closing = true;
    SetEvent(queue_->posted.get());
}

void ApartmentThread::post(std::function<void()> job) {
    const std::scoped_lock lock(queue_->mutex);
    queue_->jobs.push_back(std::move(job));
    SetEvent(queue_->posted.get());
}

void ApartmentThread::run(const std::shared_ptr<Queue>& queue) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    std::unique_lock lock(queue->mutex);
    while (!queue->jobs.empty() || !queue->closing) {
        if (queue->jobs.empty()) {
            lock.unlock();
            // An apartment keeps answering between jobs: the objects made here are called back.
            HANDLE posted = queue->posted.get();
            if (MsgWaitForMultipleObjectsEx(1, &posted, INFINITE, QS_ALLINPUT,
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
        const std::function<void()> job = std::move(queue->jobs.front());
        queue->jobs.pop_front();
        lock.unlock();
        try {
            job();
        } catch (...) {  // a job that fails is that job's affair; the next one runs
        }
        lock.lock();
    }
    lock.unlock();
    if (SUCCEEDED(com)) CoUninitialize();
}

}  // namespace zorvane::win32
