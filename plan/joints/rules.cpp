#include "plan/joints/rules.h"

#include <algorithm>
#include <array>

namespace plan::joints {
namespace {

// α·f_y/f_t to the nearest whole number, halves up; α and f_t in hundredths.
int basicD(int alpha, int fy, int ft) {
    const std::int64_t num = static_cast<std::int64_t>(alpha) * fy;
    return static_cast<int>((2 * num + ft) / (2 * static_cast<std::int64_t>(ft)));
}

} // namespace

int roundedProduct(int hundredths, int value) {
    return static_cast<int>((static_cast<std::int64_t>(hundredths) * value + 50) / 100);
}

std::int64_t timesDiameter(int times, std::int64_t diameterTenths) {
    return (times * diameterTenths + 9) / 10;
}

std::int64_t lapSection(std::int64_t lapMm) {
    return (kLapSectionFactor * lapMm + 99) / 100;
}

Anchorage anchorage(const LapQuery& query) {
    Anchorage result;
    if (query.grade.empty()) {
        result.problem = RuleProblem::NoGrade;
        return result;
    }
    const std::optional<GradeRow> grade = gradeNamed(query.grade);
    if (!grade) {
        result.problem = RuleProblem::UnknownGrade;
        return result;
    }
    const std::optional<int> ft = anchorageTensileStrength(query.concrete);
    if (!ft) {
        result.problem = RuleProblem::UnknownConcrete;
        return result;
    }
    if (grade->fy >= kHighStrengthFy && query.concrete < kLeastConcreteForHighStrength) {
        result.problem = RuleProblem::WeakConcrete;
        return result;
    }
    const std::optional<int> zetaL = lapFactor(query.sharePercent);
    if (!zetaL) {
        result.problem = RuleProblem::UnknownShare;
        return result;
    }
    AnchorageD& d = result.d;
    d.basic = basicD(grade->alpha, grade->fy, *ft);
    d.basicSeismic = roundedProduct(seismicAnchorFactor(query.seismic), d.basic);
    // 8.3.2: the factor a row gives replaces the one for thick ribbed bars.
    int zetaA = 100;
    if (query.anchorFactor > 0) {
        zetaA = query.anchorFactor;
    } else if (grade->ribbed && query.diameter > kThickBarTenths) {
        zetaA = kThickRibbedAnchorFactor;
    }
    d.anchorage = roundedProduct(zetaA, d.basicSeismic);
    d.lap = roundedProduct(*zetaL, d.anchorage);
    result.anchorageMm = std::max(kLeastAnchorageMm, timesDiameter(d.anchorage, query.diameter));
    result.lapMm = std::max(kLeastLapMm, timesDiameter(d.lap, query.diameter));
    return result;
}

JointCost jointCost(Method method, const GradeRow* grade, std::int64_t diameter, std::int64_t lapMm,
                    std::int64_t buttAllowance) {
    const std::int64_t weldSection =
        std::max(kWeldSectionLeastMm, timesDiameter(kWeldSectionD, diameter));
    // Without a grade a lap weld takes the longer length of the ribbed grades.
    const int single = grade ? grade->lapWeldSingle : 10;
    const int twin = grade ? grade->lapWeldDouble : 5;
    switch (method) {
    case Method::Lap:
        return {lapMm, lapSection(lapMm), kLapShareDefault};
    case Method::Coupler:
        return {0, timesDiameter(kCouplerSectionD, diameter), kMechanicalShareDefault};
    case Method::LapWeldSingle:
        return {timesDiameter(single, diameter), weldSection, kMechanicalShareDefault};
    case Method::LapWeldDouble:
        return {timesDiameter(twin, diameter), weldSection, kMechanicalShareDefault};
    case Method::ButtWeld:
        return {buttAllowance, weldSection, kMechanicalShareDefault};
    }
    return {};
}

namespace {

constexpr std::array<std::pair<Method, std::string_view>, 5> kMethodKeys{{
    {Method::Lap, "lap"},
    {Method::Coupler, "coupler"},
    {Method::LapWeldSingle, "lap-weld-single"},
    {Method::LapWeldDouble, "lap-weld-double"},
    {Method::ButtWeld, "butt-weld"},
}};

} // namespace

std::string_view methodKey(Method method) {
    for (const auto& [m, key] : kMethodKeys) {
        if (m == method) {
            return key;
        }
    }
    return {};
}

std::optional<Method> methodOfKey(std::string_view key) {
    for (const auto& [m, k] : kMethodKeys) {
        if (k == key) {
            return m;
        }
    }
    return std::nullopt;
}

} // namespace plan::joints
