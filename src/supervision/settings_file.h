// The supervisor's settings file "KTN-Serv.ini" beside its executable: six [Main] keys mirroring
// the window's fields, and [Settings] AutoStart mirroring the auto-start box.
#pragma once

#include <string>

#include "supervision/supervisor_window.h"
#include "supervision/watchdog_settings_rules.h"

namespace kestrune {

inline constexpr char kSettingsFileName[] = "KTN-Serv.ini";

// The running executable's folder (up to its last "\" or ":") followed by "KTN-Serv.ini".
std::string SettingsPathBesideExecutable();

// Fills the fields from the file, or creates the file with six empty keys when there is none
// (the fields then keep their texts); returns [Settings] AutoStart, "0" when absent.
std::string LoadSettings(SupervisorWindow& window, const std::string& path);

// Writes the six [Main] keys from the fields, one write each, stopping at a refused write.
void SaveSettings(const SupervisorWindow& window, const std::string& path);

// Writes [Settings] AutoStart: "1" when checked, otherwise "0".
void SaveAutoStart(bool checked, const std::string& path);

// Reads the optional [Watchdog] keys, which Kestrune never writes: each absent key gives its
// default quietly, a value that is not an integer in range gives its default and a history line.
WatchdogSettingsRead LoadWatchdogSettings(const std::string& path);

}  // namespace kestrune
