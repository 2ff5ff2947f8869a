#include "calc/loadsimulation.h"

#include "catalogue/catalogue.h"
#include "support/qtprinters.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace veldrune {
namespace {

// The worked example: motor row 1 at 10000 RPM in a tool of 1000 RPM, 10 N·m fastened in 1 s
// every 5 s, no recovery time, for 2 minutes.
class SimulatedLoad : public ::testing::Test {
protected:
    SimulatedLoad() {
        InitMotorTable(catalogue.Motors);
        useTool(u"KRV-100QM1"_s);
        catalogue.Tools[1].MaxSpeed = 1000;
        catalogue.Tools[2].Model = u"END"_s;
        in.toolChosen = true;
        in.angleHead = u" "_s;
        in.fasteningTorque = 10;
        in.tighteningTime = 1;
        in.freerunTime = 0.5;
        in.cycleTime = 5;
    }
    void useTool(const QString& model) { in.tool = catalogue.Tools[1].Model = FixedModel(model); }
    LoadSimulation simulate() const { return SimulateLoad(in, catalogue); }
    static const LoadStep& step(const LoadSimulation& sim, int n) {
        return sim.steps.at(std::size_t(n - 1));
    }
    // The torque curve's heights from one step to another.
    static QString torqueY(const LoadSimulation& sim, int from, int to) {
        QStringList heights;
        for (int n = from; n <= to; ++n)
            heights.append(QString::number(step(sim, n).torqueY));
        return heights.join(u' ');
    }

    Catalogue catalogue;
    DutyCycleInputs in;
};

// The set-up's figures to six digits, and steps of the first cycles: the phase, the torque
// and load in per cent, the point of each curve.
TEST_F(SimulatedLoad, WorkedExample) {
    const LoadSimulation sim = simulate();
    ASSERT_TRUE(sim.completed);
    ASSERT_EQ(sim.simulatedSteps, 1200);
    EXPECT_EQ(QString::asprintf("%d %g %g %g %g %g %g %g %g %g %g", sim.MotorRow, sim.MotorSpeed,
                                double(*sim.GearRatio), double(sim.MotorTorque),
                                double(sim.TorqueCurrent), double(sim.TorqueSlope),
                                double(sim.CurrentSlope), double(sim.TimeConstant),
                                double(sim.LossScale), double(sim.Retention), double(sim.StepLoss)),
              u"1 10000 10 1 4.55782 68.0272 3.94719 87.4608 0.0384866 0.998857 0.0326752"_s);
    const std::pair<int, QString> steps[] = {{1, u"0.1 6.80 0.010 508 2630 2800"_s},
                                             {10, u"1 68.03 3.906 583 1099 2702"_s},
                                             {11, u"1.1 0.00 3.934 591 2800 2702"_s},
                                             {50, u"0 0.00 5.008 916 2800 2675"_s},
                                             {60, u"1 68.03 8.857 1000 1099 2579"_s}};
    for (const auto& [n, expected] : steps) {
        const LoadStep& s = step(sim, n);
        EXPECT_EQ(QString::asprintf("%g %.2f %.3f %d %d %d", double(s.phase), s.torquePercent,
                                    double(s.load), s.x, s.torqueY, s.loadY),
                  expected);
    }
}

TEST_F(SimulatedLoad, RecoveryHoldsTheTorqueAndPrevailingTorqueLengthensTheRamp) {
    in.recoveryTime = 0.3; // the ramp ends at step 10, the torque holds three more
    EXPECT_EQ(torqueY(simulate(), 10, 14), u"1099 1099 1099 1099 2800"_s);

    in.recoveryTime = 0;
    const double withoutPrevailing = simulate().peakLoadPercent;
    in.prevailing = true; // the ramp takes the free-run time too: 1.5 s to the same peak
    const LoadSimulation sim = simulate();
    EXPECT_EQ(sim.LoadTime, 1.5f);
    EXPECT_EQ(torqueY(sim, 10, 15), u"1666 1553 1439 1326 1213 1099"_s);
    EXPECT_GT(sim.peakLoadPercent, withoutPrevailing);
}

TEST_F(SimulatedLoad, ShortCyclesRampFromZeroAgainAndIdleStepsStillWarmTheMotor) {
    in.cycleTime = 0.5; // shorter than the ramp: it never reaches the hold
    LoadSimulation sim = simulate();
    EXPECT_EQ(step(sim, 4).ramp, step(sim, 4).phase);
    EXPECT_EQ(step(sim, 5).phase, 0.0f);
    EXPECT_EQ(torqueY(sim, 5, 6), u"2800 2630"_s);

    in.cycleTime = 1000;   // one fastening, then a long idle span: the load tends to
    in.periodPosition = 3; // StepLoss x Retention / (1 - Retention), not to 0
    sim = simulate();
    const double limit = sim.StepLoss * double(sim.Retention) / (1 - double(sim.Retention));
    EXPECT_NEAR(sim.finalLoadPercent, limit, limit * 0.01);

    in.cycleTime = 0; // simulates nothing
    sim = simulate();
    EXPECT_TRUE(sim.setUp && sim.completed);
    EXPECT_EQ(sim.plannedSteps, 0);
    EXPECT_EQ(sim.peakLoadPercent, 0);
}

TEST_F(SimulatedLoad, SetUpFailuresStopBeforeTheFrameAndStepFailuresKeepTheStepsBefore) {
    // No motor family letter; "T9" points at row 14, which holds zeros.
    for (const auto& [model, row] :
         {std::pair(u"KRV-100QX1"_s, 0), std::pair(u"KRV-100QT9"_s, 14)}) {
        useTool(model);
        const LoadSimulation sim = simulate();
        EXPECT_FALSE(sim.setUp || sim.completed || sim.stoppedAtStep || sim.GearRatio);
        EXPECT_EQ(sim.MotorRow, row);
    }
    useTool(u"KRV-100QM1"_s);
    in.tighteningTime = 0; // a ramp of no time: the slopes divide by zero
    EXPECT_TRUE(simulate().setUp);
    EXPECT_EQ(simulate().stoppedAtStep, 0);

    in.fasteningTorque = 300; // far beyond the motor: a curve leaves 16 bits on the way
    in.tighteningTime = 30;
    in.cycleTime = 40;
    const LoadSimulation sim = simulate();
    EXPECT_FALSE(sim.completed);
    EXPECT_GT(sim.stoppedAtStep, 1);
    EXPECT_EQ(sim.simulatedSteps, sim.stoppedAtStep - 1);
    EXPECT_EQ(sim.steps.size(), std::size_t(sim.simulatedSteps));
}

} // namespace
} // namespace veldrune
