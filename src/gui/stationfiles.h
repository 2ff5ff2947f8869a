#pragma once

#include <QString>

namespace veldrune {

class Veldrune;
struct Station;

// Station files in the window: opening one applies it to the window as a person would type
// it; saving writes what the window shows. Both first finish the edit in progress, as a button
// press does. The file last opened or saved is the current one: the window's title names it,
// marked while the window shows other than the file, and changes to it are not lost unasked.
class StationFiles {
public:
    // Takes the window's title as it is now as the program's own.
    explicit StationFiles(Veldrune& program);

    // Asks for a file, then opens it.
    void open();
    // Opens the file: a valid station is applied to the window; otherwise a message box tells
    // why, in the batch calculator's words, and the window stays as it was. Unsaved changes to
    // the current file are asked about first. Returns whether the station was applied.
    bool open(const QString& path);
    // Shows a station in the window as opening a file of it would (`name` names it in a
    // refusal); the current file stays. Returns whether the station was applied.
    bool show(const Station& station, const QString& name);
    // Saves to the current file, or asks for a name when there is none.
    void save();
    // Asks for a name, starting from the current file, then saves.
    void saveAs();

    const QString& currentFile() const { return m_current; }

    // Marks the window modified while it shows other than the current file; run after every
    // event.
    void follow();
    // Whether the window's changes may go: there are none to the current file, or the user
    // saved or discarded them when asked.
    bool mayLoseChanges();

private:
    bool openFile(const QString& path);
    void saveTo(const QString& path);
    // The current file is `path`, showing what the window shows now.
    void hold(const QString& path);
    QByteArray shownText();
    // Tells why a station is refused; false.
    bool refuse(const QString& line);

    Veldrune& m_program;
    QString m_title;
    QString m_current;
    QByteArray m_held; // the window as the current file shows it, as a station file's text
};

} // namespace veldrune
