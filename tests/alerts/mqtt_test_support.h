#pragma once

// A mosquitto broker of the test's own and a subscriber, for the tests that check what the display
// sends over MQTT.

#include <fcntl.h>
#include <mosquitto.h>
#include <netinet/in.h>
#include <pwd.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace orvandry::alerts::testing {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

inline constexpr auto kPatience = 10s;

template <class Condition>
inline bool Eventually(Condition condition, std::chrono::milliseconds patience = kPatience) {
  const auto deadline = std::chrono::steady_clock::now() + patience;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

inline int FreeLoopbackPort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  bind(fd, reinterpret_cast<sockaddr*>(&address), size);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  close(fd);
  return ntohs(address.sin_port);
}

inline bool Accepts(int port) {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  const bool ok = connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(fd);
  return ok;
}

inline std::string MosquittoProgram() {
  for (const char* path : {"/usr/sbin/mosquitto", "/usr/local/sbin/mosquitto", "/usr/bin/mosquitto",
                           "/usr/local/bin/mosquitto"})
    if (access(path, X_OK) == 0) return path;
  return {};
}

// A mosquitto of the test's own: its config, persistence and log in a temporary folder, so a
// subscriber's session and its queued messages survive a restart as at a farm's broker.
class Broker {
 public:
  static constexpr const char* kUser = "orvandry";
  static constexpr const char* kPassword = "s3cret, with \"quotes\"";

  enum class Kind {
    kOpen,      // anyone gets in
    kPassword,  // only kUser with kPassword gets in
    kTls,       // anyone, and a second listener, tls_port(), speaks TLS with a certificate for
                // 127.0.0.1 that ca_file() trusts
  };

  explicit Broker(Kind kind = Kind::kOpen) {
    const bool with_password = kind == Kind::kPassword;
    std::string pattern = (fs::temp_directory_path() / "orvandry-broker-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    dir_ = pattern;
    port_ = FreeLoopbackPort();
    const passwd* me = getpwuid(getuid());
    std::ofstream(dir_ / "mosquitto.conf")
        << "listener " << port_ << " 127.0.0.1\n"
        << "allow_anonymous " << (with_password ? "false" : "true") << "\n"
        << (with_password ? "password_file " + (dir_ / "passwd").string() + "\n" : "")
        << "persistence true\npersistence_location " << dir_.string() << "/\n"
        << "log_dest file " << (dir_ / "mosquitto.log").string()
        << "\n"
        // Started as root, mosquitto would switch to its own user, who cannot write here.
        << "user " << (me != nullptr ? me->pw_name : "root") << "\n";
    if (kind == Kind::kTls) {
      tls_port_ = FreeLoopbackPort();
      const std::string key = (dir_ / "server.key").string();
      const std::string command =
          "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 -addext "
          "subjectAltName=IP:127.0.0.1 -keyout '" +
          key + "' -out '" + ca_file() + "' >/dev/null 2>&1";
      if (std::system(command.c_str()) != 0) std::abort();
      std::ofstream(dir_ / "mosquitto.conf", std::ios::app)
          << "listener " << tls_port_ << " 127.0.0.1\ncertfile " << ca_file() << "\nkeyfile " << key
          << "\n";
    }
    if (with_password) {
      const std::string command = "mosquitto_passwd -b -c '" + (dir_ / "passwd").string() + "' " +
                                  kUser + " '" + kPassword + "' >/dev/null 2>&1";
      if (std::system(command.c_str()) != 0) std::abort();
    }
  }
  const fs::path& dir() const { return dir_; }
  int tls_port() const { return tls_port_; }
  std::string ca_file() const { return (dir_ / "server.crt").string(); }
  ~Broker() {
    Stop();
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  bool Start() {
    const std::string program = MosquittoProgram();
    if (program.empty()) return false;
    const std::string config = (dir_ / "mosquitto.conf").string();
    const std::string output = (dir_ / "mosquitto.out").string();
    pid_ = fork();
    if (pid_ == 0) {
      // The broker's own complaints (running as root) go to its folder, not the test's output.
      const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
      if (out >= 0) {
        dup2(out, STDOUT_FILENO);
        dup2(out, STDERR_FILENO);
      }
      execl(program.c_str(), program.c_str(), "-c", config.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    return Eventually([&] { return Accepts(port_) && (tls_port_ == 0 || Accepts(tls_port_)); },
                      5000ms);
  }
  void Stop() {
    if (pid_ <= 0) return;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
  }
  int port() const { return port_; }
  std::string Log() const {
    std::ifstream in(dir_ / "mosquitto.log");
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  fs::path dir_;
  int port_ = 0;
  int tls_port_ = 0;
  pid_t pid_ = -1;
};

// The farm's side: a persistent session subscribed to everything of one dryer at QoS 1.
class Subscriber {
 public:
  Subscriber(int port, const std::string& topic, const char* user = nullptr,
             const char* password = nullptr)
      : topic_(topic) {
    mosquitto_lib_init();
    const std::string id = "orvandry-test-subscriber-" + std::to_string(getpid());
    mosq_ = mosquitto_new(id.c_str(), false, this);
    mosquitto_reconnect_delay_set(mosq_, 1, 1, false);
    if (user != nullptr) mosquitto_username_pw_set(mosq_, user, password);
    mosquitto_connect_callback_set(mosq_, [](mosquitto* m, void* self, int rc) {
      if (rc == 0)
        mosquitto_subscribe(m, nullptr, static_cast<Subscriber*>(self)->topic_.c_str(), 1);
    });
    mosquitto_subscribe_callback_set(mosq_, [](mosquitto*, void* self, int, int, const int*) {
      static_cast<Subscriber*>(self)->subscribed_ = true;
    });
    mosquitto_message_callback_set(mosq_, [](mosquitto*, void* self, const mosquitto_message* m) {
      auto* me = static_cast<Subscriber*>(self);
      std::scoped_lock lock(me->mutex_);
      me->messages_.push_back(
          {m->topic, std::string(static_cast<const char*>(m->payload), m->payloadlen), m->retain});
    });
    mosquitto_connect(mosq_, "127.0.0.1", port, 10);
    mosquitto_loop_start(mosq_);
  }
  ~Subscriber() {
    mosquitto_disconnect(mosq_);
    mosquitto_loop_stop(mosq_, true);
    mosquitto_destroy(mosq_);
  }

  struct Message {
    std::string topic;
    std::string payload;
    bool retained = false;
  };
  std::vector<Message> On(const std::string& topic) const {
    std::scoped_lock lock(mutex_);
    std::vector<Message> found;
    for (const Message& m : messages_)
      if (m.topic == topic) found.push_back(m);
    return found;
  }
  std::atomic<bool> subscribed_{false};

 private:
  std::string topic_;
  mosquitto* mosq_ = nullptr;
  mutable std::mutex mutex_;
  std::vector<Message> messages_;
};

}  // namespace orvandry::alerts::testing
