// The optional [Watchdog] keys of the settings file, read at every start of supervision and never
// written: how many failed checks in a row kill the server, and how long after a launch failed
// checks are not held against it. Without them every failed check restarts the server.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrune {

inline constexpr char kWatchdogSection[] = "Watchdog";

struct WatchdogSettings {
  int failures_before_restart = 1;  // FailuresBeforeRestart, 1..100
  int start_grace_seconds = 0;      // StartGraceSeconds, 0..86400 (a day)
};

// One key: its name, its default and the range a value must lie in, bounds included. More than
// 100 failed checks in a row would all but never restart a server; a grace of more than a day
// would all but never hold a failed check against one.
struct WatchdogKey {
  const char* name;
  int WatchdogSettings::*field;
  int fallback;
  int lowest;
  int highest;
};

inline constexpr WatchdogKey kFailuresBeforeRestartKey{
    "FailuresBeforeRestart", &WatchdogSettings::failures_before_restart, 1, 1, 100};
inline constexpr WatchdogKey kStartGraceSecondsKey{
    "StartGraceSeconds", &WatchdogSettings::start_grace_seconds, 0, 0, 86400};
inline constexpr WatchdogKey kWatchdogKeys[] = {kFailuresBeforeRestartKey, kStartGraceSecondsKey};

// A key's value, and why the default took the place of the text when it did.
struct WatchdogValue {
  int value;
  std::optional<std::string> fallback_reason;  // an English history line; none when taken as is
};

// The value of `key` from `text` as the profile function returns it (trimmed), or std::nullopt
// when the key is absent, which quietly gives the default. Text that is empty, not an integer as
// TryStrToInt reads one, or outside the key's range gives the default and a reason.
WatchdogValue ParseWatchdogValue(const WatchdogKey& key, std::optional<std::string_view> text);

struct WatchdogSettingsRead {
  WatchdogSettings settings;
  std::vector<std::string> history;  // one line per key that fell back to its default
};

// Reads every key of the section through `read_key`, which returns a key's value by name or
// std::nullopt when the section has no such key. The profile function gives its default for an
// absent key, so the caller tells absent from empty by the section's key list or by a default no
// written value would be.
WatchdogSettingsRead ReadWatchdogSettings(
    const std::function<std::optional<std::string>(const char* key)>& read_key);

}  // namespace kestrune
