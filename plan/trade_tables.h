#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// The numbers of the trade, each with where it comes from, kept here as data rather than
// scattered through the code: the product standards' grades and masses the plans weigh with,
// and the design code's numbers the joints of long bars are worked out from. A new edition of a
// standard changes this file and its tests, and nothing more.
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
// The same factor as hundredths of a gram per metre and mm² (6.17 g/m), for sums in whole
// numbers (the price of steel).
inline constexpr std::int64_t kMassFactorCentigrams = 617;

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

// GB 50010's numbers for the joints of long bars (plan/joints/), each with its clause. Nothing
// in plan/joints/ writes one of them as a literal.
//
// Factors are kept in hundredths (1.15 is 115) so that every table entry is worked out in
// whole numbers and rounds exactly as the printed tables do.
namespace plan::joints {

// A steel grade as GB 50010 knows it. The earthquake-resistant variants (HRB400E, …) have the
// strength of the plain grade; the name is matched with its trailing E taken off.
struct GradeRow {
    std::string_view name;
    int fy = 0;            // N/mm², design tensile strength, GB 50010-2010 (2015) table 4.2.3-1
    bool ribbed = true;    // HPB300 is plain (光圆), the others ribbed (带肋)
    int alpha = 0;         // hundredths: bar shape factor α of 8.3.1, 0.16 plain, 0.14 ribbed
    int lapWeldSingle = 0; // d: single-sided lap weld, JGJ 18-2012 4.5.4 with table 4.5.2
    int lapWeldDouble = 0; // d: double-sided lap weld, same table
};

[[nodiscard]] std::span<const GradeRow> grades();
// The row of `name` ("HRB400", "hrb400e", "HRBF500", …), or nothing for a grade not in the
// table.
[[nodiscard]] std::optional<GradeRow> gradeNamed(std::string_view name);

// Design tensile strength of concrete f_t in hundredths of N/mm² (1.43 is 143), GB 50010-2010
// (2015) table 4.1.4-2, for C20 … C80 in steps of 5. Anchorage takes C60's value above C60
// (8.3.1 note to f_t). Nothing for a class not in the table.
[[nodiscard]] std::optional<int> tensileStrength(int concreteClass);
// For the anchorage formula: C60's f_t for any higher class.
[[nodiscard]] std::optional<int> anchorageTensileStrength(int concreteClass);
// 4.1.2: concrete below C25 is not to be used with bars of 400 N/mm² or more.
inline constexpr int kLeastConcreteForHighStrength = 25;
inline constexpr int kHighStrengthFy = 360;

// 8.3.2-1: ζ_a = 1.10 for ribbed bars of a nominal diameter over 25 mm.
inline constexpr int kThickRibbedAnchorFactor = 110;
inline constexpr std::int64_t kThickBarTenths = 250; // over this, the d > 25 column
// 8.3.1 / 8.3.2: an anchorage never under 200 mm.
inline constexpr std::int64_t kLeastAnchorageMm = 200;

// 11.1.7: ζ_aE by seismic grade (一, 二: 1.15; 三: 1.05; 四 and non-seismic: 1.00).
enum class Seismic { None, One, Two, Three, Four };
[[nodiscard]] int seismicAnchorFactor(Seismic grade);

// 8.4.4 table 8.4.4 (and 11.1.7 for l_lE): ζ_l by the share of bars lapped in one section.
// Nothing for a share the table does not have.
[[nodiscard]] std::optional<int> lapFactor(int sharePercent);
// 8.4.4: a tension lap never under 300 mm.
inline constexpr std::int64_t kLeastLapMm = 300;

// 8.4.2: tension bars over 25 mm and compression bars over 28 mm are not to be lapped.
inline constexpr std::int64_t kLapTensionMostTenths = 250;
inline constexpr std::int64_t kLapCompressionMostTenths = 280;

// Connection sections, measured between joint centres.
// 8.4.3: a lapped section is 1.3 l_l long.
inline constexpr int kLapSectionFactor = 130; // hundredths of l_l
// 8.4.7: a mechanical section is 35 d long.
inline constexpr int kCouplerSectionD = 35;
// 8.4.9: a welded section is 35 d and at least 500 mm long.
inline constexpr int kWeldSectionD = 35;
inline constexpr std::int64_t kWeldSectionLeastMm = 500;

// Shares of the bars side by side that may be joined in one section.
// 8.4.3: beams, slabs and walls 25 % for laps; up to 50 % where needed (and 100 % in
// special cases, with ζ_l from table 8.4.4).
inline constexpr int kLapShareDefault = 25;
// 8.4.7 and 8.4.9: couplers and welds in tension, 50 %.
inline constexpr int kMechanicalShareDefault = 50;

} // namespace plan::joints
