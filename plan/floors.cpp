#include "plan/floors.h"

#include <algorithm>
#include <chrono>
#include <functional>

namespace plan {

std::int64_t BuildingPlan::stockMm() const {
    std::int64_t mm = 0;
    for (const FloorPlan& f : floors) {
        mm += f.plan.stockMm();
    }
    return mm;
}

double BuildingPlan::stockKg() const {
    double kg = 0;
    for (const FloorPlan& f : floors) {
        kg += f.plan.stockKg();
    }
    return kg;
}

double BuildingPlan::piecesKg() const {
    double kg = 0;
    for (const FloorPlan& f : floors) {
        kg += f.plan.piecesKg();
    }
    return kg;
}

bool BuildingPlan::optimal() const {
    return std::ranges::all_of(floors, [](const FloorPlan& f) { return f.plan.optimal(); });
}

namespace {

void addUses(std::vector<StockUse>& into, const std::vector<StockUse>& uses) {
    for (const StockUse& u : uses) {
        const auto same = std::ranges::find(into, u.length, &StockUse::length);
        if (same != into.end()) {
            same->count += u.count;
        } else {
            into.push_back(u);
        }
    }
    std::ranges::sort(into, std::greater{}, &StockUse::length);
}

} // namespace

Plan buildingTotals(const BuildingPlan& building) {
    Plan out;
    out.seconds = building.seconds;
    out.cancelled = building.cancelled;
    for (const FloorPlan& f : building.floors) {
        if (!f.floor.empty()) {
            out.floors.push_back(f.floor);
        }
        for (const GroupPlan& g : f.plan.groups) {
            auto total = std::ranges::find(out.groups, g.steel, &GroupPlan::steel);
            if (total == out.groups.end()) {
                GroupPlan first;
                first.steel = g.steel;
                first.code = g.code;
                first.optimal = true;
                first.finish = Finish::Proven;
                out.groups.push_back(std::move(first));
                total = out.groups.end() - 1;
            }
            GroupPlan& t = *total;
            addUses(t.bought, g.bought);
            addUses(t.offcutsUsed, g.offcutsUsed);
            t.stockMm += g.stockMm;
            t.boundMm += g.boundMm;
            t.optimal = t.optimal && g.optimal;
            if (!g.optimal) {
                t.finish = g.finish;
            }
            t.pieces += g.pieces;
            t.piecesMm += g.piecesMm;
            t.offcutMm += g.offcutMm;
            t.wasteMm += g.wasteMm;
            t.piecesKg += g.piecesKg;
            t.stockKg += g.stockKg;
            t.seconds += g.seconds;
            t.overlapMm += g.overlapMm;
            t.joints += g.joints;
            t.money.steel += g.money.steel;
            t.money.joints += g.money.joints;
            t.boundFen += g.boundFen;
            t.byCost = t.byCost || g.byCost;
            if (g.boundScope == joints::BoundScope::ChosenSegmentation) {
                t.boundScope = g.boundScope;
            }
        }
    }
    for (GroupPlan& t : out.groups) {
        const std::int64_t used = t.stockMm + t.offcutMm;
        t.utilisation = used > 0 ? static_cast<double>(t.piecesMm) / static_cast<double>(used) : 0;
        for (const Offcut& o : building.yard) {
            if (o.steel == t.steel) {
                addUses(t.remnants, {{o.length, o.count}});
                t.remnantMm += o.length * o.count;
            }
        }
    }
    std::ranges::sort(out.groups, std::less{}, &GroupPlan::steel);
    return out;
}

std::vector<Offcut> carriedOut(std::vector<Offcut> yard, const Plan& plan) {
    for (const GroupPlan& g : plan.groups) {
        for (const StockUse& used : g.offcutsUsed) {
            std::int64_t left = used.count;
            for (Offcut& o : yard) {
                if (left > 0 && o.steel == g.steel && o.length == used.length) {
                    const std::int64_t taken = std::min(left, o.count);
                    o.count -= taken;
                    left -= taken;
                }
            }
        }
        for (const StockUse& back : g.remnants) {
            const auto same = std::ranges::find_if(yard, [&](const Offcut& o) {
                return o.steel == g.steel && o.length == back.length;
            });
            if (same != yard.end()) {
                same->count += back.count;
            } else {
                yard.push_back({g.steel, back.length, back.count, 0});
            }
        }
    }
    std::erase_if(yard, [](const Offcut& o) { return o.count <= 0; });
    return yard;
}

BuildingPlan optimizeByFloor(const CuttingList& list, const std::vector<std::string>& floors,
                             const FloorYard& yard, const FloorStarted& started,
                             const ProgressCallback& progress, std::stop_token stop,
                             unsigned threads) {
    const auto start = std::chrono::steady_clock::now();
    BuildingPlan out;
    out.yard = list.offcuts();
    for (std::size_t i = 0; i < floors.size(); ++i) {
        if (stop.stop_requested()) {
            out.cancelled = true;
            break;
        }
        if (started) {
            started(i, floors[i]);
        }
        const std::vector<Offcut> offcuts = yard.offcuts ? yard.offcuts() : out.yard;
        FloorPlan floor{floors[i],
                        optimize(list.part({floors[i]}, offcuts), progress, stop, threads)};
        if (!yard.offcuts) {
            out.yard = carriedOut(out.yard, floor.plan);
        }
        const bool kept = !yard.carriedOut || yard.carriedOut(floor);
        out.cancelled = floor.plan.cancelled;
        out.floors.push_back(std::move(floor));
        if (!kept || out.cancelled) {
            out.cancelled = true;
            break;
        }
    }
    if (yard.offcuts) {
        out.yard = yard.offcuts();
    }
    out.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return out;
}

} // namespace plan
