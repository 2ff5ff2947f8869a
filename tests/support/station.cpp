#include "support/station.h"

#include "platform/recordingplatform.h"
#include "station/apply.h"

using namespace Qt::StringLiterals;

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

std::pair<QStringList, QStringList> ShownAndReopened(Veldrune& program, const QByteArray& file) {
    RecordingPlatform quiet(program.platform());
    Veldrune reopened(quiet);
    reopened.form().setKeepsPictures(program.form().keepsPictures());
    reopened.startLike(program);
    const auto read = ReadStation(file);
    if (const auto* error = std::get_if<StationError>(&read))
        return {{StationErrorLine(u"the file"_s, *error)}, {}};
    if (const auto refusal = ApplyStation(reopened, std::get<Station>(read), quiet.messages()))
        return {{StationErrorLine(u"the file"_s, *refusal)}, {}};
    std::pair<QStringList, QStringList> shown;
    for (auto [p, lines] : {std::pair{&program, &shown.first}, {&reopened, &shown.second}}) {
        p->form().click(p->form().Command1(0));
        // The chart shows in the tall layout only, which opens on a current one.
        *lines = Shown(p->form()) << (p->flags().LoadSectionShown ? p->form().Picture2.toolTip()
                                                                  : QString());
    }
    return shown;
}

QString ReopenedDifference(Veldrune& program, SavedStation* saved) {
    const auto save = SaveStation(program);
    if (!save)
        return u"nothing saved"_s;
    const QByteArray text = StationFileText(save->station);
    if (saved)
        *saved = {std::get<Station>(ReadStation(text)), save->differences};
    const auto [before, after] = ShownAndReopened(program, text);
    for (qsizetype i = 0; i < before.size() && save->differences.isEmpty(); ++i) {
        if (before[i] != after.value(i))
            return u"shown: %1\nreopened: %2\nin the file:\n%3"_s.arg(before[i], after.value(i),
                                                                      QString::fromUtf8(text));
    }
    return {};
}

} // namespace veldrune::test
