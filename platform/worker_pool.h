#pragma once
// A fixed set of threads that run the tasks one thread posts, that thread
// itself among them while it waits. A pool of one thread has no threads of
// its own: every task runs on the posting thread, in order, while it waits.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace qs {

class WorkerPool {
 public:
  // threads: how many threads run the tasks, the posting one included (at
  // least one).
  explicit WorkerPool(unsigned threads);
  // Drops the tasks not yet started and waits for those running.
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  unsigned Threads() const { return static_cast<unsigned>(helpers_.size()) + 1; }

  // Queues a task; a task must not throw. Tasks for any thread start in the
  // order posted. A task posted for one of the threads (see ThisThread) is
  // run by that thread before those, in the order posted for it, so that
  // what one task of an item made is let go of by the thread that made it;
  // another thread takes it only when it has nothing else to do.
  void Post(std::function<void()> task, std::optional<unsigned> thread = std::nullopt);
  // Runs queued tasks on the caller's thread, or sleeps, until done() holds.
  // done is asked again each time a task ends, under the pool's lock: it
  // must only read what the tasks set.
  void WaitUntil(const std::function<bool()>& done);

  // The calling thread's number in this pool: 0 for the posting thread (and
  // any other that is not one of the pool's), from 1 for the pool's own.
  unsigned ThisThread() const;

 private:
  void Serve(unsigned thread);
  // The queue the thread takes its next task from; nothing when all are empty.
  std::deque<std::function<void()>>* NextQueue(unsigned thread);
  // Runs one queued task with the lock released, the thread's own first;
  // false when none is queued.
  bool RunOne(std::unique_lock<std::mutex>& lock, unsigned thread);

  std::mutex mutex_;
  std::condition_variable posted_;
  std::condition_variable ended_;
  std::deque<std::function<void()>> queue_;  // for any thread
  std::vector<std::deque<std::function<void()>>> own_;  // for one thread each
  bool stopping_ = false;
  std::vector<std::thread> helpers_;
};

// How many threads a loop over items may use: the QUILLSTOW_THREADS
// environment variable where it holds a number from 1 on, else the number of
// processors.
unsigned WorkerThreads();

}  // namespace qs
