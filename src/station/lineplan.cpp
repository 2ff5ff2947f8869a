#include "station/lineplan.h"

#include <algorithm>
#include <bit>
#include <compare>
#include <functional>
#include <limits>
#include <numeric>
#include <optional>
#include <span>
#include <stdexcept>
#include <utility>

namespace veldrune {

namespace {

using Bits = std::vector<std::uint64_t>;

Bits noBits(int count) {
    return Bits(static_cast<std::size_t>((count + 63) / 64), 0);
}

bool has(const Bits& bits, int i) {
    return (bits[i >> 6] >> (i & 63)) & 1U;
}
void put(Bits& bits, int i) {
    bits[i >> 6] |= std::uint64_t{1} << (i & 63);
}
void drop(Bits& bits, int i) {
    bits[i >> 6] &= ~(std::uint64_t{1} << (i & 63));
}

int count(const Bits& bits) {
    int n = 0;
    for (const std::uint64_t word : bits)
        n += std::popcount(word);
    return n;
}

bool none(const Bits& bits) {
    return std::all_of(bits.begin(), bits.end(), [](std::uint64_t w) { return w == 0; });
}

template <typename Visit> void forEach(const Bits& bits, Visit visit) {
    for (std::size_t w = 0; w < bits.size(); ++w) {
        for (std::uint64_t word = bits[w]; word != 0; word &= word - 1)
            visit(static_cast<int>(w * 64) + std::countr_zero(word));
    }
}

int countCommon(const Bits& a, const Bits& b) {
    int n = 0;
    for (std::size_t w = 0; w < a.size(); ++w)
        n += std::popcount(a[w] & b[w]);
    return n;
}

int countOutside(const Bits& a, const Bits& b) {
    int n = 0;
    for (std::size_t w = 0; w < a.size(); ++w)
        n += std::popcount(a[w] & ~b[w]);
    return n;
}

// For two sets of the same size, their ascending lists compare as the lowest run that only
// one of them has: the list that has it is the lower.
bool lowerList(const Bits& a, const Bits& b) {
    for (std::size_t w = 0; w < a.size(); ++w) {
        if (const std::uint64_t differ = a[w] ^ b[w])
            return (a[w] & (differ & (~differ + 1))) != 0;
    }
    return false;
}

// The order in which a set's runs serve a station: the one the station uses comes first.
bool serves(const PlanOption& a, const PlanOption& b) {
    if (a.reserve != b.reserve)
        return a.reserve > b.reserve;
    if (a.total != b.total)
        return a.total < b.total;
    return a.run < b.run;
}

// A sum of totals that cannot overflow: each total is shifted by 2^63 into an unsigned word and
// the carries are counted. Only sums over the same stations are compared, so the shift cancels.
struct Sum {
    std::uint64_t carries = 0;
    std::uint64_t low = 0;

    void add(std::int64_t total) {
        const std::uint64_t shifted = static_cast<std::uint64_t>(total) ^ (std::uint64_t{1} << 63);
        low += shifted;
        carries += low < shifted ? 1 : 0;
    }
    auto operator<=>(const Sum&) const = default;
};

// Stations that share no run with the others' stations, with their runs numbered 0..n-1 in
// ascending order of the problem's index, so that comparing local sets compares the real ones.
// The stations' options use the local numbers and are sorted by serves().
struct Group {
    std::vector<int> runs;
    std::vector<std::vector<PlanOption>> stations;
};

std::vector<Group> groups(const PlanProblem& problem) {
    std::vector<int> parent(static_cast<std::size_t>(problem.runs));
    std::iota(parent.begin(), parent.end(), 0);
    const auto root = [&](int run) {
        while (parent[run] != run)
            run = parent[run] = parent[parent[run]];
        return run;
    };
    std::vector<bool> used(parent.size(), false);
    for (const auto& options : problem.stations) {
        for (const PlanOption& option : options) {
            if (option.run < 0 || option.run >= problem.runs)
                throw std::invalid_argument("a station names a run outside the problem's runs");
            used[option.run] = true;
            parent[root(option.run)] = root(options.front().run);
        }
    }
    std::vector<Group> found;
    std::vector<int> groupOf(parent.size(), -1);
    std::vector<int> local(parent.size(), -1);
    for (int run = 0; run < problem.runs; ++run) {
        if (!used[run])
            continue;
        int& group = groupOf[root(run)];
        if (group < 0) {
            group = static_cast<int>(found.size());
            found.emplace_back();
        }
        local[run] = static_cast<int>(found[group].runs.size());
        found[group].runs.push_back(run);
    }
    for (const auto& options : problem.stations) {
        if (options.empty())
            continue;
        std::vector<PlanOption> renumbered = options;
        for (PlanOption& option : renumbered)
            option.run = local[option.run];
        std::sort(renumbered.begin(), renumbered.end(), serves);
        found[groupOf[root(options.front().run)]].stations.push_back(std::move(renumbered));
    }
    return found;
}

constexpr std::int64_t anyReserve = std::numeric_limits<std::int64_t>::min();

// A cover of a group and its smallest station reserve.
struct Cover {
    Bits runs;
    std::int64_t reserve = 0;
};

// A depth-first search over the covers of one group with `size` runs that use only the options
// with at least the threshold's reserve. At each node it branches on an uncovered station, over
// its runs in turn, and forbids each run it has tried in the branches after it. A cover that
// extends the node holds one of the station's runs, so the first of them it holds puts it into
// exactly one branch: the branches split the node's covers without losing or repeating one, and
// the search is exhaustive. Every prune below only drops nodes that are shown to hold no cover
// (or, for the cheapest, no better one). No cover of the group is smaller than `size`, so a node
// that covers every station is a cover of exactly `size` runs.
class CoverSearch {
public:
    CoverSearch(const Group& group, int size)
        : m_group(group)
        , m_size(size)
        , m_runs(static_cast<int>(group.runs.size()))
        , m_stations(static_cast<int>(group.stations.size()))
        , m_length(group.stations.size(), 0)
        , m_allowed(group.stations.size(), noBits(m_runs))
        , m_covers(group.runs.size(), noBits(m_stations))
        , m_chosen(noBits(m_runs))
        , m_forbidden(noBits(m_runs))
        , m_uncovered(static_cast<std::size_t>(size) + 1, noBits(m_stations))
        , m_branches(static_cast<std::size_t>(size) + 1)
        , m_packed(noBits(m_runs))
        , m_best(noBits(m_runs)) {}

    // Whether there is a cover at the threshold; if so, found() is one, and this is its smallest
    // station reserve.
    std::optional<std::int64_t> find(std::int64_t threshold) {
        m_goal = Goal::Any;
        use(threshold);
        run();
        if (!m_stop)
            return std::nullopt;
        return smallestReserve(m_best);
    }
    const Bits& found() const { return m_best; }

    // From `best`, the cover with the largest smallest station reserve, or the first found that
    // reaches `enough`. Each cover found raises the threshold just above its own smallest
    // reserve, and the search goes on from where it is: what it left behind holds no cover at
    // the lower threshold, hence none at the higher one, and the branches it still has to take
    // may hold runs that no longer serve their station, which splits the covers all the same.
    void raise(Cover& best, std::int64_t enough) {
        m_goal = Goal::Reserve;
        m_enough = enough;
        m_best = best.runs;
        m_bestReserve = best.reserve;
        for (const auto& options : m_group.stations) {
            for (const PlanOption& option : options)
                m_reserves.push_back(option.reserve);
        }
        std::sort(m_reserves.begin(), m_reserves.end());
        m_reserves.erase(std::unique(m_reserves.begin(), m_reserves.end()), m_reserves.end());
        if (raiseAbove(best.reserve))
            run();
        best = {m_best, m_bestReserve};
    }

    // Of the covers at the threshold, the one with the least sum of the stations' totals, then
    // the lowest list of runs. `known` is one of them: the better it is, the less to search.
    const Bits& cheapest(std::int64_t threshold, const Bits& known) {
        m_goal = Goal::Cheapest;
        use(threshold);
        m_cheapestFirst.clear();
        for (int s = 0; s < m_stations; ++s) {
            const auto options = this->options(s);
            m_cheapestFirst.emplace_back(options.begin(), options.end());
            std::sort(m_cheapestFirst[s].begin(), m_cheapestFirst[s].end(),
                      [](const PlanOption& a, const PlanOption& b) { return a.total < b.total; });
        }
        m_best = known;
        m_bestSum = cost(known);
        run();
        return m_best;
    }

private:
    enum class Goal { Any, Reserve, Cheapest };

    void use(std::int64_t threshold) {
        for (Bits& stations : m_covers)
            std::fill(stations.begin(), stations.end(), 0);
        for (int s = 0; s < m_stations; ++s) {
            std::fill(m_allowed[s].begin(), m_allowed[s].end(), 0);
            std::size_t length = 0;
            for (const PlanOption& option : m_group.stations[s]) {
                if (option.reserve < threshold)
                    break;
                put(m_allowed[s], option.run);
                put(m_covers[option.run], s);
                ++length;
            }
            m_length[s] = length;
        }
    }

    // Whether there is a reserve above `reserve` to ask for next.
    bool raiseAbove(std::int64_t reserve) {
        const auto next = std::upper_bound(m_reserves.begin(), m_reserves.end(), reserve);
        if (reserve >= m_enough || next == m_reserves.end())
            return false;
        use(*next);
        return true;
    }

    // A station's options at the threshold, in the order its runs serve it.
    std::span<const PlanOption> options(int s) const {
        return {m_group.stations[s].data(), m_length[s]};
    }

    // A station uses the first of its options whose run is in the set. That option is at or
    // above the threshold, since the set covers the station with one that is, so the options
    // below it, left out here, could not change the station's run.
    const PlanOption& uses(int s, const Bits& runs) const {
        const auto options = this->options(s);
        return *std::find_if(options.begin(), options.end(),
                             [&](const PlanOption& option) { return has(runs, option.run); });
    }

    std::int64_t smallestReserve(const Bits& runs) const {
        std::int64_t smallest = std::numeric_limits<std::int64_t>::max();
        for (int s = 0; s < m_stations; ++s)
            smallest = std::min(smallest, uses(s, runs).reserve);
        return smallest;
    }

    Sum cost(const Bits& runs) const {
        Sum sum;
        for (int s = 0; s < m_stations; ++s)
            sum.add(uses(s, runs).total);
        return sum;
    }

    void run() {
        m_stop = false;
        search(0);
    }

    void search(int depth) {
        // Worked out afresh from the chosen runs, since raising the threshold takes some of
        // their stations back.
        Bits& uncovered = m_uncovered[depth];
        for (int s = 0; s < m_stations; ++s)
            put(uncovered, s);
        forEach(m_chosen, [&](int run) {
            for (std::size_t w = 0; w < uncovered.size(); ++w)
                uncovered[w] &= ~m_covers[run][w];
        });
        if (none(uncovered)) {
            leaf();
            return;
        }
        const int left = m_size - depth;
        if (left == 0)
            return;

        // However they are picked, `left` runs cover no more stations than the `left` that cover
        // the most.
        m_gains.clear();
        for (int run = 0; run < m_runs; ++run) {
            if (!has(m_chosen, run) && !has(m_forbidden, run))
                m_gains.push_back(countCommon(m_covers[run], uncovered));
        }
        const auto top = m_gains.begin() + std::min<std::ptrdiff_t>(left, std::ssize(m_gains));
        std::nth_element(m_gains.begin(), top, m_gains.end(), std::greater<>());
        if (std::accumulate(m_gains.begin(), top, 0) < count(uncovered))
            return;

        // Stations that no two of them share a run still allowed each need a run of their own;
        // the greedy packing takes the stations with the fewest runs first.
        m_order.clear();
        bool stuck = false;
        forEach(uncovered, [&](int s) {
            const int runs = countOutside(m_allowed[s], m_forbidden);
            stuck = stuck || runs == 0;
            m_order.emplace_back(runs, s);
        });
        if (stuck)
            return;
        std::sort(m_order.begin(), m_order.end());
        std::fill(m_packed.begin(), m_packed.end(), 0);
        int packed = 0;
        for (const auto& [runs, s] : m_order) {
            if (countCommon(m_allowed[s], m_packed) != 0)
                continue;
            if (++packed > left)
                return;
            for (std::size_t w = 0; w < m_packed.size(); ++w)
                m_packed[w] |= m_allowed[s][w] & ~m_forbidden[w];
        }
        // Most nodes fail the cheaper tests above.
        if (m_goal == Goal::Cheapest && !promising(uncovered, left))
            return;

        // The station with the fewest runs branches least; the runs that cover the most
        // stations first find a cover, or a good one, sooner.
        std::vector<std::pair<int, int>>& branches = m_branches[depth];
        branches.clear();
        const int station = m_order.front().second;
        forEach(m_allowed[station], [&](int run) {
            if (!has(m_forbidden, run))
                branches.emplace_back(-countCommon(m_covers[run], uncovered), run);
        });
        std::sort(branches.begin(), branches.end());
        for (const auto& [gain, run] : branches) {
            put(m_chosen, run);
            search(depth + 1);
            drop(m_chosen, run);
            put(m_forbidden, run);
            if (m_stop)
                break;
        }
        for (const auto& [gain, run] : branches)
            drop(m_forbidden, run);
    }

    void leaf() {
        switch (m_goal) {
        case Goal::Any:
            m_best = m_chosen;
            m_stop = true;
            return;
        case Goal::Reserve:
            m_best = m_chosen;
            m_bestReserve = smallestReserve(m_chosen);
            m_stop = !raiseAbove(m_bestReserve);
            return;
        case Goal::Cheapest: {
            const Sum sum = cost(m_chosen);
            if (sum < m_bestSum || (sum == m_bestSum && lowerList(m_chosen, m_best))) {
                m_bestSum = sum;
                m_best = m_chosen;
            }
            return;
        }
        }
    }

    // Whether a cover below this node could beat the best so far. A station will use one of its
    // options up to the first whose run is already chosen, and not a forbidden run: the least
    // total among those bounds its share of the sum. On a tie in the sum, the lowest list below
    // the node is the chosen runs with the lowest runs still allowed.
    bool promising(const Bits& uncovered, int left) const {
        Sum bound;
        for (int s = 0; s < m_stations; ++s) {
            std::int64_t least = std::numeric_limits<std::int64_t>::max();
            if (has(uncovered, s)) {
                // No run of its options is chosen yet.
                for (const PlanOption& option : m_cheapestFirst[s]) {
                    if (!has(m_forbidden, option.run)) {
                        least = option.total;
                        break;
                    }
                }
            } else {
                for (const PlanOption& option : options(s)) {
                    if (!has(m_forbidden, option.run))
                        least = std::min(least, option.total);
                    if (has(m_chosen, option.run))
                        break;
                }
            }
            bound.add(least);
        }
        if (bound != m_bestSum)
            return bound < m_bestSum;
        Bits lowest = m_chosen;
        for (int run = 0; run < m_runs && left > 0; ++run) {
            if (!has(m_chosen, run) && !has(m_forbidden, run)) {
                put(lowest, run);
                --left;
            }
        }
        return left == 0 && lowerList(lowest, m_best);
    }

    const Group& m_group;
    int m_size;
    int m_runs;
    int m_stations;
    std::vector<std::size_t> m_length; // per station: its options at the threshold
    std::vector<Bits> m_allowed;       // per station: its runs at the threshold
    std::vector<Bits> m_covers;        // per run: its stations at the threshold
    Bits m_chosen;
    Bits m_forbidden;
    std::vector<Bits> m_uncovered;                            // per depth
    std::vector<std::vector<std::pair<int, int>>> m_branches; // per depth
    std::vector<int> m_gains;
    std::vector<std::pair<int, int>> m_order;
    Bits m_packed;
    Goal m_goal = Goal::Any;
    bool m_stop = false;
    Bits m_best;
    std::int64_t m_bestReserve = 0;
    std::int64_t m_enough = 0;
    std::vector<std::int64_t> m_reserves; // the group's, ascending
    Sum m_bestSum;
    std::vector<std::vector<PlanOption>> m_cheapestFirst; // per station, at the threshold
};

// Raising the size one at a time makes the first size with a cover the smallest.
Cover smallestCover(const Group& group) {
    for (int size = 1;; ++size) {
        CoverSearch search(group, size);
        if (const auto reserve = search.find(anyReserve))
            return {search.found(), *reserve};
    }
}

} // namespace

// The groups share no runs, so a set is a cover exactly when its runs of each group cover that
// group, and the smallest covers are the unions of each group's smallest covers. Across them,
// the smallest reserve is the least of the groups' own: the best of it is the least of the
// groups' best, and the sets that reach it are the unions of group covers that reach it each.
// A station uses its run of the set with the most reserve, so those are the covers that use
// only options at or above it. From there the sum of totals adds up the groups' sums, so each
// group takes its cheapest. Each group brings a fixed number of runs, and between two such
// unions the lowest run that only one of them holds lies in one group, where it decides between
// that group's two covers: the union of each group's lowest list is the lowest list.
PlanSolution SolvePlan(const PlanProblem& problem) {
    const std::vector<Group> found = groups(problem);
    std::vector<Cover> best;
    std::int64_t reserve = std::numeric_limits<std::int64_t>::max();
    for (const Group& group : found) {
        best.push_back(smallestCover(group));
        // Only the least of the groups' reserves counts, and no station's reserve goes above
        // its best option's.
        std::int64_t enough = reserve;
        for (const auto& options : group.stations)
            enough = std::min(enough, options.front().reserve);
        CoverSearch(group, count(best.back().runs)).raise(best.back(), enough);
        reserve = std::min(reserve, best.back().reserve);
    }

    // Each group's best cover reaches the least reserve, so the search starts from it.
    PlanSolution solution;
    std::vector<bool> inSet(static_cast<std::size_t>(problem.runs), false);
    for (std::size_t g = 0; g < found.size(); ++g) {
        CoverSearch search(found[g], count(best[g].runs));
        forEach(search.cheapest(reserve, best[g].runs),
                [&](int run) { inSet[found[g].runs[run]] = true; });
    }
    for (int run = 0; run < problem.runs; ++run) {
        if (inSet[run])
            solution.set.push_back(run);
    }
    for (const auto& options : problem.stations) {
        const PlanOption* uses = nullptr;
        for (const PlanOption& option : options) {
            if (inSet[option.run] && (uses == nullptr || serves(option, *uses)))
                uses = &option;
        }
        solution.assigned.push_back(uses != nullptr ? uses->run : -1);
    }
    return solution;
}

} // namespace veldrune
