// A private network for end-to-end runs: the calling program moves into a
// network and mount namespace of its own (through `unshare --net --mount`),
// where only loopback exists, the share service's host name resolves to
// 127.0.0.1 and the sample share service listens on port 80. Nothing run
// from there can reach another machine, and the host's network and
// /etc/hosts stay untouched.
#pragma once

#include <string>

namespace tw::test {

// The host name that the hosts file of the private network points at
// 127.0.0.1.
inline constexpr const char* kServiceHost = "pan.baidu.com";

// Re-executes the calling program, with the same arguments, inside a new
// network and mount namespace unless it already runs in one of its own; then
// brings loopback up, bind-mounts the hosts file and starts `serviceProgram`
// on port 80, which dies with the caller. Must run before the program starts
// threads of its own. Ends the program with status 1 and a message on stderr
// when any of it fails, above all when it does not run as root.
void EnterPrivateNetwork(const std::string& serviceProgram);

}  // namespace tw::test
