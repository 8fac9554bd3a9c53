#pragma once

#include "plan/trade_tables.h"

#include <cstdint>
#include <optional>
#include <string_view>

// Anchorage and lap lengths as the national drawing tables (22G101-1) print them, and what each
// way of joining two bars costs in length and in staggering.
//
// The tables are built stage by stage, each from the one before as printed: l_ab in whole d
// from 8.3.1; l_abE = ζ_aE·l_ab, rounded; l_a(E) of the d > 25 column = 1.1·l_ab(E), rounded;
// l_l(E) = ζ_l·l_a(E), rounded. Rounding is to the nearest whole d, halves up. Rounding the
// printed value again, rather than the exact product, is what makes HRB400 in C40 for grade 三
// 30d (1.05 · 29d = 30.45d) where the exact 1.05 · 29.47d would give 31d.
namespace plan::joints {

enum class Method {
    Lap,           // 绑扎搭接: the bars overlap by the lap length
    Coupler,       // 机械连接: the bars meet end to end in a sleeve
    LapWeldSingle, // 单面搭接焊: overlap welded on one side
    LapWeldDouble, // 双面搭接焊: overlap welded on both sides
    ButtWeld,      // 闪光对焊 and the like: each joint consumes an allowance
};

// The key a list row names its method with (plan::PieceRow::joint): "lap", "coupler",
// "lap-weld-single", "lap-weld-double", "butt-weld".
[[nodiscard]] std::string_view methodKey(Method method);
[[nodiscard]] std::optional<Method> methodOfKey(std::string_view key);

enum class RuleProblem {
    UnknownGrade,    // the grade is not in the table
    NoGrade,         // a lap needs the grade and the row has none
    UnknownConcrete, // the concrete class is not in the table
    WeakConcrete,    // 400 N/mm² bars or stronger in concrete below C25 (4.1.2)
    UnknownShare,    // a lap share other than 25, 50 or 100 %
};

// The anchorage tables of one bar, in whole multiples of d.
struct AnchorageD {
    int basic = 0;        // l_ab
    int basicSeismic = 0; // l_abE
    int anchorage = 0;    // l_a or l_aE, this bar's diameter column
    int lap = 0;          // l_l or l_lE, this bar's diameter column and share

    friend bool operator==(const AnchorageD&, const AnchorageD&) = default;
};

struct LapQuery {
    std::string_view grade;
    std::int64_t diameter = 0; // tenths of a mm
    int concrete = 30;         // the class's number: 30 for C30
    Seismic seismic = Seismic::None;
    int sharePercent = 25;
    int anchorFactor = 0; // hundredths: ζ_a given by the row; 0: by 8.3.2
};

struct Anchorage {
    std::optional<RuleProblem> problem;
    AnchorageD d;
    std::int64_t anchorageMm = 0; // l_a(E) in mm, at least 200
    std::int64_t lapMm = 0;       // l_l(E) in mm, at least 300
};

// Half-up rounding of factor/100 · value to a whole number.
[[nodiscard]] int roundedProduct(int hundredths, int value);

[[nodiscard]] Anchorage anchorage(const LapQuery& query);

// Length in mm of `times` bar diameters, rounded up to the next millimetre.
[[nodiscard]] std::int64_t timesDiameter(int times, std::int64_t diameterTenths);

// The length one joint adds to the bar's segments: the lap, the weld's overlap or the butt
// weld's allowance; nothing for a coupler.
struct JointCost {
    std::int64_t overlap = 0; // mm
    std::int64_t section = 0; // mm: joints closer than this are in one connection section
    int defaultShare = 0;     // percent of the bars side by side allowed in one section
};

// `lapMm` is the lap length for Method::Lap; `buttAllowance` the allowance of a butt weld.
[[nodiscard]] JointCost jointCost(Method method, const GradeRow* grade, std::int64_t diameter,
                                  std::int64_t lapMm, std::int64_t buttAllowance);

// The section length of laps of length `lapMm`: 1.3 l_l, rounded up (a joint 1.3 l_l away is
// in the next section).
[[nodiscard]] std::int64_t lapSection(std::int64_t lapMm);

} // namespace plan::joints
