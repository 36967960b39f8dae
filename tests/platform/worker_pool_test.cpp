#include "platform/worker_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <set>
#include <string>
#include <thread>

namespace qs {
namespace {

// Tasks posted for any thread, for one of the pool's, or for a number the
// pool does not have, all run, each on one of the pool's threads.
TEST(WorkerPool, EveryTaskRunsWhicheverThreadItIsPostedFor) {
  WorkerPool pool(3);
  EXPECT_EQ(pool.ThisThread(), 0u);
  std::atomic<int> ran{0};
  std::mutex mutex;
  std::set<unsigned> threads;
  constexpr int kTasks = 300;
  for (int i = 0; i < kTasks; ++i) {
    const auto task = [&] {
      {
        std::lock_guard lock(mutex);
        threads.insert(pool.ThisThread());
      }
      ++ran;
    };
    if (i % 6 == 5)
      pool.Post(task);
    else
      pool.Post(task, static_cast<unsigned>(i % 5));
  }
  pool.WaitUntil([&] { return ran.load() == kTasks; });
  EXPECT_EQ(ran.load(), kTasks);
  EXPECT_LT(*threads.rbegin(), 3u);
}

// One thread runs everything itself, while it waits: what was posted for it
// first, then what was posted for any thread, each in the order posted.
TEST(WorkerPool, OneThreadRunsItsOwnTasksFirstThenTheRestInOrder) {
  WorkerPool pool(1);
  std::string order;
  const auto caller = std::this_thread::get_id();
  bool on_caller = true;
  for (const auto& [name, own] : {std::pair{'a', false}, {'b', true}, {'c', false}, {'d', true}}) {
    const auto task = [&order, &on_caller, caller, name = name] {
      order += name;
      on_caller &= std::this_thread::get_id() == caller;
    };
    if (own)
      pool.Post(task, 0u);
    else
      pool.Post(task);
  }
  EXPECT_TRUE(order.empty());  // nothing runs before the caller waits
  pool.WaitUntil([&] { return order.size() == 4; });
  EXPECT_EQ(order, "bdac");
  EXPECT_TRUE(on_caller);
}

}  // namespace
}  // namespace qs
