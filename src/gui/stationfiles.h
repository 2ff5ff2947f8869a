#pragma once

#include <QString>

namespace veldrune {

class Veldrune;
struct Station;

// Station files in the window: opening one applies it to the window as a person would type
// it; saving writes what the window shows. Both first finish the edit in progress, as a button
// press does. The file last opened or saved is the current one.
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
    // Shows a station in the window as opening a file of it would (`name` names it in a
    // refusal); the current file stays. Returns whether the station was applied.
    bool show(const Station& station, const QString& name);
    // Saves to the current file, or asks for a name when there is none.
    void save();
    // Asks for a name, starting from the current file, then saves.
    void saveAs();

    const QString& currentFile() const { return m_current; }

private:
    void saveTo(const QString& path);
    // Tells why a station is refused; false.
    bool refuse(const QString& line);

    Veldrune& m_program;
    QString m_current;
};

} // namespace veldrune
