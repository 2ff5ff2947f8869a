#pragma once

// The step loop of the duty-cycle simulation, shared by the simulation and the search for the
// shortest safe cycle time; nothing outside the calculation uses it.

#include "calc/loadsimulation.h"
#include "numbers/textvalue.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace veldrune {

struct Catalogue;

// The 32-bit 0.1 that Retention, StepLoss, N and the step time are made with; the hold time
// grows by the 64-bit one.
inline constexpr float Tenth = 0.1f;

inline bool storable(double value) {
    return std::fabs(value) <= double(FLT_MAX); // false for a NaN too
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

inline RampTerms rampTerms(float r, const StepConstants& c) {
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

// Int(time / cycle) for times that only grow, as the step loop works it out: through a 64-bit
// integer (the set-up made sure the quotient fits one). With a positive cycle it is divided
// afresh only near a cycle's end: a time short of (whole + 1) x cycle by more than any rounding
// of the quotient still gives `whole`.
class WholeCycles {
public:
    explicit WholeCycles(double cycle)
        : m_cycle(cycle)
        , m_next(cycle > 0 ? cycle : -HUGE_VAL) {}

    double at(double time) {
        if (time >= m_next * (1 - 1e-12)) [[unlikely]] {
            const double cycles = time / m_cycle;
            const double truncated = double(static_cast<std::int64_t>(cycles));
            m_whole = truncated > cycles ? truncated - 1 : truncated;
            if (m_cycle > 0)
                m_next = (m_whole + 1) * m_cycle;
        }
        return m_whole;
    }

private:
    double m_cycle;
    double m_next; // where the next cycle starts
    double m_whole = 0;
};

// Where the torque stands within the cycle (the ramp r) and how long it has been held.
struct Ramp {
    float r = 0;
    double hold = 0;

    // A step at this phase of the cycle; whether the ramp moved.
    bool step(float phase, const StepConstants& c) {
        const float before = r;
        if (phase <= c.rampEnd) {
            r = phase; // the torque rises
        } else if (hold < c.recovery) {
            hold += 0.1; // the torque is held
        } else {
            r = 0; // the tool is idle; the next hold starts from nothing
            hold = 0;
        }
        return r != before;
    }
};

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

    Ramp ramp{state.r, state.hold};
    double load = state.load;
    double peakTorque = state.peakTorque;
    double peakLoad = state.peakLoad;
    int done = state.steps;
    RampTerms terms = rampTerms(ramp.r, c);
    bool ok = terms.ok;
    WholeCycles cycles(c.cycle);
    int n = 1;
    for (; n <= c.count; ++n) {
        const float time = float(double(Tenth) * n);
        const double whole = cycles.at(time);
        const float phase = float(double(time) - whole * c.cycle);
        if (ramp.step(phase, c)) {
            terms = rampTerms(ramp.r, c);
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
                {terms.torquePercent, time, phase, ramp.r, stored, x, terms.torqueY, *loadY});
        ++done;
        load = double(stored);
        peakTorque = std::max(peakTorque, terms.torquePercent);
        peakLoad = std::max(peakLoad, load);
    }
    state = {ramp.r, ramp.hold, load, peakTorque, peakLoad, done};
    return ok ? 0 : n;
}

// A cycle so short (below a femtosecond) that time / cycle passes 2^62 is not simulated.
inline bool CycleTooShort(const StepConstants& c) {
    return !(c.count * 0.1 / std::fabs(c.cycle) < 4611686018427387904.0) && c.cycle != 0;
}

// The step loop's constants for the inputs, as SimulateLoad makes them; none where the
// simulation stops before its first step.
std::optional<StepConstants> StepConstantsFor(const DutyCycleInputs& inputs,
                                              const Catalogue& catalogue);

} // namespace veldrune
