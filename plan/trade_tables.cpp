#include "plan/trade_tables.h"

#include <span>

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
