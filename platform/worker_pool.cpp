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
  }
  wake_.notify_all();
  for (std::thread& helper : helpers_) helper.join();
}

void WorkerPool::Serve() {
  std::unique_lock lock(mutex_);
  std::uint64_t seen = 0;
  for (;;) {
    wake_.wait(lock, [&] { return stopping_ || loop_ != seen; });
    if (stopping_) return;
    seen = loop_;
    const auto& work = *work_;
    const std::size_t count = count_;
    lock.unlock();
    for (std::size_t i; (i = next_.fetch_add(1)) < count;) work(i);
    lock.lock();
    if (--busy_ == 0) done_.notify_all();
  }
}

void WorkerPool::ForEach(std::size_t count, const std::function<void(std::size_t)>& work) {
  if (helpers_.empty() || count <= 1) {
    for (std::size_t i = 0; i < count; ++i) work(i);
    return;
  }
  {
    std::lock_guard lock(mutex_);
    work_ = &work;
    count_ = count;
    next_ = 0;
    busy_ = helpers_.size();
    ++loop_;
  }
  wake_.notify_all();
  for (std::size_t i; (i = next_.fetch_add(1)) < count;) work(i);
  std::unique_lock lock(mutex_);
  done_.wait(lock, [&] { return busy_ == 0; });
  work_ = nullptr;
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
