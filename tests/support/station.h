#pragma once

#include "app/veldrune.h"
#include "station/savestation.h"
#include "support/fakeplatform.h"
#include "window/useractions.h"

#include <QStringList>

#include <memory>

namespace veldrune::test {

// A tool record of a catalogue file, in N·m for "KRV" models and kgf·m for the others.
struct ToolLine {
    QString model;
    QString torque = QStringLiteral("5");
    int maxSpeed = 2000;
    int minSpeed = 10;
    QString decimals = QStringLiteral("2,0,3,0,1,0,2,0,1,0");
};

QByteArray CatalogueFile(const std::vector<ToolLine>& tools);

// The program started as the window would be, on a catalogue of its own or, without one, on
// the catalogue shipped with the program.
class StartedProgram {
public:
    explicit StartedProgram(const std::vector<ToolLine>& tools = {},
                            const QStringList& workingFiles = {});

    Form1& form() { return program->form(); }
    ToolSelection& selection() { return program->selection(); }
    // Picks an entry of a list by its text, surrounding blanks not counting; false if absent.
    bool pick(Control& list, const QString& entry) { return PickEntry(form(), list, entry); }

    FakePlatform platform;
    std::unique_ptr<Veldrune> program;
};

// Everything the window shows, a line a control: its text, whether it is shown, enabled,
// ticked or picked (a hidden control that is not a field only as hidden); and the layout.
QStringList Shown(Form1& f);

// Opens a station file's text on a program started like this one; both windows are then drawn
// anew by UPDATE CALCULATION. What each shows (Shown, then the chart's figures), or why the file
// was refused as the first one's only line.
std::pair<QStringList, QStringList> ShownAndReopened(Veldrune& program, const QByteArray& file);

// Saves the window as saving does and opens the file in a program started like this one.
// Returns how the reopened window differs where the save did not say so (empty: it shows the
// same, or the save named what differs), with the file's text; `saved` receives what the save
// gave, its station as read back.
QString ReopenedDifference(Veldrune& program, SavedStation* saved = nullptr);

} // namespace veldrune::test
