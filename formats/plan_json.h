#pragma once

#include "plan/plan.h"

#include <QByteArray>

// The plan for other programs. Its keys are kept stable: top-level `groups` and `seconds`; per
// group `diameter` (mm, 12 or 6.5), `patterns` (each `stock`, `count`, `cuts` [{`mark`,
// `length`}] in cutting order, `remnant`, `offcut`), `stock_mm`, `bound_mm`, `optimal`,
// `weight_kg` (the new steel bought). Further keys may be added, never renamed: per pattern
// `reusable`; per group `finish`, `gap_bars`, `gap_mm`, `bought`, `offcuts_used`, `remnants`,
// `pieces`, `pieces_mm`, `offcut_mm`, `remnant_mm`, `waste_mm`, `utilisation`, `pieces_kg`,
// `seconds`; top-level `optimal`, `cancelled`, `stock_mm`, `weight_kg`, `pieces_kg`. Lengths
// are whole millimetres; weights in kg to 0.01.
namespace formats {

[[nodiscard]] QByteArray planJson(const plan::Plan& plan);

} // namespace formats
