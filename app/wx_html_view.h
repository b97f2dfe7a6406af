// The embedded HTML view: WebKitGTK behind wxWebView.
#pragma once

#include <wx/gdicmn.h>

class wxWindow;

namespace tw {

// Creates the view hidden, applies the HTML view settings (text size, silent
// mode) and starts loading `startAddress`: a page file name relative to the
// working directory, with its query ("start.html?u=...").
wxWindow* CreateHtmlView(wxWindow* parent, const char* startAddress, wxPoint at, wxSize size);

}  // namespace tw
