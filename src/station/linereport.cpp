#include "station/linereport.h"

#include "report/printreport.h"
#include "station/output.h"
#include "station/rank.h"
#include "window/twips.h"

#include <QFontMetricsF>

#include <algorithm>

namespace veldrune {

namespace {

// The summary, in twips of a landscape A4 page.
constexpr double PageWidth = 16838;
constexpr double PageHeight = 11906;
constexpr double Margin = 800;
constexpr double RowHeight = 260;
constexpr double FirstRow = 2500;
constexpr double FooterY = PageHeight - 700;
constexpr int RowsPerPage = int((FooterY - 300 - FirstRow) / RowHeight);

struct SummaryColumn {
    const char* title;
    double width;
    bool numeric;
    QString LineRow::*cell;
};
constexpr SummaryColumn Columns[] = {
    {"Station", 2000, false, &LineRow::file},
    {"Description", 2600, false, &LineRow::description},
    {"System", 1000, false, &LineRow::system},
    {"Tool / head", 2300, false, &LineRow::tool},
    {"Total [s]", 1000, true, &LineRow::totalTime},
    {"Cycle [s]", 1000, true, &LineRow::cycleTime},
    {"Peak load [%]", 1300, true, &LineRow::peakLoad},
    {"Safe cycle [s]", 1300, true, &LineRow::safeCycle},
    {"Verdict", 2600, false, &LineRow::verdict},
};

// A font of the report, its size in twips as the page's painter draws in twips.
QFont font(double points, bool bold) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(int(points * TwipsPerPoint));
    f.setBold(bold);
    return f;
}

// Draws a text within a cell of the summary, cut with an ellipsis where it is too long.
void cell(QPainter& painter, const QRectF& box, const QString& text, bool right) {
    const QString shown =
        QFontMetricsF(painter.font()).elidedText(text.trimmed(), Qt::ElideRight, box.width() - 120);
    painter.drawText(box.adjusted(60, 0, -60, 0),
                     Qt::AlignVCenter | (right ? Qt::AlignRight : Qt::AlignLeft), shown);
}

void footer(QPainter& painter, double width, double height, int page, int pages) {
    painter.setFont(font(8, false));
    painter.drawText(QRectF(0, height - 700, width, 300), Qt::AlignCenter,
                     QStringLiteral("%1 / %2").arg(page).arg(pages));
}

void summaryPage(QPainter& painter, const std::vector<LineRow>& rows, std::size_t first,
                 int fitting) {
    painter.setPen(Qt::black);
    painter.setFont(font(14, true));
    painter.drawText(QPointF(Margin, 900), QStringLiteral("LINE SUMMARY"));
    painter.setFont(font(9, false));
    painter.drawText(
        QPointF(Margin, 1300),
        QStringLiteral("%1 stations, %2 fitting their tool; each station's page follows "
                       "in this order")
            .arg(rows.size())
            .arg(fitting));
    painter.setFont(font(8, true));
    double x = Margin;
    for (const SummaryColumn& column : Columns) {
        cell(painter, QRectF(x, FirstRow - 2 * RowHeight, column.width, 2 * RowHeight),
             QString::fromLatin1(column.title), column.numeric);
        x += column.width;
    }
    painter.drawLine(QPointF(Margin, FirstRow), QPointF(x, FirstRow));
    painter.setFont(font(8, false));
    const std::size_t last = std::min(rows.size(), first + RowsPerPage);
    for (std::size_t r = first; r < last; ++r) {
        const double y = FirstRow + double(r - first) * RowHeight;
        x = Margin;
        for (const SummaryColumn& column : Columns) {
            cell(painter, QRectF(x, y, column.width, RowHeight), rows[r].*column.cell,
                 column.numeric);
            x += column.width;
        }
    }
}

} // namespace

LineRow LineRowOf(const QString& file, const StationReport& report) {
    const RankRow cells = RankCells(report);
    LineRow row{file,
                report.description,
                report.system,
                report.angleHead.isEmpty() ? report.tool
                                           : report.tool + QStringLiteral(" / ") + report.angleHead,
                report.totalTime,
                QStringLiteral("-"),
                cells.peakLoad,
                Verdict(report),
                cells.safeCycle};
    if (report.dutyCycle)
        row.cycleTime = report.dutyCycle->stationCycleTime;
    return row;
}

void LineReport::add(LineRow row) {
    m_rows.push_back(std::move(row));
}

std::optional<QString> LineReport::begin(const QString& path) {
    QPdfWriter& writer = m_writer.emplace(path);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setPageOrientation(QPageLayout::Landscape);
    writer.setResolution(600);
    writer.setTitle(QStringLiteral("FASTENING CYCLE TIME CALCULATION"));
    writer.setCreator(QStringLiteral("VELDRUNE"));
    if (!m_painter.begin(&writer))
        return QStringLiteral("cannot be written");
    m_summaryPages = std::max(1, int((m_rows.size() + RowsPerPage - 1) / RowsPerPage));
    const int fitting = int(std::count_if(m_rows.begin(), m_rows.end(),
                                          [](const LineRow& r) { return r.verdict == Fits; }));
    const double twips = writer.resolution() / 1440.0;
    for (int page = 0; page < m_summaryPages; ++page) {
        if (page > 0)
            writer.newPage();
        m_painter.save();
        m_painter.scale(twips, twips);
        summaryPage(m_painter, m_rows, std::size_t(page) * RowsPerPage, fitting);
        footer(m_painter, PageWidth, PageHeight, page + 1, m_summaryPages + int(m_rows.size()));
        m_painter.restore();
    }
    writer.setPageOrientation(QPageLayout::Portrait);
    return std::nullopt;
}

void LineReport::addPage(Veldrune& program) {
    m_writer->newPage();
    DrawPage(m_painter, program.reportContext(false));
    const double twips = m_writer->resolution() / 1440.0;
    m_painter.save();
    m_painter.scale(twips, twips);
    footer(m_painter, PageHeight, PageWidth, m_summaryPages + ++m_pagesDrawn,
           m_summaryPages + int(m_rows.size()));
    m_painter.restore();
}

std::optional<QString> LineReport::end() {
    if (!m_painter.end())
        return QStringLiteral("cannot be written");
    return std::nullopt;
}

} // namespace veldrune
