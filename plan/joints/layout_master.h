#pragma once

#include "plan/instance.h"
#include "plan/solution.h"

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <span>
#include <utility>
#include <vector>

class ClpSimplex;

// The master problem of a steel's cutting with its long bars' layouts as columns, in one Clp
// model that keeps its basis: cutting patterns and layouts are added as they are priced, and
// the lengths the layouts' segments bring with them become rows as they come.
//
//   min Σ cost_p x_p + Σ cost_L y_L
//   Σ a_lp x_p − Σ q_lL y_L ≥ d_l     every length cut: d_l ordinary pieces, q_lL segments
//   Σ x_p ≤ u_s                        every yard offcut length
//   Σ_{L of r} y_L = 1                 every row of long bars takes one layout
//
// A layout's cost is what its joints cost (nothing but a tie-break where steel alone counts).
namespace plan::joints {

class LayoutMaster {
public:
    // `stocks` as the cutting has them (new lengths with their costs, yard offcuts limited);
    // `rows` the rows of long bars.
    LayoutMaster(std::vector<Stock> stocks, std::size_t rows);
    LayoutMaster(const LayoutMaster&) = delete;
    LayoutMaster& operator=(const LayoutMaster&) = delete;
    ~LayoutMaster();

    // The index of the row of pieces `mm` long, made when there is none.
    std::size_t length(std::int64_t mm);
    [[nodiscard]] std::size_t lengths() const { return lengths_.size(); }
    [[nodiscard]] std::int64_t lengthOf(std::size_t l) const { return lengths_[l]; }
    [[nodiscard]] bool hasLength(std::int64_t mm) const { return byLength_.contains(mm); }
    // Ordinary pieces of length l wanted, on top of what layouts want.
    void want(std::size_t l, std::int64_t pieces);
    [[nodiscard]] std::int64_t wanted(std::size_t l) const { return wanted_[l]; }

    [[nodiscard]] std::span<const Stock> stocks() const { return stocks_; }

    // A cutting pattern (content over the length rows); false when it is there already.
    bool addPattern(std::uint32_t stock, const Content& content);
    // A layout of row `row`: q segments of each length row. Returns its index.
    std::size_t addLayout(std::size_t row,
                          const std::vector<std::pair<std::size_t, std::int64_t>>& q, double cost);
    [[nodiscard]] std::size_t layouts() const { return layoutRow_.size(); }
    [[nodiscard]] std::size_t layoutRow(std::size_t j) const { return layoutRow_[j]; }
    // From now on the row takes this layout and no other.
    void fix(std::size_t layout);
    [[nodiscard]] bool fixed(std::size_t row) const { return fixed_[row]; }

    // Solves from the current basis; false when Clp could not.
    bool solve();
    [[nodiscard]] double value() const;
    [[nodiscard]] double lengthDual(std::size_t l) const;
    [[nodiscard]] double offcutDual(std::size_t stock) const; // ≤ 0; 0 for bought stock
    [[nodiscard]] double rowDual(std::size_t row) const;
    [[nodiscard]] double layoutValue(std::size_t j) const;
    // The patterns in the solution, with their values.
    [[nodiscard]] std::vector<std::pair<BarPattern, double>> patterns() const;

private:
    std::vector<Stock> stocks_;
    std::unique_ptr<ClpSimplex> lp_;
    std::vector<int> offcutRow_;
    std::vector<int> convexRow_;
    std::vector<bool> fixed_;
    std::vector<std::int64_t> lengths_;
    std::vector<int> lengthRow_;
    std::vector<std::int64_t> wanted_;
    std::map<std::int64_t, std::size_t> byLength_;
    // Columns in the model's order: a pattern (stock, content) or a layout (its index).
    struct Column {
        bool layout = false;
        std::size_t index = 0;
    };
    std::vector<Column> columns_;
    std::vector<std::pair<std::uint32_t, Content>> patterns_;
    std::set<std::pair<std::uint32_t, Content>> seen_;
    std::vector<std::size_t> layoutRow_;
    std::vector<int> layoutColumn_;
    bool boundsChanged_ = false;
};

} // namespace plan::joints
