#include "app/main_thread_gate.h"

#include <condition_variable>
#include <mutex>
#include <utility>

namespace tw {

struct MainThreadGate::State {
  std::mutex mutex;
  std::condition_variable changed;
  bool open = true;
};

namespace {

struct Call {
  bool finished = false;
  int result = 0;
};

}  // namespace

MainThreadGate::MainThreadGate(Post post) : state_(std::make_shared<State>()), post_(std::move(post)) {}

std::optional<int> MainThreadGate::Run(std::function<void(Finish finish)> work) {
  auto call = std::make_shared<Call>();
  std::shared_ptr<State> state = state_;
  std::unique_lock lock(state->mutex);
  if (!state->open) return std::nullopt;
  post_([state, call, work = std::move(work)] {
    {
      std::lock_guard guard(state->mutex);
      // The caller stopped waiting when the gate closed; its variables may be
      // gone.
      if (!state->open) return;
    }
    work([state, call](int result) {
      std::lock_guard guard(state->mutex);
      call->finished = true;
      call->result = result;
      state->changed.notify_all();
    });
  });
  state->changed.wait(lock, [&] { return call->finished || !state->open; });
  if (!call->finished) return std::nullopt;
  return call->result;
}

void MainThreadGate::Close() {
  std::lock_guard guard(state_->mutex);
  state_->open = false;
  state_->changed.notify_all();
}

bool MainThreadGate::IsOpen() const {
  std::lock_guard guard(state_->mutex);
  return state_->open;
}

}  // namespace tw
