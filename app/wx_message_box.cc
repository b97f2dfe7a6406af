#include "app/wx_message_box.h"

#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/sizer.h>
#include <wx/statbmp.h>
#include <wx/stattext.h>

#include <utility>

#include "app/wx_visual_style.h"

namespace tw {
namespace {

constexpr int kButtonsMask = 0x0F;
constexpr int kOkCancel = 0x01;
constexpr int kIconMask = 0xF0;
constexpr int kErrorIcon = 0x10;
constexpr int kQuestionIcon = 0x20;

// Dismissing by the close box or Esc counts as Cancel when there is one.
int ButtonOf(int id, int buttonCode) {
  if (id == wxID_OK) return kOkButton;
  return (buttonCode & kButtonsMask) == kOkCancel ? kCancelButton : kOkButton;
}

wxDialog* BuildBox(const wxString& text, int buttonCode, const wxString& title) {
  auto* box = new wxDialog(nullptr, wxID_ANY, title, wxDefaultPosition, wxDefaultSize,
                           wxCAPTION | wxSYSTEM_MENU | wxCLOSE_BOX | wxDIALOG_NO_PARENT);
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  wxArtID icon = (buttonCode & kIconMask) == kErrorIcon      ? wxART_ERROR
                 : (buttonCode & kIconMask) == kQuestionIcon ? wxART_QUESTION
                                                             : wxArtID();
  if (!icon.empty()) {
    row->Add(new wxStaticBitmap(box, wxID_ANY, wxArtProvider::GetBitmapBundle(icon, wxART_MESSAGE_BOX)), 0,
             wxALL | wxALIGN_CENTRE_VERTICAL, 12);
  }
  auto* message = new wxStaticText(box, wxID_ANY, wxString());
  message->SetLabelText(text);
  row->Add(message, 1, wxALL | wxALIGN_CENTRE_VERTICAL, 12);
  auto* column = new wxBoxSizer(wxVERTICAL);
  column->Add(row, 1, wxEXPAND);
  long buttons = (buttonCode & kButtonsMask) == kOkCancel ? wxOK | wxCANCEL : wxOK;
  column->Add(box->CreateSeparatedButtonSizer(buttons), 0, wxEXPAND | wxALL, 8);
  box->SetSizerAndFit(column);
  box->SetEscapeId(wxID_CANCEL);
  box->Centre();
  return box;
}

}  // namespace

int ShowModalMessageBox(const wxString& text, int buttonCode, const wxString& title) {
  wxDialog* box = BuildBox(text, buttonCode, title);
  MarkStyled(box);
  int button = ButtonOf(box->ShowModal(), buttonCode);
  box->Destroy();
  return button;
}

void OpenModelessMessageBox(const wxString& text, int buttonCode, const wxString& title,
                            std::function<void(int button)> dismissed) {
  wxDialog* box = BuildBox(text, buttonCode, title);
  auto finish = [box, buttonCode, dismissed = std::move(dismissed)](int id) {
    dismissed(ButtonOf(id, buttonCode));
    box->Destroy();
  };
  box->Bind(wxEVT_BUTTON, [finish](wxCommandEvent& event) {
    if (event.GetId() == wxID_OK || event.GetId() == wxID_CANCEL) {
      finish(event.GetId());
    } else {
      event.Skip();
    }
  });
  box->Bind(wxEVT_CLOSE_WINDOW, [finish](wxCloseEvent&) { finish(wxID_CANCEL); });
  box->Show();
}

}  // namespace tw
