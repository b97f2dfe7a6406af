#include "tests/support/nginx/nginx_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace tw::test {
namespace {

// A port that may be taken between probing and nginx binding it; a few tries
// make that race harmless.
constexpr int kStartAttempts = 3;
constexpr auto kStartTimeout = std::chrono::seconds(10);

int FreePort() {
  const int probe = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ::bind(probe, reinterpret_cast<sockaddr*>(&address), length);
  ::getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  ::close(probe);
  return ntohs(address.sin_port);
}

bool Accepts(int port) {
  const int client = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  const bool ok = ::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(client);
  return ok;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string NginxBinary() { return std::filesystem::exists("/usr/sbin/nginx") ? "/usr/sbin/nginx" : "nginx"; }

}  // namespace

NginxServer::NginxServer(std::string_view serverDirectives, Scheme scheme) : scheme_(scheme) {
  std::string pattern = (std::filesystem::temp_directory_path() / "tarnwick-nginx-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("NginxServer: no temporary folder");
  folder_ = pattern;
  root_ = folder_ + "/root";
  std::filesystem::create_directories(root_);
  std::filesystem::create_directories(folder_ + "/temp");
  for (int attempt = 0; attempt < kStartAttempts; ++attempt) {
    if (Start(serverDirectives)) return;
  }
  const std::string log = ReadAll(folder_ + "/error.log");
  std::filesystem::remove_all(folder_);
  throw std::runtime_error("NginxServer: nginx did not start:\n" + log);
}

NginxServer::~NginxServer() {
  ::kill(pid_, SIGTERM);
  ::waitpid(pid_, nullptr, 0);
  std::filesystem::remove_all(folder_);
}

std::string NginxServer::Url(std::string_view path) const {
  const char* scheme = scheme_ == Scheme::kHttp ? "http" : "https";
  return std::string(scheme) + "://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

void NginxServer::WriteFile(std::string_view name, std::string_view bytes) const {
  std::ofstream out(root_ + "/" + std::string(name), std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool NginxServer::Start(std::string_view serverDirectives) {
  port_ = FreePort();
  const std::string temp = folder_ + "/temp";
  const bool tls = scheme_ == Scheme::kHttpsSelfSigned;
  std::ofstream conf(folder_ + "/nginx.conf");
  // One foreground process without a master: it runs as the user that
  // started it and ends with a single signal.
  conf << "daemon off;\nmaster_process off;\nworker_processes 1;\n"
       << "error_log " << folder_ << "/error.log;\npid " << folder_ << "/nginx.pid;\n"
       << "events { worker_connections 256; }\n"
       << "http {\n  access_log off;\n  sendfile on;\n  default_type application/octet-stream;\n"
       << "  types { text/html html; text/plain txt; }\n"
       << "  client_body_temp_path " << temp << "/body;\n  proxy_temp_path " << temp << "/proxy;\n"
       << "  fastcgi_temp_path " << temp << "/fastcgi;\n  uwsgi_temp_path " << temp << "/uwsgi;\n"
       << "  scgi_temp_path " << temp << "/scgi;\n"
       << "  server {\n    listen 127.0.0.1:" << port_ << (tls ? " ssl" : "") << ";\n    root " << root_
       << ";\n";
  if (tls) {
    conf << "    ssl_certificate " << TARNWICK_NGINX_DIR << "/self_signed.crt;\n"
         << "    ssl_certificate_key " << TARNWICK_NGINX_DIR << "/self_signed.key;\n";
  }
  conf << "    " << serverDirectives << "\n  }\n}\n";
  conf.close();

  const std::string binary = NginxBinary();
  const std::string confPath = folder_ + "/nginx.conf";
  const std::string errorLog = folder_ + "/error.log";
  pid_ = ::fork();
  if (pid_ == 0) {
    ::execlp(binary.c_str(), binary.c_str(), "-p", folder_.c_str(), "-c", confPath.c_str(), "-e",
             errorLog.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  const auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
  while (std::chrono::steady_clock::now() < deadline) {
    if (::waitpid(pid_, nullptr, WNOHANG) == pid_) return false;
    if (Accepts(port_)) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  ::kill(pid_, SIGKILL);
  ::waitpid(pid_, nullptr, 0);
  return false;
}

}  // namespace tw::test
