#include "calc/safecycle.h"

#include "calc/steploop.h"
#include "numbers/numberformat.h"
#include "numbers/textvalue.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <cmath>
#include <limits>

namespace veldrune {

namespace {

// Cycle times whose loads are carried side by side: their chains are independent, so the
// processor works on all of them in the time one step of one chain takes.
constexpr int Lanes = 4;

// The loss a step adds while the ramp stands at r, as the step loop works it out, for any r.
double lossAt(double r, const StepConstants& c) {
    if (!(r > 0))
        return c.stepLoss;
    const double current = c.currentSlope * r;
    if (!storable(current))
        return std::numeric_limits<double>::infinity();
    const double stored = double(float(current));
    return 2 * (stored * stored) * c.stepLoss;
}

// The step loop for one cycle time with the motor load left out: the loss each step adds, and
// whether every step's torque and current could be worked out (the loop stops where one
// cannot).
bool stepLosses(const StepConstants& c, double cycle, const std::vector<double>& times,
                double* losses) {
    Ramp ramp;
    RampTerms terms = rampTerms(ramp.r, c);
    bool ok = terms.ok;
    WholeCycles cycles(cycle);
    for (int i = 0; i < c.count; ++i) {
        const double time = times[std::size_t(i)];
        const double whole = cycles.at(time);
        if (ramp.step(float(time - whole * cycle), c)) {
            terms = rampTerms(ramp.r, c);
            ok &= terms.ok;
        }
        losses[i] = terms.loss;
    }
    return ok;
}

// The motor load of N chains of losses, each step as the step loop adds it; the peak of each.
template <int N>
std::array<double, N> peakLoads(const StepConstants& c,
                                const std::array<const double*, N>& losses) {
    std::array<double, N> load{};
    std::array<double, N> peak;
    peak.fill(-HUGE_VAL);
    for (int i = 0; i < c.count; ++i) {
        for (int k = 0; k < N; ++k) {
            load[k] = double(float((losses[k][i] + load[k]) * c.retention));
            peak[k] = std::max(peak[k], load[k]);
        }
    }
    return peak;
}

class Search {
public:
    explicit Search(const StepConstants& constants)
        : m_c(constants) {
        const std::size_t count = std::size_t(m_c.count);
        m_times.resize(count);
        for (std::size_t i = 0; i < count; ++i)
            m_times[i] = double(float(double(Tenth) * double(i + 1)));
        for (auto& lane : m_lanes)
            lane.resize(count);

        // Every loss lies between the idle one and the loss at the ramp's end. Where both are
        // finite and not negative and the retention below 1, every load stays finite and not
        // negative, and the peak alone tells whether the motor keeps within its load: the load
        // chains run without a check of their own.
        m_busyLoss = std::max(m_c.stepLoss, lossAt(m_c.rampEnd, m_c));
        const double growth = m_c.retention * (1 + 1e-6);
        m_plainChains = m_c.stepLoss >= 0 && m_c.retention > 0 && growth < 1 &&
                        m_busyLoss / (1 - growth) < 1e30;

        // The ramp and the hold after it end within this time of a cycle's start: the ramp at
        // rampEnd, the hold once it has grown by 0.1 a step to the recovery time, with a step
        // to spare for the rounding of each. Every torque and current from a ramp of 0 to
        // rampEnd can be worked out when those at both ends can.
        const double holdSteps = m_c.recovery > 0 ? std::ceil(m_c.recovery * 10) : 0;
        m_busyTime = double(m_c.rampEnd) + 0.1 * (holdSteps + 3);
        m_margin = (m_busyTime + 1) * 1e-6;
        m_bounds = m_plainChains && m_c.rampEnd >= 0 && std::isfinite(m_busyTime) &&
                   rampTerms(0, m_c).ok && rampTerms(m_c.rampEnd, m_c).ok;
        if (m_bounds)
            m_bound.resize(count);
    }

    bool bounds() const { return m_bounds; }

    // Whether every cycle time from `shortest` to `longest` keeps the motor within its load.
    // The step recursion only adds, multiplies by a positive retention and rounds, each of
    // which keeps an order, so one chain fed at each step the largest loss that any of these
    // cycle times can add there bounds the load of them all. False when the bound passes 100 %
    // (some of them may still keep within it).
    bool boundClears(double shortest, double longest) {
        if (!(shortest > m_busyTime + m_margin))
            return false;
        std::fill(m_bound.begin(), m_bound.end(), m_c.stepLoss);
        const double lastTime = m_times.back();
        for (std::int64_t k = 0;; ++k) {
            // The k-th cycle of each cycle time starts between these, and its ramp and hold
            // are over by `last`.
            const double first = double(k) * shortest - m_margin;
            if (first > lastTime)
                break;
            const double last = double(k) * longest + m_busyTime + m_margin;
            const auto from = std::size_t(std::max(0.0, first * 10 - 3));
            const auto to = std::size_t(std::min(last * 10 + 3, double(m_c.count - 1)));
            for (std::size_t i = from; i <= to; ++i) {
                const double t = m_times[i];
                if (t < first || t > last)
                    continue;
                // No cycle time's ramp has risen further than this.
                const double ramp = t - double(k) * shortest + m_margin;
                const double loss = ramp >= double(m_c.rampEnd)
                                        ? m_busyLoss
                                        : std::max(m_c.stepLoss, lossAt(ramp, m_c));
                m_bound[i] = std::max(m_bound[i], loss);
            }
        }
        return peakLoads<1>(m_c, {m_bound.data()})[0] <= 100;
    }

    // Of the cycle times, the first at which the motor overloads or a step cannot be worked out.
    std::optional<int> firstUnsafe(const double* cycles, int count) {
        if (!m_plainChains) {
            for (int j = 0; j < count; ++j) {
                if (!safeStepByStep(cycles[j]))
                    return j;
            }
            return std::nullopt;
        }
        std::array<bool, Lanes> computed{};
        for (int j = 0; j < count; ++j) {
            StepConstants c = m_c;
            c.cycle = cycles[j];
            computed[std::size_t(j)] =
                !CycleTooShort(c) && stepLosses(m_c, cycles[j], m_times, m_lanes[j].data());
        }
        std::array<double, Lanes> peaks{};
        if (count == Lanes) {
            peaks = peakLoads<Lanes>(
                m_c, {m_lanes[0].data(), m_lanes[1].data(), m_lanes[2].data(), m_lanes[3].data()});
        } else {
            for (int j = 0; j < count; ++j)
                peaks[std::size_t(j)] = peakLoads<1>(m_c, {m_lanes[j].data()})[0];
        }
        for (int j = 0; j < count; ++j) {
            if (!computed[std::size_t(j)] || peaks[std::size_t(j)] > 100)
                return j;
        }
        return std::nullopt;
    }

private:
    bool safeStepByStep(double cycle) const {
        StepConstants c = m_c;
        c.cycle = cycle;
        if (cycle == 0 || CycleTooShort(c))
            return false;
        StepState state;
        std::vector<LoadStep> none;
        return runSteps<false>(c, state, none) == 0 && state.peakLoad <= 100;
    }

    StepConstants m_c;
    std::vector<double> m_times; // of steps 1 to N, as the step loop has them
    std::array<std::vector<double>, Lanes> m_lanes;
    bool m_plainChains = false;
    double m_busyLoss = 0;
    double m_busyTime = 0;
    double m_margin = 0;
    bool m_bounds = false;
    std::vector<double> m_bound;
};

} // namespace

double LastStepTime(const DutyCycleInputs& inputs) {
    const double steps = std::pow(2.0, inputs.periodPosition) * (120 / double(Tenth));
    if (!(steps >= 1 && steps <= 1e9))
        return 0;
    return double(float(double(Tenth) * float(steps)));
}

std::optional<std::int64_t> FirstUnsafeCycle(const DutyCycleInputs& inputs,
                                             const Catalogue& catalogue, std::int64_t longest,
                                             std::int64_t shortest) {
    if (longest < shortest)
        return std::nullopt;
    const auto constants = StepConstantsFor(inputs, catalogue);
    if (!constants)
        return longest;
    Search search(*constants);
    const std::int64_t count = (longest - shortest) / 10 + 1;
    const auto cycle = [&](std::int64_t i) { return double(float(CycleTimeOf(longest - 10 * i))); };
    std::int64_t i = 0;
    std::int64_t block = 16;
    bool bounding = search.bounds();
    bool growing = true;
    while (i < count) {
        // Ranges cleared by a bound, growing until one is not, then halved each time one is
        // not, until two at a time are not: the loads then rise too near 100 % for a bound to
        // help. The load mostly grows as the cycle time falls, so a range once too long is not
        // tried again.
        if (bounding) {
            const std::int64_t last = std::min(count - 1, i + block - 1);
            if (last > i && search.boundClears(cycle(last), cycle(i))) {
                i = last + 1;
                block *= growing ? 2 : 1;
                continue;
            }
            growing = false;
            if (last > i && block > 2) {
                block /= 2;
                continue;
            }
            bounding = false;
        }
        const int lanes = int(std::min<std::int64_t>(Lanes, count - i));
        std::array<double, Lanes> cycles{};
        for (int j = 0; j < lanes; ++j)
            cycles[std::size_t(j)] = cycle(i + j);
        if (const auto unsafe = search.firstUnsafe(cycles.data(), lanes))
            return longest - 10 * (i + *unsafe);
        i += lanes;
    }
    return std::nullopt;
}

// The load does not fall steadily with the cycle time (the steps of the simulation make it
// jump), so every cycle time counts; typing one changes nothing else the simulation reads.
// Every cycle time beyond the period's last step simulates as the station's own does, which
// keeps within the load: the search starts below them, whatever the station's own.
QString ShortestSafeCycleTime(const DutyCycleInputs& inputs, const Catalogue& catalogue,
                              const QString& cycleTime, const QString& totalTime) {
    const double own = TextValue(cycleTime);
    const double ownHundredths = std::round(own * 100);
    const double totalHundredths = std::max(std::round(TextValue(totalTime) * 100), 1.0);
    const double period = LastStepTime(inputs);
    const QString unchanged = FormatFixed(own, 2);
    if (!std::isfinite(ownHundredths) || !(ownHundredths - 10 >= totalHundredths) || period == 0)
        return unchanged;
    const auto beyond = [period](std::int64_t h) { return double(float(CycleTimeOf(h))) > period; };
    const auto shortest = std::int64_t(totalHundredths);
    std::int64_t longest = 0; // the first cycle time simulated
    if (own > double(FLT_MAX) || double(float(own)) > period) {
        const auto residue = std::int64_t(std::fmod(ownHundredths, 10));
        std::int64_t first = std::int64_t(period * 10) * 10 - 20 + residue;
        while (!beyond(first))
            first += 10; // the shortest cycle time beyond the period
        if (first - 10 < shortest) {
            const std::int64_t last = shortest + ((residue - shortest % 10) + 10) % 10;
            return FormatFixed(CycleTimeOf(last), 2);
        }
        longest = first - 10;
    } else {
        longest = std::int64_t(ownHundredths) - 10;
    }
    const auto unsafe = FirstUnsafeCycle(inputs, catalogue, longest, shortest);
    const std::int64_t safe = unsafe ? *unsafe + 10 : longest - (longest - shortest) / 10 * 10;
    return safe == std::int64_t(ownHundredths) ? unchanged : FormatFixed(CycleTimeOf(safe), 2);
}

} // namespace veldrune
