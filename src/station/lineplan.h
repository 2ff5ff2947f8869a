#pragma once

#include <cstdint>
#include <vector>

namespace veldrune {

// One run (a tool with its angle head) that can do a station: its reserve and its total time,
// both in hundredths of a second. More reserve is better, less total time is better.
struct PlanOption {
    int run = 0;
    std::int64_t reserve = 0;
    std::int64_t total = 0;
};

// The runs 0..runs-1 and, for each station of the line, the runs that can do it (in any order,
// each run at most once). A station that no run can do is left out of the plan.
struct PlanProblem {
    int runs = 0;
    std::vector<std::vector<PlanOption>> stations;
};

struct PlanSolution {
    std::vector<int> set;      // the runs the line needs, ascending
    std::vector<int> assigned; // per station: the run of the set it uses, or -1 when none can
};

// The runs to equip the line with, chosen in this order of importance:
// - as few runs as possible, so that every station some run can do has a run in the set;
// - the largest smallest reserve, each station using the run of the set with the most reserve
//   for it (then the least total time, then the lowest index);
// - the least sum of the stations' total times, each with the run it uses;
// - the lowest run indices, compared in ascending order.
// The search is exact, so its time grows steeply with the runs of one group of stations that
// share runs (a controller system): milliseconds for groups of up to about 40 runs, seconds for
// a single group of 80 runs with each station done by a third of them. Throws
// std::invalid_argument on a run outside 0..runs-1.
PlanSolution SolvePlan(const PlanProblem& problem);

} // namespace veldrune
