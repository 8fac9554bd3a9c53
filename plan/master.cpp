#include "plan/master.h"

#include "plan/bound.h"

#include <ClpSimplex.hpp>
#include <CoinHelperFunctions.hpp>
#include <algorithm>
#include <cmath>
#include <utility>

namespace plan {
namespace {

constexpr double kReducedCostTolerance = 1e-7;

} // namespace

Master::Master(const Instance& instance)
    : instance_(instance), lp_(std::make_unique<ClpSimplex>()) {
    unit_ = costUnit(instance);

    lp_->setLogLevel(0);
    // The coefficients are small whole numbers: scaling them only costs time at every solve.
    lp_->scaling(0);
    int rows = static_cast<int>(instance.items.size());
    for (const Stock& stock : instance.stocks) {
        stockRow_.push_back(stock.limited() ? rows++ : -1);
    }
    firstCutRow_ = rows;
    lp_->resize(rows, 0);
    for (std::size_t i = 0; i < instance.items.size(); ++i) {
        lp_->setRowBounds(static_cast<int>(i), static_cast<double>(instance.items[i].demand),
                          COIN_DBL_MAX);
    }
    for (std::size_t s = 0; s < instance.stocks.size(); ++s) {
        if (stockRow_[s] >= 0) {
            lp_->setRowBounds(stockRow_[s], -COIN_DBL_MAX,
                              static_cast<double>(instance.stocks[s].available));
        }
    }
}

Master::~Master() = default;

std::size_t Master::add(std::span<const Column> columns) {
    std::vector<double> lower;
    std::vector<double> upper;
    std::vector<double> objective;
    std::vector<CoinBigIndex> starts{0};
    std::vector<int> rows;
    std::vector<double> elements;
    for (const Column& column : columns) {
        if (column.content.empty()) {
            continue;
        }
        auto key = std::make_pair(column.stock, column.content);
        if (index_.contains(key)) {
            continue;
        }
        index_.emplace(std::move(key), columns_.size());
        const double cost =
            static_cast<double>(instance_.stocks[column.stock].cost) / static_cast<double>(unit_);
        columns_.push_back(column);
        costs_.push_back(cost);
        for (const auto& [item, n] : column.content) {
            rows.push_back(static_cast<int>(item));
            elements.push_back(static_cast<double>(n));
        }
        if (stockRow_[column.stock] >= 0) {
            rows.push_back(stockRow_[column.stock]);
            elements.push_back(1.0);
        }
        auto& coefficients = cutCoefficients_.emplace_back();
        for (std::uint32_t c = 0; c < cuts_.size(); ++c) {
            if (const std::int64_t a = cuts_[c].coefficient(column.content); a > 0) {
                coefficients.emplace_back(c, a);
                rows.push_back(firstCutRow_ + static_cast<int>(c));
                elements.push_back(static_cast<double>(a));
            }
        }
        starts.push_back(static_cast<CoinBigIndex>(rows.size()));
        lower.push_back(0.0);
        upper.push_back(COIN_DBL_MAX);
        objective.push_back(cost);
    }
    const auto added = lower.size();
    if (added > 0) {
        lp_->addColumns(static_cast<int>(added), lower.data(), upper.data(), objective.data(),
                        starts.data(), rows.data(), elements.data());
    }
    return added;
}

void Master::addCuts(std::span<const SubsetRow> cuts, std::span<const std::int64_t> demand) {
    std::vector<double> lower;
    std::vector<double> upper;
    std::vector<CoinBigIndex> starts{0};
    std::vector<int> columns;
    std::vector<double> elements;
    for (const SubsetRow& cut : cuts) {
        const auto c = static_cast<std::uint32_t>(cuts_.size());
        cuts_.push_back(cut);
        for (std::size_t j = 0; j < columns_.size(); ++j) {
            if (const std::int64_t a = cut.coefficient(columns_[j].content); a > 0) {
                cutCoefficients_[j].emplace_back(c, a);
                columns.push_back(static_cast<int>(j));
                elements.push_back(static_cast<double>(a));
            }
        }
        starts.push_back(static_cast<CoinBigIndex>(columns.size()));
        lower.push_back(-COIN_DBL_MAX);
        upper.push_back(static_cast<double>(cut.rhs(demand)));
    }
    if (!lower.empty()) {
        lp_->addRows(static_cast<int>(lower.size()), lower.data(), upper.data(), starts.data(),
                     columns.data(), elements.data());
        // New rows leave the basis dual feasible, as new bounds do.
        boundsChanged_ = true;
    }
}

double Master::cutDual(std::size_t cut) const {
    return lp_->dualRowSolution()[firstCutRow_ + static_cast<int>(cut)];
}

void Master::setNode(std::span<const std::int64_t> demand, std::span<const std::int64_t> available,
                     const std::map<std::size_t, std::int64_t>& upper) {
    for (std::size_t i = 0; i < demand.size(); ++i) {
        lp_->setRowLower(static_cast<int>(i), static_cast<double>(demand[i]));
    }
    for (std::size_t s = 0; s < available.size(); ++s) {
        if (stockRow_[s] >= 0) {
            lp_->setRowUpper(stockRow_[s], static_cast<double>(available[s]));
        }
    }
    for (std::size_t c = 0; c < cuts_.size(); ++c) {
        lp_->setRowUpper(firstCutRow_ + static_cast<int>(c),
                         static_cast<double>(cuts_[c].rhs(demand)));
    }
    for (std::size_t j = 0; j < columns_.size(); ++j) {
        const Column& column = columns_[j];
        bool usable = instance_.stocks[column.stock].limited() ? available[column.stock] > 0 : true;
        for (const auto& [item, n] : column.content) {
            usable = usable && static_cast<std::int64_t>(n) <= demand[item];
        }
        double bound = usable ? COIN_DBL_MAX : 0.0;
        if (const auto it = upper.find(j); usable && it != upper.end()) {
            bound = static_cast<double>(it->second);
        }
        lp_->setColumnUpper(static_cast<int>(j), bound);
    }
    boundsChanged_ = true;
}

bool Master::consistent() const {
    // Clp has been seen to report an optimum straight after columns were added, with the
    // duals of the previous solve: a new column then still prices out negative although it
    // could enter. Such an answer is not trusted.
    const double* x = lp_->primalColumnSolution();
    for (std::size_t j = 0; j < columns_.size(); ++j) {
        const double ub = lp_->columnUpper()[j];
        if (ub <= 0 || x[j] >= ub - 1e-9) {
            continue;
        }
        if (reducedCost(j) < -kReducedCostTolerance * std::max(1.0, costs_[j])) {
            return false;
        }
    }
    return true;
}

bool Master::solve() {
    // New bounds leave the old basis dual feasible, new columns leave it primal feasible: each
    // has its simplex that starts from there. If the answer does not hold up, the other one,
    // and at last a fresh start.
    const bool bounds = std::exchange(boundsChanged_, false);
    bounds ? lp_->dual() : lp_->primal();
    if (lp_->isProvenOptimal() && consistent()) {
        return true;
    }
    ++repairs_;
    bounds ? lp_->primal() : lp_->dual();
    if (lp_->isProvenOptimal() && consistent()) {
        return true;
    }
    ++repairs_;
    lp_->allSlackBasis(true);
    lp_->primal();
    return lp_->isProvenOptimal() && consistent();
}

bool Master::infeasible() const {
    return lp_->isProvenPrimalInfeasible();
}

double Master::objective() const {
    return lp_->objectiveValue();
}

std::span<const double> Master::values() const {
    return {lp_->primalColumnSolution(), columns_.size()};
}

double Master::itemDual(std::size_t item) const {
    return lp_->dualRowSolution()[item];
}

double Master::stockDual(std::size_t stock) const {
    return stockRow_[stock] >= 0 ? lp_->dualRowSolution()[stockRow_[stock]] : 0.0;
}

double Master::upper(std::size_t j) const {
    return lp_->columnUpper()[j];
}

double Master::reducedCost(std::size_t j) const {
    const Column& column = columns_[j];
    double rc = costs_[j] - stockDual(column.stock);
    for (const auto& [item, n] : column.content) {
        rc -= itemDual(item) * static_cast<double>(n);
    }
    for (const auto& [c, a] : cutCoefficients_[j]) {
        rc -= cutDual(c) * static_cast<double>(a);
    }
    return rc;
}

} // namespace plan
