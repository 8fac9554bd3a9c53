#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// The numbers of the trade that joints depend on, each with the clause it comes from. Nothing
// else in plan/joints/ writes one of them as a literal: a new edition of a code changes this
// file and its tests, and nothing more.
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
