#include "app/wx_html_view.h"

#include <glib-object.h>
#include <wx/filename.h>
#include <wx/webview.h>

#include <string_view>

#include "app/window_description.h"

namespace tw {
namespace {

// WebKitGTK asks before it opens an alert, confirm, prompt or leave-page
// dialog; answering "handled" opens none (confirm then gives false, prompt
// null). The signal's parameters are not needed, so WebKit's own headers are
// not either.
gboolean SuppressDialog(GObject*, gpointer, gpointer) { return TRUE; }

void MakeSilent(wxWebView* view) {
  auto* native = static_cast<GObject*>(view->GetNativeBackend());
  if (native == nullptr) return;
  for (const char* signal : {"script-dialog", "print"}) {
    g_signal_connect(native, signal, G_CALLBACK(SuppressDialog), nullptr);
  }
}

wxWebViewZoom ZoomOf(int textSize) {
  switch (textSize) {
    case 0:
      return wxWEBVIEW_ZOOM_TINY;
    case 1:
      return wxWEBVIEW_ZOOM_SMALL;
    case 3:
      return wxWEBVIEW_ZOOM_LARGE;
    case 4:
      return wxWEBVIEW_ZOOM_LARGEST;
    default:
      return wxWEBVIEW_ZOOM_MEDIUM;
  }
}

// The page file beside the program (the working directory) as a file: URL,
// followed by the address's query.
wxString ResolveAddress(std::string_view address) {
  std::string_view::size_type query = address.find('?');
  std::string_view path = address.substr(0, query);
  wxString file = wxString::FromUTF8(path.data(), path.size());
  wxString url = wxFileName::FileNameToURL(wxFileName(wxFileName::GetCwd(), file));
  if (query != std::string_view::npos)
    url += wxString::FromUTF8(address.data() + query, address.size() - query);
  return url;
}

}  // namespace

wxWindow* CreateHtmlView(wxWindow* parent, const char* startAddress, wxPoint at, wxSize size) {
  const HtmlViewerSettings& settings = kHtmlViewerSettings;
  wxWebView* view = wxWebView::New();
  if (view == nullptr) return nullptr;
  view->Hide();
  // Loading starts from the main loop, after the settings below are in place.
  if (!view->Create(parent, wxID_ANY, ResolveAddress(startAddress), at, size)) {
    delete view;
    return nullptr;
  }
  view->SetZoomType(wxWEBVIEW_ZOOM_TYPE_TEXT);
  view->SetZoom(ZoomOf(settings.textSize));
  if (settings.silent) MakeSilent(view);
  return view;
}

}  // namespace tw
