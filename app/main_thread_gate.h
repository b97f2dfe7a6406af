// Hands work from any thread to the main thread and waits for it, for as long
// as the main window lives. Once the gate is closed (the window is gone) no
// caller waits any more: calls already waiting return at once and later calls
// are refused, so no worker can block forever on a window that will never
// answer.
#pragma once

#include <functional>
#include <memory>
#include <optional>

namespace tw {

class MainThreadGate {
 public:
  // Called by the work to say it is finished, with its result.
  using Finish = std::function<void(int result)>;
  // Puts a task into the main thread's queue; the task may never run (the
  // loop may end first), and then it is only destroyed.
  using Post = std::function<void(std::function<void()> task)>;

  explicit MainThreadGate(Post post);

  // From a thread other than the main thread: runs `work` on the main thread
  // and waits until the work has called its Finish. Gives the result, or
  // nothing when the gate closed before the work finished or ran. The work
  // never starts after the gate has closed, so it may refer to the caller's
  // variables.
  std::optional<int> Run(std::function<void(Finish finish)> work);

  // On the main thread, when the window is gone.
  void Close();
  [[nodiscard]] bool IsOpen() const;

 private:
  struct State;
  std::shared_ptr<State> state_;
  Post post_;
};

}  // namespace tw
