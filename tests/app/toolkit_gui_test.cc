// The toolkit operations on the real window, in this process: the test's
// main thread runs the window's loop while a script thread acts as a worker
// and as the user's hands.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/toolkit.h"
#include "app/window_toolkit.h"
#include "tests/support/xvfb/xvfb.h"
#include "web/codepage.h"

namespace tw {
namespace {

using namespace std::chrono_literals;

constexpr const char* kNoticeTitle = "友情提示：";
constexpr int kShareBoxX = 120 + 20, kShareBoxY = 24 + 16;
constexpr int kCopyButtonX = 120 + 140, kCopyButtonY = 280 + 16;

class WindowToolkit : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    testing::SharedDisplay();
    static char name[] = "toolkit_gui_test";
    static char* argv[] = {name, nullptr};
    static bool opened = OpenWindowToolkit(1, argv);
    ASSERT_TRUE(opened);
  }

  // Opens the main window and runs its loop until the window is gone; the
  // script runs meanwhile on a thread of its own and gets the window's id.
  // The window is closed by Esc after the script, if it is still open.
  static void RunWindow(const std::function<void(const std::string& window)>& script) {
    ASSERT_TRUE(OpenMainWindow());
    std::thread hands([&] {
      std::optional<std::string> window = testing::WaitForWindow("Tarnwick", 20s);
      if (!window) {
        ADD_FAILURE() << "the window did not appear";
        return;
      }
      testing::Activate(*window);
      script(*window);
      if (testing::WindowExists("Tarnwick")) {
        testing::Activate(*window);
        testing::PressKeys({"Escape"});
      }
    });
    RunMessageLoop();
    hands.join();
  }
};

TEST_F(WindowToolkit, TextTypedInChineseReadsBackAsGbk) {
  RunWindow([](const std::string& window) {
    // Typing goes nowhere until the box has the focus; a first letter that
    // reads back shows it has.
    bool focused = false;
    for (int attempt = 0; attempt < 5 && !focused; ++attempt) {
      WriteControlProperty(Control::编辑框1, kEditBoxText, "");
      testing::Click(window, kShareBoxX, kShareBoxY);
      testing::TypeText("x");
      focused = testing::WaitUntil(
          [] { return ReadControlProperty(Control::编辑框1, kEditBoxText) == Text("x"); }, 2s);
    }
    ASSERT_TRUE(focused);
    testing::PressKeys({"BackSpace"});
    ASSERT_TRUE(
        testing::WaitUntil([] { return ReadControlProperty(Control::编辑框1, kEditBoxText).empty(); }, 2s));
    // xdotool types a character the keymap lacks by remapping a spare key for
    // it; under load the window can read the key before the remapping took,
    // and the character is lost (the box keeps what it had). Each piece is
    // typed once the one before has arrived, and a lost one is typed again,
    // as a person would.
    struct Piece {
      const char* utf8;
      Text expected;
    } kPieces[] = {
        {"中", "\xd6\xd0"},          // 中 D6D0
        {"文", "\xd6\xd0\xce\xc4"},  // 文 CEC4
        {" ab", "\xd6\xd0\xce\xc4 ab"},
    };
    for (const Piece& piece : kPieces) {
      SCOPED_TRACE(piece.utf8);
      const Text before = ReadControlProperty(Control::编辑框1, kEditBoxText);
      bool arrived = false;
      for (int attempt = 0; attempt < 5 && !arrived; ++attempt) {
        testing::TypeText(piece.utf8);
        arrived = testing::WaitUntil(
            [&] { return ReadControlProperty(Control::编辑框1, kEditBoxText) != before; }, 3s);
      }
      ASSERT_TRUE(testing::WaitUntil(
          [&] { return ReadControlProperty(Control::编辑框1, kEditBoxText) == piece.expected; }, 2s))
          << ReadControlProperty(Control::编辑框1, kEditBoxText);
    }
  });
}

TEST_F(WindowToolkit, WritesTakeEffectAndReadsGiveThemBack) {
  RunWindow([](const std::string&) {
    struct Case {
      const char* name;
      Control control;
      int property;
      Text value;
    } kCases[] = {
        {"edit box, two-byte characters", Control::编辑框2, kEditBoxText, "\xce\xc4\xbc\xfe.zip"},  // 文件
        {"edit box emptied", Control::编辑框2, kEditBoxText, ""},
        {"caption kept byte for byte", Control::按钮_地址, kButtonCaption, "  http://d.example/a?b=1&c=2  "},
        {"caption with the Euro sign", Control::按钮_文件名, kButtonCaption, "\x80 100"},
    };
    for (const Case& c : kCases) {
      SCOPED_TRACE(c.name);
      WriteControlProperty(c.control, c.property, c.value);
      EXPECT_EQ(ReadControlProperty(c.control, c.property), c.value);
    }
    EXPECT_EQ(ReadControlProperty(Control::按钮2, kButtonCaption), TextFromUtf8("复制下载地址"));
    EXPECT_EQ(ReadControlProperty(Control::按钮1, kButtonCaption), TextFromUtf8("解析"));
  });
}

// A caption written into 按钮_地址 stays out of sight behind 编辑框3.
TEST_F(WindowToolkit, TheAddressCaptionIsHiddenBehindTheEditBox) {
  RunWindow([](const std::string& window) {
    WriteControlProperty(Control::按钮_地址, kButtonCaption, "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
    WriteControlProperty(Control::按钮_文件名, kButtonCaption, "WWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
    std::this_thread::sleep_for(300ms);
    testing::Image shot = testing::CaptureWindow(window);
    EXPECT_TRUE(shot.Uniform({126, 134, 428, 124}));
    EXPECT_TRUE(shot.Uniform({126, 78, 420, 28}));
  });
}

TEST_F(WindowToolkit, CopyPutsTheCaptionOnTheClipboardAndConfirms) {
  RunWindow([](const std::string& window) {
    struct Case {
      const char* name;
      Text caption;
      std::string onClipboard;
    } kCases[] = {
        {"spaces kept", "  http://d.example/f?x=1  ", "  http://d.example/f?x=1  "},
        {"two-byte characters as UTF-8", "\xd6\xd0\xce\xc4", "中文"},
    };
    for (const Case& c : kCases) {
      SCOPED_TRACE(c.name);
      testing::SetClipboardText("before");
      WriteControlProperty(Control::按钮_地址, kButtonCaption, c.caption);
      testing::Activate(window);
      testing::Click(window, kCopyButtonX, kCopyButtonY);
      std::optional<std::string> box = testing::WaitForWindow(kNoticeTitle, 5s);
      ASSERT_TRUE(box.has_value());
      // The box is modal, and the program serves the clipboard meanwhile.
      EXPECT_EQ(testing::ClipboardText(), c.onClipboard);
      testing::Activate(*box);
      testing::PressKeys({"Return"});
      ASSERT_TRUE(testing::WaitUntil([] { return !testing::WindowExists(kNoticeTitle); }, 5s));
    }
  });
}

TEST_F(WindowToolkit, AWorkersBoxesLeaveTheWindowUsable) {
  std::vector<std::thread> workers;
  std::atomic<int> answered{0};
  RunWindow([&](const std::string& window) {
    for (int i = 0; i < 2; ++i) {
      workers.emplace_back([&] {
        int button = ShowMessageBox(TextFromUtf8("工作线程"), kOkCancelQuestion, TextFromUtf8(kNoticeTitle));
        EXPECT_TRUE(button == 1 || button == 2);
        ++answered;
      });
    }
    ASSERT_TRUE(testing::WaitUntil([] { return testing::FindWindows(kNoticeTitle).size() == 2; }, 10s));
    testing::Activate(window);
    testing::Click(window, kShareBoxX, kShareBoxY);
    testing::TypeText("still usable");
    EXPECT_TRUE(testing::WaitUntil(
        [] { return ReadControlProperty(Control::编辑框1, kEditBoxText) == Text("still usable"); }, 5s));
    // One box answered by the user; the other is still open when the window
    // closes, and its worker is let go.
    std::string box = testing::FindWindows(kNoticeTitle).front();
    testing::Activate(box);
    testing::PressKeys({"Return"});
    EXPECT_TRUE(testing::WaitUntil([&] { return answered == 1; }, 5s));
  });
  for (std::thread& worker : workers) worker.join();
  EXPECT_EQ(answered, 2);
}

TEST_F(WindowToolkit, ClosingWithTwentyWorkersInReadsAndWritesLetsThemAllGo) {
  std::vector<std::thread> workers;
  std::atomic<int> done{0};
  std::atomic<long> operations{0};
  RunWindow([&](const std::string& window) {
    for (int i = 0; i < 20; ++i) {
      workers.emplace_back([&, i] {
        Control control = i % 2 == 0 ? Control::编辑框2 : Control::按钮_地址;
        int property = i % 2 == 0 ? kEditBoxText : kButtonCaption;
        // Reads give the empty text only once the window is gone.
        for (;;) {
          WriteControlProperty(control, property, "busy");
          ++operations;
          if (ReadControlProperty(control, property).empty()) break;
        }
        ++done;
      });
    }
    ASSERT_TRUE(testing::WaitUntil([&] { return operations > 200; }, 10s));
    testing::Activate(window);
    testing::PressKeys({"Escape"});
  });
  // The loop has ended; every worker must come free without the window.
  EXPECT_TRUE(testing::WaitUntil([&] { return done == 20; }, 5s));
  for (std::thread& worker : workers) worker.join();
  EXPECT_EQ(ReadControlProperty(Control::编辑框2, kEditBoxText), Text());
  WriteControlProperty(Control::编辑框2, kEditBoxText, "dropped");
  std::thread late([] { EXPECT_EQ(ReadControlProperty(Control::编辑框2, kEditBoxText), Text()); });
  late.join();
}

}  // namespace
}  // namespace tw
