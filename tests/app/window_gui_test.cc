// The window program driven from outside, as a person would: the real
// program on a private display with a window manager.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "tests/support/xvfb/xvfb.h"

namespace tw {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testing::Process;

constexpr const char* kNoticeTitle = "友情提示：";

// Client-area points inside the controls of the window description.
constexpr int kShareBoxX = 120 + 20, kShareBoxY = 24 + 16;
constexpr int kParseButtonX = 472 + 40, kParseButtonY = 23 + 16;
constexpr int kCopyButtonX = 120 + 140, kCopyButtonY = 280 + 16;

class WindowProgram : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { testing::SharedDisplay(); }

  // Starts `program` and waits for its window.
  void Start(const std::string& program = TARNWICK_PROGRAM) {
    app_ = std::make_unique<Process>(std::vector<std::string>{program});
    std::optional<std::string> window = testing::WaitForWindow("Tarnwick", 20s);
    ASSERT_TRUE(window.has_value()) << "the window did not appear";
    window_ = *window;
    testing::Activate(window_);
  }

  void TearDown() override {
    if (app_ != nullptr && app_->Running()) {
      testing::Activate(window_);
      testing::PressKeys({"Escape"});
      app_->WaitForExit(5s);
    }
  }

  std::optional<int> PressEscapeAndWait() {
    testing::Activate(window_);
    testing::PressKeys({"Escape"});
    return app_->WaitForExit(5s);
  }

  std::unique_ptr<Process> app_;
  std::string window_;
};

TEST_F(WindowProgram, HasItsTitleSizeAndPlaceAndAFixedFrame) {
  Start();
  testing::Rectangle outer = testing::OuterArea(window_);
  EXPECT_EQ(outer.width, 580);
  EXPECT_EQ(outer.height, 354);
  const testing::XvfbDisplay& display = testing::SharedDisplay();
  EXPECT_EQ(outer.left, (display.width() - 580) / 2);
  EXPECT_EQ(outer.top, (display.height() - 354) / 2);

  std::string hints = testing::WindowProperty(window_, "WM_NORMAL_HINTS");
  testing::Rectangle client = testing::ClientArea(window_);
  std::string size = std::to_string(client.width) + " by " + std::to_string(client.height);
  EXPECT_NE(hints.find("minimum size: " + size), std::string::npos) << hints;
  EXPECT_NE(hints.find("maximum size: " + size), std::string::npos) << hints;

  // Motif hints: flags, functions, decorations. Functions may only be move
  // (0x04) and close (0x20): no resize, minimise or maximise.
  unsigned flags = 0, functions = 0, decorations = 0;
  std::string motif = testing::WindowProperty(window_, "_MOTIF_WM_HINTS");
  ASSERT_EQ(std::sscanf(motif.c_str(), "_MOTIF_WM_HINTS(_MOTIF_WM_HINTS) = %x, %x, %x", &flags, &functions,
                        &decorations),
            3)
      << motif;
  EXPECT_EQ(functions, 0x04u | 0x20u);

  EXPECT_EQ(testing::WindowProperty(window_, "_NET_WM_STATE").find("SKIP_TASKBAR"), std::string::npos);
  EXPECT_EQ(testing::WindowProperty(window_, "_NET_WM_STATE").find("ABOVE"), std::string::npos);
  std::string icons = testing::WindowProperty(window_, "_NET_WM_ICON");
  for (const char* iconSize : {"16 x 16", "32 x 32", "48 x 48"}) {
    EXPECT_NE(icons.find(std::string("Icon (") + iconSize + ")"), std::string::npos) << iconSize;
  }
}

// The edit boxes lie over the result buttons and the HTML view: their
// interiors show nothing but the box's own background.
TEST_F(WindowProgram, EditBoxesHideTheResultButtonsAndTheHtmlView) {
  Start();
  std::this_thread::sleep_for(1500ms);  // the start page has had time to draw
  testing::Image shot = testing::CaptureWindow(window_);
  shot.SavePng("stacking.png");
  // Inside 编辑框2 (120, 72, 432 x 40), clear of its frame; 按钮_文件名 lies
  // behind it.
  EXPECT_TRUE(shot.Uniform({126, 78, 420, 28}));
  // Inside 编辑框3 (120, 128, 440 x 136): 按钮_地址 and the HTML view.
  EXPECT_TRUE(shot.Uniform({126, 134, 428, 124}));
  // The leftmost column of 按钮_地址 shows beside 编辑框3; the window face
  // does not reach that column there.
  EXPECT_NE(shot.Pixel(119, 235), shot.Pixel(110, 235));
}

TEST_F(WindowProgram, EscapeInTheShareBoxEndsTheProgram) {
  Start();
  testing::Click(window_, kShareBoxX, kShareBoxY);
  EXPECT_EQ(PressEscapeAndWait(), 0);
}

TEST_F(WindowProgram, EnterInTheShareBoxDoesNothing) {
  Start();
  testing::Click(window_, kShareBoxX, kShareBoxY);
  testing::TypeText("not an address");
  testing::PressKeys({"Return"});
  // A parse would tell at once that this is no share address.
  std::this_thread::sleep_for(1500ms);
  EXPECT_FALSE(testing::WindowExists(kNoticeTitle));
  EXPECT_TRUE(app_->Running());
}

TEST_F(WindowProgram, CopyWithoutAnAddressSaysSoAndLeavesTheClipboardAlone) {
  testing::SetClipboardText("left alone");
  Start();
  testing::Click(window_, kCopyButtonX, kCopyButtonY);
  std::optional<std::string> box = testing::WaitForWindow(kNoticeTitle, 5s);
  ASSERT_TRUE(box.has_value());
  EXPECT_EQ(testing::ClipboardText(), "left alone");
  // Cancel does what OK does: the box goes, nothing else happens.
  testing::Activate(*box);
  testing::PressKeys({"Escape"});
  EXPECT_TRUE(testing::WaitUntil([] { return !testing::WindowExists(kNoticeTitle); }, 5s));
  EXPECT_EQ(testing::ClipboardText(), "left alone");
  EXPECT_TRUE(app_->Running());
}

// Each click on 解析 with a foreign address leaves a worker waiting on its
// message box; Esc on the button still ends the program at once.
TEST_F(WindowProgram, EscapeOnAButtonEndsTheProgramWhileWorkersWaitOnBoxes) {
  Start();
  for (int i = 0; i < 3; ++i) testing::Click(window_, kParseButtonX, kParseButtonY);
  ASSERT_TRUE(testing::WaitUntil([] { return testing::FindWindows(kNoticeTitle).size() == 3; }, 10s));
  testing::Activate(window_);
  EXPECT_EQ(PressEscapeAndWait(), 0);
}

// Listens on a loopback port for one HTTP request and gives its first line.
class Beacon {
 public:
  Beacon() {
    socket_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(socket_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(socket_, 4);
    socklen_t length = sizeof address;
    ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
  }
  ~Beacon() { ::close(socket_); }
  [[nodiscard]] int port() const { return port_; }
  std::string FirstRequestLine(std::chrono::milliseconds timeout) {
    pollfd ready{socket_, POLLIN, 0};
    if (::poll(&ready, 1, static_cast<int>(timeout.count())) != 1) return "";
    int client = ::accept(socket_, nullptr, nullptr);
    std::string request;
    char buffer[1024];
    ssize_t n = ::read(client, buffer, sizeof buffer);
    if (n > 0) request.assign(buffer, static_cast<std::size_t>(n));
    ::close(client);
    return request.substr(0, request.find("\r\n"));
  }

 private:
  int socket_ = -1;
  int port_ = 0;
};

// The start page is found beside the program: a copy of the program with a
// page that asks for every kind of dialog and then reports what it got.
TEST_F(WindowProgram, TheStartPageCanOpenNoDialog) {
  Beacon beacon;
  fs::path folder = fs::temp_directory_path() / ("tarnwick-silent-" + std::to_string(::getpid()));
  fs::create_directories(folder);
  fs::copy_file(TARNWICK_PROGRAM, folder / "tarnwick", fs::copy_options::overwrite_existing);
  std::ofstream(folder / "start.html")
      << "<!DOCTYPE html><html><body><script>\n"
         "alert('a'); var c = confirm('c'); var p = prompt('p', 'x');\n"
         "new Image().src = 'http://127.0.0.1:"
      << beacon.port()
      << "/done?u=' + new URLSearchParams(location.search).has('u') + '&c=' + c + '&p=' + p;\n"
         "</script></body></html>\n";
  Start((folder / "tarnwick").string());
  std::string request = beacon.FirstRequestLine(15s);
  EXPECT_EQ(request, "GET /done?u=true&c=false&p=null HTTP/1.1");
  std::string all =
      testing::RunCommand({"xdotool", "search", "--onlyvisible", "--pid", std::to_string(app_->pid())})
          .output;
  EXPECT_EQ(std::count(all.begin(), all.end(), '\n'), 1) << all;
  EXPECT_EQ(PressEscapeAndWait(), 0);
  fs::remove_all(folder);
}

TEST(WindowProgramWithoutDisplay, EndsWith255AndSaysWhy) {
  testing::CommandResult result = testing::RunCommand(
      {"sh", "-c", std::string("env -u DISPLAY -u WAYLAND_DISPLAY ") + TARNWICK_PROGRAM + " 2>&1"});
  EXPECT_EQ(result.exitCode, 255);
  EXPECT_NE(result.output.find("DISPLAY"), std::string::npos) << result.output;
}

}  // namespace
}  // namespace tw
