#pragma once

#include "station/runner.h"

#include <QPainter>
#include <QPdfWriter>
#include <QString>

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
// station's page as PRINT OUT prints it, in the order of the rows; every page numbered "n / N"
// in its footer. The rows are added first; the pages are then drawn one at a time, from each
// station's program as it comes, so that no more than one page is held.
class LineReport {
public:
    void add(LineRow row);

    // Opens the file and writes the summary pages; returns why it could not, or nothing.
    std::optional<QString> begin(const QString& path);
    // The page of the next row's station, drawn from the program it was applied to.
    void addPage(Veldrune& program);
    // Closes the file; returns why it could not be written, or nothing.
    std::optional<QString> end();

private:
    std::vector<LineRow> m_rows;
    std::optional<QPdfWriter> m_writer;
    QPainter m_painter;
    int m_summaryPages = 0;
    int m_pagesDrawn = 0;
};

} // namespace veldrune
