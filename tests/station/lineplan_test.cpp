#include "station/lineplan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <optional>
#include <random>
#include <stdexcept>
#include <tuple>

namespace veldrune {
namespace {

constexpr std::int64_t most = std::numeric_limits<std::int64_t>::max();

// The plan of a set of runs worked out the naive way, with its smallest reserve and its sum.
struct Judged {
    bool covers = true;
    std::int64_t reserve = most, sum = 0;
    PlanSolution plan;
};

Judged judge(const PlanProblem& problem, unsigned mask) {
    Judged j;
    for (int run = 0; run < problem.runs; ++run) {
        if (mask >> run & 1U)
            j.plan.set.push_back(run);
    }
    for (const auto& options : problem.stations) {
        const PlanOption* uses = nullptr;
        for (const PlanOption& o : options) {
            if ((mask >> o.run & 1U) && (!uses || std::tie(uses->reserve, o.total, o.run) <
                                                      std::tie(o.reserve, uses->total, uses->run)))
                uses = &o;
        }
        j.plan.assigned.push_back(uses ? uses->run : -1);
        j.covers = j.covers && (uses || options.empty());
        j.reserve = std::min(j.reserve, uses ? uses->reserve : most);
        j.sum += uses ? uses->total : 0;
    }
    return j;
}

// Small problems with small values, so that ties are common; in half of them the runs are dealt
// to two groups of stations that share none.
TEST(SolvePlan, MatchesTheBestOfEveryRunSet) {
    std::mt19937 rng(20240611);
    const auto pick = [&](int low, int high) {
        return low + int(rng() % unsigned(high - low + 1));
    };
    for (int trial = 0; trial < 600; ++trial) {
        PlanProblem problem{pick(1, 9), {}};
        const int groups = pick(1, 2), chance = pick(15, 70);
        std::vector<int> group;
        for (int run = 0; run < problem.runs; ++run)
            group.push_back(pick(1, groups));
        for (int s = pick(0, 10), g = pick(1, groups); s > 0; --s, g = pick(1, groups)) {
            auto& options = problem.stations.emplace_back();
            for (int run = 0; run < problem.runs; ++run) {
                if (group[run] == g && pick(1, 100) <= chance)
                    options.push_back({run, pick(-2, 3), pick(-2, 4)});
            }
            std::shuffle(options.begin(), options.end(), rng);
        }
        std::optional<Judged> best;
        for (unsigned mask = 0; mask < 1U << problem.runs; ++mask) {
            const Judged j = judge(problem, mask);
            const auto size = j.plan.set.size(), bestSize = best ? best->plan.set.size() : 0;
            if (j.covers && (!best || std::tie(size, best->reserve, j.sum, j.plan.set) <
                                          std::tie(bestSize, j.reserve, best->sum, best->plan.set)))
                best = j;
        }
        const PlanSolution plan = SolvePlan(problem);
        unsigned mask = 0;
        for (const int run : plan.set)
            mask |= 1U << run;
        const Judged got = judge(problem, mask);
        EXPECT_EQ(std::make_tuple(got.plan.set.size(), got.covers, got.reserve, got.sum),
                  std::make_tuple(best->plan.set.size(), best->covers, best->reserve, best->sum))
            << "trial " << trial;
        EXPECT_EQ(plan.set, best->plan.set) << "trial " << trial;
        EXPECT_EQ(plan.assigned, best->plan.assigned) << "trial " << trial;
    }
}

TEST(SolvePlan, BeatsTheGreedyChoices) {
    const auto o = [](int run) { return PlanOption{run, 1, 1}; };
    const struct {
        const char* what;
        PlanSolution plan;
        PlanProblem problem;
    } cases[] = {
        {"the run that covers most is not in the smallest set",
         {{1, 2}, {1, 1, 2, 2, 1, 2}},
         {3, {{o(0), o(1)}, {o(0), o(1)}, {o(0), o(2)}, {o(0), o(2)}, {o(1)}, {o(2)}}}},
        {"the best reserve of one station costs the smallest reserve",
         {{1}, {1, 1}},
         {2, {{{0, 500, 1}, {1, 300, 9}}, {{0, 100, 1}, {1, 300, 9}}}}},
        {"a station uses the run with most reserve, not the cheapest",
         {{0, 2}, {0, 2, 0}},
         {3, {{{0, 5, 0}}, {{1, 5, 0}, {2, 5, 0}}, {{0, 7, 5}, {1, 9, 50}, {2, 6, 5}}}}},
        {"sums beyond 64 bits",
         {{1}, {1, 1}},
         {2, {{{0, 0, most}, {1, 0, most - 1}}, {{0, 0, 1}, {1, 0, 1}}}}},
        {"stations no run can do", {{3}, {-1, 3, -1}}, {4, {{}, {{3, 0, 0}}, {}}}},
        {"no station", {}, {4, {}}},
    };
    for (const auto& c : cases) {
        const PlanSolution plan = SolvePlan(c.problem);
        EXPECT_EQ(plan.set, c.plan.set) << c.what;
        EXPECT_EQ(plan.assigned, c.plan.assigned) << c.what;
    }
    EXPECT_THROW(SolvePlan({2, {{{2, 0, 0}}}}), std::invalid_argument);
}

// Seventy stations in a ring, each done by the run on either side: the only smallest sets are
// the even runs and the odd runs, 35 each. Beyond 64 runs and 64 stations.
TEST(SolvePlan, PicksBetweenTheTwoHalvesOfARing) {
    const struct {
        std::int64_t evenReserve, evenTotal;
        int first;
    } cases[] = {{3, 1, 1}, {5, 1, 0}, {5, 2, 1}, {6, 9, 0}};
    for (const auto& c : cases) {
        PlanProblem ring{70, {}};
        for (int s = 0; s < 70; ++s) {
            ring.stations.push_back({});
            for (const int run : {s, (s + 1) % 70})
                ring.stations.back().push_back(run % 2 == 0
                                                   ? PlanOption{run, c.evenReserve, c.evenTotal}
                                                   : PlanOption{run, 5, 1});
        }
        std::vector<int> set, assigned;
        for (int s = 0; s < 70; ++s) {
            if (s % 2 == c.first)
                set.push_back(s);
            assigned.push_back(s % 2 == c.first ? s : (s + 1) % 70);
        }
        const PlanSolution plan = SolvePlan(ring);
        EXPECT_EQ(plan.set, set);
        EXPECT_EQ(plan.assigned, assigned);
    }
}

} // namespace
} // namespace veldrune
