#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace veldrune {

struct Catalogue;

// What the duty-cycle simulation needs of the station, as values.
struct DutyCycleInputs {
    QString tool;            // the text of TOOLLIST; its characters 8 to 10 name the motor
    bool toolChosen = false; // TOOLLIST does not show its first entry
    QString angleHead;       // the text of ANGLE
    int unitPosition = 0;    // of the TQUNIT entry equal to its text; 5 when none is
    double fasteningTorque = 0;
    double tighteningTime = 0;
    double freerunTime = 0;
    bool prevailing = false;
    double cycleTime = 0;
    double recoveryTime = 0;
    int periodPosition = 0; // of the DURR entry equal to its text; the entry count when none is
    friend bool operator==(const DutyCycleInputs&, const DutyCycleInputs&) = default;
};

// One simulated step of 0.1 second, and the chart coordinates it gives.
struct LoadStep {
    double torquePercent;
    float time;
    float phase; // time since the start of the station cycle
    float ramp;  // how far the torque has risen, in seconds
    float load;  // motor load, per cent
    std::int16_t x;
    std::int16_t torqueY;
    std::int16_t loadY;
};

// The motor's thermal load over the period: its set-up as far as it got, and every step
// simulated. A set-up or a step that fails (a division by zero, an invalid or overflowing
// result, a motor row without data) ends the simulation there.
struct LoadSimulation {
    std::int16_t MotorRow = 0;
    double MotorSpeed = 0;
    float TimeConstant = 0;
    float LossScale = 0;
    float Retention = 0;
    float StepLoss = 0;
    std::optional<float> GearRatio; // missing when set-up stopped before it
    float MotorTorque = 0;
    float TorqueCurrent = 0;
    float LoadTime = 0;
    float TorqueSlope = 0;
    float CurrentSlope = 0;

    bool setUp = false;   // set-up is complete: the chart's frame, labels and legend are drawn
    int plannedSteps = 0; // N; 0 while the station cycle time is 0 and no curve is drawn
    std::vector<LoadStep> steps; // when kept
    bool completed = false;
    int stoppedAtStep = 0; // when not completed: the failing step, 0 for set-up or the slopes

    // Over the steps simulated; 0 when there were none.
    int simulatedSteps = 0;
    double peakTorquePercent = 0;
    double peakLoadPercent = 0;
    double finalLoadPercent = 0;
};

// Simulates the motor's load step by step over the period, with the motor data and the
// tool's speed from the catalogue. Pure arithmetic: nothing is drawn. Without `keepSteps`
// only the set-up, the count and the sums are kept, not every step.
LoadSimulation SimulateLoad(const DutyCycleInputs& inputs, const Catalogue& catalogue,
                            bool keepSteps = true);

// The load in words, for a reader who cannot see the chart: the peak motor load and the load
// at the end of the period in per cent, with one decimal as veldrune-calc prints them, and the
// verdict ("no overload" or "OVERLOAD above 100 %"). Empty when no curve is drawn.
QString LoadInWords(const LoadSimulation& sim);

} // namespace veldrune
