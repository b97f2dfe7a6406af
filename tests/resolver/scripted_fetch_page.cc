#include "tests/resolver/scripted_fetch_page.h"

#include <mutex>
#include <utility>

namespace tw {
namespace {

std::mutex g_mutex;
std::function<Text(const test::FetchRequest&)> g_answer;
std::vector<test::FetchRequest> g_requests;

}  // namespace

Text FetchPage(const Text& url, const FetchOptions& options) {
  const test::FetchRequest request{
      .url = url,
      .method = options.method,
      .postText = options.postText,
      .leftOut = options.cookies == nullptr && options.newCookies == nullptr &&
                 options.extraHeaders == nullptr && options.location == nullptr && !options.noRedirect &&
                 options.postBytes == nullptr && !options.proxy.has_value() &&
                 options.responseHeaders == nullptr,
  };
  std::function<Text(const test::FetchRequest&)> answer;
  {
    std::lock_guard lock(g_mutex);
    g_requests.push_back(request);
    answer = g_answer;
  }
  // Called unlocked so that a script may block to hold parallel runs open.
  return answer ? answer(request) : Text();
}

namespace test {

std::ostream& operator<<(std::ostream& out, const FetchRequest& request) {
  return out << "{" << request.url << ", method " << request.method << ", " << request.postText
             << (request.leftOut ? "" : ", with further parameters") << "}";
}

void ScriptFetchPage(std::function<Text(const FetchRequest&)> answer) {
  std::lock_guard lock(g_mutex);
  g_answer = std::move(answer);
  g_requests.clear();
}

std::vector<FetchRequest> FetchRequests() {
  std::lock_guard lock(g_mutex);
  return g_requests;
}

}  // namespace test
}  // namespace tw
