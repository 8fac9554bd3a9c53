#pragma once

#include "plan/floors.h"
#include "plan/plan.h"

#include <QByteArray>

// The plan for other programs. Its keys are kept stable: top-level `groups` and `seconds`; per
// group `diameter` (mm, 12 or 6.5), `patterns` (each `stock`, `count`, `cuts` [{`mark`,
// `length`}] in cutting order, `remnant`, `offcut`), `stock_mm`, `bound_mm`, `optimal`,
// `weight_kg` (the new steel bought). Further keys may be added, never renamed: per pattern
// `reusable`; per group `finish`, `gap_bars`, `gap_mm`, `bought`, `offcuts_used`, `remnants`,
// `pieces`, `pieces_mm`, `offcut_mm`, `remnant_mm`, `waste_mm`, `utilisation`, `pieces_kg`,
// `seconds`, `grade` (the grade's name, "HRB400", or null when the list gave none; groups are
// by grade and diameter together), `steel` (as the list wrote it: "C25", "HRB400 Φ25", "Φ25"),
// `mass` ("nominal": GB/T 1499's nominal mass per metre; "estimated": 0.00617·d²); top-level
// `optimal`, `cancelled`, `stock_mm`, `weight_kg`, `pieces_kg`. Long bars: per group
// `overlap_mm` (steel in the joints' overlaps, within `pieces_mm`), `joints`, `bound_scope`
// ("all": the bound holds for every way of splitting the long bars; "chosen": for the segments
// chosen only); top-level `spliced`, every group's long bars in group order, each `mark`,
// `grade`, `diameter`, `steel` (as its group's), `length`, `count`, `method` (the list's key:
// "lap", "coupler", "lap-weld-single", "lap-weld-double", "butt-weld"), `overlap` (mm each joint
// adds), `layouts` [{`bars`, `segments` [{`mark`, `length`}] from the bar's start, `joints`
// [joint centres, mm from the start]}]. Lengths are whole millimetres; weights in kg to 0.01.
//
// A list whose rows name floors (楼层) adds the top-level `floor_names`, the floors the plan
// covers. A building planned floor by floor (buildingJson) has the same top-level keys, its
// `groups` each steel's floors together (what to buy; no patterns), and adds `floors`, each floor
// in the order planned with every key of a plan and its `floor`, and `yard`, what the yard holds
// after the last floor ({`grade`, `diameter`, `steel`, `length`, `count`}).
namespace formats {

[[nodiscard]] QByteArray planJson(const plan::Plan& plan);
[[nodiscard]] QByteArray buildingJson(const plan::BuildingPlan& building);

} // namespace formats
