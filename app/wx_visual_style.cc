#include "app/wx_visual_style.h"

#include <gtk/gtk.h>
#include <wx/toplevel.h>

namespace tw {
namespace {

constexpr const char* kStyledClass = "tarnwick-styled";

// Each scheme is a quiet tint of the window face with matching edit boxes and
// buttons; text keeps a contrast of well over 7:1 against its background.
constexpr const char* kSchemes[] = {
    // 1: blue-grey
    "window.tarnwick-styled { background-color: #eef1f5; color: #1d232b; }\n"
    "window.tarnwick-styled entry { background-color: #ffffff; color: #000000;"
    " border: 1px solid #9aa7b8; border-radius: 2px; }\n"
    "window.tarnwick-styled entry:focus { border-color: #3f6fb0; }\n"
    "window.tarnwick-styled button { background-image: none; background-color: #dde4ee;"
    " color: #1d232b; border: 1px solid #8e9cb0; border-radius: 3px; }\n"
    "window.tarnwick-styled button:hover { background-color: #cfd9e7; }\n"
    "window.tarnwick-styled button:active { background-color: #bccbe0; }\n",
    // 2: warm sand
    "window.tarnwick-styled { background-color: #f5f1e8; color: #2b2418; }\n"
    "window.tarnwick-styled entry { background-color: #fffdf8; color: #000000;"
    " border: 1px solid #b8a988; border-radius: 2px; }\n"
    "window.tarnwick-styled entry:focus { border-color: #a0722a; }\n"
    "window.tarnwick-styled button { background-image: none; background-color: #ebe2cf;"
    " color: #2b2418; border: 1px solid #b3a17c; border-radius: 3px; }\n"
    "window.tarnwick-styled button:hover { background-color: #e2d5bb; }\n"
    "window.tarnwick-styled button:active { background-color: #d6c6a4; }\n",
    // 3: graphite
    "window.tarnwick-styled { background-color: #e6e7e8; color: #161819; }\n"
    "window.tarnwick-styled entry { background-color: #ffffff; color: #000000;"
    " border: 1px solid #8a8f94; border-radius: 0; }\n"
    "window.tarnwick-styled entry:focus { border-color: #3c4248; }\n"
    "window.tarnwick-styled button { background-image: none; background-color: #d5d7d9;"
    " color: #161819; border: 1px solid #7f858b; border-radius: 0; }\n"
    "window.tarnwick-styled button:hover { background-color: #c8cbce; }\n"
    "window.tarnwick-styled button:active { background-color: #b7bbbf; }\n",
};

GtkCssProvider* g_provider = nullptr;  // main thread only

}  // namespace

void SetVisualStyle(int scheme) {
  GdkScreen* screen = gdk_screen_get_default();
  if (screen == nullptr) return;
  if (g_provider != nullptr) {
    gtk_style_context_remove_provider_for_screen(screen, GTK_STYLE_PROVIDER(g_provider));
    g_clear_object(&g_provider);
  }
  if (scheme < 1 || scheme > 3) return;
  g_provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(g_provider, kSchemes[scheme - 1], -1, nullptr);
  gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(g_provider),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
}

void MarkStyled(wxTopLevelWindow* window) {
  gtk_style_context_add_class(gtk_widget_get_style_context(window->GetHandle()), kStyledClass);
}

}  // namespace tw
