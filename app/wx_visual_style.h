// The visual style as GTK CSS: three colour schemes for the windows the main
// thread owns (the main window and the copy command's boxes). Boxes shown for
// worker threads keep the system's look, so they are never marked.
#pragma once

class wxTopLevelWindow;

namespace tw {

// Scheme 1, 2 or 3 turns the style on with that scheme, restyling marked
// windows at once; any other number turns it off.
void SetVisualStyle(int scheme);

// Puts `window` under the visual style, now and whenever it changes.
void MarkStyled(wxTopLevelWindow* window);

}  // namespace tw
