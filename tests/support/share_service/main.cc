// tarnwick-share-service [--port N]: the sample share service on
// 127.0.0.1 (port 80 unless told otherwise; 0 picks a free one). Prints
// "listening on 127.0.0.1:PORT" once it accepts connections.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/support/share_service/http_service.h"
#include "tests/support/share_service/share_service.h"

int main(int argc, char** argv) {
  int port = 80;
  if (argc == 3 && std::string(argv[1]) == "--port") {
    port = std::atoi(argv[2]);
  } else if (argc != 1) {
    std::fprintf(stderr, "usage: tarnwick-share-service [--port N]\n");
    return 1;
  }
  const int socket = tw::test::ListenOnLoopback(port);
  if (socket < 0) {
    std::fprintf(stderr, "tarnwick-share-service: cannot listen on 127.0.0.1:%d: %s\n", port,
                 std::strerror(errno));
    return 1;
  }
  std::printf("listening on 127.0.0.1:%d\n", tw::test::BoundPort(socket));
  std::fflush(stdout);
  tw::test::ServeForever(socket, tw::test::AnswerShareService);
}
