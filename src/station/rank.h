#pragma once

#include "station/runner.h"

#include <QString>

#include <functional>
#include <variant>
#include <vector>

namespace veldrune {

// Where the runs of a ranking start: the program's folder and the folder it works in, as the
// batch calculator's own program has them.
struct RankPlace {
    QString programFolder;
    QString workingFolder;
};

// Whether a run is out of the running: a message was shown (the time limits), or the duty
// cycle overloads the motor.
bool Disqualified(const StationReport& report);

// The station run once with every tool its system offers and, when the station names an angle
// head, with each head that fits each tool (a tool without heads runs without one). The
// reports come in rank order: the runs that are not disqualified first, each group ordered by
// total time, then by peak motor load. `progress` is told of each finished run.
std::variant<std::vector<StationReport>, StationError>
RankStation(const Station& station, const RankPlace& place, const RunOptions& options = {},
            const std::function<void(int done, int total)>& progress = {});

} // namespace veldrune
