#include "alerts/alert_payloads.h"

#include "alerts/json_text.h"
#include "warnings/warning_code.h"

namespace orvandry::alerts {

std::string ShutdownJson(const ShutdownAlert& alert) {
  return JsonObject()
      .Number("seq", static_cast<std::int64_t>(alert.seq))
      .Text("code", warnings::FormatWarningCode(alert.code))
      .Text("node", alert.node)
      .Text("text", alert.text)
      .Text("time", alert.time)
      .Close();
}

std::string LinkJson(bool online, const std::string& time) {
  JsonObject json;
  json.Bool("online", online);
  if (!time.empty()) json.Text("time", time);
  return json.Close();
}

std::string IsoLocalTime(std::time_t time) {
  std::tm local{};
  localtime_r(&time, &local);
  char text[40];
  if (std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local) == 0) return {};
  // strftime writes +0100; ISO 8601's extended form wants +01:00.
  const std::string_view written(text);
  if (written.size() < 5) return std::string(written);
  std::string iso;
  iso.reserve(written.size() + 1);
  iso.append(written.substr(0, written.size() - 2))
      .append(1, ':')
      .append(written.substr(written.size() - 2));
  return iso;
}

}  // namespace orvandry::alerts
