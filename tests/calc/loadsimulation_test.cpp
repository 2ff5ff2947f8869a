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

    Catalogue catalogue;
    DutyCycleInputs in;
};

TEST_F(SimulatedLoad, WorkedExample) {
    const LoadSimulation sim = simulate();
    EXPECT_EQ(sim.MotorRow, 1);
    EXPECT_EQ(sim.MotorSpeed, 10000);
    EXPECT_EQ(sim.GearRatio, 10.0f);
    EXPECT_EQ(sim.MotorTorque, 1.0f);
    EXPECT_NEAR(sim.TorqueCurrent, 4.55782, 1e-5);
    EXPECT_NEAR(sim.TorqueSlope, 68.0272, 1e-4);
    EXPECT_NEAR(sim.CurrentSlope, 3.94719, 1e-5);
    EXPECT_NEAR(sim.TimeConstant, 87.4608, 1e-4);
    EXPECT_NEAR(sim.LossScale, 0.0384866, 1e-7);
    EXPECT_NEAR(sim.Retention, 0.998857, 1e-6);
    EXPECT_NEAR(sim.StepLoss, 0.0326752, 1e-7);
    ASSERT_TRUE(sim.completed);
    ASSERT_EQ(sim.simulatedSteps, 1200);

    struct Expected {
        int n;
        double phase, torquePercent, load; // no load: the example gives none
        int x, torqueY, loadY;
    };
    const Expected expected[] = {{1, 0.1, 6.80, 0.01017, 508, 2630, 2800},
                                 {10, 1, 68.03, 3.906, 583, 1099, 2702},
                                 {11, 1.1, 0, 3.934, 591, 2800, 2702},
                                 {50, 0, 0, -1, 916, 2800, -1},
                                 {60, 1, 68.03, 8.857, 1000, 1099, 2579}};
    for (const Expected& e : expected) {
        SCOPED_TRACE(e.n);
        const LoadStep& s = step(sim, e.n);
        EXPECT_NEAR(s.phase, e.phase, 1e-5);
        EXPECT_NEAR(s.torquePercent, e.torquePercent, 0.005);
        EXPECT_EQ(s.x, e.x);
        EXPECT_EQ(s.torqueY, e.torqueY);
        if (e.load >= 0) {
            EXPECT_NEAR(s.load, e.load, 0.0005);
            EXPECT_EQ(s.loadY, e.loadY);
        }
    }
}

TEST_F(SimulatedLoad, RecoveryHoldsTheTorqueAndPrevailingTorqueLengthensTheRamp) {
    in.recoveryTime = 0.3;
    LoadSimulation sim = simulate();
    for (int n = 10; n <= 13; ++n) // the ramp ends at step 10, the torque holds three more
        EXPECT_EQ(step(sim, n).torqueY, 1099) << n;
    EXPECT_EQ(step(sim, 14).torqueY, 2800);

    in.recoveryTime = 0;
    const double withoutPrevailing = simulate().peakLoadPercent;
    in.prevailing = true; // the ramp takes the free-run time too: 1.5 s to the same peak
    sim = simulate();
    EXPECT_EQ(sim.LoadTime, 1.5f);
    EXPECT_EQ(step(sim, 10).torqueY, 1666);
    EXPECT_EQ(step(sim, 15).torqueY, 1099);
    EXPECT_GT(sim.peakLoadPercent, withoutPrevailing);
}

TEST_F(SimulatedLoad, ShortCyclesRampFromZeroAgainAndIdleStepsStillWarmTheMotor) {
    in.cycleTime = 0.5; // shorter than the ramp: it never reaches the hold
    LoadSimulation sim = simulate();
    EXPECT_EQ(step(sim, 4).ramp, step(sim, 4).phase);
    EXPECT_EQ(step(sim, 5).phase, 0.0f);
    EXPECT_EQ(step(sim, 5).torqueY, 2800);
    EXPECT_EQ(step(sim, 6).torqueY, 2630);

    in.cycleTime = 1000;   // one fastening, then a long idle span: the load tends to
    in.periodPosition = 3; // StepLoss x Retention / (1 - Retention), not to 0
    sim = simulate();
    const double limit = sim.StepLoss * double(sim.Retention) / (1 - double(sim.Retention));
    EXPECT_NEAR(sim.finalLoadPercent, limit, limit * 0.01);
}

TEST_F(SimulatedLoad, SetUpFailuresStopBeforeTheFrameAndStepFailuresKeepTheStepsBefore) {
    // No motor family letter; "T9" points at row 14, which holds zeros.
    for (const auto& [model, row] :
         {std::pair(u"KRV-100QX1"_s, 0), std::pair(u"KRV-100QT9"_s, 14)}) {
        useTool(model);
        const LoadSimulation sim = simulate();
        EXPECT_FALSE(sim.setUp);
        EXPECT_FALSE(sim.completed);
        EXPECT_EQ(sim.stoppedAtStep, 0);
        EXPECT_EQ(sim.MotorRow, row);
        EXPECT_FALSE(sim.GearRatio);
    }
    useTool(u"KRV-100QM1"_s);
    in.tighteningTime = 0; // a ramp of no time: the slopes divide by zero
    EXPECT_EQ(simulate().stoppedAtStep, 0);
    EXPECT_TRUE(simulate().setUp);

    in.fasteningTorque = 300; // far beyond the motor: a curve leaves 16 bits on the way
    in.tighteningTime = 30;
    in.cycleTime = 40;
    const LoadSimulation sim = simulate();
    EXPECT_FALSE(sim.completed);
    EXPECT_GT(sim.stoppedAtStep, 1);
    EXPECT_EQ(sim.simulatedSteps, sim.stoppedAtStep - 1);
    EXPECT_EQ(sim.steps.size(), std::size_t(sim.simulatedSteps));
}

TEST_F(SimulatedLoad, ACycleTimeOfZeroSimulatesNothing) {
    in.cycleTime = 0;
    const LoadSimulation sim = simulate();
    EXPECT_TRUE(sim.setUp && sim.completed);
    EXPECT_EQ(sim.plannedSteps, 0);
    EXPECT_EQ(sim.peakLoadPercent, 0);
}

} // namespace
} // namespace veldrune
