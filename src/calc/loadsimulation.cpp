#include "calc/loadsimulation.h"

#include "calc/steploop.h"

#include "catalogue/catalogue.h"
#include "numbers/numberformat.h"
#include "numbers/textvalue.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace veldrune {

namespace {

// Newton metres per unit, by the unit's position in TQUNIT.
constexpr float UnitFactors[UnitCount] = {1.0f, 9.80665f, 0.0980665f, 1.355798f, 0.1129832f};
constexpr int ListedTools = 150;

struct Failed {};

[[noreturn]] void fail() {
    throw Failed{};
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

// The step loop's constants for the inputs, their cycle time included; the slopes go into
// `sim`. Fails where the simulation stops before its first step.
StepConstants stepConstants(const DutyCycleInputs& in, const MotorRecord& motor,
                            LoadSimulation& sim) {
    // N is 1200 steps times a power of two, a whole number; a period beyond the list's
    // entries that would take more than a billion steps is not simulated.
    const float N = single(std::pow(2.0, in.periodPosition) * (120 / double(Tenth)));
    if (!(N <= 1e9f) || float(int(N)) != N)
        fail();
    const double loadTime = sim.LoadTime;
    sim.TorqueSlope = single(double(sim.MotorTorque) / motor.PeakTorque * 100 / loadTime);
    sim.CurrentSlope = single(double(sim.TorqueCurrent) * 0.8660254 / loadTime);
    return {single(in.cycleTime), in.recoveryTime, sim.LoadTime,  sim.TorqueSlope,
            sim.CurrentSlope,     sim.StepLoss,    sim.Retention, int(N)};
}

void simulate(const DutyCycleInputs& in, const MotorRecord& motor, LoadSimulation& sim,
              bool keepSteps) {
    const StepConstants constants = stepConstants(in, motor, sim);
    if (CycleTooShort(constants))
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

std::optional<StepConstants> StepConstantsFor(const DutyCycleInputs& inputs,
                                              const Catalogue& catalogue) {
    LoadSimulation sim;
    try {
        setUp(inputs, catalogue, sim);
        return stepConstants(inputs, catalogue.Motors[sim.MotorRow], sim);
    } catch (const Failed&) {
        return std::nullopt;
    }
}

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
