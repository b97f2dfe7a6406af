// Invariant target for UrlHost, UrlPort and UrlPath: the host is lower case
// and holds no "/" (and no ":" without keepPort), the host without its port
// is the part of the host with its port before the colon, the port falls back
// to 80 or 443 only when no port is written, the path begins with "/" and is
// the end of the address, and the case of the address changes nothing but the
// case of the path.
//
// Input: the address.
#include <cstddef>
#include <cstdint>

#include "runtime/text_ops.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/fuzz_input.h"
#include "web/url.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace tw;
  tw::fuzz::FuzzInput in(data, size);
  const Text url = in.NextText();
  const Text lowerUrl = ToLowerCase(url);

  const Text host = UrlHost(url);
  const Text hostPort = UrlHost(url, false, true);
  const Text domain = UrlHost(url, true, false);
  for (const Text& h : {host, hostPort, domain, UrlHost(url, true, true)}) {
    FUZZ_CHECK_EQ(ToLowerCase(h), h);
    FUZZ_CHECK_EQ(FindText(h, "/"), kNotFound);
  }
  FUZZ_CHECK_EQ(FindText(host, ":"), kNotFound);
  FUZZ_CHECK_EQ(FindText(domain, ":"), kNotFound);
  const Position colon = FindText(hostPort, ":");
  FUZZ_CHECK_EQ(host, colon == kNotFound ? hostPort : TextLeft(hostPort, colon - 1));

  const int port = UrlPort(url);
  if (colon == kNotFound) {
    FUZZ_CHECK_EQ(port, CompareText(TextLeft(lowerUrl, 5), "https") == 0 ? 443 : 80);
  }

  const Text path = UrlPath(url);
  FUZZ_CHECK_EQ(TextLeft(path, 1), Text("/"));
  if (CompareText(path, "/") != 0) FUZZ_CHECK_EQ(TextRight(url, TextLength(path)), path);

  FUZZ_CHECK_EQ(UrlHost(lowerUrl), host);
  FUZZ_CHECK_EQ(UrlHost(lowerUrl, false, true), hostPort);
  FUZZ_CHECK_EQ(UrlPort(lowerUrl), port);
  FUZZ_CHECK_EQ(UrlPath(lowerUrl), ToLowerCase(path));
  return 0;
}
