#pragma once

#include "station/station.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <variant>
#include <vector>

namespace veldrune {

class Platform;

// A table of stations larger than this is refused before it is read any further.
inline constexpr qsizetype MaxStationTableBytes = qsizetype(64) << 20;

// A station of a table: the line its row starts on (the header is line 1), and the station or
// why its row cannot be one.
struct TableStation {
    int line = 0;
    std::variant<Station, StationError> station;
};

// Why a table cannot be read at all: the line it concerns (0: the file as a whole) and the
// problem, naming the column where it concerns one.
struct TableError {
    int line = 0;
    StationError error;
};

// Reads a table of stations as spreadsheets write it: a header row naming the station file's
// keys (nested keys joined by dots, "duty_cycle.station_cycle_time", as the batch calculator's
// CSV output names its columns), then a row per station; rows with no cell filled are skipped.
// RFC 4180 with commas, or with semicolons, where a value cell may hold a decimal comma
// ("4,5" is typed as 4.5); the separator is the one the header line uses. UTF-8, with or
// without a byte-order mark, or Windows-1252. An empty cell is an absent key. Of the CSV
// output's result columns, the phase fields a user types are typed as they show
// ("phases.initial.time" as initial_time), the others (total_time, ratings.*, ...) ignored. A
// column no station has refuses the table, naming it; a key given twice refuses its row.
std::variant<std::vector<TableStation>, TableError> ReadStationTable(const QByteArray& bytes);

// Reads a table of stations from a file (see ReadStationTable), refusing one that cannot be
// read or holds more than MaxStationTableBytes.
std::variant<std::vector<TableStation>, TableError> ReadStationTableFile(const Platform& platform,
                                                                         const QString& path);

// How messages and outputs name a table's line: "stations.csv:12"; the file alone for line 0.
QString TableLineName(const QString& file, int line);

// A station named on a command line: its file, or its table's line ("stations.csv:12"); the
// station, or why it cannot be had.
struct NamedStation {
    QString name;
    std::variant<Station, StationError> station;
};

// The stations of the files named, in order: a station file's one, or each row of a table
// (see IsStationTable). A table that cannot be read is one station's error, named by the line
// it concerns.
std::vector<NamedStation> ReadStations(const Platform& platform, const QStringList& files);

// Whether a file named on the command line is a table of stations rather than a station file:
// its name ends in ".csv", in any case.
bool IsStationTable(const QString& path);

} // namespace veldrune
