#pragma once

#include "station/runner.h"

#include <string>

namespace veldrune {

// The station's results as the JSON document of the station format, indented.
std::string StationJson(const StationReport& report);
// Several stations: a JSON array of their documents.
std::string StationsJson(const std::vector<StationReport>& reports);

// A readable page for one station: the tool and its ratings, a table of the phases, the
// total time and any messages.
std::string StationSummary(const StationReport& report);

// One line for a station among several.
std::string StationLine(const QString& file, const StationReport& report);

// The header of the duty-cycle trace.
inline constexpr char TraceHeader[] =
    "step,time_s,phase_s,ramp_s,torque_percent,load_percent,x,torque_y,load_y\n";

// The trace: the header, then a line for each simulated step (none without a duty cycle).
std::string DutyCycleTrace(const StationReport& report);

} // namespace veldrune
