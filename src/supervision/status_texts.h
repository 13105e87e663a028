// Every text the supervisor puts on the status line.
#pragma once

namespace kestrune {

inline constexpr char kStatusCreatingIni[] = "Creating INI file...";
inline constexpr char kStatusStarting[] = "Starting server";
inline constexpr char kStatusStarted[] = "Server started";
inline constexpr char kStatusQuerying[] = "Quring server";
inline constexpr char kStatusServerEnabled[] = "Query status: Server Enabled";
inline constexpr char kStatusCrashed[] = "Server Crashed! Restarting...";
inline constexpr char kStatusStopped[] = "Server stoped";

}  // namespace kestrune
