// The window program, unmodified, while its workers wait on a share page that
// never comes: the loopback server accepts and never answers. The window must
// stay usable and close at once, ending the process with status 0.
#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>

#include "app/window_description.h"
#include "tests/support/http_server/http_server.h"
#include "tests/support/xvfb/xvfb.h"

namespace tw {
namespace {

using namespace std::chrono_literals;
namespace x = tw::testing;

constexpr const char* kNoticeTitle = "友情提示：";
constexpr int kWorkers = 3;

// A click inside the control, `offset` pixels right of its centre: xdotool
// waits long for a pointer that is already where it is sent, so repeated
// clicks go to points of their own.
void ClickOn(const std::string& window, Control control, int offset = 0) {
  const Geometry& g = RecordOf(control).geometry;
  x::Click(window, g.left + g.width / 2 + offset, g.top + g.height / 2);
}

TEST(WindowFaults, WorkersWaitingOnASilentPeerLeaveTheWindowUsableAndClosingEndsTheProgram) {
  x::SharedDisplay();
  test::HttpServer silent({{.bytes = "", .stall = std::chrono::hours(1)}});
  x::Process app({TARNWICK_PROGRAM});
  const std::optional<std::string> window = x::WaitForWindow("Tarnwick", 20s);
  ASSERT_TRUE(window.has_value()) << "the window did not appear";

  x::Activate(*window);
  ClickOn(*window, Control::编辑框1);
  x::PressKeys({"ctrl+a", "BackSpace"});
  // The service's base address in the query makes the program take it.
  x::TypeText(silent.Url("/s/silent?from=http://pan.baidu.com/"));
  for (int i = 0; i < kWorkers; ++i) ClickOn(*window, Control::按钮1, 12 * (i - 1));
  ASSERT_TRUE(x::WaitUntil([&] { return silent.Requests().size() == kWorkers; }, 20s))
      << "requests that arrived: " << silent.Requests().size();

  // The main loop still answers: the copy command shows its box.
  ClickOn(*window, Control::按钮2);
  ASSERT_TRUE(x::WaitUntil([] { return x::WindowExists(kNoticeTitle); }, 10s))
      << "the window no longer responds";
  x::Activate(x::FindWindows(kNoticeTitle).front());
  x::PressKeys({"Return"});
  ASSERT_TRUE(x::WaitUntil([] { return !x::WindowExists(kNoticeTitle); }, 10s));

  x::Activate(*window);
  x::PressKeys({"Escape"});
  EXPECT_EQ(app.WaitForExit(10s), 0) << "closing did not end the program while workers waited";
}

}  // namespace
}  // namespace tw
