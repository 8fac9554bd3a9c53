#include "plan/gomory.h"

#include "plan/bound.h"

#include <ClpSimplex.hpp>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <numeric>
#include <optional>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

namespace plan {
namespace {

__extension__ using Wide = __int128;

// Rounds of cuts, and cuts a round, before the prover gives up; a round costs one dense
// factorisation of the basis and one warm-started solve.
constexpr int kRounds = 300;
constexpr std::size_t kCutsPerRound = 60;
// The basis is factorised densely: no more rows than this, cuts included.
constexpr int kMostRows = 900;
// A row of the basis inverse is used when its entries are multiples of 1/q for some q up to
// this: then the cut is exactly the one the basis describes.
constexpr std::int64_t kLargestDenominator = 10'000'000;
constexpr std::int64_t kLargestCommonDenominator = 10'000'000'000'000;
// Otherwise the row is rounded to multiples of 1/kGrid: still a valid cut, if a weaker one.
constexpr std::int64_t kGrid = std::int64_t{1} << 24;
constexpr int kMultiples = 3;
constexpr double kIntegral = 1e-6;
constexpr double kViolation = 1e-6;
// The duals are rounded to multiples of 2^-32 for the final check.
constexpr double kDualScale = 4294967296.0;

Wide floorDiv(Wide a, Wide b) {
    const Wide q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

struct Cut {
    std::vector<std::pair<int, std::int64_t>> coefficients; // (column, coefficient ≠ 0)
    std::int64_t rhs = 0;
    double efficacy = 0;
};

class Prover {
public:
    Prover(const Instance& instance, std::span<const Column> columns, std::int64_t target)
        : patterns_(columns) {
        const std::int64_t unit = costUnit(instance);
        target_ = static_cast<std::int64_t>(floorDiv(target, unit));

        // Rows: every piece wanted exactly, every offcut length at most as often as it lies in
        // the yard, and the cost at most the target.
        for (const Item& item : instance.items) {
            rhs_.push_back(item.demand);
            equality_.push_back(true);
        }
        std::vector<int> stockRow(instance.stocks.size(), -1);
        for (std::size_t s = 0; s < instance.stocks.size(); ++s) {
            if (instance.stocks[s].limited()) {
                stockRow[s] = static_cast<int>(rhs_.size());
                rhs_.push_back(instance.stocks[s].available);
                equality_.push_back(false);
            }
        }
        costRow_ = static_cast<int>(rhs_.size());
        rhs_.push_back(target_);
        equality_.push_back(false);

        entries_.resize(patternCount());
        for (std::size_t j = 0; j < patternCount(); ++j) {
            const Column& column = columns[j];
            const Stock& stock = instance.stocks[column.stock];
            cost_.push_back(stock.cost / unit);
            // The most bars of this pattern a plan within the target can cut.
            std::int64_t most = cost_.back() > 0  ? target_ / cost_.back()
                                : stock.limited() ? stock.available
                                                  : std::numeric_limits<std::int64_t>::max();
            for (const auto& [item, n] : column.content) {
                entries_[j].emplace_back(static_cast<int>(item), n);
                most = std::min<std::int64_t>(most, instance.items[item].demand / n);
            }
            if (stockRow[column.stock] >= 0) {
                entries_[j].emplace_back(stockRow[column.stock], 1);
                most = std::min(most, stock.available);
            }
            if (cost_.back() != 0) {
                entries_[j].emplace_back(costRow_, cost_.back());
            }
            most_.push_back(most);
        }

        lp_.setLogLevel(0);
        lp_.scaling(0);
        const auto rows = static_cast<int>(rhs_.size());
        lp_.resize(rows, 0);
        for (int i = 0; i < rows; ++i) {
            lp_.setRowBounds(i, equality_[i] ? static_cast<double>(rhs_[i]) : -COIN_DBL_MAX,
                             static_cast<double>(rhs_[i]));
        }
        std::vector<CoinBigIndex> starts{0};
        std::vector<int> index;
        std::vector<double> element;
        for (std::size_t j = 0; j < patternCount(); ++j) {
            for (const auto& [row, a] : entries_[j]) {
                index.push_back(row);
                element.push_back(static_cast<double>(a));
            }
            starts.push_back(static_cast<CoinBigIndex>(index.size()));
        }
        const std::vector<double> lower(patternCount(), 0.0);
        const std::vector<double> upper(patternCount(), COIN_DBL_MAX);
        std::vector<double> objective;
        for (const std::int64_t c : cost_) {
            objective.push_back(static_cast<double>(c));
        }
        lp_.addColumns(static_cast<int>(patternCount()), lower.data(), upper.data(),
                       objective.data(), starts.data(), index.data(), element.data());
    }

    CutOutcome settle(const Budget& budget, GomoryStats& stats) {
        lp_.dual();
        for (int round = 0;; ++round) {
            if (lp_.isProvenPrimalInfeasible()) {
                return certify() ? CutOutcome{CutOutcome::NoPlan, {}} : CutOutcome{};
            }
            if (!lp_.isProvenOptimal()) {
                return {};
            }
            // The cuts may leave a whole solution: a plan within the target.
            if (auto plan = wholePlan()) {
                return {CutOutcome::Plan, std::move(*plan)};
            }
            if (round == kRounds || budget.expired() || lp_.numberRows() >= kMostRows) {
                return {};
            }
            std::vector<Cut> cuts = separate();
            std::ranges::move(zeroHalf(), std::back_inserter(cuts));
            if (cuts.empty()) {
                return {};
            }
            std::ranges::sort(cuts,
                              [](const Cut& a, const Cut& b) { return a.efficacy > b.efficacy; });
            cuts.resize(std::min(cuts.size(), kCutsPerRound));
            ++stats.rounds;
            stats.cuts += static_cast<int>(cuts.size());
            for (Cut& cut : cuts) {
                addCut(std::move(cut));
            }
            lp_.dual();
        }
    }

private:
    // The linear programme's solution as a plan when every column's value is whole and the
    // whole values cut every piece exactly, within the yard and the target.
    [[nodiscard]] std::optional<Solution> wholePlan() const {
        const double* x = lp_.getColSolution();
        std::vector<std::int64_t> count(patternCount());
        for (std::size_t j = 0; j < patternCount(); ++j) {
            count[j] = std::llround(x[j]);
            if (std::abs(x[j] - static_cast<double>(count[j])) > kIntegral || count[j] < 0) {
                return std::nullopt;
            }
        }
        // Every row, cuts aside, held in whole numbers.
        std::vector<std::int64_t> lhs(rhs_.size(), 0);
        for (std::size_t j = 0; j < patternCount(); ++j) {
            for (const auto& [i, a] : entries_[j]) {
                lhs[i] += a * count[j];
            }
        }
        for (int i = 0; i <= costRow_; ++i) {
            if (equality_[i] ? lhs[i] != rhs_[i] : lhs[i] > rhs_[i]) {
                return std::nullopt;
            }
        }
        Solution plan;
        for (std::size_t j = 0; j < patternCount(); ++j) {
            if (count[j] > 0) {
                plan.patterns.push_back({patterns_[j].stock, count[j], patterns_[j].content});
            }
        }
        return plan;
    }

    // The cuts that the rows of the current basis give, where the basic variable is fractional.
    std::vector<Cut> separate() {
        const int m = lp_.numberRows();
        std::vector<int> basic; // column j, or patternCount() + row for a row's slack
        for (std::size_t j = 0; j < patternCount(); ++j) {
            if (lp_.getColumnStatus(static_cast<int>(j)) == ClpSimplex::basic) {
                basic.push_back(static_cast<int>(j));
            }
        }
        for (int i = 0; i < m; ++i) {
            if (lp_.getRowStatus(i) == ClpSimplex::basic) {
                basic.push_back(static_cast<int>(patternCount()) + i);
            }
        }
        if (static_cast<int>(basic.size()) != m) {
            return {};
        }
        // The transposed basis, row k the k-th basic variable's column; λ with λ·B = e_k is the
        // k-th row of the basis inverse.
        std::vector<double> bt(static_cast<std::size_t>(m) * m, 0.0);
        for (int k = 0; k < m; ++k) {
            double* row = &bt[static_cast<std::size_t>(k) * m];
            if (basic[k] < static_cast<int>(patternCount())) {
                for (const auto& [i, a] : entries_[basic[k]]) {
                    row[i] = static_cast<double>(a);
                }
            } else {
                row[basic[k] - static_cast<int>(patternCount())] = 1.0;
            }
        }
        std::vector<int> pivot(m);
        if (!factorise(bt, m, pivot)) {
            return {};
        }
        const double* x = lp_.getColSolution();
        const double* activity = lp_.getRowActivity();
        std::vector<Cut> cuts;
        std::set<std::vector<std::pair<int, std::int64_t>>> seen;
        for (int k = 0; k < m; ++k) {
            const double value = basic[k] < static_cast<int>(patternCount())
                                     ? x[basic[k]]
                                     : static_cast<double>(rhs_[basic[k] - patternCount()]) -
                                           activity[basic[k] - patternCount()];
            const double fraction = value - std::floor(value);
            if (fraction < kIntegral || fraction > 1 - kIntegral) {
                continue;
            }
            std::vector<double> lambda(m, 0.0);
            lambda[k] = 1.0;
            solve(bt, m, pivot, lambda);
            std::int64_t q = commonDenominator(lambda);
            if (q == 0) {
                q = kGrid;
            }
            const bool tooLarge = std::ranges::any_of(
                lambda, [&](double l) { return std::abs(l) * static_cast<double>(q) > 1e17; });
            if (q <= 1 || tooLarge) {
                continue;
            }
            std::vector<std::int64_t> p(m);
            for (int i = 0; i < m; ++i) {
                const auto scaled = static_cast<std::int64_t>(std::llround(lambda[i] * q));
                p[i] = ((scaled % q) + q) % q;
            }
            for (int multiple = 1; multiple <= kMultiples && multiple < q; ++multiple) {
                std::vector<std::int64_t> u(m);
                for (int i = 0; i < m; ++i) {
                    u[i] = static_cast<std::int64_t>(static_cast<Wide>(p[i]) * multiple % q);
                }
                Cut cut = chvatalGomory(u, q, x);
                if (cut.efficacy > kViolation && seen.insert(cut.coefficients).second) {
                    cuts.push_back(std::move(cut));
                }
            }
        }
        return cuts;
    }

    // Cuts with u = ½ on a set S of rows whose right sides add up to an odd number: at the
    // current solution x, Σ⌊a_Sj/2⌋ x_j ≤ ⌊b_S/2⌋ is violated by (1 − slack_S − Σ x_j over the
    // columns with a_Sj odd) / 2. The rows are combined modulo 2 by Gaussian elimination, the
    // columns with the largest x first, so that those are even in every row left; each row
    // left is tried as it goes (Koster, Zymolka and Kutschka's heuristic for {0,½}-cuts).
    std::vector<Cut> zeroHalf() const {
        const int m = lp_.numberRows();
        const double* x = lp_.getColSolution();
        const double* activity = lp_.getRowActivity();
        std::vector<double> slack(m, 0.0);
        for (int i = 0; i < m; ++i) {
            slack[i] =
                equality_[i] ? 0.0 : std::max(0.0, static_cast<double>(rhs_[i]) - activity[i]);
        }
        std::vector<int> support;
        for (std::size_t j = 0; j < patternCount(); ++j) {
            if (x[j] > kIntegral) {
                support.push_back(static_cast<int>(j));
            }
        }
        std::ranges::sort(support, [&](int a, int b) { return x[a] > x[b]; });
        const std::size_t columnWords = (support.size() + 63) / 64;
        const std::size_t rowWords = (static_cast<std::size_t>(m) + 63) / 64;
        struct Combination {
            std::vector<std::uint64_t> odd;  // support columns with an odd coefficient
            std::vector<std::uint64_t> rows; // the rows of S
            bool oddRight = false;
        };
        std::vector<Combination> rows(m);
        for (int i = 0; i < m; ++i) {
            rows[i].odd.assign(columnWords, 0);
            rows[i].rows.assign(rowWords, 0);
            rows[i].rows[i / 64] |= std::uint64_t{1} << (i % 64);
            rows[i].oddRight = (rhs_[i] % 2) != 0;
        }
        for (std::size_t c = 0; c < support.size(); ++c) {
            for (const auto& [i, a] : entries_[support[c]]) {
                if (a % 2 != 0) {
                    rows[i].odd[c / 64] |= std::uint64_t{1} << (c % 64);
                }
            }
        }
        std::vector<bool> active(m);
        for (int i = 0; i < m; ++i) {
            active[i] = slack[i] < 1.0;
        }
        const auto has = [](const std::vector<std::uint64_t>& bits, std::size_t k) {
            return ((bits[k / 64] >> (k % 64)) & 1U) != 0;
        };
        std::vector<Cut> cuts;
        std::set<std::vector<std::uint64_t>> tried;
        const auto tryRow = [&](const Combination& row, std::size_t from) {
            if (!row.oddRight || tried.contains(row.rows)) {
                return;
            }
            double weight = 0;
            for (int i = 0; i < m && weight < 1.0; ++i) {
                weight += has(row.rows, static_cast<std::size_t>(i)) ? slack[i] : 0.0;
            }
            for (std::size_t c = from; c < support.size() && weight < 1.0; ++c) {
                weight += has(row.odd, c) ? x[support[c]] : 0.0;
            }
            if (weight > 1.0 - 1e-4) {
                return;
            }
            tried.insert(row.rows);
            std::vector<std::int64_t> u(m, 0);
            for (int i = 0; i < m; ++i) {
                u[i] = has(row.rows, static_cast<std::size_t>(i)) ? 1 : 0;
            }
            Cut cut = chvatalGomory(u, 2, x);
            if (cut.efficacy > kViolation) {
                cuts.push_back(std::move(cut));
            }
        };
        for (std::size_t c = 0; c < support.size() && cuts.size() < kCutsPerRound; ++c) {
            int pivot = -1;
            for (int i = 0; i < m && pivot < 0; ++i) {
                pivot = active[i] && has(rows[i].odd, c) ? i : -1;
            }
            if (pivot < 0) {
                continue;
            }
            active[pivot] = false;
            for (int i = 0; i < m; ++i) {
                if (!active[i] || !has(rows[i].odd, c)) {
                    continue;
                }
                Combination& row = rows[i];
                for (std::size_t w = 0; w < columnWords; ++w) {
                    row.odd[w] ^= rows[pivot].odd[w];
                }
                for (std::size_t w = 0; w < rowWords; ++w) {
                    row.rows[w] ^= rows[pivot].rows[w];
                }
                row.oddRight = row.oddRight != rows[pivot].oddRight;
                tryRow(row, c + 1);
            }
        }
        return cuts;
    }

    // The least q such that q·λ is whole, from each entry's continued fraction; 0 when it is
    // larger than a cut is worth, or when the entries are not fractions at all.
    static std::int64_t commonDenominator(const std::vector<double>& lambda) {
        std::int64_t common = 1;
        for (const double l : lambda) {
            const double fraction = l - std::floor(l);
            if (fraction < kIntegral || fraction > 1 - kIntegral) {
                continue;
            }
            // Convergents h/k: h_n = a_n h_{n-1} + h_{n-2}, and k likewise.
            double rest = 1.0 / fraction; // past the first term, which is 0
            std::int64_t h = 0, hBefore = 1, k = 1, kBefore = 0;
            while (std::abs(fraction - static_cast<double>(h) / static_cast<double>(k)) >= 1e-9) {
                const double whole = std::floor(rest);
                const auto a = static_cast<std::int64_t>(whole);
                std::tie(h, hBefore) = std::pair{a * h + hBefore, h};
                std::tie(k, kBefore) = std::pair{a * k + kBefore, k};
                if (k > kLargestDenominator || rest - whole < 1e-12) {
                    break;
                }
                rest = 1.0 / (rest - whole);
            }
            if (k > kLargestDenominator ||
                std::abs(fraction - static_cast<double>(h) / static_cast<double>(k)) >= 1e-9) {
                return 0;
            }
            common = std::lcm(common, k);
            if (common > kLargestCommonDenominator) {
                return 0;
            }
        }
        return common;
    }

    // Σ ⌊u·a_j / q⌋ x_j ≤ ⌊u·b / q⌋, with u ≥ 0 on the rows that are inequalities; its
    // efficacy is how far the current solution lies beyond it.
    Cut chvatalGomory(const std::vector<std::int64_t>& u, std::int64_t q, const double* x) const {
        Cut cut;
        Wide ub = 0;
        for (std::size_t i = 0; i < rhs_.size(); ++i) {
            ub += static_cast<Wide>(u[i]) * rhs_[i];
        }
        cut.rhs = static_cast<std::int64_t>(floorDiv(ub, q));
        double lhs = 0;
        double norm = 0;
        for (std::size_t j = 0; j < patternCount(); ++j) {
            Wide ua = 0;
            for (const auto& [i, a] : entries_[j]) {
                ua += static_cast<Wide>(u[i]) * a;
            }
            if (const auto g = static_cast<std::int64_t>(floorDiv(ua, q)); g != 0) {
                cut.coefficients.emplace_back(static_cast<int>(j), g);
                lhs += static_cast<double>(g) * x[j];
                norm += static_cast<double>(g) * static_cast<double>(g);
            }
        }
        cut.efficacy = norm > 0 ? (lhs - static_cast<double>(cut.rhs)) / std::sqrt(norm) : 0.0;
        return cut;
    }

    void addCut(Cut cut) {
        const auto row = static_cast<int>(rhs_.size());
        std::vector<int> index;
        std::vector<double> element;
        for (const auto& [j, g] : cut.coefficients) {
            index.push_back(j);
            element.push_back(static_cast<double>(g));
            entries_[j].emplace_back(row, g);
        }
        rhs_.push_back(cut.rhs);
        equality_.push_back(false);
        lp_.addRow(static_cast<int>(index.size()), index.data(), element.data(), -COIN_DBL_MAX,
                   static_cast<double>(cut.rhs));
    }

    // The cuts hold for every plan within the target. Without the cost row, the linear
    // programme's duals, rounded to whole multiples of 2^-32, bound the cost of every such plan
    // from below, in whole numbers: y·b plus each negative reduced cost times the most bars its
    // column can take. Above the target, no plan within it exists.
    bool certify() {
        lp_.setRowUpper(costRow_, COIN_DBL_MAX);
        lp_.dual();
        if (!lp_.isProvenOptimal()) {
            return false;
        }
        const double* price = lp_.getRowPrice();
        std::vector<std::int64_t> y(rhs_.size(), 0);
        for (std::size_t i = 0; i < rhs_.size(); ++i) {
            const double dual = equality_[i] ? price[i] : std::min(0.0, price[i]);
            if (!(std::abs(dual) < 1e6)) {
                return false;
            }
            if (static_cast<int>(i) != costRow_) {
                y[i] = std::llround(dual * kDualScale);
            }
        }
        Wide bound = 0;
        for (std::size_t i = 0; i < rhs_.size(); ++i) {
            bound += static_cast<Wide>(y[i]) * rhs_[i];
        }
        const auto scale = static_cast<Wide>(kDualScale);
        for (std::size_t j = 0; j < patternCount(); ++j) {
            Wide reduced = static_cast<Wide>(cost_[j]) * scale;
            for (const auto& [i, a] : entries_[j]) {
                reduced -= static_cast<Wide>(y[i]) * a;
            }
            if (reduced < 0) {
                if (most_[j] == std::numeric_limits<std::int64_t>::max()) {
                    return false;
                }
                bound += reduced * most_[j];
            }
        }
        return bound > static_cast<Wide>(target_) * scale;
    }

    // LU with partial pivoting of the dense m × m matrix `a` (row-major), in place.
    static bool factorise(std::vector<double>& a, int m, std::vector<int>& pivot) {
        for (int c = 0; c < m; ++c) {
            int best = c;
            for (int r = c + 1; r < m; ++r) {
                if (std::abs(a[static_cast<std::size_t>(r) * m + c]) >
                    std::abs(a[static_cast<std::size_t>(best) * m + c])) {
                    best = r;
                }
            }
            pivot[c] = best;
            if (std::abs(a[static_cast<std::size_t>(best) * m + c]) < 1e-12) {
                return false;
            }
            if (best != c) {
                std::swap_ranges(a.begin() + static_cast<std::ptrdiff_t>(c) * m,
                                 a.begin() + static_cast<std::ptrdiff_t>(c + 1) * m,
                                 a.begin() + static_cast<std::ptrdiff_t>(best) * m);
            }
            const double diagonal = a[static_cast<std::size_t>(c) * m + c];
            for (int r = c + 1; r < m; ++r) {
                double& l = a[static_cast<std::size_t>(r) * m + c];
                if (l == 0) {
                    continue;
                }
                l /= diagonal;
                for (int k = c + 1; k < m; ++k) {
                    a[static_cast<std::size_t>(r) * m + k] -=
                        l * a[static_cast<std::size_t>(c) * m + k];
                }
            }
        }
        return true;
    }

    // Solves A z = b for the A that `factorise` left in `lu`, with b given in z: the row
    // exchanges first, then the two triangles.
    static void solve(const std::vector<double>& lu, int m, const std::vector<int>& pivot,
                      std::vector<double>& z) {
        for (int c = 0; c < m; ++c) {
            std::swap(z[c], z[pivot[c]]);
        }
        for (int c = 0; c < m; ++c) {
            for (int r = c + 1; r < m; ++r) {
                z[r] -= lu[static_cast<std::size_t>(r) * m + c] * z[c];
            }
        }
        for (int r = m - 1; r >= 0; --r) {
            double sum = z[r];
            for (int k = r + 1; k < m; ++k) {
                sum -= lu[static_cast<std::size_t>(r) * m + k] * z[k];
            }
            z[r] = sum / lu[static_cast<std::size_t>(r) * m + r];
        }
    }

    [[nodiscard]] std::size_t patternCount() const { return patterns_.size(); }

    std::span<const Column> patterns_;
    std::int64_t target_ = 0; // in units of the stock costs' common divisor
    int costRow_ = 0;
    std::vector<std::vector<std::pair<int, std::int64_t>>> entries_; // per column: (row, a)
    std::vector<std::int64_t> rhs_;
    std::vector<bool> equality_;
    std::vector<std::int64_t> cost_;
    std::vector<std::int64_t> most_;
    ClpSimplex lp_;
};

} // namespace

CutOutcome settleByCuts(const Instance& instance, std::span<const Column> columns,
                        std::int64_t target, const Budget& budget, GomoryStats* stats) {
    GomoryStats local;
    Prover prover(instance, columns, target);
    return prover.settle(budget, stats != nullptr ? *stats : local);
}

} // namespace plan
