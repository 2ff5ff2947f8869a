#include "station/runner.h"

#include "app/veldrune.h"
#include "input/torqueunits.h"
#include "numbers/textvalue.h"
#include "platform/recordingplatform.h"
#include "report/printreport.h"
#include "station/apply.h"
#include "station/rank.h"

#include <QPdfWriter>

namespace veldrune {

namespace {

StationReport report(Veldrune& program, const Station& station, const QStringList& messages,
                     const RunOptions& options) {
    Form1& f = program.form();
    StationReport r;
    r.description = f.Text5.text();
    r.system = f.SYSTEM.text();
    r.tool = f.TOOLLIST.text().trimmed();
    r.angleHead = f.ANGLE.visible() ? f.ANGLE.text().trimmed() : QString();
    r.maxSpeed = f.Label3(0).text();
    r.minSpeed = f.Label3(1).text();
    for (int u = 0; u < f.TQUNIT.listCount(); ++u)
        r.maxTorque.emplace_back(f.TQUNIT.entry(u), f.Label4(u).text());
    if (program.selection().HeadRatio != 1.0f)
        r.gearRatio = f.Label17.text();
    r.boltLengthMode = f.Option1(0).value();
    r.boltLength = f.Text1.text();
    r.boltPitch = f.Text2.text();
    r.revolutions = f.Text3.text();
    r.initial = {f.Text4(0).text(), f.Text4(1).text(), f.Label12(0).text(), {}};
    r.freerun = {f.Text4(2).text(), f.Text4(3).text(), f.Label12(1).text(), {}};
    r.tightening = {f.Text4(4).text(), f.Text4(6).text(), {}, f.Text4(5).text()};
    r.communicationTime = f.Text4(7).text();
    r.totalTime = f.TOTAL.text();
    for (const QString& message : messages) {
        if (!r.messages.contains(message))
            r.messages.append(message);
    }
    if (program.flags().LoadSectionShown) {
        StationReport::DutyCycle& d = r.dutyCycle.emplace(StationReport::DutyCycle{});
        d.torqueUnit = f.TQUNIT.text();
        d.stationCycleTime = f.Text4(8).text();
        d.fasteningTorque = f.Text4(9).text();
        d.prevailingTorque = f.PREVILING.value();
        d.torqueRecoveryTime = f.Text4(10).text();
        d.periodMinutes = f.DURR.text();
        d.load = SimulateLoad(ReadDutyCycleInputs(f), program.catalogue(), options.steps);
        for (int u = 0; u < UnitCount; ++u) {
            if (f.TQUNIT.text() == UnitNames[u])
                d.torqueMaximum = f.Label4(u).text().trimmed();
        }
        const QString asked =
            station.dutyCycle ? station.dutyCycle->fasteningTorque.value_or(QString()) : QString();
        d.torqueAboveMaximum =
            TorqueAboveMaximum(f, program.catalogue().Tools, program.selection(), asked);
        if (options.safeCycle && Verdict(r) == Fits)
            d.shortestSafeCycleTime = ShortestSafeCycleTime(program);
    }
    r.chart = f.Picture2.picture();
    return r;
}

} // namespace

QString WriteReport(Veldrune& program, const QString& file) {
    QPdfWriter writer(file);
    return WriteReport(program, writer);
}

QString WriteReport(Veldrune& program, QPdfWriter& writer) {
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setResolution(600);
    writer.setTitle(QStringLiteral("FASTENING CYCLE TIME CALCULATION"));
    writer.setCreator(QStringLiteral("VELDRUNE"));
    return PrintPage(writer, program.reportContext(false));
}

void StartProgram(Veldrune& program, RecordingPlatform& platform, const RunOptions& options) {
    program.form().setKeepsPictures(options.chart);
    if (options.like) {
        for (const QString& message : options.likeMessages)
            platform.showMessage(message, MessageIcon::Critical, ProgramTitle);
        program.startLike(*options.like);
        return;
    }
    if (!options.catalogueFile.isEmpty())
        program.setCatalogueFile(options.catalogueFile);
    program.startUp({});
}

std::variant<StationReport, StationError>
RunStation(const Station& station, RecordingPlatform& platform, const RunOptions& options) {
    Veldrune program(platform);
    StartProgram(program, platform, options);
    if (auto refusal = ApplyStation(program, station, platform.messages()))
        return *refusal;
    StationReport r = report(program, station, platform.messages(), options);
    if (!options.report.isEmpty())
        r.reportFailure = WriteReport(program, options.report);
    return r;
}

std::variant<std::unique_ptr<AppliedStation>, StationError>
ApplyStationAlone(const Station& station, const QString& programFolder,
                  const QString& workingFolder, const RunOptions& options) {
    auto applied = std::make_unique<AppliedStation>(programFolder, workingFolder);
    StartProgram(applied->program, applied->platform, options);
    if (auto refusal = ApplyStation(applied->program, station, applied->platform.messages()))
        return *refusal;
    return applied;
}

} // namespace veldrune
