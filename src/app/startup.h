#pragma once

#include "window/programstate.h"

#include <QSizeF>
#include <QString>
#include <QStringList>

namespace veldrune {

class Form1;
class WindowModel;

// The text after the program's name: the arguments joined with single blanks.

// The program's arguments: the station files to open (those ending in ".json") and, joined,
// all the others, in which the switches are looked for, so that a path such as
// "/data/dock/station.json" switches nothing on.
struct Arguments {
    QString commandLine;
    QStringList stationFiles;
};
Arguments SplitArguments(const QStringList& arguments);

// Looks at every pair of neighbouring characters, letter case not counting: "/D" shows the
// PRINT TEST button, "/E" skips the caption file. Switches may stand anywhere, even glued to
// other text; nothing else is looked at.
void ScanCommandLine(const QString& commandLine, Form1& form, ProgramFlags& flags);

// Places a window in the middle of a screen of the given size (twips), by its outer size on
// screen, unless the user has minimised or maximised it; a window larger than the screen
// with its top-left corner on it.
void CentreForm(WindowModel& window, QSizeF screen);

} // namespace veldrune
