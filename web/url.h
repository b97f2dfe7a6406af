// Taking an address apart: host, port and request path.
//
// An address is an optional scheme ("http://" or "https://", any case), a
// host, an optional ":port" and an optional path from the first "/" on.
#pragma once

#include "runtime/text.h"

namespace tw {

// The host in lower case. `domainOnly` keeps its last two labels; `keepPort`
// keeps ":port".
//
//   UrlHost("HTTP://Srv.A.B:8080/x") == "srv.a.b"
[[nodiscard]] Text UrlHost(const Text& url, bool domainOnly = false, bool keepPort = false);

// The port written in the address, else 443 for "https" and 80 otherwise.
[[nodiscard]] int UrlPort(const Text& url);

// The request path from the first "/" after the host, in its own case, query
// and fragment included; "/" when there is none.
[[nodiscard]] Text UrlPath(const Text& url);

}  // namespace tw
