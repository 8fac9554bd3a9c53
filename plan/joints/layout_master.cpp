#include "plan/joints/layout_master.h"

#include <ClpSimplex.hpp>
#include <CoinHelperFunctions.hpp>
#include <utility>

namespace plan::joints {

LayoutMaster::LayoutMaster(std::vector<Stock> stocks, std::size_t rows)
    : stocks_(std::move(stocks)), lp_(std::make_unique<ClpSimplex>()), fixed_(rows, false) {
    lp_->setLogLevel(0);
    lp_->scaling(0);
    int row = 0;
    for (const Stock& stock : stocks_) {
        offcutRow_.push_back(stock.limited() ? row++ : -1);
    }
    for (std::size_t r = 0; r < rows; ++r) {
        convexRow_.push_back(row++);
    }
    lp_->resize(row, 0);
    for (std::size_t s = 0; s < stocks_.size(); ++s) {
        if (offcutRow_[s] >= 0) {
            lp_->setRowBounds(offcutRow_[s], -COIN_DBL_MAX,
                              static_cast<double>(stocks_[s].available));
        }
    }
    for (const int r : convexRow_) {
        lp_->setRowBounds(r, 1.0, 1.0);
    }
}

LayoutMaster::~LayoutMaster() = default;

std::size_t LayoutMaster::length(std::int64_t mm) {
    if (const auto found = byLength_.find(mm); found != byLength_.end()) {
        return found->second;
    }
    const std::size_t l = lengths_.size();
    const double lower = 0.0;
    const double upper = COIN_DBL_MAX;
    const CoinBigIndex starts[2] = {0, 0};
    const int noColumn[1] = {0};
    const double noElement[1] = {0.0};
    lp_->addRows(1, &lower, &upper, starts, noColumn, noElement);
    lengthRow_.push_back(lp_->numberRows() - 1);
    lengths_.push_back(mm);
    wanted_.push_back(0);
    byLength_.emplace(mm, l);
    boundsChanged_ = true;
    return l;
}

void LayoutMaster::want(std::size_t l, std::int64_t pieces) {
    wanted_[l] += pieces;
    lp_->setRowLower(lengthRow_[l], static_cast<double>(wanted_[l]));
    boundsChanged_ = true;
}

bool LayoutMaster::addPattern(std::uint32_t stock, const Content& content) {
    if (content.empty() || !seen_.emplace(stock, content).second) {
        return false;
    }
    std::vector<int> rows;
    std::vector<double> elements;
    for (const auto& [l, n] : content) {
        rows.push_back(lengthRow_[l]);
        elements.push_back(static_cast<double>(n));
    }
    if (offcutRow_[stock] >= 0) {
        rows.push_back(offcutRow_[stock]);
        elements.push_back(1.0);
    }
    const double lower = 0.0;
    const double upper = COIN_DBL_MAX;
    const auto cost = static_cast<double>(stocks_[stock].cost);
    const CoinBigIndex starts[2] = {0, static_cast<CoinBigIndex>(rows.size())};
    lp_->addColumns(1, &lower, &upper, &cost, starts, rows.data(), elements.data());
    columns_.push_back({false, patterns_.size()});
    patterns_.emplace_back(stock, content);
    return true;
}

std::size_t LayoutMaster::addLayout(std::size_t row,
                                    const std::vector<std::pair<std::size_t, std::int64_t>>& q,
                                    double cost) {
    std::vector<int> rows;
    std::vector<double> elements;
    for (const auto& [l, n] : q) {
        rows.push_back(lengthRow_[l]);
        elements.push_back(-static_cast<double>(n));
    }
    rows.push_back(convexRow_[row]);
    elements.push_back(1.0);
    const double lower = 0.0;
    const double upper = fixed_[row] ? 0.0 : COIN_DBL_MAX;
    const CoinBigIndex starts[2] = {0, static_cast<CoinBigIndex>(rows.size())};
    lp_->addColumns(1, &lower, &upper, &cost, starts, rows.data(), elements.data());
    const std::size_t j = layoutRow_.size();
    columns_.push_back({true, j});
    layoutRow_.push_back(row);
    layoutColumn_.push_back(lp_->numberColumns() - 1);
    return j;
}

void LayoutMaster::fix(std::size_t layout) {
    const std::size_t row = layoutRow_[layout];
    for (std::size_t j = 0; j < layoutRow_.size(); ++j) {
        if (layoutRow_[j] == row && j != layout) {
            lp_->setColumnUpper(layoutColumn_[j], 0.0);
        }
    }
    fixed_[row] = true;
    boundsChanged_ = true;
}

bool LayoutMaster::solve() {
    // New bounds and rows leave the old basis dual feasible, new columns primal feasible.
    const bool bounds = std::exchange(boundsChanged_, false);
    bounds ? lp_->dual() : lp_->primal();
    if (lp_->isProvenOptimal()) {
        return true;
    }
    bounds ? lp_->primal() : lp_->dual();
    if (lp_->isProvenOptimal()) {
        return true;
    }
    lp_->allSlackBasis(true);
    lp_->primal();
    return lp_->isProvenOptimal();
}

double LayoutMaster::value() const {
    return lp_->objectiveValue();
}

double LayoutMaster::lengthDual(std::size_t l) const {
    return lp_->dualRowSolution()[lengthRow_[l]];
}

double LayoutMaster::offcutDual(std::size_t stock) const {
    return offcutRow_[stock] >= 0 ? lp_->dualRowSolution()[offcutRow_[stock]] : 0.0;
}

double LayoutMaster::rowDual(std::size_t row) const {
    return lp_->dualRowSolution()[convexRow_[row]];
}

double LayoutMaster::layoutValue(std::size_t j) const {
    return lp_->primalColumnSolution()[layoutColumn_[j]];
}

std::vector<std::pair<BarPattern, double>> LayoutMaster::patterns() const {
    std::vector<std::pair<BarPattern, double>> out;
    const double* x = lp_->primalColumnSolution();
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        if (!columns_[c].layout && x[c] > 1e-9) {
            const auto& [stock, content] = patterns_[columns_[c].index];
            out.push_back({BarPattern{stock, 0, content}, x[c]});
        }
    }
    return out;
}

} // namespace plan::joints
