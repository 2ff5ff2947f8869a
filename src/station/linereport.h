#pragma once

#include "station/runner.h"

#include <QDataStream>
#include <QString>
#include <QTemporaryFile>

#include <optional>
#include <vector>

namespace veldrune {

// A station's row in the summary of a line's report: the ranking's verdict and shortest safe
// cycle time for the station's own tool ("-" where a run has none).
struct LineRow {
    QString file;
    QString description;
    QString system;
    QString tool; // with its head: "KRV-110QM1-05 / RH1"
    QString totalTime;
    QString cycleTime;
    QString peakLoad;
    QString verdict;
    QString safeCycle;
};
LineRow LineRowOf(const QString& file, const StationReport& report);

// The report of a line in one PDF file: summary pages with a row per station, then each
// station's page as PRINT OUT prints it (RunOptions::page), in the order added; every page
// numbered "n / N" in its footer. The pages wait in a temporary file, not in memory.
class LineReport {
public:
    LineReport();

    // Why the pages cannot be kept, or nothing.
    std::optional<QString> failure() const;

    void add(const QString& file, const StationReport& report);

    // Writes the report; returns why it could not, or nothing.
    std::optional<QString> write(const QString& path);

private:
    std::vector<LineRow> m_rows;
    QTemporaryFile m_pages;
    QDataStream m_stream;
};

} // namespace veldrune
