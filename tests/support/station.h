#pragma once

#include "app/veldrune.h"
#include "support/fakeplatform.h"

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

// The program started on a catalogue of its own, as the window would be.
class StartedProgram {
public:
    explicit StartedProgram(const std::vector<ToolLine>& tools,
                            const QStringList& workingFiles = {});
    // Started on the catalogue shipped with the program.
    StartedProgram();

    Form1& form() { return program->form(); }
    Catalogue& catalogue() { return program->catalogue(); }
    // Picks an entry of a list by its text, surrounding blanks not counting; false if absent.
    bool pick(Control& list, const QString& entry);

    FakePlatform platform;
    std::unique_ptr<Veldrune> program;
};

} // namespace veldrune::test

namespace veldrune::test {

// What a person does at the window, through the window model.
void TypeAndLeave(Form1& form, Control& field, const QString& text);
void PressEnter(Form1& form, Control& field);
// Keys typed one by one while the field has the focus; returns the keys that got through.
QString TypeKeys(Form1& form, Control& field, const QString& keys);

} // namespace veldrune::test
