#include "plan/trade_tables.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <span>
#include <string>
#include <utility>

namespace plan::trade {

std::optional<std::int64_t> nominalMass(std::string_view grade, std::int64_t diameterTenths) {
    const std::span<const NominalMass> table = plainGrade(grade)
                                                   ? std::span<const NominalMass>(kPlainMasses)
                                                   : std::span<const NominalMass>(kRibbedMasses);
    for (const NominalMass& row : table) {
        if (row.diameterTenths == diameterTenths) {
            return row.gramsPerMetre;
        }
    }
    return std::nullopt;
}

} // namespace plan::trade

namespace plan::joints {
namespace {

// GB 50010-2010 (2015) table 4.2.3-1 for f_y; 8.3.1 for α; JGJ 18-2012 table 4.5.2 (the lap of
// a lap weld is the length of a strap weld, 4.5.4) for the weld lengths.
constexpr std::array kGrades{
    GradeRow{"HPB300", 270, false, 16, 8, 4},  GradeRow{"HRB335", 300, true, 14, 10, 5},
    GradeRow{"HRBF335", 300, true, 14, 10, 5}, GradeRow{"HRB400", 360, true, 14, 10, 5},
    GradeRow{"HRBF400", 360, true, 14, 10, 5}, GradeRow{"RRB400", 360, true, 14, 10, 5},
    GradeRow{"HRB500", 435, true, 14, 10, 5},  GradeRow{"HRBF500", 435, true, 14, 10, 5},
};

// GB 50010-2010 (2015) table 4.1.4-2: f_t in hundredths of N/mm², C20 … C80.
constexpr std::array<std::pair<int, int>, 13> kTensile{{
    {20, 110},
    {25, 127},
    {30, 143},
    {35, 157},
    {40, 171},
    {45, 180},
    {50, 189},
    {55, 196},
    {60, 204},
    {65, 209},
    {70, 214},
    {75, 218},
    {80, 222},
}};
// 8.3.1: above C60 the anchorage takes C60's f_t.
constexpr int kAnchorageConcreteCap = 60;

} // namespace

std::span<const GradeRow> grades() {
    return kGrades;
}

std::optional<GradeRow> gradeNamed(std::string_view name) {
    std::string upper;
    for (const char c : name) {
        if (c != ' ') {
            upper.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
        }
    }
    // The seismic grades (GB/T 1499.2: HRB400E, …) are the plain grade with a tested ratio of
    // strengths; for anchorage and laps they are the plain grade.
    if (upper.size() > 1 && upper.back() == 'E') {
        upper.pop_back();
    }
    const auto* found = std::ranges::find(kGrades, std::string_view(upper), &GradeRow::name);
    if (found == kGrades.end()) {
        return std::nullopt;
    }
    return *found;
}

std::optional<int> tensileStrength(int concreteClass) {
    const auto* found = std::ranges::find(kTensile, concreteClass, &std::pair<int, int>::first);
    if (found == kTensile.end()) {
        return std::nullopt;
    }
    return found->second;
}

std::optional<int> anchorageTensileStrength(int concreteClass) {
    const std::optional<int> ft = tensileStrength(concreteClass);
    if (!ft) {
        return std::nullopt;
    }
    return tensileStrength(std::min(concreteClass, kAnchorageConcreteCap));
}

int seismicAnchorFactor(Seismic grade) {
    // 11.1.7-3 and -4.
    switch (grade) {
    case Seismic::One:
    case Seismic::Two:
        return 115;
    case Seismic::Three:
        return 105;
    case Seismic::Four:
    case Seismic::None:
        return 100;
    }
    return 100;
}

std::optional<int> lapFactor(int sharePercent) {
    // Table 8.4.4: ≤25 % 1.2, 50 % 1.4, 100 % 1.6.
    switch (sharePercent) {
    case 25:
        return 120;
    case 50:
        return 140;
    case 100:
        return 160;
    default:
        return std::nullopt;
    }
}

} // namespace plan::joints
