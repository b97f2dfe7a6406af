#include "cli/resolve_addresses.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "app/toolkit.h"
#include "cli/console_toolkit.h"
#include "resolver/parse_command.h"
#include "resolver/share_link.h"
#include "runtime/text_ops.h"
#include "web/codepage.h"

namespace tw::cli {
namespace {

Outcome OutcomeOf(const ConsoleWindow& window) {
  for (const ConsoleWindow::MessageBox& box : window.MessageBoxes()) {
    if (box.text == Text(kForeignAddressMessage)) return Outcome::kRejected;
    if (box.text == Text(kThrottledMessage)) return Outcome::kThrottled;
  }
  return Outcome::kShown;
}

}  // namespace

Resolution ResolveAddress(std::string_view address) {
  ConsoleWindow window;
  const Text shareAddress = TextFromUtf8(address);
  window.SetValue(Control::编辑框1, kEditBoxText, shareAddress);
  {
    ScopedConsoleWindow current(window);
    ResolveShareLink();
  }

  Resolution result{
      .url = TextToUtf8(shareAddress),
      .fileName = TextToUtf8(window.Value(Control::按钮_文件名, kButtonCaption)),
      // The caption, as the copy command would take it.
      .downloadAddress = TextToUtf8(window.Value(Control::按钮_地址, kButtonCaption)),
      .outcome = OutcomeOf(window),
      .messages = {},
  };
  for (const ConsoleWindow::MessageBox& box : window.MessageBoxes()) {
    result.messages.push_back(TextToUtf8(JoinText(box.title, box.text)));
  }
  return result;
}

void ResolveAddresses(const std::vector<std::string>& addresses, int jobs,
                      const std::function<void(const Resolution&)>& emit) {
  std::vector<std::optional<Resolution>> results(addresses.size());
  std::mutex mutex;
  std::condition_variable done;
  std::atomic<std::size_t> next{0};

  auto work = [&] {
    for (std::size_t i = next++; i < addresses.size(); i = next++) {
      Resolution result = ResolveAddress(addresses[i]);
      std::lock_guard lock(mutex);
      results[i] = std::move(result);
      done.notify_all();
    }
  };

  const std::size_t workers =
      std::min<std::size_t>(static_cast<std::size_t>(std::max(jobs, 1)), addresses.size());
  std::vector<std::jthread> threads;
  threads.reserve(workers);
  for (std::size_t w = 0; w < workers; ++w) threads.emplace_back(work);

  for (std::size_t i = 0; i < addresses.size(); ++i) {
    std::unique_lock lock(mutex);
    done.wait(lock, [&] { return results[i].has_value(); });
    Resolution result = std::move(*results[i]);
    lock.unlock();
    emit(result);
  }
}

}  // namespace tw::cli
