#pragma once

#include "plan/instance.h"

#include <cstdint>

// Lower bounds are worked out in floating point and handed out in whole millimetres of steel;
// this is the one place where one becomes the other.
namespace plan {

// The least cost that any plan can have once it costs at least `value`: the smallest sum of
// new stock lengths (each used any number of times) that is not below `value` less a small
// tolerance for the rounding of floating point. With 9000 and 12000 mm every cost is a
// multiple of 3000 and 3000 or 6000 themselves cannot be bought, so 2500 rounds up to 9000.
[[nodiscard]] std::int64_t roundUpCost(const Instance& instance, double value);

// The most any plan can cost without exceeding `value`: the largest sum of new stock lengths
// not above it (0 when none is).
[[nodiscard]] std::int64_t roundDownCost(const Instance& instance, std::int64_t value);

// The common divisor of the stock lengths' costs (1 when nothing costs anything): every plan
// costs a multiple of it, so a programme over costs may count in these units.
[[nodiscard]] std::int64_t costUnit(const Instance& instance);

// The least a millimetre of bar costs: the lowest of the stocks' costs over their capacities,
// kerf included. Every bar costs at least this much times the length its pieces take.
[[nodiscard]] double cheapestPerMm(const Instance& instance);

// The trivial bound: the pieces' total length, less all the offcuts that could take it.
[[nodiscard]] std::int64_t lengthBound(const Instance& instance);

} // namespace plan
