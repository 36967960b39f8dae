#include "platform/worker_pool.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace qs {

WorkerPool::WorkerPool(unsigned threads) {
  for (unsigned i = 1; i < threads; ++i) helpers_.emplace_back([this] { Serve(); });
}

WorkerPool::~WorkerPool() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    queue_.clear();
  }
  posted_.notify_all();
  for (std::thread& helper : helpers_) helper.join();
}

bool WorkerPool::RunOne(std::unique_lock<std::mutex>& lock) {
  if (queue_.empty()) return false;
  const std::function<void()> task = std::move(queue_.front());
  queue_.pop_front();
  lock.unlock();
  task();
  lock.lock();
  ended_.notify_all();
  return true;
}

void WorkerPool::Serve() {
  std::unique_lock lock(mutex_);
  for (;;) {
    posted_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
    if (stopping_) return;
    RunOne(lock);
  }
}

void WorkerPool::Post(std::function<void()> task) {
  {
    std::lock_guard lock(mutex_);
    queue_.push_back(std::move(task));
  }
  posted_.notify_one();
}

void WorkerPool::WaitUntil(const std::function<bool()>& done) {
  std::unique_lock lock(mutex_);
  while (!done())
    if (!RunOne(lock)) ended_.wait(lock);
}

unsigned WorkerThreads() {
  if (const char* wanted = std::getenv("QUILLSTOW_THREADS")) {
    char* end = nullptr;
    const unsigned long number = std::strtoul(wanted, &end, 10);
    if (end != wanted && *end == '\0' && number >= 1) return static_cast<unsigned>(std::min(number, 256UL));
  }
  return std::max(1u, std::thread::hardware_concurrency());
}

}  // namespace qs
