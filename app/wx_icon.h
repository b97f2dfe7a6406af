// The application icon for the window's title bar and the task bar.
#pragma once

#include <wx/iconbndl.h>

namespace tw {

// Every size of the icon built into the program.
[[nodiscard]] wxIconBundle ApplicationIcons();

}  // namespace tw
