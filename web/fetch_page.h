// FetchPage: the program's only HTTP routine.
#pragma once

#include <optional>

#include "runtime/text.h"

namespace tw {

// Optional parameters of FetchPage, named at the call site:
//   FetchPage(url, {.method = 1, .postText = body})
// A pointer left null is a parameter left out: a private value is used. For
// `cookies` and `proxy`, left out is not the same as supplied empty.
struct FetchOptions {
  int method = 0;                   // 1: POST; any other value GET; non-zero sends a body
  Text postText{};                  // the body, when postBytes is empty
  Text* cookies = nullptr;          // in/out: sent as Cookie, merged with the answer's
  Text* newCookies = nullptr;       // out: the cookies this answer sets, "; "-joined
  Text* extraHeaders = nullptr;     // in/out: header lines; extended by the defaults sent
  Text* location = nullptr;         // in/out: the last Location value, else the header block
  bool noRedirect = false;          // return redirect answers instead of following them
  Bytes* postBytes = nullptr;       // in/out: the body as bytes, filled from postText
  std::optional<Text> proxy{};      // host:port for plain HTTP requests
  Text* responseHeaders = nullptr;  // out: the raw response header block
};

// Sends one request to `url`, reads the whole answer, repeats it at the moved
// address of a "301 Moved" answer, and returns the body, converted from UTF-8
// when the page or its headers name utf-8. The empty text when the request
// cannot be opened.
[[nodiscard]] Text FetchPage(const Text& url, const FetchOptions& options = {});

}  // namespace tw
