#include "app/wx_icon.h"

#include <wx/image.h>
#include <wx/mstream.h>

#include "app/embedded_icons.h"

namespace tw {

wxIconBundle ApplicationIcons() {
  if (wxImage::FindHandler(wxBITMAP_TYPE_PNG) == nullptr) wxImage::AddHandler(new wxPNGHandler);
  wxIconBundle icons;
  for (std::span<const unsigned char> png : EmbeddedIconPngs()) {
    wxMemoryInputStream stream(png.data(), png.size());
    wxImage image(stream, wxBITMAP_TYPE_PNG);
    if (!image.IsOk()) continue;
    wxIcon icon;
    icon.CopyFromBitmap(wxBitmap(image));
    icons.AddIcon(icon);
  }
  return icons;
}

}  // namespace tw
