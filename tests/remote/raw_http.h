#pragma once

// A bare HTTP client on POSIX sockets: it sends exactly the bytes a test gives, from any thread,
// and reads whatever comes back until the server closes or the time is up.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace orvandry::remote {

inline int ConnectLoopback(unsigned short port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) return -1;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// The whole answer to `request`; empty when the connection was refused or reset before any.
inline std::string Exchange(unsigned short port, const std::string& request, int ms = 3000) {
  const int fd = ConnectLoopback(port);
  if (fd < 0) return {};
  std::size_t sent = 0;
  while (sent < request.size()) {
    const ssize_t n = ::send(fd, request.data() + sent, request.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) break;
    sent += static_cast<std::size_t>(n);
  }
  std::string answer;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < deadline) {
    pollfd p{fd, POLLIN, 0};
    if (::poll(&p, 1, 50) <= 0) continue;
    char buffer[4096];
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n <= 0) break;
    answer.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return answer;
}

// "HTTP/1.1 200 OK..." -> 200; 0 for no answer.
inline int StatusOf(const std::string& answer) {
  if (answer.size() < 12 || answer.compare(0, 5, "HTTP/") != 0) return 0;
  return std::stoi(answer.substr(9, 3));
}

inline std::string BodyOf(const std::string& answer) {
  const std::size_t end = answer.find("\r\n\r\n");
  return end == std::string::npos ? std::string() : answer.substr(end + 4);
}

}  // namespace orvandry::remote
