// FetchPage against the loopback test server: the exact request bytes that go
// out, and what the routine makes of scripted answers.
//
// Every cookie an answer sets here carries a path that no other request
// uses, so the process-wide cookie store adds nothing to the requests that
// are compared byte for byte.
#include "web/fetch_page.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "runtime/text_ops.h"
#include "tests/support/http_server/http_server.h"

namespace tw {
namespace {

using test::HttpServer;
using test::Reply;
using ::testing::HasSubstr;
using ::testing::Not;

constexpr const char* kDefaultAgent =
    "Mozilla/4.0 (compatible; MSIE 9.0; Windows NT 6.1; VOREL; .NET CLR 2.0.50727; .NET CLR 3.0.04506.648; "
    ".NET CLR 3.5.21022)";
constexpr const char* kDefaultLines =
    "\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nContent-Type: application/x-www-form-urlencoded";

Reply Answer(const std::string& statusLine, const std::string& head, const std::string& body) {
  return {.bytes = statusLine + "\r\n" + head + "Content-Length: " + std::to_string(body.size()) +
                   "\r\n\r\n" + body};
}
Reply Ok(const std::string& head, const std::string& body) { return Answer("HTTP/1.1 200 OK", head, body); }
Reply Ok() { return Ok("", "ok"); }

std::string HostLine(const HttpServer& server) {
  return "Host: 127.0.0.1:" + std::to_string(server.port()) + "\r\n";
}

// A header text as it goes on the wire: each line ended by CRLF.
std::string WireLines(const Text& headerText) {
  std::string out;
  for (const Text& line : SplitText(headerText, "\r\n")) {
    if (!line.empty()) out += line.str() + "\r\n";
  }
  return out;
}

// A loopback port on which nothing listens any more.
int ClosedPort() {
  HttpServer gone({Ok()});
  return gone.port();
}

// The 5000 blanks that stand for a header block the query could not give.
const Text kBlankBlock = BlankText(5000);

TEST(FetchPage, SendsTheDefaultHeaderTextWhenExtraHeadersIsEmpty) {
  HttpServer server({Ok("", "<p>page</p>")});
  const Text url(server.Url("/s/1abc?x=1"));
  Text extraHeaders;
  Text responseHeaders;
  EXPECT_EQ(FetchPage(url, {.extraHeaders = &extraHeaders, .responseHeaders = &responseHeaders}),
            "<p>page</p>");

  EXPECT_EQ(extraHeaders, JoinText("Referer: ", url, kDefaultLines));
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0], "GET /s/1abc?x=1 HTTP/1.1\r\n" + HostLine(server) + "User-Agent: " +
                                      kDefaultAgent + "\r\n" + WireLines(extraHeaders) + "\r\n");
  EXPECT_EQ(responseHeaders, "HTTP/1.1 200 OK\r\nContent-Length: 11\r\n\r\n");
}

TEST(FetchPage, AppendsDefaultsByExactSearchAndTakesTheAgentFromAUserAgentInAnyCase) {
  struct Case {
    const char* name;
    const char* extraHeaders;
    const char* extended;   // extraHeaders afterwards, "{url}" for the address
    const char* agentLine;  // the User-Agent line made from the agent text; null: the caller's line goes
  } cases[] = {
      {"a lower-case accept line does not stop Accept", "accept: text/html",
       "accept: text/html\r\nReferer: {url}\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded",
       "User-Agent: {default}"},
      {"a caller's lines keep their place and stop their defaults",
       "Accept: text/html\r\nReferer: http://r/\r\nContent-Type: text/plain\r\nAccept-Language: en",
       "Accept: text/html\r\nReferer: http://r/\r\nContent-Type: text/plain\r\nAccept-Language: en",
       "User-Agent: {default}"},
      {"a text ending in CRLF gets an empty line before the defaults", "X-A: 1\r\n",
       "X-A: 1\r\n\r\nReferer: {url}\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded",
       "User-Agent: {default}"},
      {"a lower-case user-agent line is found and is the one sent", "user-agent: Mine/1",
       "user-agent: Mine/1\r\nReferer: {url}\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded",
       nullptr},
      {"the agent runs to the CRLF after the marker", "X-Note: User-Agent: Cut/2\r\nX-B: 1",
       "X-Note: User-Agent: Cut/2\r\nX-B: 1\r\nReferer: {url}\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded",
       "User-Agent: Cut/2"},
      {"with no CRLF after the marker the agent is the whole text after its first colon",
       "X-Note: see User-Agent: Last",
       "X-Note: see User-Agent: Last\r\nReferer: {url}\r\nAccept: */*\r\nAccept-Language: zh-cn\r\n"
       "Content-Type: application/x-www-form-urlencoded",
       "User-Agent: see User-Agent: Last"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HttpServer server({Ok()});
    const Text url(server.Url("/h"));
    Text extraHeaders(c.extraHeaders);
    (void)FetchPage(url, {.extraHeaders = &extraHeaders});
    EXPECT_EQ(extraHeaders, ReplaceText(c.extended, "{url}", url));
    const std::string agent =
        c.agentLine == nullptr ? "" : ReplaceText(c.agentLine, "{default}", kDefaultAgent).str() + "\r\n";
    EXPECT_EQ(server.Requests().at(0),
              "GET /h HTTP/1.1\r\n" + HostLine(server) + agent + WireLines(extraHeaders) + "\r\n");
  }
}

TEST(FetchPage, SendsTheCookieLineWhenCookiesAreSuppliedAndNotEmpty) {
  HttpServer server({Ok("Set-Cookie: n=2; Path=/supplied\r\n", "ok")});
  const Text url(server.Url("/c"));
  Text cookies("o=1; n=0");
  Text extraHeaders;
  (void)FetchPage(url, {.cookies = &cookies, .extraHeaders = &extraHeaders});
  EXPECT_EQ(extraHeaders, JoinText("Referer: ", url, kDefaultLines, "\r\nCookie: o=1; n=0"));
  EXPECT_THAT(server.Requests().at(0), HasSubstr("\r\nCookie: o=1; n=0\r\n\r\n"));
  EXPECT_EQ(cookies, "n=2; o=1");
}

TEST(FetchPage, SuppliedEmptyCookiesSendNoCookieLineAndTakeTheMerge) {
  HttpServer server({Ok("Set-Cookie: a=1 ; Path=/empty\r\nSet-Cookie: b=2; HttpOnly\r\n", "ok")});
  Text cookies;
  Text newCookies;
  (void)FetchPage(Text(server.Url("/e")), {.cookies = &cookies, .newCookies = &newCookies});
  EXPECT_THAT(server.Requests().at(0), Not(HasSubstr("Cookie:")));
  EXPECT_EQ(cookies, "a=1; b=2");
  EXPECT_EQ(newCookies, "a=1;b=2");  // the merge removed its blanks
}

TEST(FetchPage, CookiesLeftOutStillFillNewCookiesAndMergeNothing) {
  struct Case {
    const char* name;
    const char* setCookieLines;
    const char* newCookies;
  } cases[] = {
      {"two lines with attributes", "Set-Cookie: a=1; Path=/left\r\nSet-Cookie: b=2; Path=/left\r\n",
       "a=1; b=2"},
      {"a second line with nothing after its pair", "Set-Cookie: a=1; Path=/left\r\nSet-Cookie: b=2\r\n",
       "a=1; "},
      {"no Set-Cookie line", "", ""},
      {"Set-Cookie without its colon still counts", "X-Set-Cookie-Note: z\r\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HttpServer server({Ok(c.setCookieLines, "ok")});
    Text newCookies("stale");
    (void)FetchPage(Text(server.Url("/left/n")), {.newCookies = &newCookies});
    EXPECT_EQ(newCookies, c.newCookies);
  }
}

TEST(FetchPage, TakesLocationFromTheLastLineHoldingItOrTheHeaderBlock) {
  struct Case {
    const char* name;
    const char* head;
    const char* locationBefore;
    const char* locationAfter;  // "{block}": the whole header block
  } cases[] = {
      {"Location line", "Location: http://a/x\r\n", "", "http://a/x"},
      {"Content-Location also holds Location:", "Location: http://a/x\r\nContent-Location: /y\r\n", "", "/y"},
      {"no Location line: the header block", "", "", "{block}"},
      {"no Location line leaves a passed-in location", "", "kept", "kept"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HttpServer server({Ok(c.head, "ok")});
    Text location(c.locationBefore);
    Text responseHeaders;
    (void)FetchPage(Text(server.Url("/l")), {.location = &location, .responseHeaders = &responseHeaders});
    EXPECT_EQ(location, ReplaceText(c.locationAfter, "{block}", responseHeaders));
  }
}

TEST(FetchPage, SendsBodiesByMethodAndPrefersPostBytes) {
  struct Case {
    const char* name;
    int method;
    const char* postText;
    const char* postBytesBefore;
    const char* requestLine;
    const char* bodyLines;  // what follows the header text
    const char* postBytesAfter;
  } cases[] = {
      {"method 0 sends no body", 0, "k=v", "", "GET /b HTTP/1.1", "\r\n", ""},
      {"method 1 posts postText and fills postBytes", 1, "k=v", "", "POST /b HTTP/1.1",
       "Content-Length: 3\r\n\r\nk=v", "k=v"},
      {"postBytes goes before postText", 1, "k=v", "raw", "POST /b HTTP/1.1", "Content-Length: 3\r\n\r\nraw",
       "raw"},
      {"both empty: a POST without body", 1, "", "", "POST /b HTTP/1.1", "Content-Length: 0\r\n\r\n", ""},
      {"method 2 is a GET with a body", 2, "k=v", "", "GET /b HTTP/1.1", "Content-Length: 3\r\n\r\nk=v",
       "k=v"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HttpServer server({Ok()});
    Text extraHeaders;
    Bytes postBytes(c.postBytesBefore);
    (void)FetchPage(
        Text(server.Url("/b")),
        {.method = c.method, .postText = c.postText, .extraHeaders = &extraHeaders, .postBytes = &postBytes});
    EXPECT_EQ(server.Requests().at(0), std::string(c.requestLine) + "\r\n" + HostLine(server) +
                                           "User-Agent: " + kDefaultAgent + "\r\n" + WireLines(extraHeaders) +
                                           c.bodyLines);
    EXPECT_EQ(postBytes, Bytes(c.postBytesAfter));
  }
}

TEST(FetchPage, RepeatsA301MovedAtTheLocationFollowedByTheOldPath) {
  HttpServer target({Ok("", "moved here")});
  struct Case {
    const char* name;
    std::string location;
    const char* repeatedLine;
  } cases[] = {
      {"a base gets the old path", target.Url(""), "POST /old?q=1 HTTP/1.1"},
      {"a location with the path gets it twice", target.Url("/old?q=1"), "POST /old?q=1/old?q=1 HTTP/1.1"},
  };
  std::size_t seen = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HttpServer first({Answer("HTTP/1.1 301 Moved Permanently", "Location: " + c.location + "\r\n", "gone")});
    const Text url(first.Url("/old?q=1"));
    Text extraHeaders;
    Text location;
    EXPECT_EQ(FetchPage(url, {.method = 1,
                              .postText = "k=v",
                              .extraHeaders = &extraHeaders,
                              .location = &location,
                              .noRedirect = true}),
              "moved here");
    // Emptied for the repeat, whose answer has no Location line.
    EXPECT_EQ(location, "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n");
    ASSERT_EQ(target.Requests().size(), ++seen);
    // The repeat sends the first request's header text again: its Referer
    // still names the first address.
    EXPECT_EQ(target.Requests().back(), std::string(c.repeatedLine) + "\r\n" + HostLine(target) +
                                            "User-Agent: " + kDefaultAgent + "\r\n" +
                                            WireLines(extraHeaders) + "Content-Length: 3\r\n\r\nk=v");
    EXPECT_EQ(extraHeaders, JoinText("Referer: ", url, kDefaultLines));
  }
}

TEST(FetchPage, ARepeatCarriesTheOldAndTheMergedCookies) {
  HttpServer target({Ok()});
  HttpServer first(
      {Answer("HTTP/1.1 301 Moved", "Location: " + target.Url("") + "\r\nSet-Cookie: d=2; Path=/\r\n", "")});
  Text cookies("c=1");
  (void)FetchPage(Text(first.Url("/m")), {.cookies = &cookies, .noRedirect = true});
  EXPECT_THAT(target.Requests().at(0), HasSubstr("\r\nCookie: c=1\r\nCookie: d=2; c=1\r\n\r\n"));
  EXPECT_EQ(cookies, "d=2; c=1");
}

TEST(FetchPage, ATwoHundredAfterRedirectsTheClientFollowedIsNotRepeated) {
  HttpServer target({Ok("", "final")});
  HttpServer first(
      {Answer("HTTP/1.1 301 Moved Permanently", "Location: " + target.Url("/new") + "\r\n", "")});
  Text responseHeaders;
  EXPECT_EQ(FetchPage(Text(first.Url("/old")), {.responseHeaders = &responseHeaders}), "final");
  EXPECT_EQ(target.Requests().size(), 1u);
  EXPECT_EQ(responseHeaders,
            "HTTP/1.1 200 OK\r\nContent-Length: 5\r\n\r\n");  // the final answer's block only
}

TEST(FetchPage, Repeats301WithoutLocationAtTheHeaderBlockFollowedByThePath) {
  // The header block is no address, so the repeat cannot be opened.
  HttpServer server({Answer("HTTP/1.1 301 Moved", "", "")});
  Text location;
  EXPECT_EQ(FetchPage(Text(server.Url("/p")), {.location = &location}), "");
  EXPECT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(location, kBlankBlock);
}

TEST(FetchPage, ReturnsOtherRedirectAnswersAsTheyCame) {
  struct Case {
    const char* name;
    const char* statusLine;
  } cases[] = {
      {"302", "HTTP/1.1 302 Moved Temporarily"},
      {"301 under HTTP/1.0", "HTTP/1.0 301 Moved Permanently"},
      {"301 whose reason is not Moved", "HTTP/1.1 301 Gone Elsewhere"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HttpServer target({Ok()});
    HttpServer first({Answer(c.statusLine, "Location: " + target.Url("") + "\r\n", "redirect body")});
    Text location;
    EXPECT_EQ(FetchPage(Text(first.Url("/p")), {.location = &location, .noRedirect = true}), "redirect body");
    EXPECT_EQ(location, Text(target.Url("")));
    EXPECT_TRUE(target.Requests().empty());
  }
}

TEST(FetchPage, BoundsEndless301MovedAnswersAtTenRepeats) {
  std::atomic<int> port{0};
  std::atomic<int> round{0};
  HttpServer server([&](const std::string&) {
    const std::string base = "http://127.0.0.1:" + std::to_string(port.load());
    return Answer("HTTP/1.1 301 Moved Permanently", "Location: " + base + "\r\n",
                  "round " + std::to_string(++round));
  });
  port = server.port();
  Text location;
  // The first request and ten repeats; the eleventh answer comes back as is.
  EXPECT_EQ(FetchPage(Text(server.Url("/p")), {.location = &location, .noRedirect = true}), "round 11");
  EXPECT_EQ(server.Requests().size(), 11u);
  EXPECT_EQ(location, Text(server.Url("")));
}

TEST(FetchPage, ConvertsUtf8WhenTheBodyNamesItEarlyOrTheHeadersNameItInAnyCase) {
  const std::string zhong = "\xE4\xB8\xAD";  // U+4E2D, D6 D0 in code page 936
  const auto bodyWithMarkerAt = [&](std::size_t position, const std::string& marker) {
    return std::string(position - 1, 'x') + marker + zhong;
  };
  struct Case {
    const char* name;
    std::string head;
    std::string body;
    bool converted;
  } cases[] = {
      {"utf-8 beginning at body position 499", "", bodyWithMarkerAt(499, "utf-8"), true},
      {"utf-8 beginning at body position 500", "", bodyWithMarkerAt(500, "utf-8"), false},
      {"at position 500 but the headers name UTF-8", "Content-Type: text/html; charset=UTF-8\r\n",
       bodyWithMarkerAt(500, "utf-8"), true},
      {"only capitals in the body", "", bodyWithMarkerAt(1, "charset=UTF-8"), false},
      {"capitals in the body, utf-8 in a header", "X-Charset: Utf-8\r\n",
       bodyWithMarkerAt(1, "charset=UTF-8"), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HttpServer server({Ok(c.head, c.body)});
    const Text page = FetchPage(Text(server.Url("/u")));
    const std::string expected =
        c.body.substr(0, c.body.size() - zhong.size()) + (c.converted ? "\xD6\xD0" : zhong);
    EXPECT_EQ(page, Text(expected));
  }
}

TEST(FetchPage, AHeaderBlockOf5000BytesOrMoreReadsAsBlanks) {
  // Status line, the filler line and the closing empty line make up the block.
  const auto answerWithBlockOf = [](std::size_t size) {
    const std::string status = "HTTP/1.1 200 OK\r\n";
    const std::string fixed = "Location: /l\r\nSet-Cookie: a=1; Path=/big\r\nContent-Length: 2\r\n";
    const std::string filler =
        "X-Fill: " + std::string(size - status.size() - fixed.size() - 12, 'f') + "\r\n";
    return Reply{.bytes = status + fixed + filler + "\r\nhi"};
  };
  struct Case {
    const char* name;
    std::size_t blockSize;
    bool fits;
  } cases[] = {{"4999 bytes and the NUL fit", 4999, true},
               {"5000 bytes do not", 5000, false},
               {"far more", 20000, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HttpServer server({answerWithBlockOf(c.blockSize)});
    Text responseHeaders;
    Text newCookies;
    Text location;
    EXPECT_EQ(
        FetchPage(Text(server.Url("/big")),
                  {.newCookies = &newCookies, .location = &location, .responseHeaders = &responseHeaders}),
        "hi");
    if (c.fits) {
      EXPECT_EQ(TextLength(responseHeaders), 4999);
      EXPECT_EQ(newCookies, "a=1");
      EXPECT_EQ(location, "/l");
    } else {
      EXPECT_EQ(responseHeaders, kBlankBlock);
      EXPECT_EQ(newCookies, "");
      EXPECT_EQ(location, kBlankBlock);
    }
  }
}

TEST(FetchPage, ReturnsWhatArrivedWhenTheAnswerFailsOrNeverCame) {
  const int closedPort = ClosedPort();
  const std::string head = "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n";
  struct Case {
    const char* name;
    std::vector<Reply> script;  // empty: no server
    std::string url;
    const char* page;
    bool headersKnown;
  } cases[] = {
      {"connection refused", {}, "http://127.0.0.1:" + std::to_string(closedPort) + "/", "", false},
      {"unknown host", {}, "http://no-such-host.invalid/", "", false},
      {"closed in the middle of the header block",
       {{.bytes = "HTTP/1.1 200 OK\r\nContent-Le"}},
       "",
       "",
       false},
      {"reset in the middle of the body",
       {{.bytes = head + "partial", .end = Reply::End::kReset}},
       "",
       "partial",
       true},
      {"closed in the middle of the body", {{.bytes = head + "partial"}}, "", "partial", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<HttpServer> server;
    if (!c.script.empty()) server.emplace(c.script);
    Text responseHeaders;
    Text location;
    const Text url(server ? server->Url("/f") : c.url);
    EXPECT_EQ(FetchPage(url, {.location = &location, .responseHeaders = &responseHeaders}), c.page);
    if (c.headersKnown) {
      EXPECT_EQ(responseHeaders, Text(head));
    } else {
      EXPECT_EQ(responseHeaders, kBlankBlock);
      EXPECT_EQ(location, kBlankBlock);
    }
  }
}

TEST(FetchPage, ChangesNothingWhenTheRequestCannotBeOpened) {
  for (const char* url : {"", "http://bad host/", "http://a.b:70000/"}) {
    SCOPED_TRACE(url);
    Text cookies("c=1");
    Text newCookies("n");
    Text extraHeaders("X-A: 1");
    Text location("l");
    Bytes postBytes;
    Text responseHeaders("r");
    EXPECT_EQ(FetchPage(Text(url), {.method = 1,
                                    .postText = "p",
                                    .cookies = &cookies,
                                    .newCookies = &newCookies,
                                    .extraHeaders = &extraHeaders,
                                    .location = &location,
                                    .postBytes = &postBytes,
                                    .responseHeaders = &responseHeaders}),
              "");
    EXPECT_EQ(cookies, "c=1");
    EXPECT_EQ(newCookies, "n");
    EXPECT_EQ(extraHeaders, "X-A: 1");
    EXPECT_EQ(location, "l");
    EXPECT_EQ(postBytes, Bytes());
    EXPECT_EQ(responseHeaders, "r");
  }
}

TEST(FetchPage, KeepsCrLfInTheAddressFromSplittingOrAddingHeaderLines) {
  HttpServer server({Ok()});
  const Text url(server.Url("/a b\r\nX-Injected: 1\r\n\r\n\xD6\xD0"));
  Text extraHeaders;
  (void)FetchPage(url, {.extraHeaders = &extraHeaders});
  const std::string request = server.Requests().at(0);
  // Every byte the request line cannot carry is percent-encoded there; the
  // Referer line carries the address with its CR and LF encoded.
  EXPECT_THAT(request,
              ::testing::StartsWith("GET /a%20b%0d%0aX-Injected:%201%0d%0a%0d%0a%d6%d0 HTTP/1.1\r\n"));
  const std::string referer = server.Url("/a b%0D%0AX-Injected: 1%0D%0A%0D%0A\xD6\xD0");
  EXPECT_THAT(request, HasSubstr("\r\nReferer: " + referer + "\r\nAccept: */*\r\n"));
  EXPECT_THAT(request, Not(HasSubstr("\r\nX-Injected")));
  EXPECT_EQ(extraHeaders, JoinText("Referer: ", Text(referer), kDefaultLines));
}

TEST(FetchPage, KeepsCookiesCutAcrossALineEndFromAddingHeaderLines) {
  // A value ending in a lead byte joins the CR after it into one character,
  // so the line split carries the next header line into the cookie pair.
  HttpServer server({Ok("Set-Cookie: a=1\xD6\r\nX-Injected: 1;\r\n", "ok"), Ok()});
  Text cookies;
  (void)FetchPage(Text(server.Url("/first")), {.cookies = &cookies});
  Text extraHeaders;
  (void)FetchPage(Text(server.Url("/second")), {.cookies = &cookies, .extraHeaders = &extraHeaders});
  const std::string request = server.Requests().at(1);
  EXPECT_THAT(request, HasSubstr("\r\nCookie: a=1\xD6%0D%0AX-Injected:1\r\n\r\n"));
  EXPECT_THAT(request, Not(HasSubstr("\r\nX-Injected")));
}

TEST(FetchPage, TurnsBareCrOrLfInTheCallersLinesIntoSpaces) {
  HttpServer server({Ok()});
  Text extraHeaders("X-A: 1\nX-Injected: 2\rX-B: 3");
  (void)FetchPage(Text(server.Url("/s")), {.extraHeaders = &extraHeaders});
  EXPECT_THAT(server.Requests().at(0), HasSubstr("\r\nX-A: 1 X-Injected: 2 X-B: 3\r\n"));
}

TEST(FetchPage, UsesAProxyOnlyWhenOneIsSuppliedAndOnlyForPlainHttp) {
  HttpServer proxy({Ok("", "via proxy")});
  HttpServer target({Ok("", "direct")});
  const Text proxyAddress(JoinText("127.0.0.1:", Text(std::to_string(proxy.port()))));

  EXPECT_EQ(FetchPage(Text("http://tarnwick.test/p"), {.proxy = proxyAddress}), "via proxy");
  ASSERT_EQ(proxy.Requests().size(), 1u);
  EXPECT_THAT(proxy.Requests()[0],
              ::testing::StartsWith("GET http://tarnwick.test/p HTTP/1.1\r\nHost: tarnwick.test\r\n"));

  // Supplied but empty: the list "http=" names no proxy, so the request goes direct.
  EXPECT_EQ(FetchPage(Text(target.Url("/e")), {.proxy = Text()}), "direct");
  // An https request does not go through an "http=" proxy: it goes direct,
  // here to a port where nothing listens.
  const int closedPort = ClosedPort();
  EXPECT_EQ(FetchPage(JoinText("https://127.0.0.1:", Text(std::to_string(closedPort)), "/s"),
                      {.proxy = proxyAddress}),
            "");
  // The environment's proxy never applies.
  ::setenv("http_proxy", ("http://" + proxyAddress.str()).c_str(), 1);
  ::setenv("HTTP_PROXY", ("http://" + proxyAddress.str()).c_str(), 1);
  EXPECT_EQ(FetchPage(Text(target.Url("/d"))), "direct");
  ::unsetenv("http_proxy");
  ::unsetenv("HTTP_PROXY");
  EXPECT_EQ(proxy.Requests().size(), 1u);
  EXPECT_EQ(target.Requests().size(), 2u);
}

}  // namespace
}  // namespace tw
