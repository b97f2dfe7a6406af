// How the HTML view's engine is set up before the toolkit starts. WebKit reads
// these settings from the environment when it creates its first view.
#pragma once

#include <filesystem>
#include <string>

namespace tw {

// Chooses, for every setting the user has not made, the engine's way of
// drawing one small page. Call before any thread starts: it changes the
// environment.
void PrepareHtmlViewEngine();

// The first DRM render node in `folder` ("/dev/dri/renderD128"), or the empty
// text when there is none.
[[nodiscard]] std::string FirstRenderNode(const std::filesystem::path& folder);

}  // namespace tw
