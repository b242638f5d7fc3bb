#include "alerts/mqtt_config.h"

#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>

namespace orvandry::alerts {

namespace {

bool TopicSafe(char c) {
  const auto u = static_cast<unsigned char>(c);
  return u > 0x20 && u != 0x7F && c != '/' && c != '+' && c != '#';
}

}  // namespace

std::optional<BrokerAddress> ParseBrokerAddress(std::string_view text) {
  BrokerAddress address;
  std::string_view port_text;
  if (!text.empty() && text.front() == '[') {
    const std::size_t close = text.find(']');
    if (close == std::string_view::npos || close + 1 >= text.size() || text[close + 1] != ':')
      return std::nullopt;
    address.host = std::string(text.substr(1, close - 1));
    port_text = text.substr(close + 2);
  } else {
    const std::size_t colon = text.rfind(':');
    if (colon == std::string_view::npos) return std::nullopt;
    address.host = std::string(text.substr(0, colon));
    if (address.host.find(':') != std::string::npos) return std::nullopt;  // IPv6 needs brackets
    port_text = text.substr(colon + 1);
  }
  if (address.host.empty()) return std::nullopt;
  for (char c : address.host)
    if (static_cast<unsigned char>(c) <= 0x20) return std::nullopt;
  int port = 0;
  const auto [end, ec] =
      std::from_chars(port_text.data(), port_text.data() + port_text.size(), port);
  if (port_text.empty() || ec != std::errc() || end != port_text.data() + port_text.size() ||
      port < 1 || port > 65535)
    return std::nullopt;
  address.port = port;
  return address;
}

bool ValidDryerName(std::string_view name) {
  if (name.empty() || name.size() > 64) return false;
  for (char c : name)
    if (!TopicSafe(c)) return false;
  return true;
}

std::string DefaultDryerName() {
  char host[256] = {};
  if (gethostname(host, sizeof host - 1) != 0 || host[0] == '\0') return "dryer";
  std::string name(host);
  if (name.size() > 64) name.resize(64);
  for (char& c : name)
    if (!TopicSafe(c)) c = '-';
  return name;
}

std::optional<std::string> ReadCredentials(const std::string& path, std::string* username,
                                           std::string* password) {
  std::ifstream in(path);
  if (!in) return path + ": cannot read it: " + std::strerror(errno);
  std::string user;
  std::string pass;
  std::getline(in, user);
  std::getline(in, pass);
  for (std::string* line : {&user, &pass})
    while (!line->empty() && (line->back() == '\r' || line->back() == '\n')) line->pop_back();
  if (user.empty()) return path + ": the first line must be the user name";
  *username = user;
  *password = pass;
  return std::nullopt;
}

}  // namespace orvandry::alerts
