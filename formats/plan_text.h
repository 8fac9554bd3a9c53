#pragma once

#include "plan/floors.h"
#include "plan/plan.h"

#include <QString>

// The plan as a person reads it in a terminal, in Chinese: per diameter the patterns, the new
// bars by stock length, steel bought against the bound (最优, or the gap in bars and mm),
// utilisation, weights and the remnants to return to the yard; the long bars (接长): each
// bar's joint method, its layouts' segments and joint places, the joints and the steel in their
// overlaps; then the totals and the time the search took.
namespace formats {

// `project` (may be empty) heads the text, then the floors the plan covers when the list names
// any.
[[nodiscard]] QString planText(const plan::Plan& plan, const QString& project = {});

// A building planned floor by floor: each floor's plan in turn, headed by its name, then the
// whole building per steel: what to buy, the steel, waste and what the yard holds at the end.
[[nodiscard]] QString buildingText(const plan::BuildingPlan& building, const QString& project = {});

} // namespace formats
