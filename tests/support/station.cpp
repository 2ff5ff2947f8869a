#include "support/station.h"

#include "platform/recordingplatform.h"
#include "station/apply.h"

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

QStringList Shown(Form1& f) {
    QStringList shown{QStringLiteral("height %1").arg(f.height())};
    for (const auto& c : f.controls()) {
        // What a hidden control other than a field holds is given again before it shows.
        if (c->kind() != ControlKind::Entry && !c->shown()) {
            shown.append(c->displayName() + QStringLiteral(" hidden"));
            continue;
        }
        shown.append(QStringLiteral("%1 [%2] %3 %4")
                         .arg(c->displayName(), c->text(),
                              QString::number(c->visible() * 100 + c->enabled() * 10 + c->value()),
                              QString::number(c->listIndex())));
    }
    return shown;
}

QString ReopenedDifference(Veldrune& program, SavedStation* saved) {
    const auto save = SaveStation(program);
    if (!save)
        return QStringLiteral("nothing saved");
    const QByteArray text = StationFileText(save->station);
    const QString file = QStringLiteral("\nin the file:\n") + QString::fromUtf8(text);
    const auto read = ReadStation(text);
    if (const auto* error = std::get_if<StationError>(&read))
        return StationErrorLine(QStringLiteral("the saved file"), *error) + file;
    if (saved)
        *saved = {std::get<Station>(read), save->differences};
    RecordingPlatform quiet(program.platform());
    Veldrune reopened(quiet);
    reopened.form().setKeepsPictures(false);
    reopened.startLike(program);
    if (const auto refusal = ApplyStation(reopened, std::get<Station>(read), quiet.messages()))
        return StationErrorLine(QStringLiteral("the saved file"), *refusal) + file;
    const QStringList before = Shown(program.form());
    const QStringList after = Shown(reopened.form());
    for (qsizetype i = 0; i < before.size(); ++i) {
        if (before[i] != after[i] && save->differences.isEmpty())
            return QStringLiteral("shown: %1\nreopened: %2").arg(before[i], after[i]) + file;
    }
    return {};
}

} // namespace veldrune::test
