#include "station/rank.h"

#include "numbers/textvalue.h"
#include "platform/recordingplatform.h"

#include <algorithm>

namespace veldrune {

namespace {

double peakLoad(const StationReport& report) {
    return report.dutyCycle ? report.dutyCycle->load.peakLoadPercent : 0;
}

} // namespace

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
            const std::function<void(int done, int total)>& progress) {
    if (!station.session.empty())
        return StationError{QStringLiteral("session"),
                            QStringLiteral("a ranking runs the station's picks with every tool; "
                                           "a session may pick tools of its own")};
    RunOptions runOptions = options;
    runOptions.safeCycle = true;
    RecordingPlatform listing(place.programFolder, place.workingFolder);
    auto offered = OfferedTools(station.system, listing, options);
    if (auto* error = std::get_if<StationError>(&offered))
        return *error;

    std::vector<Station> runs;
    for (const ToolChoice& choice : std::get<std::vector<ToolChoice>>(offered)) {
        Station run = station;
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
    for (const Station& run : runs) {
        RecordingPlatform platform(place.programFolder, place.workingFolder);
        auto result = RunStation(run, platform, runOptions);
        if (auto* error = std::get_if<StationError>(&result))
            return *error;
        reports.push_back(std::move(std::get<StationReport>(result)));
        if (progress)
            progress(int(reports.size()), int(runs.size()));
    }
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
