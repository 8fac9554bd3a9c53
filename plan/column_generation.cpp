#include "plan/column_generation.h"

#include "plan/bound.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace plan {
namespace {

constexpr double kSmoothing = 0.8;
constexpr double kImproving = 1e-9;

} // namespace

ColumnGeneration::ColumnGeneration(const Instance& instance, Master& master)
    : instance_(instance), master_(master), pricing_(instance) {
}

// Lower bounds on the cost of what is left at a node, from any duals π ≥ 0 of the items: by
// weak duality, once the duals are made feasible for every column. Two ways of doing that are
// taken, and the better bound kept:
//  - Lagrangian: every bar length whose best pattern prices out negative adds its reduced cost
//    once for each bar of that length a better plan could have;
//  - Farley: π divided by θ, the most any bar returns per unit of its cost, prices nothing out.
// A yard offcut whose best content is worth v is charged v for each one left, which makes its
// columns price out at zero or more. Capped columns are priced out of their bar's best and
// counted at their caps.
double ColumnGeneration::lagrangianBound(const NodeState& node, std::span<const double> profit,
                                         std::span<const double> stockCost,
                                         std::span<const double> upperValue, std::int64_t fixed,
                                         std::int64_t cutoff) const {
    std::int64_t pieces = 0;
    for (const std::int64_t d : node.demand) {
        pieces += d;
    }
    double covered = 0;
    for (std::size_t i = 0; i < profit.size(); ++i) {
        covered += profit[i] * static_cast<double>(node.demand[i]);
    }
    double offcuts = 0;
    double theta = 1;
    double shortfall = 0;
    for (std::size_t s = 0; s < instance_.stocks.size(); ++s) {
        const Stock& stock = instance_.stocks[s];
        if (stock.limited()) {
            offcuts +=
                upperValue[s] * static_cast<double>(std::max<std::int64_t>(node.available[s], 0));
        } else {
            theta = std::max(theta, upperValue[s] / stockCost[s]);
            // A better plan has no more bars of this length than it has pieces, nor than the
            // steel it may still buy allows.
            const double room = static_cast<double>(std::max<std::int64_t>(cutoff - fixed, 0));
            const double bars = std::min(static_cast<double>(pieces),
                                         std::floor(room / static_cast<double>(stock.cost)));
            shortfall += std::min(0.0, stockCost[s] - upperValue[s]) * bars;
        }
    }
    const auto capped = [&](double scale) {
        double total = 0;
        for (const auto& [j, cap] : node.upper) {
            if (master_.upper(j) <= 0) {
                continue;
            }
            const Column& column = master_.column(j);
            double worth = 0;
            for (const auto& [item, n] : column.content) {
                worth += profit[item] * static_cast<double>(n);
            }
            // An offcut's columns are charged what its best content is worth.
            const double charge =
                instance_.stocks[column.stock].limited() ? upperValue[column.stock] / scale : 0.0;
            total += std::min(0.0, master_.cost(j) + charge - worth / scale) * master_.upper(j);
        }
        return total;
    };
    const double lagrangian = covered - offcuts + shortfall + capped(1.0);
    const double farley = (covered - offcuts) / theta + capped(theta);
    return std::max(lagrangian, farley);
}

NodeLp ColumnGeneration::solve(const NodeState& node, std::int64_t fixed, std::int64_t cutoff,
                               bool complete, const Budget& budget) {
    const std::size_t items = instance_.items.size();
    const std::size_t stocks = instance_.stocks.size();
    const auto unit = static_cast<double>(master_.unit());
    master_.setNode(node.demand, node.available, node.upper);

    // Capped columns are priced apart: their content is excluded from the pricing of their bar.
    std::vector<std::set<Content>> excluded(stocks);
    for (const auto& [j, cap] : node.upper) {
        excluded[master_.column(j).stock].insert(master_.column(j).content);
    }
    std::vector<double> stockCost(stocks);
    for (std::size_t s = 0; s < stocks; ++s) {
        stockCost[s] = static_cast<double>(instance_.stocks[s].cost) / unit;
    }
    NodeLp result;
    std::vector<double> lpProfit(items);
    std::vector<double> lpDual(stocks);
    // Smoothing (Wentges): pricing at a point between the master's duals and the duals that
    // gave the best bound so far damps the swings of the duals from round to round, which
    // otherwise make the last rounds crawl. A round whose smoothed pricing finds nothing useful
    // prices again at the master's own duals, so nothing is missed.
    std::vector<double> centre;
    std::vector<double> centreDual;
    double centreBound = -1;
    std::vector<double> profit(items);
    std::vector<double> stockDual(stocks);
    while (!budget.expired()) {
        if (!master_.solve()) {
            if (closed_ && master_.infeasible()) {
                result.solved = true;
                result.infeasible = true;
                result.bound = std::numeric_limits<double>::infinity();
            }
            break;
        }
        ++rounds_;
        result.solved = true;
        result.value = master_.objective() * unit;
        if (closed_) {
            result.converged = true;
            result.bound = result.value;
            break;
        }
        for (std::size_t i = 0; i < items; ++i) {
            lpProfit[i] = std::max(master_.itemDual(i), 0.0);
        }
        for (std::size_t s = 0; s < stocks; ++s) {
            lpDual[s] = std::min(master_.stockDual(s), 0.0);
        }

        std::vector<Column> fresh;
        bool exact = false;
        double exactBound = 0;
        for (double alpha = centre.empty() ? 0.0 : kSmoothing; !exact; alpha = 0.0) {
            exact = alpha == 0.0;
            for (std::size_t i = 0; i < items; ++i) {
                profit[i] = exact ? lpProfit[i] : alpha * centre[i] + (1 - alpha) * lpProfit[i];
            }
            for (std::size_t s = 0; s < stocks; ++s) {
                stockDual[s] = exact ? lpDual[s] : alpha * centreDual[s] + (1 - alpha) * lpDual[s];
            }
            PricingResult priced =
                pricing_.price(profit, node.demand, node.available, stockCost, stockDual, excluded);
            const double bound =
                lagrangianBound(node, profit, stockCost, priced.upperValue, fixed, cutoff);
            if (bound > centreBound) {
                centreBound = bound;
                centre = profit;
                centreDual = stockDual;
            }
            result.bound = std::max(result.bound, bound * unit);
            exactBound = bound * unit;
            // Only columns that improve the master as it stands are worth adding.
            for (Column& column : priced.columns) {
                double rc = stockCost[column.stock] - lpDual[column.stock];
                for (const auto& [item, n] : column.content) {
                    rc -= lpProfit[item] * static_cast<double>(n);
                }
                if (rc < -kImproving * std::max(1.0, stockCost[column.stock])) {
                    fresh.push_back(std::move(column));
                }
            }
            if (!fresh.empty()) {
                break;
            }
        }

        const bool added = !fresh.empty() && master_.add(fresh) > 0;
        if (!added) {
            // Nothing new: either no pattern prices out, or the only ones that do are already
            // there, which the master's checks have ruled out short of numerical trouble.
            result.converged = fresh.empty();
            if (result.converged) {
                result.itemDuals = lpProfit;
                result.stockDuals = lpDual;
                result.dualBound = exactBound;
            }
            break;
        }
        const std::int64_t rounded =
            roundUpCost(instance_, static_cast<double>(fixed) + result.bound);
        if (rounded >= cutoff) {
            break; // the node cannot beat the best plan
        }
        if (!complete &&
            rounded >= roundUpCost(instance_, static_cast<double>(fixed) + result.value)) {
            break; // the bound cannot rise further in whole bars
        }
    }
    return result;
}

} // namespace plan
