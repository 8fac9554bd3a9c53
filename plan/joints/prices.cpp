#include "plan/joints/prices.h"

#include "plan/trade_tables.h"

namespace plan::joints {

std::int64_t gramsPerMetre(std::string_view grade, std::int64_t diameterTenths) {
    if (const auto grams = trade::nominalMass(grade, diameterTenths)) {
        return *grams;
    }
    // 6.17 g/m per mm² of d², d in tenths of a mm: hundredths of a gram per 100 tenths².
    constexpr std::int64_t kPer = 10'000;
    return (trade::kMassFactorCentigrams * diameterTenths * diameterTenths + kPer / 2) / kPer;
}

std::int64_t steelFen(std::int64_t mm, std::int64_t grams, std::int64_t fenPerTonne) {
    // mm · g/m · fen/t over 1000 mm/m and 10⁶ g/t: the product may pass 2⁶³ for a long list.
    __extension__ using Wide = __int128;
    const Wide product = static_cast<Wide>(mm) * grams * fenPerTonne;
    constexpr Wide kPer = 1'000'000'000;
    return static_cast<std::int64_t>((product + kPer / 2) / kPer);
}

} // namespace plan::joints
