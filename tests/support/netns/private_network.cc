#include "tests/support/netns/private_network.h"

#include <fcntl.h>
#include <net/if.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

namespace tw::test {
namespace {

// Handed to the re-executed program: the namespaces it ran in before, so
// that it can tell that unshare gave it new ones. Init's namespaces cannot be
// read everywhere, so they cannot serve as the comparison.
constexpr const char* kEarlierNamespaces = "TARNWICK_PRIVATE_NETWORK_FROM";

constexpr int kServicePort = 80;
// How long the service may take to say that it listens.
constexpr int kServiceStartMilliseconds = 10000;

[[noreturn]] void Fail(const std::string& what) {
  std::fprintf(stderr, "private network: %s\n", what.c_str());
  std::fflush(stderr);
  std::_Exit(1);
}

[[noreturn]] void FailWithErrno(const std::string& what) { Fail(what + ": " + std::strerror(errno)); }

// The identity of one of the process's namespaces ("net", "mnt").
std::string NamespaceIdentity(const char* kind) {
  const std::string path = std::string("/proc/self/ns/") + kind;
  struct stat namespaceFile {};
  if (::stat(path.c_str(), &namespaceFile) != 0) FailWithErrno("cannot read " + path);
  return std::to_string(namespaceFile.st_dev) + ":" + std::to_string(namespaceFile.st_ino);
}

std::string OwnNamespaces() { return NamespaceIdentity("net") + " " + NamespaceIdentity("mnt"); }

// Whether both namespaces differ from those named in `earlier`.
bool NamespacesDifferFrom(const std::string& earlier) {
  const std::size_t space = earlier.find(' ');
  return space != std::string::npos && earlier.substr(0, space) != NamespaceIdentity("net") &&
         earlier.substr(space + 1) != NamespaceIdentity("mnt");
}

std::vector<std::string> OwnArguments() {
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<std::string> args;
  for (std::size_t start = 0; start < all.size();) {
    const std::size_t end = all.find('\0', start);
    args.push_back(all.substr(start, end - start));
    start = end == std::string::npos ? all.size() : end + 1;
  }
  return args;
}

[[noreturn]] void ReexecUnshared() {
  char self[4096];
  const ssize_t length = ::readlink("/proc/self/exe", self, sizeof self - 1);
  if (length <= 0) FailWithErrno("cannot find the program's own file");
  self[length] = '\0';

  std::vector<std::string> args = {"unshare", "--net", "--mount", "--", self};
  const std::vector<std::string> own = OwnArguments();
  if (own.size() > 1) args.insert(args.end(), own.begin() + 1, own.end());
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  ::setenv(kEarlierNamespaces, OwnNamespaces().c_str(), 1);
  ::execvp("unshare", argv.data());
  FailWithErrno("cannot run unshare (util-linux)");
}

void BringLoopbackUp() {
  const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) FailWithErrno("cannot open a socket");
  ifreq request{};
  std::strncpy(request.ifr_name, "lo", IFNAMSIZ - 1);
  if (::ioctl(fd, SIOCGIFFLAGS, &request) != 0) FailWithErrno("cannot read the loopback flags");
  request.ifr_flags = static_cast<short>(request.ifr_flags | IFF_UP);
  if (::ioctl(fd, SIOCSIFFLAGS, &request) != 0) FailWithErrno("cannot bring loopback up");
  ::close(fd);
}

// Puts a hosts file naming the service host over /etc/hosts, visible only
// in this mount namespace.
void MountHostsFile() {
  char path[] = "/tmp/tarnwick-hosts-XXXXXX";
  const int fd = ::mkstemp(path);
  if (fd < 0) FailWithErrno("cannot make the hosts file");
  const std::string hosts =
      std::string("127.0.0.1 localhost\n::1 localhost\n127.0.0.1 ") + kServiceHost + "\n";
  const bool written = ::write(fd, hosts.data(), hosts.size()) == static_cast<ssize_t>(hosts.size());
  ::fchmod(fd, 0644);
  ::close(fd);
  if (!written) FailWithErrno("cannot write the hosts file");
  // unshare makes the new mount namespace private, so this bind stays in it.
  if (::mount(path, "/etc/hosts", nullptr, MS_BIND, nullptr) != 0)
    FailWithErrno("cannot bind-mount /etc/hosts");
  ::unlink(path);  // the mount keeps the file alive
}

// Starts the service and waits for its "listening" line.
void StartService(const std::string& program) {
  int pipeFds[2];
  if (::pipe2(pipeFds, O_CLOEXEC) != 0) FailWithErrno("cannot make a pipe");
  const pid_t parent = ::getpid();
  const pid_t child = ::fork();
  if (child < 0) FailWithErrno("cannot fork");
  if (child == 0) {
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) std::_Exit(1);
    ::dup2(pipeFds[1], STDOUT_FILENO);
    const std::string port = std::to_string(kServicePort);
    ::execl(program.c_str(), program.c_str(), "--port", port.c_str(), static_cast<char*>(nullptr));
    std::_Exit(127);
  }
  ::close(pipeFds[1]);
  std::string said;
  char buffer[256];
  pollfd waiting{.fd = pipeFds[0], .events = POLLIN, .revents = 0};
  while (said.find('\n') == std::string::npos) {
    if (::poll(&waiting, 1, kServiceStartMilliseconds) <= 0)
      Fail("the share service did not start: " + program);
    const ssize_t got = ::read(pipeFds[0], buffer, sizeof buffer);
    if (got <= 0) Fail("the share service ended at start: " + program);
    said.append(buffer, static_cast<std::size_t>(got));
  }
  ::close(pipeFds[0]);
  if (said.find("listening on 127.0.0.1:80\n") == std::string::npos) Fail("the share service said: " + said);
}

}  // namespace

void EnterPrivateNetwork(const std::string& serviceProgram) {
  if (::geteuid() != 0) {
    Fail(
        "end-to-end runs need root to create a network namespace (unshare --net --mount); run them as root, "
        "as CI does");
  }
  const char* earlier = std::getenv(kEarlierNamespaces);
  if (earlier == nullptr) ReexecUnshared();
  if (!NamespacesDifferFrom(earlier)) {
    Fail("unshare ran, but the program is not in namespaces of its own");
  }
  // Programs started from here may make private networks of their own.
  ::unsetenv(kEarlierNamespaces);
  BringLoopbackUp();
  MountHostsFile();
  StartService(serviceProgram);
}

}  // namespace tw::test
