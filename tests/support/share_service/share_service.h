// The sample share service: share pages that set the cookie their download
// request needs, a short link that redirects, and the download interface.
#pragma once

#include "tests/support/share_service/http_service.h"

namespace tw::test {

// Answers one request of the sample share service.
[[nodiscard]] HttpAnswer AnswerShareService(const HttpRequest& request);

}  // namespace tw::test
