#pragma once
// A fixed set of threads that run the tasks one thread posts, that thread
// itself among them while it waits. A pool of one thread has no threads of
// its own: every task runs on the posting thread, in order, while it waits.

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
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

  // Queues a task; tasks start in the order posted. A task must not throw.
  void Post(std::function<void()> task);
  // Runs queued tasks on the caller's thread, or sleeps, until done() holds.
  // done is asked again each time a task ends, under the pool's lock: it
  // must only read what the tasks set.
  void WaitUntil(const std::function<bool()>& done);

 private:
  void Serve();
  // Runs one queued task with the lock released; false when none is queued.
  bool RunOne(std::unique_lock<std::mutex>& lock);

  std::mutex mutex_;
  std::condition_variable posted_;
  std::condition_variable ended_;
  std::deque<std::function<void()>> queue_;
  bool stopping_ = false;
  std::vector<std::thread> helpers_;
};

// How many threads a loop over items may use: the QUILLSTOW_THREADS
// environment variable where it holds a number from 1 on, else the number of
// processors.
unsigned WorkerThreads();

}  // namespace qs
