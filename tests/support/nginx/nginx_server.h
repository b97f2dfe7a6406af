// nginx on loopback for tests and benchmarks: its own configuration in a
// temporary folder, a free port, in the foreground as a child process that
// ends with this object.
//
//   NginxServer nginx("location /old { return 301 /new; }");
//   nginx.WriteFile("new", "page");
//   FetchPage(Text(nginx.Url("/old")));
#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

namespace tw::test {

class NginxServer {
 public:
  enum class Scheme { kHttp, kHttpsSelfSigned };

  // `serverDirectives` go into the server block, after its listen, root and
  // TLS lines. Files are served from root(). Throws std::runtime_error with
  // nginx's error log when it does not come up.
  explicit NginxServer(std::string_view serverDirectives = "", Scheme scheme = Scheme::kHttp);
  ~NginxServer();
  NginxServer(const NginxServer&) = delete;
  NginxServer& operator=(const NginxServer&) = delete;

  [[nodiscard]] int port() const { return port_; }
  // "<scheme>://127.0.0.1:<port>" followed by `path`.
  [[nodiscard]] std::string Url(std::string_view path = "/") const;
  // The document root; files may be written into it at any time.
  [[nodiscard]] const std::string& root() const { return root_; }
  // Writes `bytes` into root()/`name`.
  void WriteFile(std::string_view name, std::string_view bytes) const;

 private:
  bool Start(std::string_view serverDirectives);

  Scheme scheme_;
  std::string folder_;
  std::string root_;
  int port_ = 0;
  pid_t pid_ = -1;
};

}  // namespace tw::test
