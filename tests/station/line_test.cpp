// A line of twelve stations, as JSON files and as a spreadsheet saved it in English and German
// settings: the same stations, their report's summary as the ranking judges each station's own
// tool, and a plan no other set of runs beats.

#include "station/linereport.h"
#include "station/output.h"
#include "station/planline.h"
#include "station/rank.h"
#include "station/stationtable.h"

#include "numbers/textvalue.h"
#include "platform/recordingplatform.h"
#include "support/qtprinters.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

const QString Line = QStringLiteral(VELDRUNE_TEST_DATA "/line");
const QString Shipped = QStringLiteral(VELDRUNE_SHIPPED_DATA);

std::vector<NamedStation> jsonStations() {
    QStringList files;
    for (int i = 1; i <= 12; ++i)
        files.append(Line + u"/station-%1.json"_s.arg(i, 2, 10, QChar(u'0')));
    return ReadStations(RecordingPlatform(Line, Line), files);
}

TEST(StationTable, ASpreadsheetsLineReadsAsItsStationFiles) {
    const auto expected = jsonStations();
    const RecordingPlatform files(Line, Line);
    for (const QString& table : {u"stations-en.csv"_s, u"stations-de.csv"_s}) {
        const auto rows = ReadStations(files, {Line + u'/' + table});
        ASSERT_EQ(rows.size(), expected.size());
        for (std::size_t i = 0; i < rows.size(); ++i) {
            SCOPED_TRACE(rows[i].name.toStdString());
            EXPECT_TRUE(rows[i].name.endsWith(u':' + QString::number(i + 2)));
            RecordingPlatform a(Shipped, Line), b(Shipped, Line);
            const auto fromTable = RunStation(std::get<Station>(rows[i].station), a);
            const auto fromFile = RunStation(std::get<Station>(expected[i].station), b);
            const auto& report = std::get<StationReport>(fromTable);
            EXPECT_EQ(StationJson(report), StationJson(std::get<StationReport>(fromFile)));
            EXPECT_EQ(report.description, std::get<Station>(expected[i].station).description);
        }
    }
}

// What a table's cells become, and the table's or the row's error where there is one.
TEST(StationTable, ReadsWhatSpreadsheetsWriteAndNamesWhatItCannot) {
    const QByteArray head = "system,tool,duty_cycle.fastening_torque";
    const struct {
        QByteArray csv;
        QString torque; // of the last station read
        QString error = {};
        int line = 0;
    } cases[] = {
        {head + "\r\nMVC4800,KRV-140QH1,4.5\r\n", u"4.5"_s},
        {"\xEF\xBB\xBF" + head + "\nMVC4800,KRV-140QH1,\"4,5\"\n", u"4,5"_s},
        {"system;tool;duty_cycle.fastening_torque;total_time\n;;;\nMVC4800;KRV-140QH1;4,5;9\n",
         u"4.5"_s},
        {"system;tool;description;duty_cycle.fastening_torque\nMVC4800;KRV-140QH1;\"a;"
         "\n\"\"b\"\"\";"
         "1e3\nMVC4800;\"KRV-140QH1\";;-0,25\n",
         u"-0.25"_s},
        {head + ",colour\n", {}, u"key \"colour\": unknown column"_s, 1},
        {"system,tool,system\n", {}, u"named twice"_s, 1},
        {"system,tool,initial_time,phases.initial.time\nMVC4800,KRV-140QH1,1,2\n",
         {},
         u"given twice, also as \"phases.initial.time\""_s,
         2},
        {head + "\nMVC4800,KRV-140QH1,\"4.5\n\n", {}, u"quoted cell is not closed"_s, 2},
        {head + "\nMVC4800,KRV-140QH1,4.5,extra\n", {}, u"column 4 has a value"_s, 2},
        {"system,tool,duty_cycle.prevailing_torque\n\nMVC4800,KRV-140QH1,perhaps\n",
         {},
         u"must be true or false"_s,
         3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.csv.toStdString());
        const auto read = ReadStationTable(c.csv);
        if (const auto* error = std::get_if<TableError>(&read)) {
            EXPECT_EQ(error->line, c.line);
            EXPECT_TRUE(StationErrorLine({}, error->error).contains(c.error))
                << StationErrorLine({}, error->error).toStdString();
            continue;
        }
        const auto& rows = std::get<std::vector<TableStation>>(read);
        ASSERT_FALSE(rows.empty());
        if (const auto* error = std::get_if<StationError>(&rows.back().station)) {
            EXPECT_EQ(rows.back().line, c.line);
            EXPECT_TRUE(error->message.contains(c.error)) << error->message.toStdString();
            continue;
        }
        EXPECT_TRUE(c.error.isEmpty());
        EXPECT_EQ(std::get<Station>(rows.back().station).dutyCycle->fasteningTorque, c.torque);
    }
}

struct Ranked {
    std::vector<StationReport> runs;
    PlanStation planned;
};

std::vector<Ranked> rankedLine() {
    QTemporaryDir working;
    const RankPlace place{QStringLiteral(VELDRUNE_SHIPPED_DATA), working.path()};
    std::vector<Ranked> line;
    for (const NamedStation& named : jsonStations()) {
        auto runs = std::get<std::vector<StationReport>>(
            RankStation(std::get<Station>(named.station), place, {}, {}, 2));
        line.push_back({runs, PlanStationOf(named.name, runs)});
    }
    return line;
}

// The summary's row of each station is the ranking's row of the station's own tool and head.
TEST(LineReport, TheSummaryJudgesEachStationAsTheRankingDoesItsOwnTool) {
    const auto line = rankedLine();
    const auto stations = jsonStations();
    for (std::size_t s = 0; s < stations.size(); ++s) {
        RecordingPlatform platform(Shipped, Line);
        RunOptions options;
        options.safeCycle = true;
        const LineRow row =
            LineRowOf({}, std::get<StationReport>(RunStation(std::get<Station>(stations[s].station),
                                                             platform, options)));
        const auto own = std::find_if(line[s].runs.begin(), line[s].runs.end(), [&](auto& run) {
            return run.tool + (run.angleHead.isEmpty() ? u""_s : u" / "_s + run.angleHead) ==
                   row.tool;
        });
        ASSERT_NE(own, line[s].runs.end()) << row.tool.toStdString();
        const RankRow ranked = RankCells(*own);
        EXPECT_EQ(
            QStringList({row.totalTime, row.peakLoad, row.verdict, row.safeCycle}),
            QStringList({ranked.totalTime, ranked.peakLoad, ranked.verdict, ranked.safeCycle}));
    }
}

// The plan against every set of runs: none smaller does the line, none as small has a larger
// smallest reserve or, with it, a shorter sum of totals; every station's run fits it within
// the band, judged here in doubles.
TEST(PlanLine, NoOtherSetOfRunsDoesTheLineBetter) {
    const auto line = rankedLine();
    std::vector<PlanStation> stations;
    for (const Ranked& ranked : line)
        stations.push_back(ranked.planned);
    const LinePlan plan = PlanLine(stations, {});
    std::map<QString, int> index;
    // Per station: run -> (reserve, total) of the runs that do it.
    std::vector<std::map<int, std::pair<double, double>>> can(stations.size());
    for (std::size_t s = 0; s < stations.size(); ++s) {
        for (const PlanStation::Run& run : stations[s].runs) {
            const double share = TextValue(run.torque) / TextValue(run.maximum) * 100;
            if (run.verdict != Fits || (!run.torque.isEmpty() && (share < 25 || share > 85)))
                continue;
            const int r =
                index.try_emplace(run.tool + u'/' + run.head, int(index.size())).first->second;
            can[s][r] = {TextValue(run.cycleTime) - TextValue(run.safeCycle),
                         TextValue(run.totalTime)};
        }
    }
    ASSERT_LE(index.size(), 30u);
    std::size_t smallest = index.size() + 1;
    std::pair<double, double> best{-1e300, 0}; // largest reserve, then least -total
    for (std::uint32_t set = 0; set < (1u << index.size()); ++set) {
        const std::size_t size = std::size_t(std::popcount(set));
        if (size > smallest)
            continue;
        double reserve = 1e300, total = 0;
        bool all = true;
        for (const auto& options : can) {
            if (options.empty())
                continue;
            std::pair<double, double> mine{-1e300, 0};
            for (const auto& [r, value] : options) {
                if ((set >> r) & 1u)
                    mine = std::max(mine, std::pair(value.first, -value.second));
            }
            all = all && mine.first > -1e300;
            reserve = std::min(reserve, mine.first);
            total -= mine.second;
        }
        if (!all)
            continue;
        if (size < smallest)
            best = {-1e300, 0};
        smallest = size;
        best = std::max(best, std::pair(reserve, -total));
    }
    EXPECT_EQ(plan.set.size(), smallest);
    double reserve = 1e300, total = 0;
    for (const auto& row : plan.stations) {
        reserve = std::min(reserve, TextValue(row.reserve));
        total += TextValue(row.totalTime);
        const auto s = std::size_t(
            std::find_if(stations.begin(), stations.end(),
                         [&](const PlanStation& station) { return station.file == row.file; }) -
            stations.begin());
        EXPECT_TRUE(can[s].count(index.at(row.run.tool + u'/' + row.run.head)))
            << row.file.toStdString() << " uses a run outside its band";
    }
    EXPECT_NEAR(reserve, best.first, 1e-9);
    EXPECT_NEAR(total, -best.second, 1e-9);
    ASSERT_EQ(plan.impossible.size(), 1u);
    EXPECT_EQ(plan.impossible[0].reasons,
              QStringList{u"torque above the tool's maximum (16 runs)"_s});
}

} // namespace
} // namespace veldrune
