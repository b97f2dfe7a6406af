#include "app/html_view_engine.h"

#include <cstdlib>
#include <string_view>
#include <system_error>

namespace tw {

std::string FirstRenderNode(const std::filesystem::path& folder) {
  std::error_code error;
  std::string first;
  for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
    std::string name = entry.path().filename().string();
    if (!std::string_view(name).starts_with("renderD")) continue;
    // renderD128 .. renderD255: same length, so text order is number order.
    std::string path = entry.path().string();
    if (first.empty() || path < first) first = std::move(path);
  }
  return first;
}

void PrepareHtmlViewEngine() {
  // The view shows one small page. WebKit's DMA-BUF renderer probes the GPU
  // devices when the view is created (measured here: web context ready in
  // about 45 ms instead of 250) and its helpers take some 50 MiB more, for
  // nothing this page needs.
  setenv("WEBKIT_DISABLE_DMABUF_RENDERER", "1", 0);
  // Without a render node named, the first view opens an EGL display only to
  // ask it for one, which loads the GL driver into this process (on a machine
  // without a GPU, Mesa's LLVM rasteriser: start-up to the mapped window took
  // 475 ms with it, 350 without, and 55 MiB less stays resident).
  // With the DMA-BUF renderer off the node only serves buffer sharing this page
  // never uses, so the first node in /dev/dri does; where there is none, a
  // file that is no DRM device says so, as an EGL display without one would.
  std::string node = FirstRenderNode("/dev/dri");
  setenv("WEBKIT_WEB_RENDER_DEVICE_FILE", node.empty() ? "/dev/null" : node.c_str(), 0);
}

}  // namespace tw
