#include "plan/joints/free_layouts.h"

#include "plan/first_fit.h"
#include "plan/joints/layout_master.h"
#include "plan/joints/layout_pricing.h"
#include "plan/knapsack.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <set>

namespace plan::joints {
namespace {

constexpr double kImproving = 1e-7;
// Rounds of column generation before each row is fixed, at most.
constexpr int kRoundsPerStep = 60;
// Further contents taken from the pricing table per bar and round.
constexpr std::size_t kAlternatives = 3;
// A layout this sure of itself is taken without a dive of its own.
constexpr double kSure = 1 - 1e-6;

// What a layout wants: segments of each length, all its bars together.
std::map<std::int64_t, std::int64_t> wantOf(const SplicedBar& s) {
    std::map<std::int64_t, std::int64_t> q;
    for (const Layout& layout : s.layouts) {
        for (const Segment& segment : layout.segments) {
            q[segment.length] += layout.bars;
        }
    }
    return q;
}

class Dive {
public:
    Dive(const FreeInput& input, std::span<const FreeRowInput> rows)
        : input_(input), rows_(rows), master_(input.stocks, rows.size()) {
        for (const std::int64_t s : input.stockLengths) {
            longest_ = std::max(longest_, s);
        }
        for (const Item& piece : input.pieces) {
            master_.want(master_.length(piece.length), piece.demand);
        }
        for (std::size_t r = 0; r < rows.size(); ++r) {
            first_.push_back(master_.layouts());
            for (const SplicedBar& s : rows[r].start) {
                addLayout(r, s);
            }
        }
        // To start from: the first-fit plan of the pieces and the first layouts' segments, and
        // each length alone in the cheapest bar that holds it, so that every layout's segments
        // can be cut from the first programme on.
        std::vector<Item> items = input.pieces;
        for (const FreeRowInput& row : rows) {
            for (const auto& [length, n] : wantOf(row.start.front())) {
                items.push_back({length, n});
            }
        }
        const Instance instance = makeInstance(items, input.stocks, input.kerf, 0);
        for (const BarPattern& p : firstFitDecreasing(instance).patterns) {
            const Stock& stock = instance.stocks[p.stock];
            const auto s = stockIndex(stock);
            Content content;
            for (const auto& [item, n] : p.content) {
                content.emplace_back(
                    static_cast<std::uint32_t>(master_.length(instance.items[item].length)), n);
            }
            std::ranges::sort(content);
            master_.addPattern(s, content);
        }
        for (std::size_t l = 0; l < master_.lengths(); ++l) {
            addAlone(l);
        }
    }

    // Column generation for the rows not yet fixed; false when the programme cannot be solved.
    bool generate(const Budget& budget) {
        for (int round = 0; round < kRoundsPerStep && !budget.expired(); ++round) {
            if (!master_.solve()) {
                return false;
            }
            solved_ = true;
            ++rounds_;
            if (!pricePatterns() && !priceLayouts()) {
                break;
            }
        }
        return true;
    }

    // Fixes the rows whose layout is sure, or else the one surest of its layout; false when
    // every row is fixed.
    bool step() {
        const std::vector<std::pair<double, std::size_t>> best = mostHeld();
        bool any = false;
        bool sure = false;
        std::optional<std::pair<double, std::size_t>> surest;
        for (std::size_t r = 0; r < rows_.size(); ++r) {
            if (master_.fixed(r)) {
                continue;
            }
            any = true;
            if (best[r].first >= kSure) {
                fix(best[r].second);
                sure = true;
            } else if (!surest || best[r] > *surest) {
                surest = best[r];
            }
        }
        if (any && !sure && surest) {
            fix(surest->second);
        }
        return any;
    }

    // Every row not fixed takes the layout the programme holds most of (its first layout when
    // the programme was never solved).
    void finish() {
        const std::vector<std::pair<double, std::size_t>> best = mostHeld();
        for (std::size_t r = 0; r < rows_.size(); ++r) {
            if (!master_.fixed(r)) {
                fix(solved_ ? best[r].second : first_[r]);
            }
        }
    }

    [[nodiscard]] FreeChoice choice() const {
        FreeChoice out;
        for (std::size_t r = 0; r < rows_.size(); ++r) {
            out.spliced.push_back(spliced_[chosen_[r]]);
        }
        out.value = master_.value();
        out.rounds = rounds_;
        return out;
    }

private:
    // Per row not fixed, the layout the programme holds most of, with how much.
    [[nodiscard]] std::vector<std::pair<double, std::size_t>> mostHeld() const {
        std::vector<std::pair<double, std::size_t>> best(rows_.size(), {-1.0, 0});
        for (std::size_t j = 0; j < master_.layouts(); ++j) {
            const std::size_t r = master_.layoutRow(j);
            if (!master_.fixed(r)) {
                best[r] = std::max(best[r], {master_.layoutValue(j), j});
            }
        }
        return best;
    }

    std::uint32_t stockIndex(const Stock& stock) const {
        for (std::uint32_t s = 0; s < input_.stocks.size(); ++s) {
            const Stock& t = input_.stocks[s];
            if (t.length == stock.length && t.offcut == stock.offcut) {
                return s;
            }
        }
        return 0;
    }

    std::size_t addLayout(std::size_t r, const SplicedBar& s) {
        std::vector<std::pair<std::size_t, std::int64_t>> q;
        for (const auto& [length, n] : wantOf(s)) {
            const std::size_t l = master_.length(length);
            q.emplace_back(l, n);
            most_.resize(master_.lengths(), 0);
            most_[l] += n;
        }
        const double cost = rows_[r].jointCost * static_cast<double>(s.joints());
        const std::size_t j = master_.addLayout(r, q, cost);
        spliced_.push_back(s);
        return j;
    }

    void fix(std::size_t j) {
        master_.fix(j);
        chosen_.resize(rows_.size(), 0);
        chosen_[master_.layoutRow(j)] = j;
    }

    // Length l alone, as often as it fits, in the cheapest bar that holds it.
    void addAlone(std::size_t l) {
        const std::int64_t length = master_.lengthOf(l);
        std::optional<std::uint32_t> cheapest;
        for (std::uint32_t s = 0; s < input_.stocks.size(); ++s) {
            const Stock& stock = input_.stocks[s];
            if (!stock.limited() && stock.length >= length &&
                (!cheapest || stock.cost < input_.stocks[*cheapest].cost)) {
                cheapest = s;
            }
        }
        if (cheapest) {
            master_.addPattern(*cheapest, {{static_cast<std::uint32_t>(l), 1}});
        }
    }

    std::int64_t capacity(std::uint32_t s) const { return input_.stocks[s].length + input_.kerf; }

    bool usable(std::uint32_t s) const {
        const Stock& stock = input_.stocks[s];
        return !stock.limited() || stock.available > 0;
    }

    double rest(std::uint32_t s) const {
        return static_cast<double>(input_.stocks[s].cost) - std::min(0.0, master_.offcutDual(s));
    }

    void solveTable() {
        items_.clear();
        most_.resize(master_.lengths(), 0);
        for (std::size_t l = 0; l < master_.lengths(); ++l) {
            items_.push_back({master_.lengthOf(l) + input_.kerf,
                              std::max(0.0, master_.lengthDual(l)), master_.wanted(l) + most_[l]});
        }
        std::int64_t top = 0;
        for (std::uint32_t s = 0; s < input_.stocks.size(); ++s) {
            top = std::max(top, capacity(s));
        }
        table_.solve(items_, top);
    }

    // Patterns that price out, for every bar; true when any was added.
    bool pricePatterns() {
        solveTable();
        bool added = false;
        for (std::uint32_t s = 0; s < input_.stocks.size(); ++s) {
            if (!usable(s)) {
                continue;
            }
            const double threshold = rest(s);
            if (table_.best(capacity(s)) <= threshold + kImproving * std::max(1.0, threshold)) {
                continue;
            }
            added = master_.addPattern(s, table_.pattern(capacity(s))) || added;
            for (const Content& c : table_.alternatives(capacity(s), threshold, kAlternatives)) {
                added = master_.addPattern(s, c) || added;
            }
        }
        return added;
    }

    // Layouts that price out, for every row not fixed; true when any was added.
    bool priceLayouts() {
        // The table is the one the patterns were last priced with, at these duals.
        std::vector<double> price(static_cast<std::size_t>(longest_) + 1,
                                  std::numeric_limits<double>::infinity());
        std::vector<std::pair<std::uint32_t, std::int64_t>> where(price.size(), {0, 0});
        for (std::int64_t length = 1; length <= longest_; ++length) {
            const auto at = static_cast<std::size_t>(length);
            if (master_.hasLength(length)) {
                price[at] = std::max(0.0, master_.lengthDual(master_.length(length)));
                continue;
            }
            for (std::uint32_t s = 0; s < input_.stocks.size(); ++s) {
                if (!usable(s)) {
                    continue;
                }
                const std::int64_t w = length + input_.kerf;
                for (std::int64_t m = 1; m * w <= capacity(s); ++m) {
                    const double p =
                        (rest(s) - table_.best(capacity(s) - m * w)) / static_cast<double>(m);
                    if (p < price[at]) {
                        price[at] = p;
                        where[at] = {s, m};
                    }
                }
            }
        }
        bool added = false;
        for (std::size_t r = 0; r < rows_.size(); ++r) {
            if (master_.fixed(r)) {
                continue;
            }
            const FreeRowInput& row = rows_[r];
            const std::optional<PricedLayout> priced =
                priceLayout(*row.bar, row.rule, row.mostTotal, row.jointCost, price,
                            input_.stockLengths, input_.settings);
            const double dual = master_.rowDual(r);
            if (!priced || priced->cost - dual >= -kImproving * std::max(1.0, std::abs(dual))) {
                continue;
            }
            SplicedBar s = splice(*row.bar, row.rule, priced->shapes);
            if (!known_.emplace(r, priced->shapes).second ||
                check(s, *row.bar, input_.stockLengths, input_.settings)) {
                continue;
            }
            // New lengths come with the bar that prices them.
            for (const auto& [length, n] : wantOf(s)) {
                if (master_.hasLength(length)) {
                    continue;
                }
                const auto [stock, m] = where[static_cast<std::size_t>(length)];
                const std::size_t l = master_.length(length);
                Content content = table_.pattern(capacity(stock) - m * (length + input_.kerf));
                content.emplace_back(static_cast<std::uint32_t>(l), static_cast<std::uint32_t>(m));
                master_.addPattern(stock, content);
                addAlone(l);
            }
            addLayout(r, s);
            added = true;
        }
        return added;
    }

    const FreeInput& input_;
    std::span<const FreeRowInput> rows_;
    LayoutMaster master_;
    std::int64_t longest_ = 0;
    std::vector<SplicedBar> spliced_; // per layout
    std::vector<std::size_t> chosen_; // per row, once fixed
    std::vector<std::size_t> first_;  // per row, its first layout
    std::set<std::pair<std::size_t, std::vector<Shape>>> known_; // layouts priced, by row
    std::vector<std::int64_t> most_;  // per length, segments all layouts want
    std::vector<PricingItem> items_;
    KnapsackTable table_;
    int rounds_ = 0;
    bool solved_ = false;
};

} // namespace

FreeChoice chooseLayouts(const FreeInput& input, std::span<const FreeRowInput> rows,
                         const Budget& budget) {
    Dive dive(input, rows);
    bool solved = true;
    while (solved && !budget.expired()) {
        solved = dive.generate(budget);
        if (!solved || !dive.step()) {
            break;
        }
    }
    dive.finish();
    return dive.choice();
}

} // namespace plan::joints
