#include "runtime/text.h"

#include <cstdio>

#include "runtime/fatal.h"

namespace tw {
namespace {

void PrintEscaped(std::ostream& out, std::string_view bytes) {
  out << '"';
  for (char c : bytes) {
    const auto b = static_cast<unsigned char>(c);
    if (b < 0x20 || b >= 0x7F || c == '"' || c == '\\') {
      char hex[5];
      std::snprintf(hex, sizeof hex, "\\x%02X", b);
      out << hex;
    } else {
      out << c;
    }
  }
  out << '"';
}

}  // namespace

const Text& TextArray::operator[](Position index) const {
  if (index < 1 || index > MemberCount()) {
    // Formatted on the stack: the failure may come with memory running out.
    char message[96];
    std::snprintf(message, sizeof message, "array index %td outside the array of %td members", index,
                  MemberCount());
    FatalRuntimeError(message);
  }
  return members_[static_cast<std::size_t>(index - 1)];
}

std::ostream& operator<<(std::ostream& out, const Text& text) {
  PrintEscaped(out, text.view());
  return out;
}

std::ostream& operator<<(std::ostream& out, const Bytes& bytes) {
  PrintEscaped(out, bytes.view());
  return out;
}

std::ostream& operator<<(std::ostream& out, const TextArray& array) {
  out << '{';
  const char* separator = "";
  for (const Text& member : array) {
    out << separator << member;
    separator = ", ";
  }
  return out << '}';
}

}  // namespace tw
