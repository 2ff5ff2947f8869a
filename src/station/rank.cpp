#include "station/rank.h"

#include "app/veldrune.h"
#include "calc/loadsimulation.h"
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

// The load does not fall steadily with the cycle time (the steps of the simulation make it
// jump), so every one is tried. Typing the cycle time changes nothing else the simulation reads.
QString ShortestSafeCycleTime(Veldrune& program) {
    const Form1& f = program.form();
    DutyCycleInputs inputs = ReadDutyCycleInputs(f);
    const auto hundredths = [](const QString& text) { return std::llround(TextValue(text) * 100); };
    const long long own = hundredths(f.Text4(8).text());
    const long long total = std::max(hundredths(f.TOTAL.text()), 1LL);
    long long safe = own;
    for (long long cycle = own - 10; cycle >= total; cycle -= 10) {
        inputs.cycleTime = TextValue(FormatFixed(double(cycle) / 100, 2));
        const LoadSimulation load = SimulateLoad(inputs, program.catalogue(), false);
        if (!load.completed || load.peakLoadPercent > 100)
            break;
        safe = cycle;
    }
    return FormatFixed(double(safe) / 100, 2);
}

QString Verdict(const StationReport& report) {
    if (const auto& d = report.dutyCycle) {
        if (d->torqueAboveMaximum)
            return QStringLiteral("torque above the tool's maximum");
        if (!d->load.completed)
            return QStringLiteral("load not computed");
        if (d->load.peakLoadPercent > 100)
            return QStringLiteral("overload");
    }
    return report.messages.isEmpty() ? Fits : QStringLiteral("time-limit message");
}

std::variant<std::vector<StationReport>, StationError>
RankStation(const Station& station, const RankPlace& place, const RunOptions& options,
            const std::function<void(int done, int total)>& progress, int threads) {
    if (!station.session.empty())
        return StationError{QStringLiteral("session"),
                            QStringLiteral("a ranking runs the station's picks with every tool; "
                                           "a session may pick tools of its own")};
    // Every run starts like one program started once.
    RecordingPlatform startPlatform(place.programFolder, place.workingFolder);
    Veldrune started(startPlatform);
    StartProgram(started, startPlatform, options);
    RunOptions runOptions = options;
    runOptions.safeCycle = true;
    runOptions.like = &started;
    runOptions.likeMessages = startPlatform.messages();
    auto offered = offeredTools(station.system, place, runOptions);
    if (auto* error = std::get_if<StationError>(&offered))
        return *error;

    std::vector<Station> runs;
    for (const ToolChoice& choice : std::get<std::vector<ToolChoice>>(offered)) {
        // Each run types the station's values after picking its own tool, as a person would,
        // so that the torque is formatted for that tool and cut to its maximum.
        Station run = station;
        run.format = 1;
        run.tool = choice.tool;
        run.angleHead.clear();
        if (station.angleHead.isEmpty() || choice.angleHeads.isEmpty()) {
            runs.push_back(run);
            continue;
        }
        for (const QString& head : choice.angleHeads) {
            run.angleHead = head;
            runs.push_back(run);
        }
    }

    std::vector<StationReport> reports;
    std::optional<StationError> refusal;
    using Result = std::variant<StationReport, StationError>;
    InOrder<Result>(
        int(runs.size()), threads,
        [&](int i) {
            RecordingPlatform platform(place.programFolder, place.workingFolder);
            return RunStation(runs[std::size_t(i)], platform, runOptions);
        },
        [&](Result&& result) {
            if (auto* error = std::get_if<StationError>(&result)) {
                refusal = *error;
                return false;
            }
            reports.push_back(std::move(std::get<StationReport>(result)));
            if (progress)
                progress(int(reports.size()), int(runs.size()));
            return true;
        });
    if (refusal)
        return *refusal;
    for (StationReport& report : reports)
        report.rank = StationReport::Rank{0, Verdict(report)};
    std::stable_sort(reports.begin(), reports.end(),
                     [](const StationReport& a, const StationReport& b) {
                         const bool aFits = a.rank->verdict == Fits;
                         if (aFits != (b.rank->verdict == Fits))
                             return aFits;
                         const double timeA = TextValue(a.totalTime);
                         const double timeB = TextValue(b.totalTime);
                         if (timeA != timeB)
                             return timeA < timeB;
                         return peakLoad(a) < peakLoad(b);
                     });
    for (std::size_t i = 0; i < reports.size(); ++i)
        reports[i].rank->position = int(i) + 1;
    return reports;
}

} // namespace veldrune
