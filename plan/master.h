#pragma once

#include "plan/instance.h"
#include "plan/solution.h"
#include "plan/subset_row.h"

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <vector>

class ClpSimplex;

// The restricted master problem of column generation, held in one Clp model that keeps its
// basis from one solve to the next: columns are added and bounds changed, never rebuilt.
//
//   min Σ cost_p x_p   (costs divided by the common divisor of the stock costs)
//   Σ a_ip x_p ≥ d_i   for every item: at least the pieces still wanted
//   Σ x_p ≤ u_s        for every yard offcut length: no more than lie in the yard
//   subset-row cuts    when the bound is raised by them (see subset_row.h)
//
// Covering rather than exact demand keeps the duals of the items non-negative; pieces cut
// beyond the demand are taken out of an integer plan at no cost.
namespace plan {

struct Column {
    std::uint32_t stock = 0;
    Content content;
};

class Master {
public:
    explicit Master(const Instance& instance);
    Master(const Master&) = delete;
    Master& operator=(const Master&) = delete;
    ~Master();

    // Adds the columns not yet there; returns how many were new.
    std::size_t add(std::span<const Column> columns);
    // Adds cuts as rows, with their right-hand sides for `demand`.
    void addCuts(std::span<const SubsetRow> cuts, std::span<const std::int64_t> demand);
    [[nodiscard]] std::span<const SubsetRow> cuts() const { return cuts_; }
    [[nodiscard]] double cutDual(std::size_t cut) const; // ≤ 0
    [[nodiscard]] std::size_t size() const { return columns_.size(); }
    [[nodiscard]] const Column& column(std::size_t j) const { return columns_[j]; }
    [[nodiscard]] double cost(std::size_t j) const { return costs_[j]; }

    // The residual problem of a search node: pieces still wanted, offcuts still in the yard,
    // and upper bounds on columns (0 switches a column off). A column that would cut more of
    // a piece than is wanted, or take an offcut that is gone, is switched off as well.
    void setNode(std::span<const std::int64_t> demand, std::span<const std::int64_t> available,
                 const std::map<std::size_t, std::int64_t>& upper);

    // Solves to optimality from the current basis. False if Clp could not (numerical
    // trouble): the caller must not trust the duals then.
    bool solve();

    // After a failed solve: Clp proved that the node's columns cannot cover its demand.
    [[nodiscard]] bool infeasible() const;
    [[nodiscard]] double objective() const; // in divided cost units
    [[nodiscard]] std::span<const double> values() const;
    [[nodiscard]] double itemDual(std::size_t item) const;
    [[nodiscard]] double stockDual(std::size_t stock) const; // ≤ 0; 0 for unlimited stock
    [[nodiscard]] double upper(std::size_t j) const;
    // The reduced cost of column j under the current duals.
    [[nodiscard]] double reducedCost(std::size_t j) const;

    // Costs are divided by this (the greatest common divisor of the stock costs).
    [[nodiscard]] std::int64_t unit() const { return unit_; }

    // How often a solve had to be repeated because Clp's answer did not hold up.
    [[nodiscard]] int repairs() const { return repairs_; }

private:
    [[nodiscard]] bool consistent() const;

    const Instance& instance_;
    std::unique_ptr<ClpSimplex> lp_;
    std::vector<int> stockRow_; // row of each limited stock, -1 for unlimited
    int firstCutRow_ = 0;
    std::vector<SubsetRow> cuts_;
    // Per column, its non-zero cut coefficients: (cut, coefficient).
    std::vector<std::vector<std::pair<std::uint32_t, std::int64_t>>> cutCoefficients_;
    std::int64_t unit_ = 1;
    std::vector<Column> columns_;
    std::vector<double> costs_;
    std::map<std::pair<std::uint32_t, Content>, std::size_t> index_;
    int repairs_ = 0;
    bool boundsChanged_ = false;
};

} // namespace plan
