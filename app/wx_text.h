// Texts (code page 936) to and from the toolkit's strings, through UTF-8.
#pragma once

#include <wx/string.h>

#include "runtime/text.h"
#include "web/codepage.h"

namespace tw {

inline wxString ToWx(const Text& text) {
  std::string utf8 = TextToUtf8(text);
  return wxString::FromUTF8(utf8.data(), utf8.size());
}

inline Text FromWx(const wxString& value) {
  wxScopedCharBuffer utf8 = value.utf8_str();
  return TextFromUtf8(std::string_view(utf8.data(), utf8.length()));
}

}  // namespace tw
