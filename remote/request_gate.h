#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace orvandry::remote {

// The most a request head may take, request line and headers together, and how many header
// lines it may have. A request never carries a body: the remote view only reads.
inline constexpr std::size_t kMaxRequestHead = 8192;
inline constexpr std::size_t kMaxHeaderLines = 48;
// A token shorter than this is refused at start-up: it could be guessed.
inline constexpr std::size_t kMinTokenLength = 16;
inline constexpr std::size_t kMaxTokenLength = 256;
inline constexpr std::string_view kTokenCookie = "orvandry_token";

// Every address the remote view answers. Nothing else is served; no part of a request's path is
// ever used to find a file.
inline constexpr std::string_view kPagePath = "/";
inline constexpr std::string_view kLivePath = "/live";  // the WebSocket of the live screen
inline constexpr std::string_view kStatusPath = "/api/status";
inline constexpr std::string_view kHistoryPath = "/api/history";
inline constexpr std::string_view kJournalPath = "/api/journal";  // the operator's changes
inline constexpr std::string_view kCsvPrefix = "/api/csv/";
inline constexpr std::string_view kCsvNames[] = {"history.csv", "longterm.csv", "shortterm.csv",
                                                 "graph.csv", "journal.csv"};

// The request line and headers of one request. Header names are lower case; a header given
// twice keeps its first value.
struct RequestHead {
  std::string method;
  std::string path;   // the target up to '?', exactly as sent
  std::string query;  // after '?', without it
  std::map<std::string, std::string, std::less<>> headers;

  std::string_view Header(std::string_view name) const;
};

// Parses a head that ends with its blank line. Null for anything that is not a plain HTTP/1.x
// request in origin form.
std::optional<RequestHead> ParseRequestHead(std::string_view head);

// Equal without an early exit: the time taken depends on `expected`'s length only.
bool ConstantTimeEquals(std::string_view expected, std::string_view given);

// How a request proved it knows the token.
enum class Proof { kNone, kBearer, kCookie, kPageQuery };

// The token from the Authorization header (Bearer), the cookie, or, on the page's address only,
// `?token=`.
Proof CheckToken(const RequestHead& head, std::string_view token);

// The value of `name` in a query string, percent-decoded; null when absent or badly encoded.
std::optional<std::string> QueryValue(std::string_view query, std::string_view name);

bool IsServedPath(std::string_view path);

// What to do with a connection, judged from the bytes it has sent so far.
struct Verdict {
  enum Kind { kWait, kPass, kRefuse } kind = kWait;
  int status = 0;  // kRefuse: the HTTP status to answer with
};

// Judges the first bytes of a connection. Waits while the head is incomplete and small enough;
// refuses a head that is too big (431), malformed or followed by more bytes (400), a request
// without the token (401, judged before anything about the address is said), an address that is
// not served (404), a method other than GET (405), the live address without a WebSocket
// upgrade (400) or opened by a page of another origin (403). Everything else passes to the server.
Verdict JudgeRequest(std::string_view received, std::string_view token);

// The whole answer sent for a refusal: status line, no body, and the connection closes.
std::string RefusalResponse(int status);

// Reads the token file: the first line, without surrounding white space. Returns the token or
// the reason it cannot be used (missing, unreadable, empty, too short, or with characters that
// cannot travel in a header and a cookie).
struct TokenFile {
  std::string token;
  std::string error;  // empty when the token can be used
};
TokenFile ReadTokenFile(const std::string& path);

}  // namespace orvandry::remote
