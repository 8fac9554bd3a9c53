#include "plan/plan.h"
#include "plan/trade_tables.h"

#include <numbers>
#include <span>
#include <string>

#include <gtest/gtest.h>

namespace {

struct Mass {
    const char* name;
    plan::Steel steel;
    double kgPerMetre;
    plan::MassBasis basis;
};

std::ostream& operator<<(std::ostream& out, const Mass& m) {
    return out << m.name;
}

class NominalMass : public testing::TestWithParam<Mass> {};

TEST_P(NominalMass, IsTheStandardsOrTheEstimate) {
    const Mass& m = GetParam();
    EXPECT_NEAR(plan::weightKg(m.steel, 1000), m.kgPerMetre, 1e-9);
    EXPECT_NEAR(plan::weightKg(m.steel, 12000), m.kgPerMetre * 12, 1e-9);
    EXPECT_EQ(plan::massBasis(m.steel), m.basis);
}

constexpr auto kNominal = plan::MassBasis::Nominal;
constexpr auto kEstimated = plan::MassBasis::Estimated;

// GB/T 1499.2-2018 table 1 and GB/T 1499.1-2017 table 1, kg/m; the estimate 0.00617·d².
// clang-format off
INSTANTIATE_TEST_SUITE_P(Diameters, NominalMass, testing::Values(
    Mass{"Ribbed6", {"HRB400", 60}, 0.222, kNominal},
    Mass{"Ribbed8", {"HRB400", 80}, 0.395, kNominal},
    Mass{"Ribbed10", {"HRB400", 100}, 0.617, kNominal},
    Mass{"Ribbed12", {"HRB400", 120}, 0.888, kNominal},
    Mass{"Ribbed14", {"HRB400", 140}, 1.21, kNominal},
    Mass{"Ribbed16", {"HRB400", 160}, 1.58, kNominal},
    Mass{"Ribbed18", {"HRB400", 180}, 2.00, kNominal},
    Mass{"Ribbed20", {"HRB400", 200}, 2.47, kNominal},
    Mass{"Ribbed22", {"HRB400", 220}, 2.98, kNominal},
    Mass{"Ribbed25", {"HRB400", 250}, 3.85, kNominal},
    Mass{"Ribbed28", {"HRB500", 280}, 4.83, kNominal},
    Mass{"Ribbed32", {"HRB400E", 320}, 6.31, kNominal},
    Mass{"Ribbed36", {"HRB400", 360}, 7.99, kNominal},
    Mass{"Ribbed40", {"HRB400", 400}, 9.87, kNominal},
    Mass{"Ribbed50", {"HRB400", 500}, 15.42, kNominal},
    Mass{"NoGradeReadsAsRibbed", {"", 250}, 3.85, kNominal},
    Mass{"Plain8", {"HPB300", 80}, 0.395, kNominal},
    Mass{"Plain22", {"HPB300", 220}, 2.98, kNominal},
    Mass{"PlainBeyondItsStandard", {"HPB300", 250}, 0.00617 * 25 * 25, kEstimated},
    Mass{"AnOddDiameter", {"HRB400", 130}, 0.00617 * 13 * 13, kEstimated},
    Mass{"ATenthOfAMillimetre", {"", 65}, 0.00617 * 6.5 * 6.5, kEstimated}
), [](const auto& info) { return std::string{info.param.name}; });
// clang-format on

TEST(NominalMasses, StayWithinHalfAPercentOfTheRoundBar) {
    // A typing error in the table shows as a mass far from π/4·d²·7850 kg/m³; the standard's
    // figures are that, rounded to three significant figures.
    for (const auto& table :
         {std::span<const plan::trade::NominalMass>(plan::trade::kRibbedMasses),
          std::span<const plan::trade::NominalMass>(plan::trade::kPlainMasses)}) {
        for (const plan::trade::NominalMass& row : table) {
            const double d = static_cast<double>(row.diameterTenths) / 10;
            const double round = std::numbers::pi / 4 * d * d * 7.85;
            EXPECT_NEAR(static_cast<double>(row.gramsPerMetre), round, round * 0.005)
                << row.diameterTenths;
        }
    }
}

} // namespace
