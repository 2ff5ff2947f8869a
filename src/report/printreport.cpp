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

namespace {

// A pixel of line width on paper: one of a 600 dots-per-inch page, in twips. The same on every
// printer and in every PDF file, as the widths of a device's own pixels are not.
constexpr double PaperPixelTwips = 1440.0 / 600;

// Line breaks and carriage returns print as blanks on the single line of a text; a cut text
// keeps to that.
QString oneLine(QString text) {
    for (QChar& c : text) {
        if (c == u'\n' || c == u'\r' || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = u' ';
    }
    return text;
}

} // namespace

ReportSurface::ReportSurface(QPainter& painter, double twipsPerUnit, const FontSpec& font,
                             Medium medium)
    : m_painter(painter)
    , m_twipsPerUnit(twipsPerUnit)
    , m_font(font)
    , m_medium(medium) {
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

double ReportSurface::lineTwips() const {
    return m_medium == Medium::Paper ? PaperPixelTwips / m_twipsPerUnit : 0;
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

double ReportSurface::width(const QString& text) const {
    return QFontMetricsF(m_painter.font()).size(Qt::TextSingleLine, text).width();
}

QString ReportSurface::fitted(const QString& text, double room) {
    // Not below the smallest size that reads on paper: a cut with an ellipsis says more than
    // a line of specks. Sizes go by whole twips, and widths not quite in proportion: a second
    // or third try gets it narrow enough.
    double width = this->width(text);
    for (int tries = 0; tries < 3 && width > room && m_font.points > MinPoints; ++tries) {
        setFontSize(std::max(MinPoints, m_font.points * room / width * 0.999));
        width = this->width(text);
    }
    if (width <= room)
        return text;
    // An elided text measures a little otherwise than the line it prints as: it is cut shorter
    // until the line fits.
    const QFontMetricsF metrics(m_painter.font());
    for (double target = room; target > 0; target -= std::max(1.0, width - room)) {
        const QString shown = metrics.elidedText(oneLine(text), Qt::ElideRight, target);
        width = this->width(shown);
        if (width <= room)
            return shown;
    }
    return {};
}

void ReportSurface::printWithin(const QString& text, double left, double right) {
    // The preview prints in the window's larger sizes on a half-size page: held to the paper's
    // rooms, every caption would be cut.
    if (m_medium == Medium::Screen || (CurrentX >= left && CurrentX + width(text) <= right))
        return print(text);
    const double points = m_font.points;
    const double y = CurrentY;
    const QFontMetricsF own(m_painter.font());
    const QString shown = fitted(text, right - left);
    CurrentX = std::max(left, std::min(CurrentX, right - width(shown)));
    // A smaller size sits on the line's baseline, as its neighbours in their own size do.
    CurrentY = y + own.ascent() - QFontMetricsF(m_painter.font()).ascent();
    print(shown);
    setFontSize(points);
    CurrentY = y + own.height();
}

void ReportSurface::printAt(double x, double y, const QString& text, double right) {
    CurrentX = x;
    CurrentY = y;
    printWithin(text, x, right);
}

QPen ReportSurface::pen(Qt::PenCapStyle cap, Qt::PenJoinStyle join) const {
    const double unit = lineTwips();
    QPen pen(Qt::black, unit > 0 ? m_drawWidth * unit : m_drawWidth, Qt::SolidLine, cap, join);
    pen.setCosmetic(unit <= 0);
    return pen;
}

void ReportSurface::line(double x1, double y1, double x2, double y2) {
    m_painter.setPen(pen(Qt::RoundCap, Qt::RoundJoin));
    m_painter.drawLine(QPointF(x1, y1), QPointF(x2, y2));
    m_painter.setPen(Qt::black);
}

void ReportSurface::box(double x1, double y1, double x2, double y2) {
    m_painter.setPen(pen(Qt::SquareCap, Qt::MiterJoin));
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
// On paper the text then keeps within `left` to `right`.
void printMeasured(ReportSurface& surface, const ReportContext& context, const QString& text,
                   const std::function<double(double width)>& startFor, double left, double right) {
    const QString trimmed = text.trimmed();
    if (context.measure) {
        const double width = context.measure(surface.font(), trimmed);
        if (std::isfinite(width))
            surface.CurrentX = startFor(width);
    }
    surface.printWithin(trimmed, left, right);
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
                   std::int16_t xLeft, std::int16_t xRight, double left, double right) {
    const auto sum = static_cast<std::int16_t>(xLeft + xRight);
    printMeasured(
        surface, context, text, [sum](double width) { return sum / 2.0 - width / 2; }, left, right);
}

void PrintRightAligned(ReportSurface& surface, const ReportContext& context, const QString& text,
                       std::int16_t xRight, double left, double right) {
    // 0.72, not 1: the text's right edge lies beyond xRight by 0.28 of its width.
    printMeasured(
        surface, context, text, [xRight](double width) { return xRight - 0.72 * width; }, left,
        right);
}

namespace {

// The total in its box, 8000 to 11000 twips at the page's foot: in 48 points, centred on 10750
// as it always was where it stays inside the box; else centred in the box, in a smaller size
// where it is wider than the box, so that nothing of it is drawn past the frame or the paper's
// edge.
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
        return PrintCentered(s, context, text, 9000, 12500, Left + Padding, Right - Padding);
    const double room = Right - Left - 2 * Padding;
    if (width > room) {
        s.setFontSize(std::max(ReportSurface::MinPoints, points * room / width));
        width = measure();
    }
    s.CurrentX = (Left + Right) / 2 - std::min(width, room) / 2;
    s.printWithin(trimmed, Left + Padding, Right - Padding);
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
    // A text reaches as far as the next text of its line starts, the last one of a line to
    // within 100 twips of the frame; the header, above the frame, to the frame's edge.
    constexpr double Inside = 10900;
    s.setFontSize(10 * k);
    const QDateTime now = context.platform.now();
    s.printAt(5000, 500,
              QStringLiteral("VELDRUNE VERSION 1.00    DATE ") +
                  now.toString(QStringLiteral("MM-dd-yyyy")) + QStringLiteral("  TIME ") +
                  now.toString(QStringLiteral("HH:mm:ss")),
              11000);
    s.setFontSize(16 * k);
    s.printAt(4200, 1250, QStringLiteral("FASTENING CYCLE TIME CALCULATION"), Inside);
    s.setFontBold(false);
    s.setFontSize(12 * k);

    // Input rows.
    const auto row = [pitch](int n) { return double(std::int16_t(2100 + n * pitch)); };
    s.printAt(1000, row(0), f.Label13.text(), 3000);
    s.printAt(3000, row(0), f.Text5.text(), Inside);
    s.printAt(1000, row(1), f.Label1.text(), 3000);
    s.printAt(3000, row(1), toolLine(f), Inside);
    for (int i = 0; i < 2; ++i) {
        s.printAt(1000, row(2 + i), f.Label2(i).text(), 3800);
        s.CurrentY = row(2 + i);
        PrintRightAligned(s, context, f.Label3(i).text(), 5000, 3800, Inside);
    }
    s.printAt(1000, row(4), f.Frame1.text(), 3300);
    for (int i = 0; i < 5; ++i) {
        s.setFontSize(10); // absolute, not scaled for the preview
        s.printAt(3300 + 1500 * i, row(4), f.Label4(i).text(), 3950 + 1500 * i);
        s.printAt(3950 + 1500 * i, row(4), f.Label5(i).text(), i < 4 ? 4800 + 1500 * i : Inside);
        s.setFontSize(12);
    }
    s.printAt(1000, row(5), f.Option1(0).text(), 4800);
    s.printAt(4800, row(5), f.Text1.text(), 5600);
    s.printAt(5600, row(5), f.Label7.text(), 7000);
    s.printAt(7000, row(5), f.Label8.text(), 8500);
    s.printAt(8500, row(5), f.Text2.text(), 9000);
    s.printAt(9000, row(5), f.Label9.text(), Inside);
    s.printAt(1000, row(6), f.Option1(1).text(), 5000);
    s.printAt(5000, row(6), f.Text3.text(), 5800);
    s.printAt(5800, row(6), f.Label6.text(), Inside);

    // Phase block, column by column, each value right-aligned below the label above it, each
    // text within its column.
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
        // A column reaches to where the next one's labels start; the first starts right of the
        // sketch's axis, at 1200.
        const double left = item.x < 4800 ? 1300 : item.x < 7200 ? 4800 : 7200;
        const double right = item.x < 4800 ? 4800 : item.x < 7200 ? 7200 : Inside;
        if (item.value) {
            s.CurrentY = scaled(item.y);
            PrintRightAligned(s, context, item.control.text(), item.x, left, right);
        } else {
            s.printAt(item.x, scaled(item.y), item.control.text(), right);
        }
    }

    // Closing lines: the communication time, the total in its box, the speed sketch.
    s.printAt(1000, scaled(11150), f.Label10(8).text(), 4000);
    s.printAt(4000, scaled(11150), f.Text4(7).text(), Inside);
    s.setFontSize(28 * k);
    s.printAt(1000, 13100, f.Label10(6).text(), 8000);
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
    s.printAt(1000, 9000, f.Label10(11).text() + gap + f.DURR.text() + gap + f.Label14.text(),
              Inside);
    QString cycle = f.Label10(9).text() + gap + f.Text4(8).text() + gap + f.Label10(10).text() +
                    gap + f.Text4(9).text();
    if (f.PREVILING.value())
        cycle += gap + f.PREVILING.text();
    s.printAt(1000, 9250, cycle, Inside);
    if (TextValue(f.Text4(10).text()) > 0) {
        s.printAt(5500, 9500,
                  QStringLiteral("WITH ") + f.Text4(10).text() +
                      QStringLiteral(" SECONDS OF TORQUE RECOVERY."),
                  Inside);
    }
    s.applyFont();
    DrawLoadChart(&s.painter(), 1200, 9500, 0.9f, f, context.catalogue, context.platform,
                  s.lineTwips());
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
    ReportSurface surface(painter, 1.0, FontSpec{QStringLiteral("Arial"), 10, true, false},
                          ReportSurface::Medium::Paper);
    PrintReport(surface, context);
    painter.restore();
}

QImage ReportLogo() {
    return QImage(QStringLiteral(":/logo.png"));
}

} // namespace veldrune
