#include "plan/floors.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

// A building planned floor by floor: what one floor leaves in the yard is cut on the next, and
// the yard's counts stay exact.
namespace {

plan::PieceRow row(const char* mark, const char* length, const char* count, int line,
                   const char* floor) {
    plan::PieceRow r{mark, "25", length, count, line};
    r.floor = floor;
    return r;
}

plan::CuttingList checked(const std::vector<plan::PieceRow>& rows,
                          const std::vector<plan::OffcutRow>& offcuts = {}) {
    plan::Settings settings;
    settings.stockLengths = {9000};
    settings.seconds = 5;
    plan::Checked c = plan::checkList(rows, offcuts, settings);
    EXPECT_TRUE(c.errors.empty());
    return std::move(c.list);
}

std::int64_t countOf(const std::vector<plan::Offcut>& yard, std::int64_t length) {
    std::int64_t n = 0;
    for (const plan::Offcut& o : yard) {
        n += o.length == length ? o.count : 0;
    }
    return n;
}

// Floor 1 cuts 6000 from a 9000 bar and leaves 3000; floor 2 asks 2900, which that remnant
// holds. Planned alone, floor 2 would buy a bar.
TEST(ByFloor, ARemnantOfOneFloorIsCutOnTheNext) {
    const plan::CuttingList list =
        checked({row("KZ1", "6000", "1", 2, "首层"), row("KZ2", "2900", "1", 3, "第2层")});
    EXPECT_EQ(list.floors(), (std::vector<std::string>{"首层", "第2层"}));
    const plan::BuildingPlan b = plan::optimizeByFloor(list, list.floors());
    ASSERT_EQ(b.floors.size(), 2U);
    const plan::GroupPlan& second = b.floors[1].plan.groups.at(0);
    EXPECT_EQ(second.stockMm, 0);
    ASSERT_EQ(second.offcutsUsed.size(), 1U);
    EXPECT_EQ(second.offcutsUsed[0].length, 3000);
    EXPECT_EQ(second.offcutsUsed[0].count, 1);
    EXPECT_EQ(b.stockMm(), 9000);
    // Nothing of 3000 is left, and the 100 floor 2 leaves is too short to keep.
    EXPECT_EQ(countOf(b.yard, 3000), 0);
    EXPECT_TRUE(b.yard.empty());
}

// The yard's own offcuts are used once: three bars of 3000 serve three pieces over two floors,
// the others are cut from new steel.
TEST(ByFloor, TheYardsOffcutsAreTakenOnceOverAllFloors) {
    const plan::CuttingList list =
        checked({row("A", "2800", "2", 2, "首层"), row("B", "2800", "4", 3, "第2层")},
                {{"25", "3000", "3", 9}});
    const plan::BuildingPlan b = plan::optimizeByFloor(list, list.floors());
    ASSERT_EQ(b.floors.size(), 2U);
    std::int64_t offcutsCut = 0;
    for (const plan::FloorPlan& f : b.floors) {
        for (const plan::StockUse& u : f.plan.groups.at(0).offcutsUsed) {
            offcutsCut += u.count;
        }
    }
    EXPECT_EQ(offcutsCut, 3);
    EXPECT_EQ(countOf(b.yard, 3000), 0);
    const plan::Plan totals = plan::buildingTotals(b);
    ASSERT_EQ(totals.groups.size(), 1U);
    EXPECT_EQ(totals.groups[0].pieces, 6);
    EXPECT_EQ(totals.groups[0].stockMm, b.stockMm());
    // The building's cost is its floors' (the steel bought is priced on every floor).
    std::int64_t fen = 0;
    for (const plan::FloorPlan& f : b.floors) {
        fen += f.plan.money().total();
    }
    EXPECT_GT(fen, 0);
    EXPECT_EQ(totals.money().total(), fen);
}

// A part of a list keeps the offcuts of the steels it cuts; the others wait.
TEST(ListPart, KeepsOnlyTheOffcutsOfItsSteels) {
    plan::PieceRow other{"L1", "12", "3000", "2", 4};
    other.floor = "第2层";
    const plan::CuttingList list = checked({row("A", "2800", "2", 2, "首层"), other},
                                           {{"25", "3000", "1", 9}, {"12", "3500", "2", 10}});
    const plan::CuttingList first = list.part({"首层"}, list.offcuts());
    ASSERT_EQ(first.offcuts().size(), 1U);
    EXPECT_EQ(first.offcuts()[0].steel.diameter, 250);
    EXPECT_EQ(first.pieces().size(), 1U);
}

} // namespace
