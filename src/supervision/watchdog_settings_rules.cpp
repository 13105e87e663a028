#include "supervision/watchdog_settings_rules.h"

#include "base/integer_conversion.h"

namespace kestrune {

WatchdogValue ParseWatchdogValue(const WatchdogKey& key, std::optional<std::string_view> text) {
  if (!text) return {key.fallback, std::nullopt};
  const std::string head = "[" + std::string(kWatchdogSection) + "] " + key.name;
  const std::string tail = "; using the default " + std::to_string(key.fallback);
  if (text->empty()) return {key.fallback, head + " is empty" + tail};
  const std::string written = head + "=\"" + std::string(*text) + "\"";
  const std::optional<std::int32_t> value = TryStrToInt(*text);
  if (!value) return {key.fallback, written + " is not an integer" + tail};
  if (*value < key.lowest || *value > key.highest) {
    return {key.fallback, written + " is outside " + std::to_string(key.lowest) + ".." +
                              std::to_string(key.highest) + tail};
  }
  return {*value, std::nullopt};
}

WatchdogSettingsRead ReadWatchdogSettings(
    const std::function<std::optional<std::string>(const char* key)>& read_key) {
  WatchdogSettingsRead read;
  for (const WatchdogKey& key : kWatchdogKeys) {
    const std::optional<std::string> text = read_key(key.name);
    WatchdogValue value =
        ParseWatchdogValue(key, text ? std::optional<std::string_view>(*text) : std::nullopt);
    read.settings.*key.field = value.value;
    if (value.fallback_reason) read.history.push_back(std::move(*value.fallback_reason));
  }
  return read;
}

}  // namespace kestrune
