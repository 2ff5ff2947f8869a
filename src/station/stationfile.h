#pragma once

#include "station/station.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace veldrune {

class Form1;
class Veldrune;

// Saving a station reopens it exactly, by construction. The window keeps a journal of the
// user's events since it started or since a station file was opened (see WindowModel). A
// window is saved in the plain form of a station file (the picks, the fastening, the phase
// fields and the duty cycle, applied in their fixed order) where a freshly started window
// given that shows what this one shows; that is checked by applying it to one. Otherwise the
// file is the station that was opened (or none) followed by the journal as its "session":
// replayed in order on a window started the same way, the events give this window again,
// whatever order they came in, fields cleared, options switched, systems changed.

// The station to save for the window: its plain form where that reopens as the window
// shows, else the station `opened` (the one last opened, or none) with the window's journal
// as its further session. Nothing while no tool is chosen: a station names its tool.
std::optional<Station> StationOfWindow(Veldrune& program, const std::optional<Station>& opened);

// The window in the plain form of a station file: the picks, the fastening of the chosen mode,
// every phase field someone typed and, in the tall layout, the duty cycle. A value the window
// replaced by a limit's caption is kept beyond that limit.
Station PlainStation(Veldrune& program);

// Whether two windows show the same: every text, what is shown, enabled, ticked and picked,
// and the layout.
bool SameShown(const Form1& a, const Form1& b);

// Whether the station, applied to a freshly started window like the program's, shows what
// the program's window shows.
bool Reopens(Veldrune& program, const Station& station);

// A station file's text: JSON with the keys in the order the window applies them, every
// typed value as the string that is typed, and last the session, one event a line.
QByteArray StationFileText(const Station& station);

// Why a station file was refused, in one line: the file, the key and the reason.
QString StationErrorLine(const QString& file, const StationError& error);

} // namespace veldrune
