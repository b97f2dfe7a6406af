#include "app/main_thread_gate.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace tw {
namespace {

using namespace std::chrono_literals;

// A stand-in for the main thread's event queue: tasks run only when the
// test says so, on the test's own thread.
class TaskQueue {
 public:
  MainThreadGate::Post Poster() {
    return [this](std::function<void()> task) {
      std::lock_guard guard(mutex_);
      tasks_.push_back(std::move(task));
      posted_.notify_all();
    };
  }
  bool WaitForTasks(std::size_t count) {
    std::unique_lock lock(mutex_);
    return posted_.wait_for(lock, 5s, [&] { return tasks_.size() >= count; });
  }
  void RunAll() {
    std::deque<std::function<void()>> tasks;
    {
      std::lock_guard guard(mutex_);
      tasks.swap(tasks_);
    }
    for (auto& task : tasks) task();
  }
  std::size_t Pending() {
    std::lock_guard guard(mutex_);
    return tasks_.size();
  }

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> tasks_;
};

TEST(MainThreadGate, RunsTheWorkOnTheMainThreadAndGivesItsResult) {
  TaskQueue queue;
  MainThreadGate gate(queue.Poster());
  std::thread::id mainThread = std::this_thread::get_id();
  std::thread::id ranOn;
  std::optional<int> result;
  std::thread worker([&] {
    result = gate.Run([&](const MainThreadGate::Finish& finish) {
      ranOn = std::this_thread::get_id();
      finish(7);
    });
  });
  ASSERT_TRUE(queue.WaitForTasks(1));
  queue.RunAll();
  worker.join();
  EXPECT_EQ(result, 7);
  EXPECT_EQ(ranOn, mainThread);
}

TEST(MainThreadGate, WaitsUntilTheWorkFinishesLater) {
  TaskQueue queue;
  MainThreadGate gate(queue.Poster());
  MainThreadGate::Finish later;
  std::atomic<bool> returned{false};
  std::thread worker([&] {
    gate.Run([&](MainThreadGate::Finish finish) { later = std::move(finish); });
    returned = true;
  });
  ASSERT_TRUE(queue.WaitForTasks(1));
  queue.RunAll();
  std::this_thread::sleep_for(50ms);
  EXPECT_FALSE(returned);
  later(2);
  worker.join();
  EXPECT_TRUE(returned);
}

TEST(MainThreadGate, ClosingReleasesAWaiterWhoseWorkNeverRan) {
  TaskQueue queue;
  MainThreadGate gate(queue.Poster());
  bool ran = false;
  std::optional<int> result = 0;
  std::thread worker([&] {
    result = gate.Run([&](const MainThreadGate::Finish& finish) {
      ran = true;
      finish(1);
    });
  });
  ASSERT_TRUE(queue.WaitForTasks(1));
  gate.Close();
  worker.join();
  EXPECT_EQ(result, std::nullopt);
  // The task still in the queue must not touch the returned caller's state.
  queue.RunAll();
  EXPECT_FALSE(ran);
}

TEST(MainThreadGate, ClosingReleasesAWaiterWhoseWorkNeverFinishes) {
  TaskQueue queue;
  MainThreadGate gate(queue.Poster());
  std::optional<int> result = 0;
  std::thread worker([&] { result = gate.Run([](const MainThreadGate::Finish&) {}); });
  ASSERT_TRUE(queue.WaitForTasks(1));
  queue.RunAll();
  gate.Close();
  worker.join();
  EXPECT_EQ(result, std::nullopt);
}

TEST(MainThreadGate, AfterClosingNothingIsPostedOrAwaited) {
  TaskQueue queue;
  MainThreadGate gate(queue.Poster());
  gate.Close();
  EXPECT_FALSE(gate.IsOpen());
  EXPECT_EQ(gate.Run([](const MainThreadGate::Finish& finish) { finish(1); }), std::nullopt);
  EXPECT_EQ(queue.Pending(), 0u);
}

TEST(MainThreadGate, ManyWorkersRacingTheCloseAllReturn) {
  TaskQueue queue;
  MainThreadGate gate(queue.Poster());
  int counter = 0;  // touched on the main thread only
  std::atomic<int> finished{0};
  std::vector<std::thread> workers;
  for (int i = 0; i < 20; ++i) {
    workers.emplace_back([&] {
      while (gate.Run([&](const MainThreadGate::Finish& finish) {
        ++counter;
        finish(0);
      })) {
      }
      ++finished;
    });
  }
  for (int round = 0; round < 50; ++round) {
    queue.WaitForTasks(1);
    queue.RunAll();
  }
  gate.Close();
  for (std::thread& worker : workers) worker.join();
  queue.RunAll();
  EXPECT_EQ(finished, 20);
  EXPECT_GT(counter, 0);
}

}  // namespace
}  // namespace tw
