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

// Why a run cannot do the station's job, the first of these that holds: the station cycle time
// is shorter than the run's estimated total time; the station asks a torque above the tool's
// maximum (which the window cut down); the load was not computed over the whole period (no
// cycle time, an arithmetic failure, a tool without motor data, no duty cycle at all); the
// motor overloads; a time-limit message was shown. Otherwise the run "fits".
QString Verdict(const StationReport& report);
inline const QString Fits = QStringLiteral("fits");
inline const QString LoadNotComputed = QStringLiteral("load not computed");

// The shortest safe cycle time of the station the program's window shows (see the calculation's
// ShortestSafeCycleTime).
QString ShortestSafeCycleTime(Veldrune& program);

// The station as a ranking runs it with a tool and head (none: without a head): it types the
// station's values after picking the tool, as a person would, so that the torque is formatted
// for that tool and cut to its maximum.
Station RankedRun(const Station& station, const QString& tool, const QString& angleHead);

// Whether run a ranks before run b: the runs that fit first, then the others, each group
// ordered by total time, then by peak motor load.
bool RankedBefore(const StationReport& a, const StationReport& b);

// What a ranking tells as it goes: each run as it is done, with its verdict but not yet its
// position, and how many of how many are done. Returning false stops the ranking.
using RankProgress = std::function<bool(const StationReport& run, int done, int total)>;

// The station run once with every tool its system offers and, when the station names an angle
// head, with each head that fits each tool (a tool without heads runs without one), with the
// shortest safe cycle time of each run that fits. Every run starts like `options.like` where
// given, else like a program started in `place`. The reports come in rank order (RankedBefore),
// each with its position and verdict. The runs go on `threads` threads; a run that fails
// with an exception refuses the ranking with its reason. A station with a session is refused:
// its events may pick tools of their own.
std::variant<std::vector<StationReport>, StationError>
RankStation(const Station& station, const RankPlace& place, const RunOptions& options = {},
            const RankProgress& progress = {}, int threads = 1);

} // namespace veldrune
