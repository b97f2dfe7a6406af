#include "web/codepage.h"

#include "runtime/text_ops.h"
#include "web/cp936.h"
#include "web/utf16le.h"
#include "web/utf8.h"

namespace tw {
namespace {

Position WideSize(std::size_t units) { return static_cast<Position>(units * utf16le::kUnitSize); }

// The UTF-16LE units of 936 bytes: measured, then converted into a buffer of
// exactly that size.
std::string Cp936ToWide(std::string_view cp936) {
  const std::size_t units = Cp936ToUtf16(cp936, nullptr, 0);
  std::string wide(units * utf16le::kUnitSize, '\0');
  Cp936ToUtf16(cp936, wide.data(), units);
  return wide;
}

}  // namespace

Bytes Utf8ToWide(const Bytes& data) {
  const std::size_t units = Utf8ToUtf16(data.view(), nullptr, 0);
  Bytes wide = BlankBytes(WideSize(units));
  Utf8ToUtf16(data.view(), wide.data(), units);
  return wide;
}

Bytes Utf8ToAnsi(const Bytes& data) {
  const std::size_t size = Utf8ToCp936(data.view(), nullptr, 0);
  Bytes ansi = BlankBytes(static_cast<Position>(size));
  Utf8ToCp936(data.view(), ansi.data(), size);
  return ansi;
}

std::string TextToUtf8(const Text& text) {
  const std::string wide = Cp936ToWide(text.view());
  const std::size_t size = Utf16ToUtf8(wide, nullptr, 0);
  std::string utf8(size, '\0');
  Utf16ToUtf8(wide, utf8.data(), size);
  return utf8;
}

Text TextFromUtf8(std::string_view utf8) { return BytesToText(Utf8ToAnsi(Bytes(utf8))); }

}  // namespace tw
