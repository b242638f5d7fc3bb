#include "remote/request_gate.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace orvandry::remote {

namespace {

std::string Lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool IsTokenChar(unsigned char c) {
  // Visible ASCII that may stand in a header, a cookie value and a query without quoting.
  return c > 0x20 && c < 0x7F && c != '"' && c != ',' && c != ';' && c != '\\' && c != '%' &&
         c != '&' && c != '+' && c != '#' && c != '?' && c != '=';
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

}  // namespace

std::string_view RequestHead::Header(std::string_view name) const {
  const auto it = headers.find(name);
  return it == headers.end() ? std::string_view() : std::string_view(it->second);
}

std::optional<RequestHead> ParseRequestHead(std::string_view head) {
  const std::size_t end = head.find("\r\n\r\n");
  if (end == std::string_view::npos) return std::nullopt;
  head = head.substr(0, end + 2);
  RequestHead out;
  std::size_t line_end = head.find("\r\n");
  const std::string_view request_line = head.substr(0, line_end);
  const std::size_t sp1 = request_line.find(' ');
  const std::size_t sp2 = request_line.rfind(' ');
  if (sp1 == std::string_view::npos || sp2 == sp1) return std::nullopt;
  out.method = request_line.substr(0, sp1);
  const std::string_view target = request_line.substr(sp1 + 1, sp2 - sp1 - 1);
  const std::string_view version = request_line.substr(sp2 + 1);
  if (version != "HTTP/1.1" && version != "HTTP/1.0") return std::nullopt;
  if (target.empty() || target.front() != '/' || target.find(' ') != std::string_view::npos)
    return std::nullopt;
  for (const char c : out.method)
    if (c < 'A' || c > 'Z') return std::nullopt;
  const std::size_t q = target.find('?');
  out.path = target.substr(0, q);
  if (q != std::string_view::npos) out.query = target.substr(q + 1);

  std::size_t lines = 0;
  std::size_t pos = line_end + 2;
  while (pos < head.size()) {
    line_end = head.find("\r\n", pos);
    const std::string_view line = head.substr(pos, line_end - pos);
    pos = line_end + 2;
    if (++lines > kMaxHeaderLines) return std::nullopt;
    const std::size_t colon = line.find(':');
    // No folded lines, no name with white space, no control characters.
    if (colon == 0 || colon == std::string_view::npos || line.front() == ' ' ||
        line.front() == '\t')
      return std::nullopt;
    for (const char c : line)
      if ((static_cast<unsigned char>(c) < 0x20 && c != '\t') || c == 0x7F) return std::nullopt;
    const std::string_view name = line.substr(0, colon);
    if (name.find_first_of(" \t") != std::string_view::npos) return std::nullopt;
    out.headers.emplace(Lower(name), std::string(Trim(line.substr(colon + 1))));
  }
  return out;
}

bool ConstantTimeEquals(std::string_view expected, std::string_view given) {
  unsigned diff = expected.size() == given.size() ? 0U : 1U;
  for (std::size_t i = 0; i < expected.size(); ++i) {
    const unsigned char g = i < given.size() ? static_cast<unsigned char>(given[i]) : 0U;
    diff |= static_cast<unsigned char>(expected[i]) ^ g;
  }
  return diff == 0;
}

std::optional<std::string> QueryValue(std::string_view query, std::string_view name) {
  while (!query.empty()) {
    const std::size_t amp = query.find('&');
    const std::string_view pair = query.substr(0, amp);
    query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
    const std::size_t eq = pair.find('=');
    if (eq == std::string_view::npos || pair.substr(0, eq) != name) continue;
    std::string value;
    const std::string_view raw = pair.substr(eq + 1);
    for (std::size_t i = 0; i < raw.size(); ++i) {
      if (raw[i] != '%') {
        value += raw[i] == '+' ? ' ' : raw[i];
        continue;
      }
      if (i + 2 >= raw.size()) return std::nullopt;
      const int hi = HexDigit(raw[i + 1]), lo = HexDigit(raw[i + 2]);
      if (hi < 0 || lo < 0) return std::nullopt;
      value += static_cast<char>(hi * 16 + lo);
      i += 2;
    }
    return value;
  }
  return std::nullopt;
}

Proof CheckToken(const RequestHead& head, std::string_view token) {
  if (token.empty()) return Proof::kNone;
  const std::string_view authorization = head.Header("authorization");
  if (authorization.size() > 7 && Lower(authorization.substr(0, 7)) == "bearer " &&
      ConstantTimeEquals(token, Trim(authorization.substr(7))))
    return Proof::kBearer;
  std::string_view cookies = head.Header("cookie");
  while (!cookies.empty()) {
    const std::size_t semi = cookies.find(';');
    const std::string_view cookie = Trim(cookies.substr(0, semi));
    cookies = semi == std::string_view::npos ? std::string_view() : cookies.substr(semi + 1);
    const std::size_t eq = cookie.find('=');
    if (eq != std::string_view::npos && cookie.substr(0, eq) == kTokenCookie &&
        ConstantTimeEquals(token, cookie.substr(eq + 1)))
      return Proof::kCookie;
  }
  if (head.path == kPagePath) {
    const auto given = QueryValue(head.query, "token");
    if (given && ConstantTimeEquals(token, *given)) return Proof::kPageQuery;
  }
  return Proof::kNone;
}

bool IsServedPath(std::string_view path) {
  if (path == kPagePath || path == kLivePath || path == kStatusPath || path == kHistoryPath ||
      path == kJournalPath)
    return true;
  if (path.substr(0, kCsvPrefix.size()) != kCsvPrefix) return false;
  const std::string_view name = path.substr(kCsvPrefix.size());
  return std::find(std::begin(kCsvNames), std::end(kCsvNames), name) != std::end(kCsvNames);
}

Verdict JudgeRequest(std::string_view received, std::string_view token) {
  const std::size_t end = received.find("\r\n\r\n");
  if (end == std::string_view::npos) {
    if (received.size() >= kMaxRequestHead) return {Verdict::kRefuse, 431};
    // A line feed without its carriage return, or a NUL, will never become a proper head.
    for (std::size_t i = 0; i < received.size(); ++i) {
      if (received[i] == '\0') return {Verdict::kRefuse, 400};
      if (received[i] == '\n' && (i == 0 || received[i - 1] != '\r'))
        return {Verdict::kRefuse, 400};
    }
    return {Verdict::kWait, 0};
  }
  if (end + 4 > kMaxRequestHead) return {Verdict::kRefuse, 431};
  const auto head = ParseRequestHead(received);
  if (!head) return {Verdict::kRefuse, 400};
  // One request per connection, and never a body.
  if (received.size() > end + 4) return {Verdict::kRefuse, 400};
  if (!head->Header("transfer-encoding").empty()) return {Verdict::kRefuse, 400};
  const std::string_view length = head->Header("content-length");
  if (!length.empty() && length != "0") return {Verdict::kRefuse, 400};
  if (CheckToken(*head, token) == Proof::kNone) return {Verdict::kRefuse, 401};
  if (!IsServedPath(head->path)) return {Verdict::kRefuse, 404};
  if (head->method != "GET") return {Verdict::kRefuse, 405};
  if (head->path == kLivePath) {
    if (Lower(head->Header("upgrade")) != "websocket") return {Verdict::kRefuse, 400};
    // A page of another site may not open the live picture with the viewer's cookie.
    const std::string_view origin = head->Header("origin");
    const std::string host(head->Header("host"));
    if (!origin.empty() && origin != "http://" + host && origin != "https://" + host)
      return {Verdict::kRefuse, 403};
  }
  return {Verdict::kPass, 0};
}

std::string RefusalResponse(int status) {
  const char* reason = "Bad Request";
  switch (status) {
    case 401:
      reason = "Unauthorized";
      break;
    case 403:
      reason = "Forbidden";
      break;
    case 404:
      reason = "Not Found";
      break;
    case 405:
      reason = "Method Not Allowed";
      break;
    case 408:
      reason = "Request Timeout";
      break;
    case 431:
      reason = "Request Header Fields Too Large";
      break;
    case 503:
      reason = "Service Unavailable";
      break;
    default:
      break;
  }
  std::string out = "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\n";
  if (status == 401) out += "WWW-Authenticate: Bearer\r\n";
  out += "Content-Length: 0\r\nConnection: close\r\n\r\n";
  return out;
}

TokenFile ReadTokenFile(const std::string& path) {
  const std::string where = "--remote-token-file " + path + ": ";
  std::ifstream in(path, std::ios::binary);
  if (!in) return {{}, where + "cannot be read"};
  std::string text(kMaxTokenLength + 2, '\0');
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (in.bad()) return {{}, where + "cannot be read"};
  text.resize(static_cast<std::size_t>(in.gcount()));
  const std::size_t line_end = text.find_first_of("\r\n");
  std::string_view token = text;
  token = token.substr(0, line_end);
  while (!token.empty() && std::isspace(static_cast<unsigned char>(token.front())))
    token.remove_prefix(1);
  while (!token.empty() && std::isspace(static_cast<unsigned char>(token.back())))
    token.remove_suffix(1);
  if (token.empty()) return {{}, where + "is empty"};
  if (line_end == std::string::npos && text.size() > kMaxTokenLength)
    return {{},
            where + "the token is longer than " + std::to_string(kMaxTokenLength) + " characters"};
  if (token.size() < kMinTokenLength)
    return {{},
            where + "the token is shorter than " + std::to_string(kMinTokenLength) + " characters"};
  for (const char c : token)
    if (!IsTokenChar(static_cast<unsigned char>(c)))
      return {{},
              where +
                  "the token may only have letters, digits and visible punctuation other "
                  "than \" , ; \\ % & + # ? ="};
  return {std::string(token), {}};
}

}  // namespace orvandry::remote
