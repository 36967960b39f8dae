#pragma once
// A fixed set of threads that share the calls of one loop with the thread
// that runs it. A pool of one thread has no threads of its own: every call
// runs on the caller's thread, in order.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace qs {

class WorkerPool {
 public:
  // threads: how many threads share each loop, the caller's included (at
  // least one).
  explicit WorkerPool(unsigned threads);
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  unsigned Threads() const { return static_cast<unsigned>(helpers_.size()) + 1; }

  // Calls work(i) once for every i below count and returns when every call
  // has returned. work must not throw.
  void ForEach(std::size_t count, const std::function<void(std::size_t)>& work);

 private:
  void Serve();

  std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable done_;
  const std::function<void(std::size_t)>* work_ = nullptr;
  std::size_t count_ = 0;
  std::atomic<std::size_t> next_{0};
  std::size_t busy_ = 0;  // helpers still on the current loop
  std::uint64_t loop_ = 0;
  bool stopping_ = false;
  std::vector<std::thread> helpers_;
};

// How many threads a loop over items may use: the QUILLSTOW_THREADS
// environment variable where it holds a number from 1 on, else the number of
// processors.
unsigned WorkerThreads();

}  // namespace qs
