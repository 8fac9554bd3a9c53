#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

// The numbers of the trade that the plans use, each with where it comes from, kept here as data
// rather than scattered through the code.
namespace plan::trade {

// A nominal mass per metre, in grams, for a nominal diameter in tenths of a millimetre.
struct NominalMass {
    std::int64_t diameterTenths;
    std::int64_t gramsPerMetre;
};

// GB/T 1499.2-2018 (hot-rolled ribbed bars), table 1 "公称横截面面积与理论重量": 6–50 mm.
inline constexpr std::array<NominalMass, 15> kRibbedMasses{{
    {60, 222},
    {80, 395},
    {100, 617},
    {120, 888},
    {140, 1210},
    {160, 1580},
    {180, 2000},
    {200, 2470},
    {220, 2980},
    {250, 3850},
    {280, 4830},
    {320, 6310},
    {360, 7990},
    {400, 9870},
    {500, 15420},
}};

// GB/T 1499.1-2017 (hot-rolled plain bars, HPB300), table 1: 6–22 mm, the same masses as the
// ribbed bars of those diameters.
inline constexpr std::array<NominalMass, 9> kPlainMasses{{
    {60, 222},
    {80, 395},
    {100, 617},
    {120, 888},
    {140, 1210},
    {160, 1580},
    {180, 2000},
    {200, 2470},
    {220, 2980},
}};

// For a diameter the product standards do not list: the mass of a round bar of steel of
// 7850 kg/m³ (GB/T 1499.2-2018, 7.4.2), π/4 · d² · 7850 · 10⁻⁶ = 0.00617 · d² kg/m, d in mm.
inline constexpr double kMassFactor = 0.00617;

// The grades of the product standards, and the older ones still on drawings and in yards.
// GB/T 1499.1-2017: HPB300 (plain). GB/T 1499.2-2018, 4.1: HRB400, HRBF400, HRB400E, HRBF400E,
// HRB500, HRBF500, HRB500E, HRBF500E, HRB600. GB/T 1499.2-2007: HRB335, HRBF335, HRB335E,
// HRBF335E (withdrawn in 2018, still on older drawings). GB/T 13014-2013: RRB400, RRB500,
// RRB400W. HPB235: GB/T 1499.1-2008's plain bar before HPB300.
inline constexpr std::array<std::string_view, 18> kGradeNames{
    "HPB235",  "HPB300",   "HRB335",  "HRBF335",  "HRB335E", "HRBF335E",
    "HRB400",  "HRBF400",  "HRB400E", "HRBF400E", "HRB500",  "HRBF500",
    "HRB500E", "HRBF500E", "HRB600",  "RRB400",   "RRB500",  "RRB400W"};

// A plain (smooth) bar's grade: its masses are GB/T 1499.1's, not GB/T 1499.2's.
[[nodiscard]] constexpr bool plainGrade(std::string_view grade) {
    return grade.starts_with("HPB");
}

// The nominal mass per metre in grams of a bar of `grade` (empty: not given, read as a ribbed
// bar) and diameter, when the product standard lists that diameter.
[[nodiscard]] std::optional<std::int64_t> nominalMass(std::string_view grade,
                                                      std::int64_t diameterTenths);

} // namespace plan::trade
