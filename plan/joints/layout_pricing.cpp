#include "plan/joints/layout_pricing.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace plan::joints {
namespace {

// Nodes of the search for the classes' shapes.
constexpr std::int64_t kNodes = 20'000;
// Shapes kept per number of joints, best first.
constexpr std::size_t kShapes = 4000;
// For bars of two joints and more: the lengths cheapest per millimetre that the segments
// other than the remainder are taken from, by number of joints.
constexpr std::size_t kLengths[] = {0, 0, 24, 16, 10, 6};
// A price this much above the one before is a step up.
constexpr double kRising = 1e-9;

struct Candidate {
    Shape shape;
    std::vector<std::int64_t> joints; // centres
    double cost = 0;                  // per bar, its joints included
};

double costOf(const Shape& shape, std::span<const double> price) {
    double c = 0;
    for (const std::int64_t s : shape) {
        c += price[static_cast<std::size_t>(s)];
    }
    return c;
}

// The lengths of [shortest, longest] that cost least per millimetre, and the stock lengths
// within the range. Only the longest length of each price is taken: what one more segment costs
// rises with its length in steps, and a shorter one of the same step costs as much for less.
std::vector<std::int64_t> promising(std::span<const double> price, std::int64_t shortest,
                                    std::int64_t longest, std::size_t count,
                                    std::span<const std::int64_t> stocks) {
    std::vector<std::int64_t> lengths;
    for (std::int64_t l = std::max<std::int64_t>(shortest, 1); l <= longest; ++l) {
        const auto at = static_cast<std::size_t>(l);
        if (l == longest || price[at + 1] > price[at] + kRising * std::max(1.0, price[at])) {
            lengths.push_back(l);
        }
    }
    std::ranges::stable_sort(lengths, std::less<>{}, [&](std::int64_t l) {
        return price[static_cast<std::size_t>(l)] / static_cast<double>(l);
    });
    std::vector<std::int64_t> out;
    for (const std::int64_t s : stocks) {
        if (s >= shortest && s <= longest && std::ranges::find(out, s) == out.end()) {
            out.push_back(s);
        }
    }
    for (const std::int64_t l : lengths) {
        if (out.size() >= count + stocks.size()) {
            break;
        }
        if (std::ranges::find(out, l) == out.end()) {
            out.push_back(l);
        }
    }
    return out;
}

void addCandidate(Shape shape, const LongBar& bar, const Rule& rule, double jointCost,
                  std::span<const double> price, std::span<const std::int64_t> stocks,
                  const JointSettings& settings, std::vector<Candidate>& out) {
    if (!admissible(shape, bar, rule, stocks, settings)) {
        return;
    }
    const double c = costOf(shape, price) + jointCost * static_cast<double>(shape.size() - 1);
    std::vector<std::int64_t> joints = centres(shape, rule.overlap);
    out.push_back({std::move(shape), std::move(joints), c});
}

// Admissible shapes with `joints` joints, cheapest first: for one joint every first segment,
// for more the promising lengths in every order with the remainder at every place.
std::vector<Candidate> candidates(const LongBar& bar, const Rule& rule, std::int64_t joints,
                                  double jointCost, std::span<const double> price,
                                  std::span<const std::int64_t> stocks,
                                  const JointSettings& settings) {
    const std::int64_t longest = static_cast<std::int64_t>(price.size()) - 1;
    const std::int64_t need = bar.length + joints * rule.overlap;
    const std::int64_t least = settings.shortestSegment + rule.overlap;
    std::vector<Candidate> out;
    if (joints == 1) {
        for (std::int64_t a = std::max(least, need - longest); a <= std::min(longest, need - least);
             ++a) {
            addCandidate({a, need - a}, bar, rule, jointCost, price, stocks, settings, out);
        }
    } else if (joints >= 2) {
        const std::size_t n = kLengths[std::min<std::size_t>(static_cast<std::size_t>(joints),
                                                             std::size(kLengths) - 1)];
        const std::vector<std::int64_t> lengths =
            promising(price, least, longest, n == 0 ? 4 : n, stocks);
        std::vector<std::size_t> pick(static_cast<std::size_t>(joints), 0);
        while (true) {
            std::int64_t sum = 0;
            for (const std::size_t p : pick) {
                sum += lengths[p];
            }
            const std::int64_t rest = need - sum;
            if (rest >= least && rest <= longest) {
                for (std::size_t at = 0; at <= pick.size(); ++at) {
                    Shape shape;
                    for (const std::size_t p : pick) {
                        shape.push_back(lengths[p]);
                    }
                    shape.insert(shape.begin() + static_cast<std::ptrdiff_t>(at), rest);
                    addCandidate(std::move(shape), bar, rule, jointCost, price, stocks, settings,
                                 out);
                }
            }
            std::size_t i = 0;
            while (i < pick.size() && ++pick[i] == lengths.size()) {
                pick[i++] = 0;
            }
            if (i == pick.size()) {
                break;
            }
        }
    }
    std::ranges::stable_sort(out, std::less<>{}, &Candidate::cost);
    if (out.size() > kShapes) {
        out.resize(kShapes);
    }
    return out;
}

} // namespace

std::vector<std::int64_t> classBars(const LongBar& bar, const Rule& rule) {
    const std::int64_t m = rule.sideBySide;
    const std::int64_t g = rule.classes;
    const std::int64_t whole = bar.count / m;
    const std::int64_t rest = bar.count % m;
    std::vector<std::int64_t> out(static_cast<std::size_t>(g), 0);
    for (std::int64_t j = 0; j < g; ++j) {
        for (std::int64_t i = j; i < m; i += g) {
            out[static_cast<std::size_t>(j)] += whole + (i < rest ? 1 : 0);
        }
    }
    return out;
}

std::optional<PricedLayout> priceLayout(const LongBar& bar, const Rule& rule,
                                        std::int64_t mostTotal, double jointCost,
                                        std::span<const double> price,
                                        std::span<const std::int64_t> stocks,
                                        const JointSettings& settings) {
    std::vector<Candidate> all;
    for (std::int64_t k = rule.joints; k <= rule.mostJoints; ++k) {
        std::vector<Candidate> more = candidates(bar, rule, k, jointCost, price, stocks, settings);
        all.insert(all.end(), std::make_move_iterator(more.begin()),
                   std::make_move_iterator(more.end()));
    }
    if (all.empty()) {
        return std::nullopt;
    }
    std::ranges::stable_sort(all, std::less<>{}, &Candidate::cost);
    const std::vector<std::int64_t> bars = classBars(bar, rule);
    // Classes with more bars choose first, each from the cheapest shapes up, the shapes of one
    // search at least a section apart from those chosen before.
    std::vector<std::size_t> order(bars.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::ranges::stable_sort(order, std::greater<>{}, [&](std::size_t j) { return bars[j]; });
    std::vector<std::size_t> chosen(bars.size(), 0);
    std::vector<std::size_t> best;
    double bestCost = 0;
    std::int64_t nodes = 0;
    const double cheapest = all.front().cost;
    const auto search = [&](auto&& self, std::size_t depth, double sum,
                            std::int64_t joints) -> void {
        if (depth == order.size()) {
            if (best.empty() || sum < bestCost) {
                best = chosen;
                bestCost = sum;
            }
            return;
        }
        const std::size_t j = order[depth];
        double rest = 0;
        for (std::size_t d = depth + 1; d < order.size(); ++d) {
            rest += static_cast<double>(bars[order[d]]) * cheapest;
        }
        const auto b = static_cast<double>(bars[j]);
        for (std::size_t i = 0; i < all.size() && nodes < kNodes; ++i) {
            if (!best.empty() && sum + b * all[i].cost + rest >= bestCost) {
                break; // the rest cost no less
            }
            const auto k = static_cast<std::int64_t>(all[i].joints.size());
            if (mostTotal >= 0 && joints + bars[j] * k > mostTotal) {
                continue;
            }
            ++nodes;
            bool fits = true;
            for (std::size_t d = 0; d < depth && fits; ++d) {
                fits = spaced(all[chosen[order[d]]].joints, all[i].joints, rule.section);
            }
            if (!fits) {
                continue;
            }
            chosen[j] = i;
            self(self, depth + 1, sum + b * all[i].cost, joints + bars[j] * k);
        }
    };
    search(search, 0, 0.0, 0);
    if (best.empty()) {
        return std::nullopt;
    }
    PricedLayout out;
    out.cost = bestCost;
    for (std::size_t j = 0; j < best.size(); ++j) {
        out.shapes.push_back(all[best[j]].shape);
        out.joints += bars[j] * static_cast<std::int64_t>(all[best[j]].joints.size());
    }
    return out;
}

} // namespace plan::joints
