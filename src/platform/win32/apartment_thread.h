#pragma once
// A thread with a COM apartment of its own that runs jobs in the order they were posted. What
// waits on another program there (a browser that takes seconds to start, in COM's own modal
// loop, which runs none of our timers) holds up nothing on the program's thread.

#include <functional>
#include <memory>

namespace zorvane::win32 {

class ApartmentThread {
  public:
    ApartmentThread();
    // The thread ends once it has run what was posted; one stuck in a job is left to the end of
    // the process.
    ~ApartmentThread();
    ApartmentThread(const ApartmentThread&) = delete;
    ApartmentThread& operator=(const ApartmentThread&) = delete;

    // Returns at once; the job runs after those posted before it.
    void post(std::function<void()> job);

  private:
    struct Queue;  // shared with the thread, which may outlive this
    static void run(const std::shared_ptr<Queue>& queue);
    std::shared_ptr<Queue> queue_;
};

}  // namespace zorvane::win32
