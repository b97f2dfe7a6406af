// The application icon's PNG images, one per size, built into the program.
#pragma once

#include <span>

namespace tw {

[[nodiscard]] std::span<const std::span<const unsigned char>> EmbeddedIconPngs();

}  // namespace tw
