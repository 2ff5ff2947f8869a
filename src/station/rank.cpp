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

bool Disqualified(const StationReport& report) {
    return !report.messages.isEmpty() || peakLoad(report) > 100;
}

std::variant<std::vector<StationReport>, StationError>
RankStation(const Station& station, const RankPlace& place, const RunOptions& options,
            const std::function<void(int done, int total)>& progress) {
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
        auto result = RunStation(run, platform, options);
        if (auto* error = std::get_if<StationError>(&result))
            return *error;
        reports.push_back(std::move(std::get<StationReport>(result)));
        if (progress)
            progress(int(reports.size()), int(runs.size()));
    }
    std::stable_sort(reports.begin(), reports.end(),
                     [](const StationReport& a, const StationReport& b) {
                         if (Disqualified(a) != Disqualified(b))
                             return Disqualified(b);
                         const double timeA = TextValue(a.totalTime);
                         const double timeB = TextValue(b.totalTime);
                         if (timeA != timeB)
                             return timeA < timeB;
                         return peakLoad(a) < peakLoad(b);
                     });
    return reports;
}

} // namespace veldrune
