#include "report/printreport.h"

#include "calc/loadchart.h"
#include "numbers/textvalue.h"
#include "platform/platform.h"
#include "window/form1.h"
#include "window/programstate.h"
#include "window/twips.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

namespace veldrune {

ReportSurface::ReportSurface(QPainter& painter, double twipsPerUnit, const FontSpec& font)
    : m_painter(painter)
    , m_twipsPerUnit(twipsPerUnit)
    , m_font(font) {
    applyFont();
}

void ReportSurface::setFontSize(double points) {
    m_font.points = points;
    applyFont();
}

void ReportSurface::setFontBold(bool bold) {
    m_font.bold = bold;
    applyFont();
}

void ReportSurface::applyFont() {
    QFont font = m_font.inTwips();
    font.setPixelSize(
        std::max(1, int(std::lround(m_font.points * TwipsPerPoint / m_twipsPerUnit))));
    m_painter.setFont(font);
    m_painter.setPen(Qt::black);
}

void ReportSurface::print(const QString& text) {
    m_painter.drawText(QRectF(CurrentX, CurrentY, 1e6, 1e6),
                       Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine, text);
    CurrentX = 0;
    CurrentY += QFontMetricsF(m_painter.font()).height();
}

void ReportSurface::printAt(double x, double y, const QString& text) {
    CurrentX = x;
    CurrentY = y;
    print(text);
}

void ReportSurface::line(double x1, double y1, double x2, double y2) {
    QPen pen(Qt::black, m_drawWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    pen.setCosmetic(true);
    m_painter.setPen(pen);
    m_painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
    m_painter.setPen(Qt::black);
}

void ReportSurface::box(double x1, double y1, double x2, double y2) {
    QPen pen(Qt::black, m_drawWidth, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin);
    pen.setCosmetic(true);
    m_painter.setPen(pen);
    m_painter.setBrush(Qt::NoBrush);
    m_painter.drawRect(QRectF(QPointF(x1, y1), QPointF(x2, y2)));
    m_painter.setPen(Qt::black);
}

void ReportSurface::paintPicture(const QImage& picture, double x, double y, double width,
                                 double height) {
    m_painter.drawImage(QRectF(x, y, width, height), picture);
}

namespace {

// Where a print routine starts a text; a measurement that cannot be had leaves the position.
void printMeasured(ReportSurface& surface, const ReportContext& context, const QString& text,
                   const std::function<double(double width)>& startFor) {
    const QString trimmed = text.trimmed();
    if (context.measure) {
        const double width = context.measure(surface.font(), trimmed);
        if (std::isfinite(width))
            surface.CurrentX = startFor(width);
    }
    surface.print(trimmed);
}

// The tool line: the tool's name, and with an angle head shown, the head and its gear ratio.
// The name then loses its last character, a cut the report has always made and keeps on
// purpose; an empty name stays empty.
QString toolLine(const Form1& form) {
    if (!form.ANGLE.visible() || form.ANGLE.text() == u" ")
        return form.TOOLLIST.text();
    QString name = form.TOOLLIST.text().trimmed();
    if (!name.isEmpty())
        name.chop(1);
    return name + form.ANGLE.text() + QStringLiteral("   Gear Ratio = ") + form.Label17.text();
}

} // namespace

void PrintCentered(ReportSurface& surface, const ReportContext& context, const QString& text,
                   std::int16_t xLeft, std::int16_t xRight) {
    const auto sum = static_cast<std::int16_t>(xLeft + xRight);
    printMeasured(surface, context, text, [sum](double width) { return sum / 2.0 - width / 2; });
}

void PrintRightAligned(ReportSurface& surface, const ReportContext& context, const QString& text,
                       std::int16_t xRight) {
    // 0.72, not 1: the text's right edge lies beyond xRight by 0.28 of its width.
    printMeasured(surface, context, text, [xRight](double width) { return xRight - 0.72 * width; });
}

namespace {

// The total in its box, 8000 to 11000 twips at the page's foot: in 48 points, centred on 10750
// as it always was where it stays inside the box; else centred in the box, in a smaller size
// where it is wider than the box, so that no digit is lost past the frame or the paper's edge.
void printTotal(ReportSurface& s, const ReportContext& context, const QString& text,
                double points) {
    constexpr double Left = 8000, Right = 11000, Padding = 100;
    s.setFontSize(points);
    const QString trimmed = text.trimmed();
    const auto measure = [&] {
        return context.measure ? context.measure(s.font(), trimmed) : std::nan("");
    };
    double width = measure();
    if (!std::isfinite(width) ||
        (10750 - width / 2 >= Left + Padding && 10750 + width / 2 <= Right - Padding))
        return PrintCentered(s, context, text, 9000, 12500);
    const double room = Right - Left - 2 * Padding;
    if (width > room) {
        s.setFontSize(points * room / width);
        width = measure();
    }
    s.CurrentX = (Left + Right) / 2 - width / 2;
    s.print(trimmed);
}

} // namespace

void PrintReport(ReportSurface& s, const ReportContext& context) {
    Form1& f = context.form;
    const bool tall = context.flags.LoadSectionShown;
    const float k = context.PrintTest ? 0.5f : 1.0f;
    const std::int16_t pitch = tall ? 300 : 500;
    const float factor = tall ? 0.78f : 1.0f;
    const auto scaled = [factor](double y) { return y * double(factor); };

    // Frame, logo, header and title.
    s.setDrawWidth(2);
    s.box(800, 800, 11000, 13800);
    // The logo's box measures its scale size inside a border of two pixels a side.
    const double logoWidth = f.Picture1.place().width - 4 * TwipsPerPixel;
    const double logoHeight = f.Picture1.place().height - 4 * TwipsPerPixel;
    s.paintPicture(context.logo, 900, 900, logoWidth / 2 + 900, logoHeight / 1.5);
    s.setFontSize(10 * k);
    const QDateTime now = context.platform.now();
    s.printAt(5000, 500,
              QStringLiteral("VELDRUNE VERSION 1.00    DATE ") +
                  now.toString(QStringLiteral("MM-dd-yyyy")) + QStringLiteral("  TIME ") +
                  now.toString(QStringLiteral("HH:mm:ss")));
    s.CurrentX = 4200;
    s.CurrentY = 1250;
    s.setFontSize(16 * k);
    s.print(QStringLiteral("FASTENING CYCLE TIME CALCULATION"));
    s.setFontBold(false);
    s.setFontSize(12 * k);

    // Input rows.
    const auto row = [pitch](int n) { return double(std::int16_t(2100 + n * pitch)); };
    s.printAt(1000, row(0), f.Label13.text());
    s.printAt(3000, row(0), f.Text5.text());
    s.printAt(1000, row(1), f.Label1.text());
    s.printAt(3000, row(1), toolLine(f));
    for (int i = 0; i < 2; ++i) {
        s.printAt(1000, row(2 + i), f.Label2(i).text());
        s.CurrentY = row(2 + i);
        PrintRightAligned(s, context, f.Label3(i).text(), 5000);
    }
    s.printAt(1000, row(4), f.Frame1.text());
    for (int i = 0; i < 5; ++i) {
        s.setFontSize(10); // absolute, not scaled for the preview
        s.printAt(3300 + 1500 * i, row(4), f.Label4(i).text());
        s.printAt(3950 + 1500 * i, row(4), f.Label5(i).text());
        s.setFontSize(12);
    }
    s.printAt(1000, row(5), f.Option1(0).text());
    s.printAt(4800, row(5), f.Text1.text());
    s.printAt(5600, row(5), f.Label7.text());
    s.printAt(7000, row(5), f.Label8.text());
    s.printAt(8500, row(5), f.Text2.text());
    s.printAt(9000, row(5), f.Label9.text());
    s.printAt(1000, row(6), f.Option1(1).text());
    s.printAt(5000, row(6), f.Text3.text());
    s.printAt(5800, row(6), f.Label6.text());

    // Phase block, column by column, each value right-aligned below the label above it.
    struct PhaseItem {
        const Control& control;
        std::int16_t x; // a label's left edge, a value's right edge
        double y;
        bool value;
    };
    const PhaseItem phases[] = {
        {f.Label10(0), 2000, 6200, false}, {f.Text4(0), 2800, 6600, true},
        {f.Label11(0), 2000, 7700, false}, {f.Label11(2), 2000, 8000, false},
        {f.Label12(0), 2800, 8400, true},  {f.Label10(1), 2000, 9500, false},
        {f.Text4(1), 2800, 9900, true},    {f.Label10(2), 4800, 6200, false},
        {f.Text4(2), 5800, 6600, true},    {f.Label11(1), 4800, 7700, false},
        {f.Label11(3), 4800, 8000, false}, {f.Label12(1), 5800, 8400, true},
        {f.Label10(3), 4800, 9500, false}, {f.Text4(3), 5800, 9900, true},
        {f.Label10(4), 7200, 6200, false}, {f.Text4(4), 8200, 6600, true},
        {f.Label10(5), 7200, 7700, false}, {f.Text4(5), 8200, 8400, true},
        {f.Label10(7), 7200, 9500, false}, {f.Text4(6), 8200, 9900, true},
    };
    for (const PhaseItem& item : phases) {
        if (item.value) {
            s.CurrentY = scaled(item.y);
            PrintRightAligned(s, context, item.control.text(), item.x);
        } else {
            s.printAt(item.x, scaled(item.y), item.control.text());
        }
    }

    // Closing lines: the communication time, the total in its box, the speed sketch.
    s.printAt(1000, scaled(11150), f.Label10(8).text());
    s.printAt(4000, scaled(11150), f.Text4(7).text());
    s.setFontSize(28 * k);
    s.printAt(1000, 13100, f.Label10(6).text());
    s.CurrentX = 8000;
    s.CurrentY = 12850;
    printTotal(s, context, f.TOTAL.text(), 48 * k);
    s.setDrawWidth(2);
    const int sketch[][4] = {
        {1200, 5500, 1200, 11000}, {1100, 10900, 10500, 10900}, {1200, 10900, 2000, 9000},
        {2000, 9000, 3800, 9000},  {3800, 9000, 4500, 7500},    {4500, 7500, 6800, 7500},
        {6800, 7500, 7500, 9200},  {7500, 9200, 9500, 9200},    {9500, 9200, 9500, 10900}};
    for (const auto& l : sketch)
        s.line(l[0], scaled(l[1]), l[2], scaled(l[3]));
    s.line(8000, 13800, 8000, 12850);
    s.line(8000, 12850, 11000, 12850);
    s.setFontBold(false);
    s.setFontSize(12 * k);
    if (!tall)
        return;

    // The duty cycle and its chart.
    const QString gap = QStringLiteral("  ");
    s.printAt(1000, 9000, f.Label10(11).text() + gap + f.DURR.text() + gap + f.Label14.text());
    QString cycle = f.Label10(9).text() + gap + f.Text4(8).text() + gap + f.Label10(10).text() +
                    gap + f.Text4(9).text();
    if (f.PREVILING.value())
        cycle += gap + f.PREVILING.text();
    s.printAt(1000, 9250, cycle);
    if (TextValue(f.Text4(10).text()) > 0) {
        s.printAt(5500, 9500,
                  QStringLiteral("WITH ") + f.Text4(10).text() +
                      QStringLiteral(" SECONDS OF TORQUE RECOVERY."));
    }
    s.applyFont();
    DrawLoadChart(&s.painter(), 1200, 9500, 0.9f, f, context.catalogue, context.platform);
}

QString PrintPage(QPagedPaintDevice& device, const ReportContext& context) {
    QPainter painter;
    if (!painter.begin(&device))
        return QStringLiteral("the printer or the file cannot be opened");
    DrawPage(painter, context);
    if (!painter.end())
        return QStringLiteral("the printer did not take the page");
    return {};
}

void DrawPage(QPainter& painter, const ReportContext& context) {
    painter.save();
    const QPaintDevice& device = *painter.device();
    painter.scale(device.logicalDpiX() / 1440.0, device.logicalDpiY() / 1440.0);
    ReportSurface surface(painter, 1.0, FontSpec{QStringLiteral("Arial"), 10, true, false});
    PrintReport(surface, context);
    painter.restore();
}

QImage ReportLogo() {
    return QImage(QStringLiteral(":/logo.png"));
}

} // namespace veldrune
