#pragma once

#include "calc/loadsimulation.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace veldrune {

struct Catalogue;

// The time of the period's last simulated step. A station cycle time longer than it puts every
// step into the first cycle, so all such cycle times simulate alike, step for step. 0 where
// the period is not simulated.
double LastStepTime(const DutyCycleInputs& inputs);

// The station cycle time that a search tries for `hundredths` of a second: the value the
// simulation reads when the window shows it with two decimals ("29.90").
inline double CycleTimeOf(std::int64_t hundredths) {
    return double(hundredths) / 100;
}

// The cycle times from `longest` down, 10 hundredths at a time, to no less than `shortest`
// (all in hundredths of a second): the first at which the motor overloads or the load cannot be
// computed, or none. The inputs' own cycle time is not read. The answer is the one simulating
// each cycle time in turn gives, found with less work: a single simulation that bounds the load
// of a whole range of cycle times can clear the range, and the loads of several cycle times are
// carried side by side.
std::optional<std::int64_t> FirstUnsafeCycle(const DutyCycleInputs& inputs,
                                             const Catalogue& catalogue, std::int64_t longest,
                                             std::int64_t shortest);

// From the station's cycle time (the text the window shows) down to its estimated total time,
// 0.1 s at a time, each as the window would show it ("29.90"): the last cycle time before the
// first at which the motor overloads or the load cannot be computed, the station's own when
// that is the first one shorter. The station's own cycle time should keep within the load.
QString ShortestSafeCycleTime(const DutyCycleInputs& inputs, const Catalogue& catalogue,
                              const QString& cycleTime, const QString& totalTime);

} // namespace veldrune
