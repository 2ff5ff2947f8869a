#include "calc/loadchart.h"

#include "catalogue/catalogue.h"
#include "numbers/numberformat.h"
#include "numbers/textvalue.h"
#include "platform/platform.h"
#include "window/form1.h"

#include <QPainter>

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace veldrune {

namespace {

// The 32-bit 0.1 that Retention, StepLoss, N and the step time are made with; the hold time
// grows by the 64-bit one.
constexpr float Tenth = 0.1f;
// Newton metres per unit, by the unit's position in TQUNIT.
constexpr float UnitFactors[UnitCount] = {1.0f, 9.80665f, 0.0980665f, 1.355798f, 0.1129832f};
constexpr int ListedTools = 150;

struct Failed {};

// Kept out of line, so that the checks around it stay small enough to inline in the step loop.
[[noreturn, gnu::noinline, gnu::cold]] void fail() {
    throw Failed{};
}

// A value stored in a 32-bit float: beyond its range it overflows.
float single(double value) {
    if (!(std::fabs(value) <= double(FLT_MAX))) [[unlikely]]
        fail();
    return static_cast<float>(value);
}

std::int16_t wholeRow(double value) {
    const auto row = RoundInt16(value);
    if (!row)
        fail();
    return *row;
}

double headFactor(const QString& angle) {
    if (angle == u"RH1" || angle == u"RH5")
        return 1.515;
    if (angle == u"RH2" || angle == u"RH4")
        return 1.5625;
    if (angle == u"RH3")
        return 1.571;
    return 1.0;
}

// The motor row and speed from the motor code, characters 8 to 10 of the tool's name: its
// second character is the family, its last one a digit.
void chooseMotor(const QString& tool, LoadSimulation& sim) {
    const QString code = tool.mid(7, 3);
    const QChar family = code.size() >= 2 ? code[1] : QChar();
    const double d = TextValue(code.right(1));
    if (family == u'M') {
        sim.MotorRow = wholeRow(d);
        sim.MotorSpeed = 10000;
    } else if (family == u'T') {
        sim.MotorRow = wholeRow(d + 5);
        sim.MotorSpeed = 12000;
    } else if (family == u'H') {
        sim.MotorRow = d == 1 ? 9 : 10;
        sim.MotorSpeed = 25000;
    } else if (family == u'S') {
        sim.MotorRow = d == 1 ? 12 : 13;
        sim.MotorSpeed = d == 1 ? 25000 : 22000;
    } else {
        sim.MotorRow = 0;
        sim.MotorSpeed = 0;
    }
}

void setUp(const DutyCycleInputs& in, const Catalogue& catalogue, LoadSimulation& sim) {
    chooseMotor(in.tool, sim);
    if (sim.MotorRow < 1 || sim.MotorRow > MotorTable::Size)
        fail();
    const MotorRecord& m = catalogue.Motors[sim.MotorRow];
    const double currentRatio = m.PeakCurrent / m.RatedCurrent;
    sim.TimeConstant =
        single(-m.TimeFactor /
               (std::log(1 - m.OverloadFactor * m.OverloadFactor / (currentRatio * currentRatio)) /
                std::log(10.0)));
    const double ratedLoss = m.OverloadFactor * m.RatedCurrent;
    sim.LossScale =
        single(100 / (ratedLoss * ratedLoss * 3 * m.WindingResistance * double(sim.TimeConstant)));
    sim.Retention = single(1 - double(Tenth) / double(sim.TimeConstant));
    sim.StepLoss = single(double(sim.LossScale) * m.WindingResistance * double(Tenth));

    const QString tool = in.tool.trimmed();
    int i = 1;
    while (i <= ListedTools && catalogue.Tools[i].Model.trimmed() != tool)
        ++i;
    if (in.unitPosition < 0 || in.unitPosition >= UnitCount)
        fail();
    sim.GearRatio = single(sim.MotorSpeed / catalogue.Tools[i].MaxSpeed * headFactor(in.angleHead));
    sim.MotorTorque =
        single(in.fasteningTorque * double(UnitFactors[in.unitPosition]) / double(*sim.GearRatio));
    sim.TorqueCurrent = single(m.PeakCurrent / m.PeakTorque * double(sim.MotorTorque));
    sim.LoadTime = single(in.prevailing ? in.tighteningTime + in.freerunTime : in.tighteningTime);
}

// The constants of the step loop, all as the steps read them.
struct StepConstants {
    double cycle;
    double recovery;
    float rampEnd; // LoadTime
    double torqueSlope;
    double currentSlope;
    double stepLoss;
    double retention;
    float N;
    int count;
};

// What the loop carries from step to step, and the sums it keeps.
struct StepState {
    float r = 0;
    double hold = 0;
    double load = 0;
    double peakTorque = -HUGE_VAL;
    double peakLoad = -HUGE_VAL;
};

bool storable(double value) {
    return std::fabs(value) <= double(FLT_MAX); // false for a NaN too
}

// Rounds to the nearest whole number, halves to even, through the processor's own rounding:
// adding and taking away 1.5 x 2^52. A NaN or a value that does not fit 16 bits clears `ok`.
std::int16_t rounded16(double value, bool& ok) {
    constexpr double Shift = 6755399441055744.0;
    const double rounded = (value + Shift) - Shift;
    ok &= rounded >= -32768.0 && rounded <= 32767.0;
    return static_cast<std::int16_t>(ok ? rounded : 0);
}

// What follows from the ramp r alone.
struct RampTerms {
    double torquePercent;
    double loss; // the loss a step adds: more while the motor works
    std::int16_t torqueY;
    bool ok;
};

RampTerms rampTerms(float r, const StepConstants& c) {
    RampTerms terms;
    terms.ok = true;
    terms.torquePercent = double(r) * c.torqueSlope;
    terms.torqueY = rounded16(2800 - terms.torquePercent * 25, terms.ok);
    const double current = c.currentSlope * double(r);
    terms.ok &= storable(current);
    const double stored = double(float(current));
    // Both kinds of step add the step loss: an idle motor still warms by it.
    terms.loss = r > 0 ? 2 * (stored * stored) * c.stepLoss : c.stepLoss;
    return terms;
}

// Steps n = 1, 2, ... up to the count, appending each to `steps`; returns the step that
// fails, or 0 when all ran. The step loop is the chart's whole cost, so it is written for
// speed without changing a result: what depends on the ramp alone is worked out only when
// the ramp changes, a step's checks are gathered into one flag, and a step is built where it
// is kept.
//
// The usual case is Fast: N is a whole number, as it always is, so that x = Int(n x 10000 / N)
// + 500 goes on by a whole quotient and a remainder; and the cycle is not so small that
// time / cycle passes 2^52, so that Int() can go through a 64-bit integer. The general case
// keeps the divisions and the checks.
template <bool Fast>
[[gnu::noinline]] int runSteps(const StepConstants c, StepState& state,
                               std::vector<LoadStep>& steps) {
    const int xStep = Fast ? 10000 / c.count : 0;
    const int xRemainderStep = Fast ? 10000 % c.count : 0;
    int xQuotient = 0;
    int xRemainder = 0;

    float r = state.r;
    double hold = state.hold;
    double load = state.load;
    double peakTorque = state.peakTorque;
    double peakLoad = state.peakLoad;
    RampTerms terms = rampTerms(r, c);
    bool ok = terms.ok;
    int n = 1;
    for (; n <= c.count; ++n) {
        const float time = float(double(Tenth) * n);
        // Int(time / cycle): through a 64-bit integer below 2^52, where every double that is
        // not whole lies; from there on a double is whole.
        const double cycles = double(time) / c.cycle;
        const double truncated = Fast || std::fabs(cycles) < 4503599627370496.0
                                     ? double(static_cast<std::int64_t>(cycles))
                                     : cycles;
        const double whole = truncated > cycles ? truncated - 1 : truncated;
        const float phase = float(double(time) - whole * c.cycle);
        const float before = r;
        if (phase <= c.rampEnd) {
            r = phase; // the torque rises
        } else if (hold < c.recovery) {
            hold += 0.1; // the torque is held
        } else {
            r = 0; // the tool is idle; the next hold starts from nothing
            hold = 0;
        }
        if (r != before) {
            terms = rampTerms(r, c);
            ok &= terms.ok;
        }
        const double next = (terms.loss + load) * c.retention;
        ok &= storable(next);
        const float stored = float(next);
        std::int16_t x = 0;
        if constexpr (Fast) {
            xQuotient += xStep;
            xRemainder += xRemainderStep;
            if (xRemainder >= c.count) {
                xRemainder -= c.count;
                ++xQuotient;
            }
            x = std::int16_t(xQuotient + 500); // at most 10500
        } else {
            x = rounded16(std::floor(n * 10000.0 / double(c.N)) + 500, ok);
        }
        // Load y in 32-bit arithmetic, rounded there too: 1.5 x 2^23 does for a float what
        // 1.5 x 2^52 does for a double, exactly for every value that can fit 16 bits.
        const float loadY = 2800.0f - stored * 25.0f;
        const float loadYRounded = (loadY + 12582912.0f) - 12582912.0f;
        ok &= loadYRounded >= -32768.0f && loadYRounded <= 32767.0f;
        const auto loadY16 = static_cast<std::int16_t>(ok ? loadYRounded : 0.0f);
        if (!ok) [[unlikely]]
            break;
        steps.push_back({terms.torquePercent, time, phase, r, stored, x, terms.torqueY, loadY16});
        load = double(stored);
        peakTorque = std::max(peakTorque, terms.torquePercent);
        peakLoad = std::max(peakLoad, load);
    }
    state = {r, hold, load, peakTorque, peakLoad};
    return ok ? 0 : n;
}

void simulate(const DutyCycleInputs& in, const MotorRecord& motor, LoadSimulation& sim) {
    const float N = single(std::pow(2.0, in.periodPosition) * (120 / double(Tenth)));
    const double loadTime = sim.LoadTime;
    sim.TorqueSlope = single(double(sim.MotorTorque) / motor.PeakTorque * 100 / loadTime);
    sim.CurrentSlope = single(double(sim.TorqueCurrent) * 0.8660254 / loadTime);
    const StepConstants constants{single(in.cycleTime),
                                  in.recoveryTime,
                                  sim.LoadTime,
                                  sim.TorqueSlope,
                                  sim.CurrentSlope,
                                  sim.StepLoss,
                                  sim.Retention,
                                  N,
                                  N >= 1 ? int(std::min(N, 1e9f)) : 0};
    sim.plannedSteps = constants.count;
    sim.steps.reserve(std::size_t(constants.count));
    StepState state;
    // A cycle of 0 fails on the first step's division; any other keeps every phase finite
    // and within a 32-bit float, as the phase lies between 0 and the cycle.
    if (constants.count >= 1 && constants.cycle == 0) {
        sim.stoppedAtStep = 1;
    } else {
        const bool fast = constants.count >= 1 && float(constants.count) == N &&
                          constants.count * 0.1 / std::fabs(constants.cycle) < 1e15;
        sim.stoppedAtStep = fast ? runSteps<true>(constants, state, sim.steps)
                                 : runSteps<false>(constants, state, sim.steps);
    }
    sim.completed = sim.stoppedAtStep == 0;
    sim.simulatedSteps = int(sim.steps.size());
    if (!sim.steps.empty()) {
        sim.peakTorquePercent = state.peakTorque;
        sim.peakLoadPercent = state.peakLoad;
        sim.finalLoadPercent = sim.steps.back().load;
    }
}

// A chart coordinate: the origin plus a value, held in 16 bits.
std::int16_t sum16(std::int16_t origin, int value) {
    const int sum = origin + value;
    if (sum < -32768 || sum > 32767)
        fail();
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
        // Widths are in device pixels, whatever the scale, as on the original surfaces.
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

LoadSimulation SimulateLoad(const DutyCycleInputs& inputs, const Catalogue& catalogue) {
    LoadSimulation sim;
    try {
        setUp(inputs, catalogue, sim);
        sim.setUp = true;
        if (inputs.cycleTime == 0) {
            sim.completed = true; // frame and legend only
            return sim;
        }
        simulate(inputs, catalogue.Motors[sim.MotorRow], sim);
    } catch (const Failed&) {
        sim.completed = false; // before the first step: stoppedAtStep stays 0
    }
    return sim;
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
