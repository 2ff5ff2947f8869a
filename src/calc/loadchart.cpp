#include "calc/loadchart.h"

#include "catalogue/catalogue.h"
#include "numbers/numberformat.h"
#include "numbers/textvalue.h"
#include "platform/platform.h"
#include "window/form1.h"

#include <QPainter>

namespace veldrune {

namespace {

struct Failed {};

// A chart coordinate: the origin plus a value, held in 16 bits.
std::int16_t sum16(std::int16_t origin, int value) {
    const int sum = origin + value;
    if (sum < -32768 || sum > 32767)
        throw Failed{};
    return std::int16_t(sum);
}

// Draws in the chart's logical units; the target's own units are (origin + x) x scale and
// origin + y.
class Chart {
public:
    Chart(QPainter& target, std::int16_t originX, std::int16_t originY, float scaleX)
        : m_target(target)
        , m_text(target.pen().color())
        , m_originX(originX)
        , m_originY(originY)
        , m_scaleX(scaleX) {}

    void setLine(int width, const QColor& colour) {
        // Line widths count device pixels whatever the scale: a cosmetic pen.
        QPen pen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        pen.setCosmetic(true);
        m_target.setPen(pen);
        m_target.setBrush(Qt::NoBrush);
    }
    QPointF at(int x, int y) const {
        return {double(sum16(m_originX, x)) * double(m_scaleX), double(sum16(m_originY, y))};
    }
    void line(int x1, int y1, int x2, int y2) { m_target.drawLine(at(x1, y1), at(x2, y2)); }
    void box(int x1, int y1, int x2, int y2) { m_target.drawRect(QRectF(at(x1, y1), at(x2, y2))); }
    // Prints with the text's top-left corner at the position, in the target's current font
    // and its own text colour: a line's colour is the line's alone.
    void print(int x, int y, const QString& text) {
        const QPen line = m_target.pen();
        m_target.setPen(m_text);
        m_target.drawText(QRectF(at(x, y), QSizeF(1e6, 1e6)),
                          Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip | Qt::TextSingleLine,
                          text);
        m_target.setPen(line);
    }

private:
    QPainter& m_target;
    QColor m_text;
    std::int16_t m_originX;
    std::int16_t m_originY;
    float m_scaleX;
};

// A number right-aligned in `width` characters, as the chart's labels print them.
QString rightAligned(double value, int width) {
    return (QString(width, u' ') + SignedText(value, 15)).right(width);
}

const QColor LightCyan(0, 255, 255);
const QColor LightRed(255, 0, 0);
const QColor Black(0, 0, 0);

void drawFrame(Chart& chart, double minutes) {
    chart.setLine(1, LightCyan);
    chart.box(500, 300, 10500, 2800);
    for (int y = 300; y <= 2800; y += 250)
        chart.line(500, y, 10500, y);
    for (int x = 500; x <= 10500; x += 1000)
        chart.line(x, 300, x, 2800);

    for (int v = 0; v <= 100; v += 10)
        chart.print(100, 200 + 25 * v, rightAligned(100 - v, 3));
    chart.print(100, 0, QStringLiteral("LOAD [%]"));
    for (int t = 0; t <= 250; t += 25)
        chart.print(40 * t + 300, 2850, rightAligned(t * 0.24 * minutes, 4));
    chart.print(9500, 3050, QStringLiteral("TIME [SEC]"));

    chart.setLine(2, LightRed);
    chart.line(200, 3200, 600, 3200);
    chart.print(700, 3075, QStringLiteral("MOTOR TORQUE"));
    chart.setLine(4, Black);
    chart.line(3200, 3200, 3600, 3200);
    chart.print(3700, 3075, QStringLiteral("MOTOR LOAD"));
}

// Draws the torque and the load curve, each step's torque segment, then its load segment:
// 19,200 round-capped segments at 16 minutes, each stroked on its own. A polyline through the
// same points would be four times faster, but its joins come out a pixel different here and
// there.
void drawCurves(Chart& chart, QPainter& target, const std::vector<LoadStep>& steps) {
    chart.setLine(2, LightRed);
    const QPen torquePen = target.pen();
    chart.setLine(4, Black);
    const QPen loadPen = target.pen();
    int previousX = 500;
    int previousTorqueY = 2800;
    int previousLoadY = 2800;
    for (const LoadStep& step : steps) {
        target.setPen(torquePen);
        chart.line(previousX, previousTorqueY, step.x, step.torqueY);
        target.setPen(loadPen);
        chart.line(previousX, previousLoadY, step.x, step.loadY);
        previousX = step.x;
        previousTorqueY = step.torqueY;
        previousLoadY = step.loadY;
    }
}

} // namespace

DutyCycleInputs ReadDutyCycleInputs(const Form1& form) {
    DutyCycleInputs in;
    in.tool = form.TOOLLIST.text();
    in.toolChosen = in.tool != form.TOOLLIST.entry(0);
    in.angleHead = form.ANGLE.text();
    in.unitPosition = UnitCount;
    for (int u = 0; u < UnitCount && in.unitPosition == UnitCount; ++u) {
        if (form.TQUNIT.entry(u) == form.TQUNIT.text())
            in.unitPosition = u;
    }
    in.fasteningTorque = TextValue(form.Text4(9).text());
    in.tighteningTime = TextValue(form.Text4(4).text());
    in.freerunTime = TextValue(form.Text4(2).text());
    in.prevailing = form.PREVILING.value();
    in.cycleTime = TextValue(form.Text4(8).text());
    in.recoveryTime = TextValue(form.Text4(10).text());
    in.periodPosition = form.DURR.listCount();
    for (int k = 0; k < form.DURR.listCount() && in.periodPosition == form.DURR.listCount(); ++k) {
        if (form.DURR.entry(k) == form.DURR.text())
            in.periodPosition = k;
    }
    return in;
}

void DrawLoadChart(QPainter* Target, std::int16_t OriginX, std::int16_t OriginY, float ScaleX,
                   Form1& form, const Catalogue& catalogue, Platform& platform) {
    form.setPointer(MousePointer::Busy);
    const std::uint32_t started = platform.tickCount();
    const DutyCycleInputs inputs = ReadDutyCycleInputs(form);
    if (inputs.toolChosen && Target) {
        const LoadSimulation sim = SimulateLoad(inputs, catalogue);
        if (sim.setUp) {
            Chart chart(*Target, OriginX, OriginY, ScaleX);
            try {
                drawFrame(chart, double(float(TextValue(form.DURR.text()))));
                drawCurves(chart, *Target, sim.steps);
            } catch (const Failed&) {
                // A coordinate beyond 16 bits: what is drawn stays.
            }
        }
    }
    form.setPointer(MousePointer::Normal);
    const auto elapsed = static_cast<std::int32_t>(platform.tickCount() - started);
    if (form.PRNTEST.visible())
        form.setCaption(SignedText(elapsed, 15));
}

void RedrawLoadChart(Form1& form, const Catalogue& catalogue, Platform& platform) {
    form.Picture2.clearPicture();
    PictureSurface surface(form.Picture2);
    DrawLoadChart(surface.painter(), 0, 0, 1.0f, form, catalogue, platform);
}

} // namespace veldrune
