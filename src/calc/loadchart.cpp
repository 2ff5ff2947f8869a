#include "calc/loadchart.h"

#include "catalogue/catalogue.h"
#include "numbers/numberformat.h"
#include "numbers/textvalue.h"
#include "platform/platform.h"
#include "window/form1.h"

#include <QPainter>

#include <algorithm>

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
// origin + y. The chart keeps to its picture's area, `size` in its units at the origin: the
// window's picture box clips it, and so does every other surface, the printed page too.
class Chart {
public:
    Chart(QPainter& target, std::int16_t originX, std::int16_t originY, float scaleX, QSizeF size,
          double lineTwips)
        : m_target(target)
        , m_text(target.pen().color())
        , m_originX(originX)
        , m_originY(originY)
        , m_scaleX(scaleX)
        , m_area(originX * double(scaleX), originY, size.width() * double(scaleX), size.height())
        , m_lineTwips(lineTwips) {
        m_target.save();
        m_target.setClipRect(m_area, Qt::IntersectClip);
    }
    ~Chart() { m_target.restore(); }
    Chart(const Chart&) = delete;
    Chart& operator=(const Chart&) = delete;

    // Line widths count pixels whatever the scale: the device's own in a cosmetic pen, or
    // those of `lineTwips` target units.
    QPen pen(int width, const QColor& colour) const {
        QPen pen(colour, m_lineTwips > 0 ? width * m_lineTwips : width, Qt::SolidLine, Qt::RoundCap,
                 Qt::RoundJoin);
        pen.setCosmetic(m_lineTwips <= 0);
        return pen;
    }
    // From the target's units to the pixels line widths count.
    QTransform toPixels() const {
        return m_lineTwips > 0 ? QTransform::fromScale(1 / m_lineTwips, 1 / m_lineTwips)
                               : m_target.deviceTransform();
    }
    void setLine(int width, const QColor& colour) {
        m_target.setPen(pen(width, colour));
        m_target.setBrush(Qt::NoBrush);
    }
    QPointF at(int x, int y) const {
        return {double(sum16(m_originX, x)) * double(m_scaleX), double(sum16(m_originY, y))};
    }
    const QRectF& area() const { return m_area; }
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
    QRectF m_area;
    double m_lineTwips;
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

// One curve: its pen and its width in pixels, and its points in the chart's units and in the
// pixels line widths count (the device's, or those of a page at any resolution).
struct Curve {
    QPen pen;
    int width;
    QPolygonF points;
    QPolygonF device;
};

// How far, in pixels (a curve's), a polyline may pass above or below a point it leaves out: a
// little more than a twip at the window's 15 twips a pixel, so that the steps' rounding to
// whole twips is smoothed away.
constexpr double Tolerance = 0.07;
// A step longer than this keeps both its points: a steep line moves by a pixel row for a tiny
// shift sideways.
constexpr double LongStep = 2;
// The widest polyline: Qt's rasteriser takes time growing with the square of the pixels a
// line covers along one row.
constexpr double MaxSpan = 64;

// Draws the curve's points `first` to `last` as polylines through as few of them as keep
// within the tolerance of every point left out, leaving out the steps wholly outside
// `visible` (in the curve's pixels).
void drawPart(QPainter& target, const Curve& curve, qsizetype first, qsizetype last,
              const QRectF& visible, QPolygonF& polyline) {
    const auto cross = [](const QPointF& a, const QPointF& b) {
        return a.x() * b.y() - a.y() * b.x();
    };
    const QPointF* device = curve.device.constData();
    const double reach = curve.width / 2.0 + 1;
    const QRectF shown = visible.adjusted(-reach, -reach, reach, reach);
    qsizetype anchor = first;
    double spanStart = device[first].x();
    // The directions from the anchor that pass near every point since: the lowest and the
    // highest slope.
    QPointF low(0, -1);
    QPointF high(0, 1);
    const auto keep = [&](qsizetype i) {
        if (anchor != i)
            polyline.append(curve.points[i]);
        anchor = i;
        low = QPointF(0, -1);
        high = QPointF(0, 1);
    };
    // Ends the polyline at point `end`, and starts the next at point `next`.
    const auto finish = [&](qsizetype end, qsizetype next) {
        keep(end);
        if (polyline.size() > 1) {
            target.setPen(curve.pen);
            target.drawPolyline(polyline);
        }
        polyline.clear();
        polyline.append(curve.points[next]);
        anchor = next;
        spanStart = device[next].x();
    };
    polyline.clear();
    polyline.append(curve.points[first]);
    for (qsizetype i = first + 1; i <= last; ++i) {
        const QPointF from = device[i - 1];
        const QPointF to = device[i];
        if (std::max(from.x(), to.x()) < shown.left() ||
            std::min(from.x(), to.x()) > shown.right() ||
            std::max(from.y(), to.y()) < shown.top() ||
            std::min(from.y(), to.y()) > shown.bottom()) {
            finish(i - 1, i);
            continue;
        }
        if (to.x() - spanStart > MaxSpan)
            finish(i - 1, i - 1);
        const QPointF step = to - from;
        if (step.x() <= 0 || QPointF::dotProduct(step, step) > LongStep * LongStep) {
            keep(i - 1);
            keep(i);
            continue;
        }
        QPointF fromAnchor = to - device[anchor];
        if (cross(low, fromAnchor) < 0 || cross(fromAnchor, high) < 0) {
            keep(i - 1);
            fromAnchor = step;
        }
        const QPointF lowest = fromAnchor - QPointF(0, Tolerance);
        const QPointF highest = fromAnchor + QPointF(0, Tolerance);
        if (cross(low, lowest) > 0)
            low = lowest;
        if (cross(highest, high) > 0)
            high = highest;
    }
    finish(last, last);
}

// Draws the torque and the load curve. Step by step, each step's torque segment would be drawn,
// then its load segment, the later showing where they overlap: 19,200 segments at 16 minutes,
// each stroked on its own. Here the steps are taken in runs in which no torque segment comes
// near the load drawn before it in the run, and each run's torque, then its load, is drawn as
// polylines: the same picture, the load over the torque where they meet, but for pixels here
// and there that a simplified polyline or a join of Qt's rasteriser sets otherwise.
void drawCurves(Chart& chart, QPainter& target, const std::vector<LoadStep>& steps) {
    Curve curves[2] = {{chart.pen(2, LightRed), 2, {}, {}}, {chart.pen(4, Black), 4, {}, {}}};
    for (Curve& curve : curves) {
        curve.points.reserve(qsizetype(steps.size()) + 1);
        curve.points.append(chart.at(500, 2800));
    }
    try {
        for (const LoadStep& step : steps) {
            curves[0].points.append(chart.at(step.x, step.torqueY));
            curves[1].points.append(chart.at(step.x, step.loadY));
        }
    } catch (const Failed&) {
        // A step beyond 16 bits ends each curve at its last point that would have been drawn.
    }
    const QTransform toDevice = chart.toPixels();
    for (Curve& curve : curves)
        curve.device = toDevice.map(curve.points);
    const QRectF visible = toDevice.mapRect(chart.area());
    QPolygonF polyline;
    const auto drawRun = [&](qsizetype first, qsizetype last) {
        for (const Curve& curve : curves) {
            const qsizetype end = std::min(last, curve.points.size() - 1);
            if (first < end)
                drawPart(target, curve, first, end, visible, polyline);
        }
    };
    // Near: within the two pens' half widths and a pixel for rounding.
    const double near = (curves[0].width + curves[1].width) / 2.0 + 1;
    const QPolygonF& torque = curves[0].device;
    const QPolygonF& load = curves[1].device;
    qsizetype first = 0;
    QPointF least = load[0]; // the corners of the load's extent in the run
    QPointF most = load[0];
    for (qsizetype j = 1; j < torque.size(); ++j) {
        // By value: minmax of two temporaries would return references to them.
        const auto [left, right] = std::minmax({torque[j - 1].x(), torque[j].x()});
        const auto [top, bottom] = std::minmax({torque[j - 1].y(), torque[j].y()});
        if (j > first + 1 && left - near < most.x() && right + near > least.x() &&
            top - near < most.y() && bottom + near > least.y()) {
            drawRun(first, j - 1);
            first = j - 1;
            least = most = load[first];
        }
        if (j < load.size()) {
            least = QPointF(std::min(least.x(), load[j].x()), std::min(least.y(), load[j].y()));
            most = QPointF(std::max(most.x(), load[j].x()), std::max(most.y(), load[j].y()));
        }
    }
    drawRun(first, torque.size() - 1);
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
                   Form1& form, const Catalogue& catalogue, Platform& platform, double LineTwips) {
    form.setPointer(MousePointer::Busy);
    const std::uint32_t started = platform.tickCount();
    const DutyCycleInputs inputs = ReadDutyCycleInputs(form);
    QString words;
    if (inputs.toolChosen && Target) {
        const LoadSimulation sim = SimulateLoad(inputs, catalogue);
        words = LoadInWords(sim);
        if (sim.setUp) {
            const Rect& picture = form.Picture2.place();
            Chart chart(*Target, OriginX, OriginY, ScaleX, QSizeF(picture.width, picture.height),
                        LineTwips);
            try {
                drawFrame(chart, double(float(TextValue(form.DURR.text()))));
                drawCurves(chart, *Target, sim.steps);
            } catch (const Failed&) {
                // A coordinate beyond 16 bits: what is drawn stays.
            }
        }
    }
    // The chart's figures in words, for its tooltip and for a screen reader.
    form.Picture2.setToolTip(words);
    form.setPointer(MousePointer::Normal);
    const auto elapsed = static_cast<std::int32_t>(platform.tickCount() - started);
    if (form.PRNTEST.visible())
        form.setCaption(SignedText(elapsed, 15));
}

void RedrawLoadChart(Form1& form, const Catalogue& catalogue, Platform& platform,
                     DrawnChart& drawn) {
    form.Picture2.clearPicture();
    {
        PictureSurface surface(form.Picture2);
        DrawLoadChart(surface.painter(), 0, 0, 1.0f, form, catalogue, platform);
    }
    drawn = {ReadDutyCycleInputs(form), form.Picture2.toolTip()};
    form.Picture2.setMark({});
}

bool ChartOutOfDate(const Form1& form, const DrawnChart& drawn) {
    return drawn.inputs && *drawn.inputs != ReadDutyCycleInputs(form);
}

void MarkLoadChart(Form1& form, const DrawnChart& drawn) {
    if (!drawn.inputs)
        return;
    const bool outOfDate = ChartOutOfDate(form, drawn);
    form.Picture2.setMark(outOfDate ? ChartOutOfDateMark : QString());
    form.Picture2.setToolTip(outOfDate ? ChartOutOfDateMark : drawn.words);
}

} // namespace veldrune
