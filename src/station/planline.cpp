#include "station/planline.h"

#include "numbers/numberformat.h"
#include "station/lineplan.h"
#include "station/output.h"
#include "station/rank.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <iomanip>
#include <limits>
#include <map>
#include <sstream>

namespace veldrune {

namespace {

using Json = nlohmann::ordered_json;

std::string str(const QString& text) {
    return text.toStdString();
}

// A decimal text as the window shows it ("  8.78", "-1.5") in millionths, when it is one and
// fits: the band, the torques, the maxima and the times are compared exactly.
std::optional<std::int64_t> millionths(const QString& text) {
    const std::string s = text.trimmed().toStdString();
    std::size_t at = 0;
    const bool negative = at < s.size() && s[at] == '-';
    if (negative || (at < s.size() && s[at] == '+'))
        ++at;
    std::int64_t value = 0;
    int integerDigits = 0;
    for (; at < s.size() && s[at] >= '0' && s[at] <= '9'; ++at, ++integerDigits) {
        if (integerDigits >= 12)
            return std::nullopt;
        value = value * 10 + (s[at] - '0');
    }
    int decimals = 0;
    if (at < s.size() && s[at] == '.') {
        for (++at; at < s.size() && s[at] >= '0' && s[at] <= '9'; ++at, ++decimals) {
            if (decimals >= 6)
                return std::nullopt;
            value = value * 10 + (s[at] - '0');
        }
    }
    if (at != s.size() || integerDigits + decimals == 0)
        return std::nullopt;
    for (; decimals < 6; ++decimals)
        value *= 10;
    return negative ? -value : value;
}

// The product of two numbers below 2^63, exactly, for comparing.
struct Wide {
    std::uint64_t high;
    std::uint64_t low;
    auto operator<=>(const Wide&) const = default;
};
Wide multiply(std::uint64_t a, std::uint64_t b) {
    const std::uint64_t mask = 0xffffffffu;
    const std::uint64_t ll = (a & mask) * (b & mask);
    const std::uint64_t lh = (a & mask) * (b >> 32);
    const std::uint64_t hl = (a >> 32) * (b & mask);
    const std::uint64_t middle = (ll >> 32) + (lh & mask) + (hl & mask);
    return {(a >> 32) * (b >> 32) + (lh >> 32) + (hl >> 32) + (middle >> 32),
            (middle << 32) | (ll & mask)};
}

bool inBand(const QString& torque, const QString& maximum, const TorqueBand& band) {
    const auto t = millionths(torque);
    const auto m = millionths(maximum);
    const auto low = millionths(band.low);
    const auto high = millionths(band.high);
    if (!t || !m || !low || !high || *t < 0 || *m <= 0)
        return false;
    // torque / maximum * 100 within [low, high], all in millionths.
    const Wide scaled = multiply(std::uint64_t(*t), 100'000'000u);
    return multiply(std::uint64_t(*low), std::uint64_t(*m)) <= scaled &&
           scaled <= multiply(std::uint64_t(*high), std::uint64_t(*m));
}

// A station cycle time beyond what millionths hold has more reserve than any other.
constexpr std::int64_t UnboundedReserve = std::numeric_limits<std::int64_t>::max() / 4;

std::optional<std::int64_t> reserveOf(const PlanStation::Run& run) {
    const auto safe = millionths(run.safeCycle);
    if (!safe)
        return std::nullopt;
    const auto cycle = millionths(run.cycleTime);
    return cycle ? *cycle - *safe : UnboundedReserve;
}

QString seconds(std::int64_t millionths, const PlanStation::Run& run) {
    if (millionths == UnboundedReserve)
        return QString::fromStdString(
            DecimalText(run.cycleTime.trimmed().toDouble() - run.safeCycle.toDouble(),
                        std::chars_format::fixed, 2));
    const std::int64_t hundredths = millionths / 10000;
    const std::int64_t whole = (hundredths < 0 ? -hundredths : hundredths);
    return QStringLiteral("%1%2.%3")
        .arg(hundredths < 0 ? QStringLiteral("-") : QString())
        .arg(whole / 100)
        .arg(whole % 100, 2, 10, QChar(u'0'));
}

Json significant(double value) {
    return Significant(value, 9);
}

QString runName(const LinePlan::Run& run) {
    return run.head.isEmpty() ? run.tool : run.tool + QStringLiteral(" with ") + run.head;
}

constexpr char NoTorque[] = "no fastening torque: planned on time and load alone";

} // namespace

std::optional<TorqueBand> ReadTorqueBand(const QString& text) {
    const QStringList parts = text.split(u':');
    if (parts.size() != 2)
        return std::nullopt;
    TorqueBand band{parts[0].trimmed(), parts[1].trimmed()};
    const auto low = millionths(band.low);
    const auto high = millionths(band.high);
    if (!low || !high || *low < 0 || *low > *high)
        return std::nullopt;
    return band;
}

PlanStation PlanStationOf(const QString& file, const std::vector<StationReport>& ranked) {
    PlanStation station{file, {}};
    for (const StationReport& report : ranked) {
        const RankRow row = RankCells(report);
        PlanStation::Run run{report.tool, report.angleHead,
                             row.verdict, report.totalTime,
                             0,           row.peakLoad,
                             {},          {},
                             {},          {}};
        if (const auto& d = report.dutyCycle) {
            run.peakLoadPercent = d->load.peakLoadPercent;
            run.torque = d->fasteningTorque.trimmed();
            run.maximum = d->torqueMaximum;
            run.cycleTime = d->stationCycleTime;
            run.safeCycle = d->shortestSafeCycleTime.value_or(QString());
        }
        station.runs.push_back(std::move(run));
    }
    return station;
}

LinePlan PlanLine(const std::vector<PlanStation>& stations, const TorqueBand& band) {
    LinePlan plan;
    plan.band = band;
    std::map<std::pair<QString, QString>, int> index;
    std::vector<LinePlan::Run> runs;
    PlanProblem problem;
    // Per station: where each option came from among its ranked runs.
    std::vector<std::vector<const PlanStation::Run*>> sources;
    const QString outside = QStringLiteral("torque outside the band %1 % to %2 % of the tool's "
                                           "maximum")
                                .arg(band.low, band.high);
    for (const PlanStation& station : stations) {
        auto& options = problem.stations.emplace_back();
        auto& from = sources.emplace_back();
        std::vector<std::pair<QString, int>> excluded; // each reason, with its count of runs
        const auto exclude = [&](const QString& reason) {
            auto found = std::find_if(excluded.begin(), excluded.end(),
                                      [&](const auto& e) { return e.first == reason; });
            if (found == excluded.end())
                excluded.emplace_back(reason, 1);
            else
                ++found->second;
        };
        for (const PlanStation::Run& run : station.runs) {
            if (run.verdict != Fits) {
                exclude(run.verdict);
                continue;
            }
            const auto reserve = reserveOf(run);
            if (!reserve) {
                exclude(QStringLiteral("no shortest safe cycle time"));
                continue;
            }
            if (!run.torque.isEmpty() && !inBand(run.torque, run.maximum, band)) {
                exclude(outside);
                continue;
            }
            const auto [at, added] = index.try_emplace({run.tool, run.head}, int(runs.size()));
            if (added)
                runs.push_back({run.tool, run.head});
            options.push_back({at->second, *reserve, millionths(run.totalTime).value_or(0)});
            from.push_back(&run);
        }
        if (options.empty()) {
            LinePlan::Impossible impossible{station.file, {}};
            for (const auto& [reason, count] : excluded)
                impossible.reasons.append(QStringLiteral("%1 (%2 %3)")
                                              .arg(reason)
                                              .arg(count)
                                              .arg(QLatin1String(count == 1 ? "run" : "runs")));
            if (station.runs.empty())
                impossible.reasons.append(QStringLiteral("no tool to run"));
            plan.impossible.push_back(std::move(impossible));
        }
    }
    problem.runs = int(runs.size());
    const PlanSolution solution = SolvePlan(problem);
    for (const int run : solution.set)
        plan.set.push_back(runs[std::size_t(run)]);
    std::sort(plan.set.begin(), plan.set.end(), [](const auto& a, const auto& b) {
        return std::pair(a.tool, a.head) < std::pair(b.tool, b.head);
    });
    for (std::size_t s = 0; s < stations.size(); ++s) {
        const int assigned = solution.assigned[s];
        if (assigned < 0)
            continue;
        const auto& options = problem.stations[s];
        const auto option = std::find_if(options.begin(), options.end(),
                                         [&](const PlanOption& o) { return o.run == assigned; });
        const PlanStation::Run& run = *sources[s][std::size_t(option - options.begin())];
        plan.stations.push_back({stations[s].file, runs[std::size_t(assigned)], run.totalTime,
                                 run.peakLoadPercent, run.peakLoad, seconds(option->reserve, run),
                                 !run.torque.isEmpty()});
    }
    return plan;
}

std::string PlanText(const LinePlan& plan) {
    std::ostringstream out;
    const std::size_t count = plan.stations.size() + plan.impossible.size();
    out << "Plan for " << count << " station" << (count == 1 ? "" : "s") << ": " << plan.set.size()
        << " run" << (plan.set.size() == 1 ? "" : "s") << ", torque band " << str(plan.band.low)
        << " % to " << str(plan.band.high) << " % of the tool's maximum\n";
    for (const LinePlan::Run& run : plan.set)
        out << "  " << str(runName(run)) << '\n';
    int width = 7;
    for (const auto& row : plan.stations)
        width = std::max(width, int(row.file.size()) + 2);
    if (!plan.stations.empty()) {
        out << '\n'
            << std::left << std::setw(width) << "Station" << std::setw(20) << "Tool" << std::setw(6)
            << "Head" << std::right << std::setw(10) << "Total [s]" << std::setw(15)
            << "Peak load [%]" << std::setw(13) << "Reserve [s]" << '\n';
        for (const auto& row : plan.stations) {
            out << std::left << std::setw(width) << str(row.file) << std::setw(20)
                << str(row.run.tool) << std::setw(6) << str(row.run.head) << std::right
                << std::setw(10) << str(row.totalTime) << std::setw(15) << str(row.peakLoad)
                << std::setw(13) << str(row.reserve);
            if (!row.torque)
                out << "  (" << NoTorque << ')';
            out << '\n';
        }
    }
    if (!plan.impossible.empty()) {
        out << "\nNo run can do:\n";
        for (const auto& impossible : plan.impossible)
            out << "  " << str(impossible.file) << ": " << str(impossible.reasons.join(u"; "))
                << '\n';
    }
    return out.str();
}

std::string PlanJson(const LinePlan& plan) {
    Json set = Json::array();
    for (const LinePlan::Run& run : plan.set)
        set.push_back({{"tool", str(run.tool)}, {"angle_head", str(run.head)}});
    Json stations = Json::array();
    for (const auto& row : plan.stations) {
        Json station = {{"file", str(row.file)},
                        {"tool", str(row.run.tool)},
                        {"angle_head", str(row.run.head)},
                        {"total_time", str(row.totalTime)},
                        {"peak_load_percent", significant(row.peakLoadPercent)},
                        {"reserve", str(row.reserve)}};
        if (!row.torque)
            station["note"] = NoTorque;
        stations.push_back(std::move(station));
    }
    Json impossible = Json::array();
    for (const auto& station : plan.impossible) {
        Json reasons = Json::array();
        for (const QString& reason : station.reasons)
            reasons.push_back(str(reason));
        impossible.push_back({{"file", str(station.file)}, {"reasons", std::move(reasons)}});
    }
    const Json json = {{"set", std::move(set)},
                       {"stations", std::move(stations)},
                       {"impossible", std::move(impossible)}};
    return json.dump(2) + '\n';
}

std::string PlanCsv(const LinePlan& plan) {
    const std::vector<std::string> columns = {
        "tool", "angle_head", "total_time", "peak_load_percent", "reserve", "note"};
    std::string csv = CsvHeader(columns);
    for (const auto& row : plan.stations) {
        const CsvCells cells = {{"tool", str(row.run.tool)},
                                {"angle_head", str(row.run.head)},
                                {"total_time", str(row.totalTime)},
                                {"peak_load_percent", significant(row.peakLoadPercent).dump()},
                                {"reserve", str(row.reserve)},
                                {"note", row.torque ? std::string() : std::string(NoTorque)}};
        csv += CsvRow(row.file, cells, columns);
    }
    return csv;
}

} // namespace veldrune
