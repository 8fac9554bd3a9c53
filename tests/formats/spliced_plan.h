#pragma once

#include "plan/plan.h"

#include "sample_plan.h"

// The sample plan and a steel with long bars, made by hand like it: KL1-1 lapped, its four bars
// staggered in two layouts, and KZ1 joined by couplers. Every segment is among the patterns'
// cuts, the overlaps within the pieces' length, and no kerf, so that the totals add up by eye.
inline plan::GroupPlan splicedGroup() {
    namespace j = plan::joints;
    j::SplicedBar lapped;
    lapped.mark = "KL1-1";
    lapped.diameter = 200;
    lapped.grade = "HRB400";
    lapped.length = 24240; // 25360 of segments less two overlaps of 560
    lapped.count = 4;
    lapped.rule.method = j::Method::Lap;
    lapped.rule.overlap = 560;
    lapped.layouts = {
        {2, 1, {{"KL1-1/1", 12000}, {"KL1-1/2", 9000}, {"KL1-1/3", 4360}}, {11720, 20160}},
        {2, 1, {{"KL1-1/4", 6000}, {"KL1-1/5", 12000}, {"KL1-1/6", 7360}}, {5720, 17160}},
    };
    j::SplicedBar coupled;
    coupled.mark = "KZ1";
    coupled.diameter = 200;
    coupled.grade = "HRB400";
    coupled.length = 15000;
    coupled.count = 2;
    coupled.rule.method = j::Method::Coupler;
    coupled.rule.overlap = 0;
    coupled.layouts = {{2, 2, {{"KZ1/1", 12000}, {"KZ1/2", 3000}}, {12000}}};

    plan::GroupPlan g;
    g.steel = {"HRB400", 200};
    g.patterns = {
        {12000, false, 2, {{"KL1-1/1", 12000}}, 0, false},
        {12000, false, 2, {{"KL1-1/5", 12000}}, 0, false},
        {12000, false, 2, {{"KZ1/1", 12000}}, 0, false},
        {12000, false, 2, {{"KL1-1/6", 7360}, {"KL1-1/3", 4360}}, 280, false},
        {9000, false, 2, {{"KL1-1/2", 9000}}, 0, false},
        {9000, false, 2, {{"KL1-1/4", 6000}, {"KZ1/2", 3000}}, 0, false},
    };
    g.stockMm = 8 * 12000 + 4 * 9000;
    g.boundMm = g.stockMm;
    g.optimal = true;
    g.finish = plan::Finish::Proven;
    g.bought = {{12000, 8}, {9000, 4}};
    g.pieces = 16;
    g.piecesMm = 4 * 24240 + 4 * 2 * 560 + 2 * 15000;
    g.wasteMm = 2 * 280;
    g.utilisation = static_cast<double>(g.piecesMm) / static_cast<double>(g.stockMm);
    g.piecesKg = plan::weightKg(g.steel, g.piecesMm);
    g.stockKg = plan::weightKg(g.steel, g.stockMm);
    g.seconds = 0.5;
    g.spliced = {lapped, coupled};
    g.overlapMm = 4 * 2 * 560;
    g.joints = 4 * 2 + 2 * 1;
    g.boundScope = j::BoundScope::ChosenSegmentation;
    // At 4000 元/t: a 12 m bar of 2.47 kg/m 118.56 元, a 9 m bar 88.92 元; two couplers at 8 元.
    g.money = {8 * 11856 + 4 * 8892, 2 * 800};
    return g;
}

inline plan::Plan splicedPlan() {
    plan::Plan p = samplePlan();
    p.groups.push_back(splicedGroup());
    return p;
}
