#include "plan/joints/relaxation.h"

#include "plan/bound.h"
#include "plan/first_fit.h"
#include "plan/joints/free_pricing.h"

#include <ClpSimplex.hpp>
#include <CoinHelperFunctions.hpp>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <set>

namespace plan::joints {
namespace {

constexpr double kImproving = 1e-9;
// Rounds of column generation on one grid, at most.
constexpr int kRoundsPerGrid = 400;
// The first grid's nodes are this far apart, besides the ends of the segments' ranges, the
// stock lengths and the lengths of the rows' own segmentations.
constexpr std::int64_t kFirstSpacing = 1000;
// Finer grids tried that leave the value short of the next cost a plan can have, at most.
constexpr int kStalledGrids = 5;
// Nodes within this share of the highest worth of a line share it.
constexpr double kSlack = 1e-7;
// The same for the rough lines most rounds price the patterns by, and how often a round prices
// them by the exact ones all the same.
constexpr double kRoughSlack = 2e-3;
constexpr int kExactEvery = 8;
// Corners of the splits looked at per row and number of joints before the search settles for
// a bound of the cheapest split instead of the split itself.
constexpr std::int64_t kCorners = 300'000;

// A segment of row `row` cut as a piece `length` long.
struct Chunk {
    std::uint32_t row = 0;
    std::int64_t length = 0;

    friend auto operator<=>(const Chunk&, const Chunk&) = default;
};

struct PatternColumn {
    std::uint32_t stock = 0;
    Content pieces;
    std::vector<Chunk> chunks; // sorted

    friend auto operator<=>(const PatternColumn&, const PatternColumn&) = default;
};

struct SplitColumn {
    std::uint32_t row = 0;
    std::vector<std::int64_t> lengths; // sorted

    friend auto operator<=>(const SplitColumn&, const SplitColumn&) = default;
};

// Node j of a grid and the share of a length that falls on it, and on node j + 1.
struct Place {
    std::size_t node = 0;
    double upper = 0; // share on node + 1
};

Place placeOf(std::span<const std::int64_t> grid, std::int64_t length) {
    if (length >= grid.back()) {
        return {grid.size() - 1, 0.0};
    }
    if (length <= grid.front()) {
        return {0, 0.0};
    }
    const auto above = std::ranges::upper_bound(grid, length);
    const auto j = static_cast<std::size_t>(above - grid.begin()) - 1;
    return {j, static_cast<double>(length - grid[j]) / static_cast<double>(grid[j + 1] - grid[j])};
}

// A length's worth: linear between the nodes' worths.
double worthAt(std::span<const std::int64_t> grid, std::span<const double> worth,
               std::int64_t length) {
    const Place p = placeOf(grid, length);
    if (p.upper == 0.0) {
        return worth[p.node];
    }
    return (1 - p.upper) * worth[p.node] + p.upper * worth[p.node + 1];
}

// The worth of a row's lengths as few lines as possible: consecutive nodes that lie within
// `slack` of one line share it. Each line is raised to the highest node it covers, so that it
// is nowhere below the worth it stands for, and by no more than `slack`.
struct Line {
    std::int64_t from = 0;
    std::int64_t to = 0;
    double perMm = 0;
    double at = 0; // worth at `from`
};

std::vector<Line> linesOf(std::span<const std::int64_t> grid, std::span<const double> worth,
                          double slack) {
    std::vector<Line> out;
    std::size_t j = 0;
    while (j + 1 < grid.size()) {
        std::size_t m = j + 1;
        double raise = 0;
        // Extends to node m + 1 while every node between stays within the slack of the chord.
        while (m + 1 < grid.size()) {
            const double perMm =
                (worth[m + 1] - worth[j]) / static_cast<double>(grid[m + 1] - grid[j]);
            double most = 0;
            double least = 0;
            for (std::size_t i = j + 1; i <= m; ++i) {
                const double d =
                    worth[i] - (worth[j] + perMm * static_cast<double>(grid[i] - grid[j]));
                most = std::max(most, d);
                least = std::min(least, d);
            }
            if (most - least > slack) {
                break;
            }
            raise = most;
            ++m;
        }
        const double perMm = (worth[m] - worth[j]) / static_cast<double>(grid[m] - grid[j]);
        if (m == j + 1) {
            raise = 0;
        }
        out.push_back({grid[j], grid[m], perMm, worth[j] + raise});
        j = m;
    }
    return out;
}

class Model {
public:
    Model(const Instance& instance, std::span<const FreeRow> rows,
          const std::vector<std::vector<std::int64_t>>& grids)
        : instance_(instance), rows_(rows), grids_(grids) {
        lp_.setLogLevel(0);
        lp_.scaling(0);
        int row = static_cast<int>(instance.items.size());
        for (const Stock& stock : instance.stocks) {
            offcutRow_.push_back(stock.limited() ? row++ : -1);
        }
        for (std::size_t r = 0; r < rows.size(); ++r) {
            convexRow_.push_back(row++);
            jointRow_.push_back(rows[r].mostTotal >= 0 ? row++ : -1);
            firstNode_.push_back(row);
            row += static_cast<int>(grids[r].size());
        }
        lp_.resize(row, 0);
        for (std::size_t i = 0; i < instance.items.size(); ++i) {
            lp_.setRowBounds(static_cast<int>(i), static_cast<double>(instance.items[i].demand),
                             COIN_DBL_MAX);
        }
        for (std::size_t s = 0; s < instance.stocks.size(); ++s) {
            if (offcutRow_[s] >= 0) {
                lp_.setRowBounds(offcutRow_[s], -COIN_DBL_MAX,
                                 static_cast<double>(instance.stocks[s].available));
            }
        }
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const auto bars = static_cast<double>(rows[r].bars);
            lp_.setRowBounds(convexRow_[r], bars, bars);
            if (jointRow_[r] >= 0) {
                lp_.setRowBounds(jointRow_[r], -COIN_DBL_MAX,
                                 static_cast<double>(rows[r].mostTotal));
            }
            for (std::size_t j = 0; j < grids[r].size(); ++j) {
                lp_.setRowBounds(firstNode_[r] + static_cast<int>(j), 0.0, COIN_DBL_MAX);
                if (j > 0) {
                    // A piece of node j serves node j − 1.
                    add(0.0, {{firstNode_[r] + static_cast<int>(j) - 1, 1.0},
                              {firstNode_[r] + static_cast<int>(j), -1.0}});
                }
            }
        }
        links_ = lp_.numberColumns();
    }

    void addPattern(const PatternColumn& p) {
        std::map<int, double> column;
        for (const auto& [item, n] : p.pieces) {
            column[static_cast<int>(item)] += static_cast<double>(n);
        }
        if (offcutRow_[p.stock] >= 0) {
            column[offcutRow_[p.stock]] += 1.0;
        }
        for (const Chunk& c : p.chunks) {
            place(c.row, c.length, 1.0, column);
        }
        add(static_cast<double>(instance_.stocks[p.stock].cost), column);
        kinds_.push_back(false);
        index_.push_back(patterns_.size());
        patterns_.push_back(p);
    }

    void addSplit(const SplitColumn& s) {
        const FreeRow& row = rows_[s.row];
        const auto joints = static_cast<std::int64_t>(s.lengths.size()) - 1;
        std::map<int, double> column;
        for (const std::int64_t length : s.lengths) {
            place(s.row, length, -1.0, column);
        }
        column[convexRow_[s.row]] += 1.0;
        if (jointRow_[s.row] >= 0) {
            column[jointRow_[s.row]] += static_cast<double>(joints);
        }
        add(static_cast<double>(joints * row.jointCost), column);
        kinds_.push_back(true);
        index_.push_back(splits_.size());
        splits_.push_back(s);
    }

    bool solve() {
        lp_.primal();
        if (lp_.isProvenOptimal()) {
            return true;
        }
        lp_.dual();
        if (lp_.isProvenOptimal()) {
            return true;
        }
        lp_.allSlackBasis(true);
        lp_.primal();
        return lp_.isProvenOptimal();
    }

    [[nodiscard]] double value() const { return lp_.objectiveValue(); }
    [[nodiscard]] double dual(int row) const { return lp_.dualRowSolution()[row]; }
    [[nodiscard]] int offcutRow(std::size_t s) const { return offcutRow_[s]; }
    [[nodiscard]] int convexRow(std::size_t r) const { return convexRow_[r]; }
    [[nodiscard]] int jointRow(std::size_t r) const { return jointRow_[r]; }

    // The worth of each node of row r: its dual, no less than nothing nor than a shorter
    // node's (which the links make it, up to the solver's tolerance).
    [[nodiscard]] std::vector<double> worths(std::size_t r) const {
        std::vector<double> out;
        double running = 0;
        for (std::size_t j = 0; j < grids_[r].size(); ++j) {
            running = std::max(running, dual(firstNode_[r] + static_cast<int>(j)));
            out.push_back(running);
        }
        return out;
    }

    // The lengths the solution cuts that are not nodes, per row.
    [[nodiscard]] std::vector<std::set<std::int64_t>> offGrid() const {
        std::vector<std::set<std::int64_t>> out(rows_.size());
        const double* x = lp_.primalColumnSolution();
        const auto off = [&](std::uint32_t r, std::int64_t length) {
            const std::vector<std::int64_t>& grid = grids_[r];
            if (length < grid.back() && !std::ranges::binary_search(grid, length)) {
                out[r].insert(length);
            }
        };
        for (std::size_t c = 0; c < kinds_.size(); ++c) {
            if (x[links_ + static_cast<int>(c)] <= 1e-9) {
                continue;
            }
            if (kinds_[c]) {
                const SplitColumn& s = splits_[index_[c]];
                for (const std::int64_t length : s.lengths) {
                    off(s.row, length);
                }
            } else {
                for (const Chunk& chunk : patterns_[index_[c]].chunks) {
                    off(chunk.row, chunk.length);
                }
            }
        }
        return out;
    }

private:
    void place(std::uint32_t r, std::int64_t length, double sign, std::map<int, double>& column) {
        const Place p = placeOf(grids_[r], length);
        column[firstNode_[r] + static_cast<int>(p.node)] += sign * (1 - p.upper);
        if (p.upper > 0) {
            column[firstNode_[r] + static_cast<int>(p.node) + 1] += sign * p.upper;
        }
    }

    void add(double cost, const std::map<int, double>& column) {
        std::vector<int> at;
        std::vector<double> by;
        for (const auto& [row, value] : column) {
            if (value != 0.0) {
                at.push_back(row);
                by.push_back(value);
            }
        }
        const double lower = 0.0;
        const double upper = COIN_DBL_MAX;
        const CoinBigIndex starts[2] = {0, static_cast<CoinBigIndex>(at.size())};
        lp_.addColumns(1, &lower, &upper, &cost, starts, at.data(), by.data());
    }

    const Instance& instance_;
    std::span<const FreeRow> rows_;
    const std::vector<std::vector<std::int64_t>>& grids_;
    ClpSimplex lp_;
    std::vector<int> offcutRow_;
    std::vector<int> convexRow_;
    std::vector<int> jointRow_;
    std::vector<int> firstNode_;
    int links_ = 0;
    std::vector<bool> kinds_; // per column past the links: a split (true) or a pattern
    std::vector<std::size_t> index_;
    std::vector<PatternColumn> patterns_;
    std::vector<SplitColumn> splits_;
};

// The cheapest split of a bar of `row` with `joints` joints at the nodes' worths: its corners
// have every segment but one on a node or at an end of the segments' range. The cost and the
// lengths; or only a cost no split is below, when the corners are too many to look at all;
// nothing when no split fits.
struct Split {
    double cost = 0;
    std::vector<std::int64_t> lengths; // empty: the cost is only a bound
};

std::optional<Split> cheapestSplit(const FreeRow& row, std::int64_t joints, std::int64_t longest,
                                   std::span<const std::int64_t> grid,
                                   std::span<const double> worth,
                                   std::span<const std::int64_t> kinks) {
    // Named, not bound: clang 14 lets no lambda capture a structured binding.
    const std::pair<std::int64_t, std::int64_t> range = segmentRange(row, joints, longest);
    const std::int64_t least = range.first;
    const std::int64_t most = range.second;
    if (least > most) {
        return std::nullopt;
    }
    const std::int64_t need = row.length + joints * row.overlap;
    std::vector<std::int64_t> corners{least, most};
    for (const std::int64_t g : kinks) {
        if (g > least && g < most) {
            corners.push_back(g);
        }
    }
    std::ranges::sort(corners);
    corners.erase(std::unique(corners.begin(), corners.end()), corners.end());
    std::vector<double> cost;
    for (const std::int64_t c : corners) {
        cost.push_back(worthAt(grid, worth, c));
    }
    const double cheapest = cost.front();            // worth rises with length
    const auto n = static_cast<std::size_t>(joints); // on corners; the last one free
    std::vector<std::size_t> pick(n);
    std::vector<std::size_t> best;
    double bestCost = std::numeric_limits<double>::infinity();
    std::int64_t bestFree = 0;
    std::int64_t looked = 0;
    const auto search = [&](auto&& self, std::size_t depth, std::size_t from, std::int64_t sum,
                            double spent) -> void {
        if (depth == n) {
            const std::int64_t rest = need - sum;
            if (rest < least || rest > most) {
                return;
            }
            const double total = spent + worthAt(grid, worth, rest);
            if (total < bestCost) {
                bestCost = total;
                best = pick;
                bestFree = rest;
            }
            return;
        }
        const auto left = static_cast<std::int64_t>(n - depth); // this one and those after
        for (std::size_t i = from; i < corners.size() && looked < kCorners; ++i) {
            ++looked;
            // The corners after are no shorter: the rest could only fall below the least.
            if (need - sum - left * corners[i] < least) {
                break;
            }
            // Even the longest corners for the others leave too much for the free segment.
            if (need - sum - corners[i] - (left - 1) * corners.back() > most) {
                continue;
            }
            if (spent + cost[i] + static_cast<double>(left) * cheapest >= bestCost) {
                break; // costs rise with the corners
            }
            pick[depth] = i;
            self(self, depth + 1, i, sum + corners[i], spent + cost[i]);
        }
    };
    search(search, 0, 0, 0, 0.0);
    if (looked >= kCorners) {
        // Cut short: every segment costs at least the cheapest corner.
        return Split{static_cast<double>(joints + 1) * cheapest, {}};
    }
    if (best.empty()) {
        return std::nullopt;
    }
    Split out{bestCost, {}};
    for (const std::size_t i : best) {
        out.lengths.push_back(corners[i]);
    }
    out.lengths.push_back(bestFree);
    std::ranges::sort(out.lengths);
    return out;
}

} // namespace

std::pair<std::int64_t, std::int64_t> segmentRange(const FreeRow& row, std::int64_t joints,
                                                   std::int64_t longest) {
    const std::int64_t need = row.length + joints * row.overlap;
    if (joints <= 0) {
        return {need, need <= longest ? need : 0};
    }
    return {std::max(row.shortest + row.overlap, need - joints * longest),
            std::min(longest, need - joints * row.shortest -
                                  std::max<std::int64_t>(2 * joints - 2, 1) * row.overlap)};
}

Relaxation relax(const Instance& ordinary, std::span<const FreeRow> rows,
                 std::span<const KnownBar> known, std::int64_t cutoff, const Budget& budget) {
    Relaxation out;
    std::int64_t capacity = 0;
    std::int64_t longest = 0;
    for (std::size_t s = 0; s < ordinary.stocks.size(); ++s) {
        capacity = std::max(capacity, ordinary.capacity(s));
        if (!ordinary.stocks[s].limited()) {
            longest = std::max(longest, ordinary.stocks[s].length);
        }
    }
    // The first grids: the ends of each number of joints' range, the stock lengths, the rows'
    // own segments and a node every kFirstSpacing mm.
    std::vector<std::vector<std::int64_t>> grids(rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        std::set<std::int64_t> nodes;
        std::int64_t low = longest;
        std::int64_t high = 0;
        for (std::int64_t k = rows[r].fewestJoints; k <= rows[r].mostJoints; ++k) {
            const auto [least, most] = segmentRange(rows[r], k, longest);
            if (least <= most) {
                nodes.insert({least, most});
                low = std::min(low, least);
                high = std::max(high, most);
            }
        }
        for (const Stock& stock : ordinary.stocks) {
            if (!stock.limited() && stock.length > low && stock.length < high) {
                nodes.insert(stock.length);
            }
        }
        for (const auto& [segments, bars] : rows[r].start) {
            nodes.insert(segments.begin(), segments.end());
        }
        for (const KnownBar& bar : known) {
            for (const auto& [row, length] : bar.segments) {
                if (row == r && length >= low && length <= high) {
                    nodes.insert(length);
                }
            }
        }
        for (std::int64_t g = low + kFirstSpacing; g < high; g += kFirstSpacing) {
            nodes.insert(g);
        }
        grids[r].assign(nodes.begin(), nodes.end());
    }
    // Columns to start from, kept over the grids: the ordinary pieces by first-fit, the rows'
    // own segmentations, each segment alone in the cheapest bar that holds it.
    std::set<PatternColumn> patterns;
    std::set<SplitColumn> splits;
    if (!ordinary.items.empty()) {
        for (const BarPattern& p : firstFitDecreasing(ordinary).patterns) {
            patterns.insert({p.stock, p.content, {}});
        }
    }
    for (const KnownBar& bar : known) {
        for (std::uint32_t s = 0; s < ordinary.stocks.size(); ++s) {
            const Stock& stock = ordinary.stocks[s];
            if (stock.length == bar.stock && stock.offcut == bar.offcut) {
                PatternColumn p{s, bar.pieces, {}};
                for (const auto& [row, length] : bar.segments) {
                    p.chunks.push_back({row, length});
                }
                std::ranges::sort(p.chunks);
                patterns.insert(p);
                break;
            }
        }
    }
    for (std::uint32_t r = 0; r < rows.size(); ++r) {
        for (const auto& [segments, bars] : rows[r].start) {
            std::vector<std::int64_t> sorted = segments;
            std::ranges::sort(sorted);
            splits.insert({r, sorted});
            for (const std::int64_t s : segments) {
                std::optional<std::uint32_t> cheapest;
                for (std::uint32_t t = 0; t < ordinary.stocks.size(); ++t) {
                    const Stock& stock = ordinary.stocks[t];
                    if (!stock.limited() && stock.length >= s &&
                        (!cheapest || stock.cost < ordinary.stocks[*cheapest].cost)) {
                        cheapest = t;
                    }
                }
                if (cheapest) {
                    patterns.insert({*cheapest, {}, {{r, s}}});
                }
            }
        }
    }

    const bool money = std::ranges::any_of(rows, [](const FreeRow& r) { return r.jointCost > 0; });
    // Costs of plans: sums of stock bars, or any whole amount where joints are paid for too.
    const auto rounded = [&](double value) {
        return money ? static_cast<std::int64_t>(std::ceil(value - 1e-9 * std::max(1.0, value)))
                     : roundUpCost(ordinary, value);
    };
    double best = 0;
    std::int64_t lastRounded = -1;
    int stalled = 0;
    FreePricing pricing;
    std::vector<PricingItem> items(ordinary.items.size());
    while (!budget.expired()) {
        ++out.grids;
        Model model(ordinary, rows, grids);
        for (const PatternColumn& p : patterns) {
            model.addPattern(p);
        }
        for (const SplitColumn& s : splits) {
            model.addSplit(s);
        }
        bool converged = false;
        // Rounds price the patterns by a few lines per row (each raised over the nodes it
        // stands for), which finds most of the columns for a fraction of the work; every
        // kExactEvery-th round, and whenever those find nothing, by every line, which is what
        // the bound is read from and what says the programme has converged.
        bool roughFound = true;
        for (int round = 0; round < kRoundsPerGrid && !budget.expired(); ++round) {
            const bool exact = !roughFound || round % kExactEvery == kExactEvery - 1;
            if (!model.solve()) {
                break;
            }
            ++out.rounds;
            out.value = model.value();
            // Duals of the right sign only: any such duals give a bound.
            double dualValue = 0;
            for (std::size_t i = 0; i < ordinary.items.size(); ++i) {
                const double pi = std::max(0.0, model.dual(static_cast<int>(i)));
                items[i] = {ordinary.weight(i), pi, ordinary.items[i].demand};
                dualValue += pi * static_cast<double>(ordinary.items[i].demand);
            }
            std::vector<double> offcutDual(ordinary.stocks.size(), 0.0);
            for (std::size_t s = 0; s < ordinary.stocks.size(); ++s) {
                if (model.offcutRow(s) >= 0) {
                    offcutDual[s] = std::min(0.0, model.dual(model.offcutRow(s)));
                    dualValue += offcutDual[s] * static_cast<double>(ordinary.stocks[s].available);
                }
            }
            double shortfall = 0;
            // For Farley's bound (the duals scaled down until no bought bar prices out): the
            // offcuts' and the splits' shortfalls at that scale, by row and joints.
            std::vector<std::pair<double, double>> offcutShort; // (rc, bars)
            std::vector<std::pair<std::vector<std::pair<double, double>>, double>> splitShort;
            bool added = false;
            std::vector<FreeKind> kinds;
            std::vector<std::uint32_t> kindRow;
            std::vector<std::vector<double>> worths(rows.size());
            for (std::uint32_t r = 0; r < rows.size(); ++r) {
                const FreeRow& row = rows[r];
                const double rowDual = model.dual(model.convexRow(r));
                const double jointDual =
                    model.jointRow(r) >= 0 ? std::min(0.0, model.dual(model.jointRow(r))) : 0.0;
                dualValue += rowDual * static_cast<double>(row.bars);
                if (row.mostTotal >= 0) {
                    dualValue += jointDual * static_cast<double>(row.mostTotal);
                }
                const std::vector<std::int64_t>& grid = grids[r];
                worths[r] = model.worths(r);
                const std::vector<double>& worth = worths[r];
                const double slack = kSlack * std::max(1.0, worth.back());
                const std::vector<Line> lines = linesOf(grid, worth, slack);
                std::vector<std::int64_t> kinks{grid.front()};
                for (const Line& line : lines) {
                    kinks.push_back(line.to);
                }
                for (const Line& line :
                     exact ? lines
                           : linesOf(grid, worth, kRoughSlack * std::max(1.0, worth.back()))) {
                    if (line.at + line.perMm * static_cast<double>(line.to - line.from) <= 0) {
                        continue;
                    }
                    kinds.push_back({line.from, line.to, line.perMm,
                                     line.at - line.perMm * static_cast<double>(line.from)});
                    kindRow.push_back(r);
                }
                if (grid.size() == 1 && worth[0] > 0) {
                    kinds.push_back({grid[0], grid[0], 0.0, worth[0]});
                    kindRow.push_back(r);
                }
                std::optional<double> least;
                splitShort.push_back({{}, static_cast<double>(row.bars)});
                for (std::int64_t k = row.fewestJoints; k <= row.mostJoints; ++k) {
                    const std::optional<Split> split =
                        cheapestSplit(row, k, longest, grid, worth, kinks);
                    if (!split) {
                        continue;
                    }
                    // The corners are the lines' ends: a node within the slack of its line
                    // may make a split cheaper by as much for each of its segments.
                    const double rc =
                        split->cost - 2 * slack * static_cast<double>(k + 1) +
                        static_cast<double>(k) * (static_cast<double>(row.jointCost) - jointDual) -
                        rowDual;
                    least = std::min(least.value_or(rc), rc);
                    splitShort.back().first.emplace_back(rc,
                                                         static_cast<double>(k * row.jointCost));
                    if (!split->lengths.empty() &&
                        rc < -kImproving * std::max(1.0, std::abs(rowDual)) &&
                        splits.insert({r, split->lengths}).second) {
                        model.addSplit({r, split->lengths});
                        added = true;
                    }
                }
                shortfall += std::min(0.0, least.value_or(0.0)) * static_cast<double>(row.bars);
            }
            pricing.solve(items, kinds, ordinary.kerf, capacity);
            double theta = 1;
            for (std::uint32_t s = 0; s < ordinary.stocks.size(); ++s) {
                const Stock& stock = ordinary.stocks[s];
                const double threshold = static_cast<double>(stock.cost) - offcutDual[s];
                const double rc = threshold - pricing.best(ordinary.capacity(s));
                const double bars =
                    stock.limited() ? static_cast<double>(stock.available)
                    : stock.cost > 0
                        ? std::floor(static_cast<double>(cutoff) / static_cast<double>(stock.cost))
                        : 0.0;
                shortfall += std::min(0.0, rc) * bars;
                if (stock.limited()) {
                    offcutShort.emplace_back(rc, bars);
                } else if (stock.cost > 0) {
                    theta = std::max(theta, pricing.best(ordinary.capacity(s)) /
                                                static_cast<double>(stock.cost));
                }
                if (rc >= -kImproving * std::max(1.0, static_cast<double>(stock.cost))) {
                    continue;
                }
                const FreeContent content = pricing.content(ordinary.capacity(s));
                PatternColumn p{s, content.pieces, {}};
                double worth = 0;
                for (const auto& [item, n] : content.pieces) {
                    worth += items[item].profit * static_cast<double>(n);
                }
                for (const FreePiece& f : content.free) {
                    const std::uint32_t r = kindRow[f.kind];
                    p.chunks.push_back({r, f.length});
                    worth += worthAt(grids[r], worths[r], f.length);
                }
                // Priced by the rough lines, a column is only taken where it prices out at
                // the nodes' own worths.
                if (worth - threshold <= kImproving * std::max(1.0, threshold)) {
                    continue;
                }
                std::ranges::sort(p.chunks);
                if (patterns.insert(p).second) {
                    model.addPattern(p);
                    added = true;
                }
            }
            if (!exact) {
                roughFound = added;
                continue;
            }
            best = std::max(best, dualValue + shortfall);
            // Farley: every dual divided by theta prices no bought bar out; the offcuts and
            // the splits that still do are charged as above, at that scale.
            double farley = dualValue / theta;
            for (const auto& [rc, bars] : offcutShort) {
                farley += std::min(0.0, rc / theta) * bars;
            }
            for (const auto& [byJoints, bars] : splitShort) {
                std::optional<double> least;
                for (const auto& [rc, joints] : byJoints) {
                    const double scaled = joints + (rc - joints) / theta;
                    least = std::min(least.value_or(scaled), scaled);
                }
                farley += std::min(0.0, least.value_or(0.0)) * bars;
            }
            best = std::max(best, farley);
            if (!added) {
                converged = true;
                break;
            }
            roughFound = true;
            // The plan known is proven; or this grid's programme cannot give a higher bound.
            if (rounded(best) >= cutoff || rounded(best) >= rounded(out.value)) {
                converged = rounded(best) < cutoff;
                break;
            }
        }
        if (!converged) {
            break;
        }
        // A finer grid's value is no lower, but a bound that has what the value rounds to
        // gains only when the value passes the next cost a plan can have: after a few finer
        // grids that have not moved it there, the search stops.
        if (rounded(best) >= rounded(out.value) && rounded(out.value) == lastRounded) {
            if (++stalled >= kStalledGrids) {
                break;
            }
        } else {
            stalled = 0;
        }
        lastRounded = rounded(out.value);
        // The lengths the solution cuts between nodes become nodes: where it cuts only on
        // nodes, its value is the programme's of every length.
        bool refined = false;
        const std::vector<std::set<std::int64_t>> off = model.offGrid();
        for (std::size_t r = 0; r < rows.size(); ++r) {
            for (const std::int64_t length : off[r]) {
                grids[r].insert(std::ranges::upper_bound(grids[r], length), length);
                refined = true;
            }
        }
        if (!refined) {
            out.converged = true;
            break;
        }
    }
    out.bound = std::min(rounded(best), cutoff);
    return out;
}

} // namespace plan::joints
