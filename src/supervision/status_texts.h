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
// A check that reached no verdict says why.
inline constexpr char kStatusToolNotStarted[] = "Query tool could not be started";
inline constexpr char kStatusToolTimedOut[] = "Query tool did not finish";
inline constexpr char kStatusResultNotRemoved[] = "Query result file could not be removed";
// A failed check within the start grace after a launch, which does not count.
inline constexpr char kStatusNoResponseInGrace[] = "No response (starting up)";

}  // namespace kestrune
