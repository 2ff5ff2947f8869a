#pragma once

#include "station/runner.h"

#include <QString>

#include <functional>
#include <variant>
#include <vector>

namespace veldrune {

class Veldrune;

// Where the runs of a ranking start: the program's folder and the folder it works in, as the
// batch calculator's own program has them.
struct RankPlace {
    QString programFolder;
    QString workingFolder;
};

// Why a run is out of the running, or "fits": the station asks a torque above the tool's
// maximum (which the window cut down), the load could not be computed (an arithmetic failure,
// a tool without motor data), the motor overloads, or a time-limit message was shown; the
// first of these that holds.
QString Verdict(const StationReport& report);
inline const QString Fits = QStringLiteral("fits");

// From the station's own cycle time down to the cycle's estimated total time, 0.1 s at a
// time, each typed as the window would show it ("29.90"): the last cycle time before the
// first at which the motor overloads or the load cannot be computed.
QString ShortestSafeCycleTime(Veldrune& program);

// The station run once with every tool its system offers and, when the station names an angle
// head, with each head that fits each tool (a tool without heads runs without one), with the
// shortest safe cycle time of each run that fits. The reports come in rank order, each with
// its position and verdict: the runs that fit first, then the others, each group ordered by
// total time, then by peak motor load. `progress` is told of each finished run. The runs go
// on `threads` threads. A station with a session is refused: its events may pick tools of their
// own.
std::variant<std::vector<StationReport>, StationError>
RankStation(const Station& station, const RankPlace& place, const RunOptions& options = {},
            const std::function<void(int done, int total)>& progress = {}, int threads = 1);

} // namespace veldrune
