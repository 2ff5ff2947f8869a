#pragma once

#include "station/station.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace veldrune {

class Veldrune;

// The station the window shows, as a station file gives it: the description, the picks, the
// fastening of the chosen mode and every phase field as its text stands (the speeds, from
// which the window derives the free-run and tightening times), and in the tall layout the
// duty cycle. Nothing while no tool is chosen: a station names its tool.
std::optional<Station> StationOfWindow(Veldrune& program);

// A station file's text: JSON with the keys in the order the window applies them, every
// typed value as the string that is typed.
QByteArray StationFileText(const Station& station);

// Why a station file was refused, in one line: the file, the key and the reason.
QString StationErrorLine(const QString& file, const StationError& error);

// Station files in the window: opening one applies it to the window as a person would type
// it; saving writes what the window shows. The file last opened or saved is the current one.
class StationFiles {
public:
    explicit StationFiles(Veldrune& program)
        : m_program(program) {}

    // Asks for a file, then opens it.
    void open();
    // Opens the file: a valid station is applied to the window; otherwise a message box tells
    // why, in the batch calculator's words, and the window stays as it was. Returns whether
    // the station was applied.
    bool open(const QString& path);
    // Saves to the current file, or asks for a name when there is none.
    void save();
    // Asks for a name, starting from the current file, then saves.
    void saveAs();

    const QString& currentFile() const { return m_current; }

private:
    void saveTo(const QString& path);

    Veldrune& m_program;
    QString m_current;
};

} // namespace veldrune
