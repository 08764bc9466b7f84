// Test support: a connected TCP pair on 127.0.0.1, for traffic on the loopback adapter.
#pragma once

#include <winsock2.h>
#include <ws2tcpip.h>

#include <utility>

namespace ripplet::testing {

class Socket {
 public:
  explicit Socket(SOCKET s = INVALID_SOCKET) : s_(s) {}
  ~Socket() {
    if (s_ != INVALID_SOCKET) ::closesocket(s_);
  }
  Socket(Socket&& o) noexcept : s_(o.s_) { o.s_ = INVALID_SOCKET; }
  Socket& operator=(Socket&& o) noexcept {
    std::swap(s_, o.s_);
    return *this;
  }
  SOCKET get() const { return s_; }
  bool valid() const { return s_ != INVALID_SOCKET; }

 private:
  SOCKET s_;
};

struct TcpPair {
  Socket Sender;
  Socket Receiver;
};

inline bool Connect(TcpPair& pair) {
  Socket listener(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  if (!listener.valid()) return false;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  int length = sizeof(address);
  if (::bind(listener.get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
      ::listen(listener.get(), 1) != 0 ||
      ::getsockname(listener.get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return false;
  }
  Socket sender(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  if (!sender.valid() ||
      ::connect(sender.get(), reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0) {
    return false;
  }
  Socket receiver(::accept(listener.get(), nullptr, nullptr));
  if (!receiver.valid()) return false;
  pair.Sender = std::move(sender);
  pair.Receiver = std::move(receiver);
  return true;
}

}  // namespace ripplet::testing
