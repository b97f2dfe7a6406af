// Message boxes for the wx backend: the text, OK (and Cancel) and an icon,
// chosen by the button code as on the platform the program was designed for
// (low four bits: 0 OK, 1 OK and Cancel; next four: 1 error, 2 question).
#pragma once

#include <wx/string.h>

#include <functional>

namespace tw {

// The numbers of the buttons, as the box reports them.
inline constexpr int kOkButton = 1;
inline constexpr int kCancelButton = 2;

// Blocks the program's windows until dismissed; gives the button.
int ShowModalMessageBox(const wxString& text, int buttonCode, const wxString& title);

// Opens a box that blocks no window and returns at once; `dismissed` gets
// the button when the user closes the box.
void OpenModelessMessageBox(const wxString& text, int buttonCode, const wxString& title,
                            std::function<void(int button)> dismissed);

}  // namespace tw
