#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvandry::alerts {

// Where and how the display publishes its alerts.
struct MqttConfig {
  std::string host;
  int port = 1883;
  std::string username;  // empty: connect without credentials
  std::string password;
  std::string cafile;  // non-empty: TLS, the broker's certificate checked against this CA file
  std::string dryer_name;
  int keepalive_seconds = 30;
  // A broker that is down or refuses is tried again after first_retry, doubling up to max_retry.
  std::chrono::milliseconds first_retry{1000};
  std::chrono::milliseconds max_retry{60000};
  // Shutdowns kept while the broker cannot be reached; beyond this the oldest waiting one goes.
  std::size_t outbox_capacity = 200;

  std::string Topic(std::string_view leaf) const {
    return "orvandry/" + dryer_name + "/" + std::string(leaf);
  }
};

struct BrokerAddress {
  std::string host;
  int port = 0;
};

// "HOST:PORT" with a port of 1-65535; an IPv6 address is written in brackets ("[::1]:1883").
std::optional<BrokerAddress> ParseBrokerAddress(std::string_view text);

// A name that can stand as one level of a topic: 1-64 characters, no '/', '+', '#', spaces or
// control characters.
bool ValidDryerName(std::string_view name);

// The host name, with anything a topic level cannot hold replaced by '-'; "dryer" when unknown.
std::string DefaultDryerName();

// The credentials file: the user name on the first line, the password on the second (trailing
// CR/LF removed). Returns the reason when it cannot be used.
std::optional<std::string> ReadCredentials(const std::string& path, std::string* username,
                                           std::string* password);

}  // namespace orvandry::alerts
