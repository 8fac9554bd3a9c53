#pragma once

#include <cstdint>
#include <string>

// The steel a piece is cut from: its grade and its diameter together. Bars of two grades are
// bought, stored and checked apart, so a stock bar is only ever cut into pieces of one steel:
// the optimiser's groups, the yard's offcuts and every output are keyed by this, never by the
// diameter alone.
namespace plan {

struct Steel {
    std::string grade;         // the grade's name, "HRB400", "HRB400E"; empty: the list did not say
    std::int64_t diameter = 0; // tenths of a mm

    // By diameter first, so that a list without grades keeps the order it always had. (No
    // operator<=>: Qt's moc cannot read <compare>, and the planner's headers include this one.)
    friend bool operator<(const Steel& a, const Steel& b) {
        return a.diameter != b.diameter ? a.diameter < b.diameter : a.grade < b.grade;
    }
    friend bool operator==(const Steel&, const Steel&) = default;
};

// Whether the masses of a steel are the product standard's nominal masses (GB/T 1499.1 or
// 1499.2) or the estimate 0.00617·d² for a diameter those do not list.
enum class MassBasis { Nominal, Estimated };

[[nodiscard]] MassBasis massBasis(const Steel& steel);

// Mass in kilograms of `mm` millimetres of bar of `steel`, by the nominal mass per metre of its
// product standard, or by 0.00617·d² kg/m for other diameters (plan/trade_tables.h).
[[nodiscard]] double weightKg(const Steel& steel, std::int64_t mm);

} // namespace plan
