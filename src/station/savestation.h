#pragma once

#include "station/station.h"

#include <QByteArray>
#include <QStringList>

#include <optional>

namespace veldrune {

class Veldrune;

// A station saved from the window: the window in the plain form of a station file, and what a
// window opened from it shows otherwise than the saved one, in words ("TORQUE RECOVERY TIME WILL
// SHOW 0.00"); nothing in ordinary use.
struct SavedStation {
    Station station;
    QStringList differences;
};

// Finishes the edit in progress, as a button press does, then takes the window as a station:
// the description, the picks, the fastening option with the data of both options, every phase
// field, the duty cycle where its section was shown or holds something, and the layout, each
// field as the window shows it. A speed that shows a limit's caption in place of what was typed
// (below the tool's minimum, above its maximum) is written as it was typed, where that reopens
// to the caption again. Nothing while no tool is chosen: a station names
// its tool.
std::optional<SavedStation> SaveStation(Veldrune& program);

// The window as SaveStation takes it, with the speeds that show a limit's caption as they were
// typed, without finishing an edit or checking the reopening.
Station PlainStation(Veldrune& program);

// A station file's text: JSON with the keys in the order the window applies them, the format
// first, and every typed value as the string that is typed.
QByteArray StationFileText(const Station& station);

} // namespace veldrune
