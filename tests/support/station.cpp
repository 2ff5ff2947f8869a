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

} // namespace veldrune::test
