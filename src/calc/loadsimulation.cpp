#include "calc/loadsimulation.h"

#include "catalogue/catalogue.h"
#include "numbers/numberformat.h"
#include "numbers/textvalue.h"

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

[[noreturn]] void fail() {
    throw Failed{};
}

bool storable(double value) {
    return std::fabs(value) <= double(FLT_MAX); // false for a NaN too
}

// A value stored in a 32-bit float: beyond its range it overflows.
float single(double value) {
    if (!storable(value))
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
    int count; // N, the number of steps
};

// What the loop carries from step to step, and the sums it keeps.
struct StepState {
    float r = 0;
    double hold = 0;
    double load = 0;
    double peakTorque = -HUGE_VAL;
    double peakLoad = -HUGE_VAL;
    int steps = 0; // simulated so far
};

// What follows from the ramp r alone.
struct RampTerms {
    double torquePercent;
    double loss; // the loss a step adds: more while the motor works
    std::int16_t torqueY;
    bool ok;
};

RampTerms rampTerms(float r, const StepConstants& c) {
    RampTerms terms;
    terms.torquePercent = double(r) * c.torqueSlope;
    const auto torqueY = RoundInt16(2800 - terms.torquePercent * 25);
    terms.torqueY = torqueY.value_or(0);
    const double current = c.currentSlope * double(r);
    terms.ok = torqueY && storable(current);
    const double stored = double(float(current));
    // Both kinds of step add the step loss: an idle motor still warms by it.
    terms.loss = r > 0 ? 2 * (stored * stored) * c.stepLoss : c.stepLoss;
    return terms;
}

// Steps n = 1, 2, ... up to the count, appending each to `steps` where they are kept; returns
// the step that fails, or 0 when all ran. The step loop is the simulation's whole cost, so it is
// written for speed without changing a result: what depends on the ramp alone is worked out only
// when the ramp changes, a step's checks are gathered into one flag, x = Int(n x 10000 / N)
// + 500 goes on by a whole quotient and a remainder, and a step is built where it is kept.
template <bool Keep>
[[gnu::noinline]] int runSteps(const StepConstants c, StepState& state,
                               std::vector<LoadStep>& steps) {
    const int xStep = 10000 / c.count;
    const int xRemainderStep = 10000 % c.count;
    int xQuotient = 0;
    int xRemainder = 0;

    float r = state.r;
    double hold = state.hold;
    double load = state.load;
    double peakTorque = state.peakTorque;
    double peakLoad = state.peakLoad;
    int done = state.steps;
    RampTerms terms = rampTerms(r, c);
    bool ok = terms.ok;
    int n = 1;
    for (; n <= c.count; ++n) {
        const float time = float(double(Tenth) * n);
        // Int(time / cycle), through a 64-bit integer: the set-up made sure the quotient
        // fits one.
        const double cycles = double(time) / c.cycle;
        const double truncated = double(static_cast<std::int64_t>(cycles));
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
        xQuotient += xStep;
        xRemainder += xRemainderStep;
        if (xRemainder >= c.count) {
            xRemainder -= c.count;
            ++xQuotient;
        }
        const auto x = std::int16_t(xQuotient + 500); // at most 10500
        // Load y in 32-bit arithmetic, then rounded.
        const auto loadY = RoundInt16(2800.0f - stored * 25.0f);
        ok &= bool(loadY);
        if (!ok) [[unlikely]]
            break;
        if constexpr (Keep)
            steps.push_back(
                {terms.torquePercent, time, phase, r, stored, x, terms.torqueY, *loadY});
        ++done;
        load = double(stored);
        peakTorque = std::max(peakTorque, terms.torquePercent);
        peakLoad = std::max(peakLoad, load);
    }
    state = {r, hold, load, peakTorque, peakLoad, done};
    return ok ? 0 : n;
}

void simulate(const DutyCycleInputs& in, const MotorRecord& motor, LoadSimulation& sim,
              bool keepSteps) {
    // N is 1200 steps times a power of two, a whole number; a period beyond the list's
    // entries that would take more than a billion steps is not simulated.
    const float N = single(std::pow(2.0, in.periodPosition) * (120 / double(Tenth)));
    if (!(N <= 1e9f) || float(int(N)) != N)
        fail();
    const double loadTime = sim.LoadTime;
    sim.TorqueSlope = single(double(sim.MotorTorque) / motor.PeakTorque * 100 / loadTime);
    sim.CurrentSlope = single(double(sim.TorqueCurrent) * 0.8660254 / loadTime);
    const StepConstants constants{
        single(in.cycleTime), in.recoveryTime, sim.LoadTime,  sim.TorqueSlope,
        sim.CurrentSlope,     sim.StepLoss,    sim.Retention, int(N)};
    // A cycle so short (below a femtosecond) that time / cycle passes 2^62 is not simulated.
    if (!(constants.count * 0.1 / std::fabs(constants.cycle) < 4611686018427387904.0) &&
        constants.cycle != 0)
        fail();
    sim.plannedSteps = constants.count;
    if (keepSteps)
        sim.steps.reserve(std::size_t(constants.count));
    StepState state;
    // A cycle of 0 fails on the first step's division; any other keeps every phase finite
    // and within a 32-bit float, as the phase lies between 0 and the cycle.
    sim.stoppedAtStep = constants.cycle == 0 ? 1
                        : keepSteps          ? runSteps<true>(constants, state, sim.steps)
                                             : runSteps<false>(constants, state, sim.steps);
    sim.completed = sim.stoppedAtStep == 0;
    sim.simulatedSteps = state.steps;
    if (state.steps > 0) {
        sim.peakTorquePercent = state.peakTorque;
        sim.peakLoadPercent = state.peakLoad;
        sim.finalLoadPercent = state.load;
    }
}

} // namespace

LoadSimulation SimulateLoad(const DutyCycleInputs& inputs, const Catalogue& catalogue,
                            bool keepSteps) {
    LoadSimulation sim;
    try {
        setUp(inputs, catalogue, sim);
        sim.setUp = true;
        if (inputs.cycleTime == 0) {
            sim.completed = true; // frame and legend only
            return sim;
        }
        simulate(inputs, catalogue.Motors[sim.MotorRow], sim, keepSteps);
    } catch (const Failed&) {
        sim.completed = false; // before the first step: stoppedAtStep stays 0
    }
    return sim;
}

QString LoadInWords(const LoadSimulation& sim) {
    if (!sim.setUp || sim.simulatedSteps == 0)
        return {};
    const auto percent = [](double value) {
        return QString::fromStdString(DecimalText(value, std::chars_format::fixed, 1)) +
               QStringLiteral(" %");
    };
    QString words = QStringLiteral("Peak motor load ") + percent(sim.peakLoadPercent) +
                    QStringLiteral(", load at the end of the period ") +
                    percent(sim.finalLoadPercent) + QStringLiteral(": ") +
                    (sim.peakLoadPercent > 100 ? QStringLiteral("OVERLOAD above 100 %")
                                               : QStringLiteral("no overload"));
    if (!sim.completed)
        words += QStringLiteral(" (the simulation stops at step %1)").arg(sim.stoppedAtStep);
    return words;
}

} // namespace veldrune
