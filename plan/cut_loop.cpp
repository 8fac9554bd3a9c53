#include "plan/cut_loop.h"

#include "plan/bound.h"
#include "plan/cut_pricing.h"
#include "plan/subset_row.h"

#include <algorithm>
#include <cmath>

namespace plan {
namespace {

// Separation rounds, and cuts a round adds at most.
constexpr int kRounds = 30;
constexpr std::size_t kCutsPerRound = 60;
// Branch and bound nodes per bar and pricing, and columns it returns per bar.
constexpr std::int64_t kPricingNodes = 2'000'000;
constexpr std::size_t kColumnsPerBar = 30;
// A bar holding more pieces than this makes the cuts' pricing slow.
constexpr std::int64_t kMostPieces = 8;
constexpr double kImproving = 1e-9;

} // namespace

bool cutsWorthTrying(const Instance& instance) {
    std::int64_t capacity = 0;
    std::int64_t lightest = 0;
    for (std::size_t s = 0; s < instance.stocks.size(); ++s) {
        capacity = std::max(capacity, instance.capacity(s));
    }
    for (std::size_t i = 0; i < instance.items.size(); ++i) {
        lightest = lightest == 0 ? instance.weight(i) : std::min(lightest, instance.weight(i));
    }
    return lightest > 0 && capacity / lightest <= kMostPieces;
}

CutStats raiseBoundWithCuts(const Instance& instance, const Master& root, Incumbent& incumbent,
                            const Budget& budget) {
    CutStats stats;
    const std::size_t items = instance.items.size();
    const std::size_t stocks = instance.stocks.size();
    Master master(instance);
    {
        std::vector<Column> columns;
        for (std::size_t j = 0; j < root.size(); ++j) {
            columns.push_back(root.column(j));
        }
        master.add(columns);
    }
    std::vector<std::int64_t> demand;
    std::int64_t pieces = 0;
    for (const Item& item : instance.items) {
        demand.push_back(item.demand);
        pieces += item.demand;
    }
    std::vector<std::int64_t> available;
    for (const Stock& stock : instance.stocks) {
        available.push_back(stock.limited() ? stock.available : -1);
    }
    master.setNode(demand, available, {});
    const auto unit = static_cast<double>(master.unit());
    std::vector<double> stockCost(stocks);
    for (std::size_t s = 0; s < stocks; ++s) {
        stockCost[s] = static_cast<double>(instance.stocks[s].cost) / unit;
    }

    std::vector<double> profit(items);
    std::vector<double> stockDual(stocks);
    std::vector<double> cutDual;
    // The Lagrangian bound with the cuts (see ColumnGeneration::lagrangianBound): a plan that
    // costs no more than the incumbent and cuts each piece exactly as often as wanted (every
    // cheapest plan can be made one) meets each cut, so with π ≥ 0 and σ ≤ 0 it costs at least
    // Σ π_i d_i + Σ σ_c rhs_c plus its bars' reduced costs, each no less than its stock's price
    // less the most any of its contents is worth.
    const auto lagrangian = [&](std::span<const double> upperValue) {
        double covered = 0;
        for (std::size_t i = 0; i < items; ++i) {
            covered += profit[i] * static_cast<double>(demand[i]);
        }
        for (std::size_t c = 0; c < cutDual.size(); ++c) {
            covered += cutDual[c] * static_cast<double>(master.cuts()[c].rhs(demand));
        }
        double offcuts = 0;
        double theta = 1;
        double shortfall = 0;
        for (std::size_t s = 0; s < stocks; ++s) {
            const Stock& stock = instance.stocks[s];
            if (stock.limited()) {
                offcuts +=
                    upperValue[s] * static_cast<double>(std::max<std::int64_t>(available[s], 0));
            } else {
                theta = std::max(theta, upperValue[s] / stockCost[s]);
                const double bars = std::min(static_cast<double>(pieces),
                                             std::floor(static_cast<double>(incumbent.cost()) /
                                                        static_cast<double>(stock.cost)));
                shortfall += std::min(0.0, stockCost[s] - upperValue[s]) * bars;
            }
        }
        return std::max(covered - offcuts + shortfall, (covered - offcuts) / theta) * unit;
    };

    while (stats.rounds < kRounds && !budget.expired() && !incumbent.proven()) {
        bool converged = false;
        while (!budget.expired() && !incumbent.proven()) {
            if (!master.solve()) {
                return stats;
            }
            ++stats.pricings;
            for (std::size_t i = 0; i < items; ++i) {
                profit[i] = std::max(master.itemDual(i), 0.0);
            }
            for (std::size_t s = 0; s < stocks; ++s) {
                stockDual[s] = std::min(master.stockDual(s), 0.0);
            }
            cutDual.assign(master.cuts().size(), 0.0);
            for (std::size_t c = 0; c < cutDual.size(); ++c) {
                cutDual[c] = std::min(master.cutDual(c), 0.0);
            }
            CutPricingResult priced =
                priceWithCuts(instance, profit, master.cuts(), cutDual, demand, available,
                              stockCost, stockDual, kPricingNodes, kColumnsPerBar, budget);
            incumbent.raiseBound(roundUpCost(instance, lagrangian(priced.upperValue)));
            std::vector<Column> fresh;
            for (Column& column : priced.columns) {
                const double rc = stockCost[column.stock] - stockDual[column.stock] -
                                  worthWithCuts(column.content, profit, master.cuts(), cutDual);
                if (rc < -kImproving * std::max(1.0, stockCost[column.stock])) {
                    fresh.push_back(std::move(column));
                }
            }
            if (fresh.empty() || master.add(fresh) == 0) {
                converged = fresh.empty() && priced.complete;
                break;
            }
        }
        if (!converged || budget.expired() || incumbent.proven()) {
            break;
        }
        std::vector<SupportColumn> support;
        const std::span<const double> x = master.values();
        for (std::size_t j = 0; j < master.size(); ++j) {
            support.push_back({&master.column(j).content, x[j]});
        }
        const std::vector<SubsetRow> cuts =
            separate(items, support, demand, master.cuts(), kCutsPerRound);
        if (cuts.empty()) {
            break;
        }
        master.addCuts(cuts, demand);
        ++stats.rounds;
        stats.cuts += cuts.size();
    }
    return stats;
}

} // namespace plan
