// Where a case-ignoring search looks first: the pattern byte that is rarest
// in typical pages, so that memchr to it leaves few candidates to verify.
#pragma once

#include <cstddef>
#include <string_view>

namespace tw::internal {

// The offset of that byte in a pattern given in both cases: `lower` and
// `upper` differ only where a letter may match in either case, and such a
// byte costs two scans, one per case. Both are non-empty and equally long.
//
//   RarestByteOffset("\"a_b\"", "\"A_B\"") == 2  // '_'
[[nodiscard]] std::size_t RarestByteOffset(std::string_view lower, std::string_view upper);

}  // namespace tw::internal
