#pragma once

#include "station/runner.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <vector>

namespace veldrune {

// Where a station's fastening torque must lie for a tool to tighten it well, in per cent of
// the tool's maximum as the window shows it: a tool far too large cannot tighten a small
// torque accurately, and one at its very maximum has no reserve.
struct TorqueBand {
    QString low = QStringLiteral("25");
    QString high = QStringLiteral("85");
};
// Reads "LOW:HIGH" (per cent, 0 <= LOW <= HIGH), or nothing when it is not one.
std::optional<TorqueBand> ReadTorqueBand(const QString& text);

// A station as a plan weighs it: its name and its ranked runs (see RankStation).
struct PlanStation {
    QString file;
    struct Run {
        QString tool;
        QString head;
        QString verdict;
        QString totalTime;
        double peakLoadPercent = 0;
        QString peakLoad; // as the ranking's table shows it
        QString torque;   // the fastening torque the run typed, empty without one
        QString maximum;  // the tool's maximum in the station's unit
        QString cycleTime;
        QString safeCycle; // empty where the run has none
    };
    std::vector<Run> runs;
};
PlanStation PlanStationOf(const QString& file, const std::vector<StationReport>& ranked);

// The fewest runs (a tool with its head) that do every station of a line that some run can
// do: a run does a station when it fits it (the ranking's verdict) and types its torque within
// the band of the tool's maximum; a station without a fastening torque is judged on time and
// load alone. Among the smallest sets, the one whose smallest reserve (station cycle time less
// the shortest safe cycle time) is largest, then the least sum of total times; each station
// uses the run of the set with the most reserve for it. Exact (see SolvePlan).
struct LinePlan {
    TorqueBand band;
    struct Run {
        QString tool;
        QString head;
    };
    std::vector<Run> set;
    struct Row {
        QString file;
        Run run;
        QString totalTime;
        double peakLoadPercent = 0;
        QString peakLoad;
        QString reserve;    // seconds, two decimals
        bool torque = true; // false: no fastening torque, planned on time and load alone
    };
    std::vector<Row> stations;
    struct Impossible {
        QString file;
        QStringList reasons; // each reason with the number of runs it excluded
    };
    std::vector<Impossible> impossible;
};
LinePlan PlanLine(const std::vector<PlanStation>& stations, const TorqueBand& band);

// The plan as a person reads it: the set, a row per station, the stations no run can do.
std::string PlanText(const LinePlan& plan);
// {"set": [...], "stations": [...], "impossible": [...]}, indented.
std::string PlanJson(const LinePlan& plan);
// The station rows as a CSV table (RFC 4180).
std::string PlanCsv(const LinePlan& plan);

} // namespace veldrune
