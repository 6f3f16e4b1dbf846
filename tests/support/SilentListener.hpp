#pragma once
// A loopback port that takes connections and never answers: the kernel
// completes each connection and keeps what the client sends, and nobody reads.
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace TestSupport {

class SilentListener {
 public:
  SilentListener() {
    FFd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (FFd < 0 || ::bind(FFd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(FFd, 16) != 0 ||
        ::getsockname(FFd, reinterpret_cast<sockaddr*>(&address), &length) != 0)
      throw std::runtime_error("no silent listener");
    FPort = ntohs(address.sin_port);
  }
  ~SilentListener() { ::close(FFd); }
  SilentListener(const SilentListener&) = delete;
  SilentListener& operator=(const SilentListener&) = delete;

  int Port() const { return FPort; }

 private:
  int FFd = -1;
  int FPort = 0;
};

}  // namespace TestSupport
