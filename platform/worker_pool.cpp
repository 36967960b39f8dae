#include "platform/worker_pool.h"

#include <algorithm>
#include <cstdlib>
#include <string>

namespace qs {

namespace {

// The pool whose thread this is, and its number there.
thread_local const WorkerPool* this_pool = nullptr;
thread_local unsigned this_thread = 0;

}  // namespace

WorkerPool::WorkerPool(unsigned threads) : own_(std::max(threads, 1u)) {
  for (unsigned i = 1; i < threads; ++i) helpers_.emplace_back([this, i] { Serve(i); });
}

WorkerPool::~WorkerPool() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    queue_.clear();
    for (auto& queue : own_) queue.clear();
  }
  posted_.notify_all();
  for (std::thread& helper : helpers_) helper.join();
}

unsigned WorkerPool::ThisThread() const { return this_pool == this ? this_thread : 0; }

std::deque<std::function<void()>>* WorkerPool::NextQueue(unsigned thread) {
  // Its own tasks first, then those for any thread, then another's.
  if (!own_[thread].empty()) return &own_[thread];
  if (!queue_.empty()) return &queue_;
  for (auto& other : own_)
    if (!other.empty()) return &other;
  return nullptr;
}

bool WorkerPool::RunOne(std::unique_lock<std::mutex>& lock, unsigned thread) {
  std::deque<std::function<void()>>* from = NextQueue(thread);
  if (!from) return false;
  const std::function<void()> task = std::move(from->front());
  from->pop_front();
  lock.unlock();
  task();
  lock.lock();
  ended_.notify_all();
  return true;
}

void WorkerPool::Serve(unsigned thread) {
  this_pool = this;
  this_thread = thread;
  std::unique_lock lock(mutex_);
  for (;;) {
    posted_.wait(lock, [&] { return stopping_ || NextQueue(thread); });
    if (stopping_) return;
    RunOne(lock, thread);
  }
}

void WorkerPool::Post(std::function<void()> task, std::optional<unsigned> thread) {
  {
    std::lock_guard lock(mutex_);
    (thread && *thread < own_.size() ? own_[*thread] : queue_).push_back(std::move(task));
  }
  posted_.notify_one();
}

void WorkerPool::WaitUntil(const std::function<bool()>& done) {
  std::unique_lock lock(mutex_);
  while (!done())
    if (!RunOne(lock, 0)) ended_.wait(lock);
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
