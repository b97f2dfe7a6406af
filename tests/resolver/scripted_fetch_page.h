// A stand-in for FetchPage in the resolver's unit tests: it records every
// request and answers from a script, so a test sees the exact requests the
// resolver makes without a network. Linking this file replaces the real one.
#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <vector>

#include "runtime/text.h"
#include "web/fetch_page.h"

namespace tw::test {

// One request as the resolver made it: the address and the parameters it
// supplied. `leftOut` is true when every reference parameter, `proxy` and
// `noRedirect` were left out.
struct FetchRequest {
  Text url;
  int method = 0;
  Text postText;
  bool leftOut = true;
  friend bool operator==(const FetchRequest&, const FetchRequest&) = default;
};

std::ostream& operator<<(std::ostream& out, const FetchRequest& request);

// Answers each request with what `answer` gives for it; replaces the previous
// script and forgets the requests recorded so far.
void ScriptFetchPage(std::function<Text(const FetchRequest&)> answer);

[[nodiscard]] std::vector<FetchRequest> FetchRequests();

}  // namespace tw::test
