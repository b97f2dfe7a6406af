// The fixed texts of the share-link resolver, for the front ends that tell
// its outcomes apart and for its tests. All in code page 936.
#pragma once

namespace tw {

// The share service's web site; an address must contain it to be resolved,
// and the download request is sent below it.
inline constexpr const char* kServiceBaseAddress = "http://pan.baidu.com/";

// "非百度网盘地址，如何帮你解析！": the address is not a share address.
inline constexpr const char* kForeignAddressMessage =
    "\xb7\xc7\xb0\xd9\xb6\xc8\xcd\xf8\xc5\xcc\xb5\xd8\xd6\xb7\xa3\xac\xc8\xe7\xba\xce\xb0\xef\xc4\xe3"
    "\xbd\xe2\xce\xf6\xa3\xa1";

// "操作过于频繁，百度提醒你输入验证码！建议你使用手输验证码版！": the service
// wants a verification code before it hands out the address.
inline constexpr const char* kThrottledMessage =
    "\xb2\xd9\xd7\xf7\xb9\xfd\xd3\xda\xc6\xb5\xb7\xb1\xa3\xac\xb0\xd9\xb6\xc8\xcc\xe1\xd0\xd1\xc4\xe3"
    "\xca\xe4\xc8\xeb\xd1\xe9\xd6\xa4\xc2\xeb\xa3\xa1\xbd\xa8\xd2\xe9\xc4\xe3\xca\xb9\xd3\xc3\xca\xd6"
    "\xca\xe4\xd1\xe9\xd6\xa4\xc2\xeb\xb0\xe6\xa3\xa1";

}  // namespace tw
