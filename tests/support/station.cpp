#include "support/station.h"

namespace veldrune::test {

QByteArray CatalogueFile(const std::vector<ToolLine>& tools) {
    QString text = QStringLiteral("\"TEST TOOLS\",\"1\",\"SHORT HEADER\"\n");
    for (const ToolLine& tool : tools)
        text += QStringLiteral("\"%1\",%2,%3,%4,%5%6\n")
                    .arg(tool.model, tool.torque, QString::number(tool.maxSpeed),
                         QString::number(tool.minSpeed), tool.decimals,
                         tool.model.startsWith(u"LMW") ? QStringLiteral(",0") : QString());
    return text.toUtf8();
}

StartedProgram::StartedProgram(const std::vector<ToolLine>& tools,
                               const QStringList& workingFiles) {
    if (tools.empty())
        platform.putShippedCatalogue();
    else
        platform.putProgramFile(QStringLiteral("TOOLINFO.LST"), CatalogueFile(tools));
    for (const QString& name : workingFiles)
        platform.putWorkingFile(name);
    program = std::make_unique<Veldrune>(platform);
    program->startUp({});
}

} // namespace veldrune::test
