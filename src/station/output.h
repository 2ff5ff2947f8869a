#pragma once

#include "station/runner.h"

#include <QStringList>

#include <iterator>
#include <string>

namespace veldrune {

// The station's results as the JSON document of the station format, indented.
std::string StationJson(const StationReport& report);
// Several stations: a JSON array of their documents.
std::string StationsJson(const std::vector<StationReport>& reports);
// A station's document as it stands in that array, without the separating comma: an array
// of several is "[\n", the elements joined by ",\n", then "\n]\n".
std::string StationJsonElement(const StationReport& report);

// A readable page for one station: the tool and its ratings, a table of the phases, the
// total time and any messages.
std::string StationSummary(const StationReport& report);

// One line for a station among several.
std::string StationLine(const QString& file, const StationReport& report);

// A ranked run as the ranking's table shows it, "-" for what a run without a duty cycle lacks:
// its position, tool, head, total time, peak motor load in per cent, the fastening torque the
// run used and the tool's maximum in the station's unit, the shortest safe cycle time, the
// verdict, and the messages joined by "; ".
struct RankRow {
    int position;
    QString tool;
    QString head;
    QString totalTime;
    QString peakLoad;
    QString torque;
    QString maximum;
    QString safeCycle;
    QString verdict;
    QString messages;
};
RankRow RankCells(const StationReport& report);

// The ranking's columns, for its table and for the window's Compare tools alike: the title,
// whether the torque unit follows it, whether its cells are numbers (right-aligned), and the
// width it takes in the table.
struct RankColumn {
    const char* title;
    bool inUnit;
    bool numeric;
    int width;
};
inline constexpr RankColumn RankColumns[] = {
    {"Rank", false, true, 4},           {"Tool", false, false, 20},
    {"Head", false, false, 6},          {"Total [s]", false, true, 10},
    {"Peak load [%]", false, true, 15}, {"Torque", true, true, 15},
    {"Maximum", true, true, 14},        {"Safe cycle [s]", false, true, 16},
    {"Verdict", false, false, 34},
};
inline constexpr int RankColumnCount = int(std::size(RankColumns));
// The title of a column, with the unit ("NM") where it takes one and there is one.
QString RankTitle(int column, const QString& unit);
// A row's cell in a column.
QString RankCell(const RankRow& row, int column);

// A ranking of runs of one station (see RankStation) as a table: a line per run with its
// cells, then its messages.
std::string RankTable(const QString& file, const std::vector<StationReport>& ranked);

// Stations as a CSV table (RFC 4180): a header row, then a row per station: `file`, then a
// column per value of the station's JSON document, named by its path with dots
// ("phases.initial.time"), the messages joined with " | ". The columns are those of every
// station, in the documents' order; a value a station does not have is an empty cell.
std::string StationsCsv(const QStringList& files, const std::vector<StationReport>& reports);

// The same table a row at a time, for many stations: the cells of each row by their
// columns' names; the columns, merged row by row (a column new to the table goes after the
// column before it in that row); the header; and a row laid out in the columns.
using CsvCells = std::vector<std::pair<std::string, std::string>>;
CsvCells StationCells(const StationReport& report);
void MergeColumns(std::vector<std::string>& columns, const CsvCells& cells);
std::string CsvHeader(const std::vector<std::string>& columns);
std::string CsvRow(const QString& file, const CsvCells& cells,
                   const std::vector<std::string>& columns);

// The header of the duty-cycle trace.
inline constexpr char TraceHeader[] =
    "step,time_s,phase_s,ramp_s,torque_percent,load_percent,x,torque_y,load_y\n";

// The trace: the header, then a line for each simulated step (none without a duty cycle).
std::string DutyCycleTrace(const StationReport& report);

} // namespace veldrune
