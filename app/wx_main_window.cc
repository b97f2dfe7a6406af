#include "app/wx_main_window.h"

#include <gtk/gtk.h>
#include <wx/button.h>
#include <wx/display.h>
#include <wx/frame.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <memory>
#include <ranges>

#include "app/window_description.h"
#include "app/wx_html_view.h"
#include "app/wx_icon.h"
#include "app/wx_text.h"
#include "app/wx_visual_style.h"

namespace tw {
namespace {

long FrameStyle(const WindowSettings& settings) {
  long style = wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxCLIP_CHILDREN;
  if (settings.resizable) style |= wxRESIZE_BORDER;
  if (settings.minimizeBox) style |= wxMINIMIZE_BOX;
  if (settings.maximizeBox) style |= wxMAXIMIZE_BOX;
  if (!settings.showInTaskbar) style |= wxFRAME_NO_TASKBAR;
  return style;
}

// Centred on the primary screen from its full size, each quotient rounded
// toward zero, whatever position the description stores.
wxPoint CentredPosition(const Geometry& geometry) {
  wxRect screen = wxDisplay(0u).GetGeometry();
  return {screen.x + (screen.width - geometry.width) / 2, screen.y + (screen.height - geometry.height) / 2};
}

float Alignment(HorizontalAlign align) { return align == HorizontalAlign::kLeft ? 0.0f : 0.5f; }
float Alignment(VerticalAlign align) { return align == VerticalAlign::kTop ? 0.0f : 0.5f; }

// GtkLabel settings that wx does not reach: wrapping and alignment.
void SetLabelLayout(GtkWidget* widget, bool wrap, HorizontalAlign align, VerticalAlign verticalAlign) {
  if (widget == nullptr || !GTK_IS_LABEL(widget)) return;
  GtkLabel* label = GTK_LABEL(widget);
  gtk_label_set_line_wrap(label, wrap);
  gtk_label_set_xalign(label, Alignment(align));
  gtk_label_set_yalign(label, Alignment(verticalAlign));
  if (align == HorizontalAlign::kCentre) gtk_label_set_justify(label, GTK_JUSTIFY_CENTER);
}

wxWindow* CreateEditBox(wxFrame* frame, const Record& record, wxPoint at, wxSize size) {
  const EditBoxSettings& settings = kEditBoxSettings;
  long style = settings.align == HorizontalAlign::kLeft ? wxTE_LEFT : wxTE_CENTRE;
  if (settings.multiLine) style |= wxTE_MULTILINE;
  if (settings.readOnly) style |= wxTE_READONLY;
  if (settings.password) style |= wxTE_PASSWORD;
  auto* box = new wxTextCtrl();
  box->Hide();
  box->Create(frame, wxID_ANY, ToWx(record.text), at, size, style);
  return box;
}

wxWindow* CreateButton(wxFrame* frame, const Record& record, wxPoint at, wxSize size) {
  const ButtonSettings& settings = kButtonSettings;
  auto* button = new wxButton();
  button->Hide();
  button->Create(frame, wxID_ANY, wxString(), at, size);
  button->SetLabelText(ToWx(record.text));
  if (settings.defaultButton) button->SetDefault();
  SetLabelLayout(gtk_bin_get_child(GTK_BIN(button->GetHandle())), settings.wrapCaption, settings.align,
                 settings.verticalAlign);
  if (void (*handler)() = BoundHandler(record, kClickedEvent)) {
    button->Bind(wxEVT_BUTTON, [handler](wxCommandEvent&) { handler(); });
  }
  return button;
}

wxWindow* CreateLabel(wxFrame* frame, const Record& record, wxPoint at, wxSize size) {
  const LabelSettings& settings = kLabelSettings;
  auto* label = new wxStaticText();
  label->Hide();
  label->Create(frame, wxID_ANY, wxString(), at, size, wxST_NO_AUTORESIZE);
  if (settings.accessKeys) {
    label->SetLabel(ToWx(record.text));
  } else {
    label->SetLabelText(ToWx(record.text));
  }
  SetLabelLayout(label->GetHandle(), settings.wrapCaption, settings.align, settings.verticalAlign);
  return label;
}

wxWindow* CreateControl(wxFrame* frame, const Record& record) {
  wxPoint at(record.geometry.left, record.geometry.top);
  wxSize size(record.geometry.width, record.geometry.height);
  wxWindow* control = nullptr;
  switch (record.kind) {
    case ControlKind::kEditBox:
      control = CreateEditBox(frame, record, at, size);
      break;
    case ControlKind::kButton:
      control = CreateButton(frame, record, at, size);
      break;
    case ControlKind::kLabel:
      control = CreateLabel(frame, record, at, size);
      break;
    case ControlKind::kHtmlViewer:
      control = CreateHtmlView(frame, record.text, at, size);
      break;
    case ControlKind::kWindow:
      break;
  }
  if (control == nullptr) return nullptr;
  control->SetName(ToWx(record.name));
  control->Enable(!record.disabled);
  if (!record.tabStop) control->DisableFocusFromKeyboard();
  return control;
}

// Siblings are drawn in the order they were added to their container, so
// creating from the last record to the first already puts the first on top.
// A widget with a native window of its own is stacked by that window
// instead: raising each such window from the bottom record up keeps the same
// order for them.
void StackInRecordOrder(const MainWindow& window) {
  for (const Record& record : ControlRecords() | std::views::reverse) {
    GtkWidget* widget = window[record.control]->GetHandle();
    if (gtk_widget_get_has_window(widget) && gtk_widget_get_realized(widget)) {
      gdk_window_raise(gtk_widget_get_window(widget));
    }
  }
}

// wxGTK holds back the first showing of a frame until the window manager has
// told it the frame's extents, and on the way loses the position set before;
// placing the window again when it is mapped keeps it centred.
void PlaceWhenMapped(wxFrame* frame, wxPoint position) {
  auto* at = new wxPoint(position);
  g_signal_connect_data(
      frame->GetHandle(), "map-event",
      G_CALLBACK(+[](GtkWidget* widget, GdkEvent*, gpointer data) -> gboolean {
        const auto* place = static_cast<const wxPoint*>(data);
        gtk_window_move(GTK_WINDOW(widget), place->x, place->y);
        return FALSE;
      }),
      at, +[](gpointer data, GClosure*) { delete static_cast<wxPoint*>(data); }, GConnectFlags{});
}

void BindKeys(wxFrame* frame, const WindowSettings& settings) {
  bool escCloses = settings.escCloses;
  frame->Bind(wxEVT_CHAR_HOOK, [frame, escCloses](wxKeyEvent& event) {
    switch (event.GetKeyCode()) {
      case WXK_ESCAPE:
        if (escCloses) {
          frame->Close();
          return;
        }
        break;
      // No button is the default one, and Enter moves no focus: it does
      // nothing anywhere in the window.
      case WXK_RETURN:
      case WXK_NUMPAD_ENTER:
        return;
      default:
        break;
    }
    event.Skip();
  });
}

}  // namespace

MainWindow* BuildMainWindow(std::function<void()> gone) {
  const Record& record = MainWindowRecord();
  const WindowSettings& settings = kWindowSettings;
  wxSize outer(record.geometry.width, record.geometry.height);
  wxPoint position = settings.centredOnScreen ? CentredPosition(record.geometry)
                                              : wxPoint(record.geometry.left, record.geometry.top);

  auto* window = new MainWindow;
  wxFrame* frame = new wxFrame();
  if (!frame->Create(nullptr, wxID_ANY, ToWx(record.text), position, outer, FrameStyle(settings))) {
    delete frame;
    delete window;
    return nullptr;
  }
  window->frame = frame;
  MarkStyled(frame);
  if (!settings.resizable) frame->SetSizeHints(outer, outer);
  frame->SetIcons(ApplicationIcons());
  BindKeys(frame, settings);
  // The frame itself is destroyed only when the loop next goes idle, which
  // workers keeping it busy can put off: the window counts as gone, and
  // leaves the screen, from the moment it is closed.
  auto goneOnce = [gone = std::move(gone), done = std::make_shared<bool>(false)] {
    if (*done) return;
    *done = true;
    gone();
  };
  frame->Bind(wxEVT_CLOSE_WINDOW, [frame, goneOnce](wxCloseEvent& event) {
    goneOnce();
    frame->Hide();
    event.Skip();
  });
  frame->Bind(wxEVT_DESTROY, [frame, window, goneOnce](wxWindowDestroyEvent& event) {
    event.Skip();
    if (event.GetEventObject() != frame) return;
    goneOnce();
    delete window;
  });

  auto records = ControlRecords();
  for (const Record& control : records | std::views::reverse) {
    window->controls[static_cast<std::size_t>(control.control)] = CreateControl(frame, control);
    window->captions[static_cast<std::size_t>(control.control)] = Text(control.text);
    if (window->controls[static_cast<std::size_t>(control.control)] == nullptr) {
      frame->Destroy();
      return nullptr;
    }
  }
  StackInRecordOrder(*window);
  for (const Record& control : records | std::views::reverse) {
    if (control.visible) window->controls[static_cast<std::size_t>(control.control)]->Show();
  }
  if (void (*created)() = BoundHandler(record, kCreatedEvent)) created();
  PlaceWhenMapped(frame, position);
  frame->Show();
  return window;
}

}  // namespace tw
