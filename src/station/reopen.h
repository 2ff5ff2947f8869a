#pragma once

#include "station/station.h"

#include <QStringList>

namespace veldrune {

class Veldrune;

// What a window opened from the station shows otherwise than the program's window, a line a
// control ("TORQUE RECOVERY TIME WILL SHOW 0.00", "THE WINDOW WILL OPEN IN THE SHORT LAYOUT");
// empty when it shows the same: every text, what is shown, enabled, ticked and picked, the
// layout and the tool the chart is drawn for. The station is applied to a program started like
// the window's, which stays as it is.
QStringList ReopenDifferences(Veldrune& program, const Station& station);

} // namespace veldrune
