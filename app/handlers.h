// The main window's own event handlers; both run on the main thread.
#pragma once

namespace tw {

// The created event: turns on the visual style, colour scheme 1.
void OnMainWindowCreated();

// The clicked event of 按钮2: puts the caption of 按钮_地址 on the clipboard
// and says so, or tells the user there is no address yet.
void OnCopyClicked();

}  // namespace tw
