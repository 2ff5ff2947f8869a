#include "support/station.h"

namespace veldrune::test {

QByteArray CatalogueFile(const std::vector<ToolLine>& tools) {
    QString text = QStringLiteral("\"TEST TOOLS\",\"1\",\"SHORT HEADER\"\n");
    for (const ToolLine& tool : tools) {
        text += QStringLiteral("\"%1\",%2,%3,%4,%5\n")
                    .arg(tool.model, tool.torque)
                    .arg(tool.maxSpeed)
                    .arg(tool.minSpeed)
                    .arg(tool.decimals);
        if (tool.model.startsWith(u"LMW"))
            text.insert(text.size() - 1, QStringLiteral(",0"));
    }
    return text.toUtf8();
}

StartedProgram::StartedProgram(const std::vector<ToolLine>& tools,
                               const QStringList& workingFiles) {
    platform.putProgramFile(QStringLiteral("TOOLINFO.LST"), CatalogueFile(tools));
    for (const QString& name : workingFiles)
        platform.putWorkingFile(name);
    program = std::make_unique<Veldrune>(platform);
    program->startUp({});
}

StartedProgram::StartedProgram() {
    platform.putShippedCatalogue();
    program = std::make_unique<Veldrune>(platform);
    program->startUp({});
}

bool StartedProgram::pick(Control& list, const QString& entry) {
    for (int i = 0; i < list.listCount(); ++i) {
        if (list.entry(i).trimmed() == entry.trimmed()) {
            form().pick(list, i);
            return true;
        }
    }
    return false;
}

} // namespace veldrune::test

namespace veldrune::test {

void TypeAndLeave(Form1& form, Control& field, const QString& text) {
    form.moveFocus(field);
    form.typeText(field, text);
    form.moveFocus(form.Text5);
}

void PressEnter(Form1& form, Control& field) {
    form.moveFocus(field);
    form.keyPress(field, 13);
}

QString TypeKeys(Form1& form, Control& field, const QString& keys) {
    form.moveFocus(field);
    QString accepted;
    for (const QChar key : keys) {
        if (form.keyPress(field, key.unicode())) {
            accepted += key;
            form.typeText(field, field.text() + key);
        }
    }
    return accepted;
}

} // namespace veldrune::test
