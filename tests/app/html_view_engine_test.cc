#include "app/html_view_engine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>

namespace tw {
namespace {

namespace fs = std::filesystem;

TEST(FirstRenderNode, IsTheLowestRenderNodeAmongTheDeviceFiles) {
  struct Case {
    std::initializer_list<const char*> files;
    const char* expected;  // beneath the folder; empty for none
  } kCases[] = {
      {{}, ""},
      {{"card0", "by-path"}, ""},
      {{"card0", "renderD129", "card1", "renderD128"}, "renderD128"},
      {{"renderD130"}, "renderD130"},
  };
  fs::path folder = fs::path(::testing::TempDir()) / "tarnwick-dri";
  for (const Case& c : kCases) {
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const char* file : c.files) std::ofstream(folder / file).put('\n');
    std::string expected = *c.expected == '\0' ? "" : (folder / c.expected).string();
    EXPECT_EQ(FirstRenderNode(folder), expected) << c.files.size() << " files";
  }
  fs::remove_all(folder);
  EXPECT_EQ(FirstRenderNode(folder), "") << "a folder that does not exist";
}

}  // namespace
}  // namespace tw
