#include "station/rank.h"

#include "app/veldrune.h"
#include "calc/loadsimulation.h"
#include "calc/safecycle.h"
#include "numbers/numberformat.h"
#include "numbers/textvalue.h"
#include "platform/recordingplatform.h"
#include "station/apply.h"
#include "station/inorder.h"

#include <algorithm>
#include <cmath>

namespace veldrune {

namespace {

double peakLoad(const StationReport& report) {
    return report.dutyCycle ? report.dutyCycle->load.peakLoadPercent : 0;
}

// The tools that the station's system offers, in list order, each once, with their heads.
std::variant<std::vector<ToolChoice>, StationError>
offeredTools(const QString& system, const RankPlace& place, const RunOptions& options) {
    RecordingPlatform platform(place.programFolder, place.workingFolder);
    Veldrune program(platform);
    StartProgram(program, platform, options);
    return ToolsOffered(program, system, platform.messages());
}

} // namespace

QString ShortestSafeCycleTime(Veldrune& program) {
    const Form1& f = program.form();
    return ShortestSafeCycleTime(ReadDutyCycleInputs(f), program.catalogue(), f.Text4(8).text(),
                                 f.TOTAL.text());
}

QString Verdict(const StationReport& report) {
    const auto& d = report.dutyCycle;
    if (!d)
        return LoadNotComputed;
    const double cycle = TextValue(d->stationCycleTime);
    if (cycle != 0 && cycle < TextValue(report.totalTime))
        return QStringLiteral("cycle shorter than the fastening");
    if (d->torqueAboveMaximum)
        return QStringLiteral("torque above the tool's maximum");
    if (!d->load.completed || d->load.simulatedSteps == 0)
        return LoadNotComputed;
    if (d->load.peakLoadPercent > 100)
        return QStringLiteral("overload");
    return report.messages.isEmpty() ? Fits : QStringLiteral("time-limit message");
}

Station RankedRun(const Station& station, const QString& tool, const QString& angleHead) {
    Station run = station;
    run.format = 1;
    run.tool = tool;
    run.angleHead = angleHead;
    return run;
}

bool RankedBefore(const StationReport& a, const StationReport& b) {
    const bool aFits = a.rank->verdict == Fits;
    if (aFits != (b.rank->verdict == Fits))
        return aFits;
    const double timeA = TextValue(a.totalTime);
    const double timeB = TextValue(b.totalTime);
    if (timeA != timeB)
        return timeA < timeB;
    return peakLoad(a) < peakLoad(b);
}

std::variant<std::vector<StationReport>, StationError>
RankStation(const Station& station, const RankPlace& place, const RunOptions& options,
            const RankProgress& progress, int threads) {
    if (!station.session.empty())
        return StationError{QStringLiteral("session"),
                            QStringLiteral("a ranking runs the station's picks with every tool; "
                                           "a session may pick tools of its own")};
    // Every run starts like one program started once.
    std::optional<RecordingPlatform> startPlatform;
    std::optional<Veldrune> started;
    RunOptions runOptions = options;
    runOptions.safeCycle = true;
    if (!options.like) {
        startPlatform.emplace(place.programFolder, place.workingFolder);
        started.emplace(*startPlatform);
        StartProgram(*started, *startPlatform, options);
        runOptions.like = &*started;
        runOptions.likeMessages = startPlatform->messages();
    }
    auto offered = offeredTools(station.system, place, runOptions);
    if (auto* error = std::get_if<StationError>(&offered))
        return *error;
    // The runs stand in for the station's own tool and head, which must still be ones the
    // window takes: a station file naming a tool its system does not offer is refused.
    {
        RecordingPlatform platform(place.programFolder, place.workingFolder);
        RunOptions plain;
        plain.like = runOptions.like;
        plain.likeMessages = runOptions.likeMessages;
        auto own = RunStation(station, platform, plain);
        if (auto* error = std::get_if<StationError>(&own))
            return *error;
    }

    std::vector<Station> runs;
    for (const ToolChoice& choice : std::get<std::vector<ToolChoice>>(offered)) {
        if (station.angleHead.isEmpty() || choice.angleHeads.isEmpty()) {
            runs.push_back(RankedRun(station, choice.tool, {}));
            continue;
        }
        for (const QString& head : choice.angleHeads)
            runs.push_back(RankedRun(station, choice.tool, head));
    }

    std::vector<StationReport> reports;
    std::optional<StationError> refusal;
    using Result = std::variant<StationReport, StationError>;
    InOrder<Result>(
        int(runs.size()), threads,
        [&](int i) -> Result {
            try {
                RecordingPlatform platform(place.programFolder, place.workingFolder);
                auto result = RunStation(runs[std::size_t(i)], platform, runOptions);
                if (auto* report = std::get_if<StationReport>(&result))
                    report->rank = StationReport::Rank{0, Verdict(*report)};
                return result;
            } catch (const std::exception& e) {
                return StationError{
                    {},
                    QStringLiteral("the run with %1 failed: %2")
                        .arg(runs[std::size_t(i)].tool, QString::fromUtf8(e.what()))};
            }
        },
        [&](Result&& result) {
            if (auto* error = std::get_if<StationError>(&result)) {
                refusal = *error;
                return false;
            }
            reports.push_back(std::move(std::get<StationReport>(result)));
            if (progress && !progress(reports.back(), int(reports.size()), int(runs.size()))) {
                refusal = StationError{{}, QStringLiteral("the ranking was stopped")};
                return false;
            }
            return true;
        });
    if (refusal)
        return *refusal;
    std::stable_sort(reports.begin(), reports.end(), RankedBefore);
    for (std::size_t i = 0; i < reports.size(); ++i)
        reports[i].rank->position = int(i) + 1;
    return reports;
}

} // namespace veldrune
