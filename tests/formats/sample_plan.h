#pragma once

#include "plan/plan.h"

// A plan made by hand, so that the writers are tested on known numbers whatever the optimiser
// does: one steel proven, one (written with its grade's letter, C12) stopped by the time limit with
// a gap and a yard offcut used.
inline plan::Plan samplePlan() {
    plan::GroupPlan thin;
    thin.steel = {"HPB300", 65}; // a diameter GB/T 1499.1 does not list: its mass is estimated
    thin.patterns = {{9000,
                      false,
                      2,
                      {{"G1", 1560}, {"G1", 1560}, {"G1", 1560}, {"G1", 1560}, {"G1", 1560}},
                      1200,
                      true}};
    thin.stockMm = 18000;
    thin.boundMm = 18000;
    thin.optimal = true;
    thin.finish = plan::Finish::Proven;
    thin.bought = {{9000, 2}};
    thin.remnants = {{1200, 2}};
    thin.pieces = 10;
    thin.piecesMm = 15600;
    thin.remnantMm = 2400;
    thin.utilisation = 15600.0 / 18000;
    thin.piecesKg = plan::weightKg(thin.steel, 15600);
    thin.stockKg = plan::weightKg(thin.steel, 18000);
    thin.seconds = 0.004;

    plan::GroupPlan beam;
    beam.steel = {"HRB400", 120};
    beam.code = std::string{"C"}; // moved in: g++ 12 warns falsely (-Wrestrict) on assign("C")
    beam.patterns = {
        {12000, false, 3, {{"KL1-1", 6457}, {"KL1-2", 3180}, {"KZ", 1560}}, 803, true},
        {9000, false, 1, {{"KL1-1", 6457}}, 2543, true},
        {3200, true, 1, {{"KZ2", 3180}}, 20, false},
    };
    beam.stockMm = 45000;
    beam.boundMm = 42000;
    beam.optimal = false;
    beam.finish = plan::Finish::TimeUp;
    beam.bought = {{12000, 3}, {9000, 1}};
    beam.offcutsUsed = {{3200, 1}};
    beam.remnants = {{2543, 1}, {803, 3}};
    beam.pieces = 11;
    beam.piecesMm = 3 * 11197 + 6457 + 3180;
    beam.offcutMm = 3200;
    beam.remnantMm = 2543 + 3 * 803;
    beam.wasteMm = 20;
    beam.utilisation = static_cast<double>(beam.piecesMm) / (45000 + 3200);
    beam.piecesKg = plan::weightKg(beam.steel, beam.piecesMm);
    beam.stockKg = plan::weightKg(beam.steel, 45000);
    beam.seconds = 10.002;

    plan::Plan p;
    p.groups = {thin, beam};
    p.seconds = 10.01;
    return p;
}
