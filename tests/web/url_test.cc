#include "web/url.h"

#include <gtest/gtest.h>

#include <climits>

namespace tw {
namespace {

TEST(UrlHost, TakesTheHostInLowerCase) {
  struct Case {
    const char* name;
    Text url;
    bool domainOnly;
    bool keepPort;
    Text want;
  } const kCases[] = {
      {"scheme, port and path", "HTTP://Srv.A.B:8080/x", false, false, "srv.a.b"},
      {"port kept", "HTTP://Srv.A.B:8080/x", false, true, "srv.a.b:8080"},
      {"last two labels", "HTTP://Srv.A.B:8080/x", true, false, "a.b"},
      {"last two labels with port", "HTTP://Srv.A.B:8080/x", true, true, "a.b:8080"},
      {"one label stays", "http://localhost/", true, false, "localhost"},
      {"no scheme, no path", "a.b", false, false, "a.b"},
      {"https without path", "https://s.a.b", false, false, "s.a.b"},
      {"upper-case https", "HTTPS://S.A.B/P", false, false, "s.a.b"},
      {"empty address", "", false, false, ""},
      {"http:// later in the address", "a.b/?u=http://c.d/", false, false, "c.d"},
      {"https:// only counts at the start", "x/https://c.d/", false, false, "x"},
      {"query without slash", "http://a.b?x=1", false, false, "a.b?x=1"},
      {"scheme only", "http://", false, false, ""},
      {"colon without port", "http://a.b:/", false, true, "a.b:"},
      {"two-byte host kept", "http://\xD6\xD0.cn/", false, false, "\xD6\xD0.cn"},  // 中.cn
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(UrlHost(c.url, c.domainOnly, c.keepPort), c.want);
  }
}

TEST(UrlPort, ReadsThePortOrTheSchemesDefault) {
  struct Case {
    const char* name;
    Text url;
    int want;
  } const kCases[] = {
      {"written port", "http://a.b:8080/", 8080},
      {"https default", "https://a.b/", 443},
      {"upper-case https default", "HTTPS://a.b/", 443},
      {"http default", "http://a.b/", 80},
      {"no scheme", "a.b", 80},
      {"empty address", "", 80},
      {"colon without digits", "http://a.b:/", 0},
      {"digits up to a non-digit", "http://a.b:81x/", 81},
      {"port on https", "https://a.b:8443", 8443},
      {"overflowing port saturates", "http://a.b:99999999999999999999/", INT_MAX},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(UrlPort(c.url), c.want);
  }
}

TEST(UrlPath, KeepsThePathInItsOwnCase) {
  struct Case {
    const char* name;
    Text url;
    Text want;
  } const kCases[] = {
      {"path, query and fragment", "HTTP://A.B/Path?q=1#f", "/Path?q=1#f"},
      {"no path", "http://a.b", "/"},
      {"empty address", "", "/"},
      {"root only", "http://a.b/", "/"},
      {"after a port", "http://a.b:8080/s/1Ab", "/s/1Ab"},
      {"no scheme", "a.b/X", "/X"},
      {"query without slash", "http://a.b?x=1", "/"},
      {"host found in any case", "https://WWW.A.B/Init?Surl=Q", "/Init?Surl=Q"},
      // Hosts whose letters the scheme holds are not looked for inside it.
      {"host t", "http://t/x", "/x"},
      {"host http", "HTTP://Http/P", "/P"},
      {"host s after https", "https://s/Y", "/Y"},
      {"empty host", "http:///x", "///x"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(UrlPath(c.url), c.want);
  }
}

}  // namespace
}  // namespace tw
