#pragma once

#include <cstddef>
#include <cstdint>

// The inner loop of the pricing table, on its own so that it can use the machine's vector
// instructions: most of the optimiser's time is spent here.
namespace plan {

// For k < count: with = shifted[k] + worth; out[k] = the larger of base[k] and with; mark[k] =
// 1 where `with` is larger, else 0. `out` may be `base` (the same cells, updated in place);
// neither may overlap `shifted` within the count, nor `mark`.
void relax(const double* base, const double* shifted, double* out, std::uint8_t* mark,
           std::size_t count, double worth);

} // namespace plan
