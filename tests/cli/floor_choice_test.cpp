#include "cli/floor_choice.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct Choice {
    const char* name;
    QStringList asked;
    std::vector<std::string> chosen;
    bool error = false;
};

const std::vector<std::string> kFloors{"基础", "首层", "第2层", "第3层", "屋面"};

class FloorChoices : public testing::TestWithParam<Choice> {};

TEST_P(FloorChoices, TakeTheListsOrder) {
    const cli::FloorChoice got = cli::chooseFloors(GetParam().asked, kFloors);
    EXPECT_EQ(got.floors, GetParam().chosen);
    EXPECT_EQ(!got.error.isEmpty(), GetParam().error) << got.error.toStdString();
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Options, FloorChoices, testing::Values(
    Choice{"NoneAskedIsEvery", {}, kFloors},
    Choice{"OneFloor", {QStringLiteral("第2层")}, {"第2层"}},
    Choice{"TwiceInAnyOrder", {QStringLiteral("屋面"), QStringLiteral(" 首层 ")}, {"首层", "屋面"}},
    Choice{"ARange", {QStringLiteral("首层..第3层")}, {"首层", "第2层", "第3层"}},
    Choice{"ARangeBackwards", {QStringLiteral("第3层..首层")}, {"首层", "第2层", "第3层"}},
    Choice{"OverlappingRanges", {QStringLiteral("基础..首层"), QStringLiteral("首层..第2层")},
           {"基础", "首层", "第2层"}},
    Choice{"AFloorNotThere", {QStringLiteral("第9层")}, {}, true},
    Choice{"ARangeToNowhere", {QStringLiteral("首层..")}, {}, true}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(FloorChoice, IsRefusedForAListWithoutFloors) {
    const cli::FloorChoice got = cli::chooseFloors({QStringLiteral("首层")}, {""});
    EXPECT_TRUE(got.floors.empty());
    EXPECT_FALSE(got.error.isEmpty());
}

} // namespace
