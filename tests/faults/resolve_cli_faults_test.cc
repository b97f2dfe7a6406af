// Faults injected into the share page that tarnwick-resolve fetches. The
// program runs unmodified in the private network of the end-to-end runs, so
// that its download request reaches the sample share service; the share page
// comes from the loopback test server, named by an address that merely holds
// the service's base address. A broken page gives empty values, so the
// download request names no share and the program ends with status 4 after
// printing what it could cut out, never crashing or hanging.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "tests/e2e/run_program.h"
#include "tests/support/http_server/http_server.h"
#include "tests/support/netns/private_network.h"

extern char** environ;

namespace tw::test {
namespace {

using namespace std::chrono_literals;

// Before gtest starts: the whole program moves into the private network.
const bool kInPrivateNetwork = (EnterPrivateNetwork(TARNWICK_SHARE_SERVICE), true);

constexpr int kShownWithoutAddress = 4;

std::string Lines(int count, const std::string& line) {
  std::string out;
  for (int i = 0; i < count; ++i) out += line + "\r\n";
  return out;
}

const std::string kSharePage = "<script>yunData = {server_filename=\"report.pdf\" share_id=\"3021\"";

struct Fault {
  const char* name;
  std::string answer;  // sent as it is, then the connection closes
  std::string out;     // what the program prints for the address
};

std::vector<Fault> Faults() {
  const std::string chunked = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
  return {
      {"closed in the header block", "HTTP/1.1 200 OK\r\nContent-Le", "\t\n"},
      {"closed in the body", "HTTP/1.1 200 OK\r\nContent-Length: 4000\r\n\r\n" + kSharePage,
       "report.pdf\t\n"},
      {"chunked, cut in a chunk", chunked + "400\r\n" + kSharePage, "report.pdf\t\n"},
      {"chunked, size not hex", chunked + "zz\r\n" + kSharePage + "\r\n0\r\n\r\n", "\t\n"},
      {"header block of 1 MiB",
       "HTTP/1.1 200 OK\r\n" + Lines(1024, "X-Pad: " + std::string(1024, 'p')) + "\r\n" + kSharePage, "\t\n"},
      {"10000 Set-Cookie lines",
       "HTTP/1.1 200 OK\r\n" + Lines(10000, "Set-Cookie: c=1") + "\r\n" + kSharePage, "report.pdf\t\n"},
      {"a body of NUL bytes", "HTTP/1.1 200 OK\r\n\r\n" + std::string(8192, '\0'), "\t\n"},
      // C0 AF: two ill-formed bytes, each U+FFFD, which 936 writes as "?".
      {"invalid UTF-8 under a utf-8 charset",
       "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n\r\nserver_filename=\"\xC0\xAFx.pdf\"",
       "??x.pdf\t\n"},
      {"redirect loop", "HTTP/1.1 302 Found\r\nLocation: /s/redirect-loop\r\nContent-Length: 0\r\n\r\n",
       "\t\n"},
  };
}

// The share address of a fault: the loopback server's page, with the
// service's base address in its query so that the program accepts it.
std::string Address(const HttpServer& server, std::size_t fault) {
  return server.Url("/s/" + std::to_string(fault) + "?from=http://pan.baidu.com/");
}

// Serves each fault's answer at its own path; a path it does not know never
// gets an answer.
class FaultyShares {
 public:
  FaultyShares()
      : faults_(Faults()), server_([this](const std::string& request) {
          if (request.starts_with("GET /s/redirect-loop ")) return Reply{.bytes = faults_.back().answer};
          for (std::size_t i = 0; i < faults_.size(); ++i) {
            if (request.starts_with("GET /s/" + std::to_string(i) + "?"))
              return Reply{.bytes = faults_[i].answer};
          }
          return Reply{.bytes = "", .stall = std::chrono::hours(1)};
        }) {}
  const std::vector<Fault>& faults() const { return faults_; }
  const HttpServer& server() const { return server_; }

 private:
  std::vector<Fault> faults_;
  HttpServer server_;
};

ProgramRun Resolve(std::vector<std::string> args) {
  args.insert(args.begin(), TARNWICK_RESOLVE);
  return RunProgram(args);
}

TEST(ResolveCliFaults, EachBrokenSharePageGivesWhatCouldBeCutAndStatus4) {
  const FaultyShares shares;
  for (std::size_t i = 0; i < shares.faults().size(); ++i) {
    const Fault& fault = shares.faults()[i];
    SCOPED_TRACE(fault.name);
    const ProgramRun run = Resolve({Address(shares.server(), i)});
    EXPECT_EQ(run.out, fault.out);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.status, kShownWithoutAddress);
  }
}

TEST(ResolveCliFaults, AllBrokenPagesAtOnceKeepTheirOrder) {
  const FaultyShares shares;
  std::vector<std::string> args = {"-j", "8"};
  std::string expected;
  for (std::size_t i = 0; i < shares.faults().size(); ++i) {
    args.push_back(Address(shares.server(), i));
    expected += shares.faults()[i].out;
  }
  const ProgramRun run = Resolve(args);
  EXPECT_EQ(run.out, expected);
  EXPECT_EQ(run.status, kShownWithoutAddress);
}

TEST(ResolveCliFaults, APeerThatNeverAnswersKeepsTheProgramWaitingUntilInterrupted) {
  const FaultyShares shares;
  std::string program = TARNWICK_RESOLVE;
  std::string address = shares.server().Url("/s/silent?from=http://pan.baidu.com/");
  char* argv[] = {program.data(), address.data(), nullptr};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t child = -1;
  ASSERT_EQ(::posix_spawn(&child, argv[0], &actions, nullptr, argv, environ), 0);
  posix_spawn_file_actions_destroy(&actions);

  std::this_thread::sleep_for(1500ms);
  int status = 0;
  EXPECT_EQ(::waitpid(child, &status, WNOHANG), 0) << "the program ended while its page was still coming";
  ::kill(child, SIGINT);
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  pid_t ended = 0;
  while ((ended = ::waitpid(child, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(20ms);
  }
  if (ended == 0) ::kill(child, SIGKILL);
  ASSERT_EQ(ended, child) << "the program did not end on SIGINT";
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT);
}

}  // namespace
}  // namespace tw::test
