#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "examples.h"

namespace {

using calc::FieldStore;
using calc::Status;
using namespace examples;

struct Example {
    const char* name;
    Calculation calculate;
    Texts fields;
    Texts results;
};

std::ostream& operator<<(std::ostream& out, const Example& e) {
    return out << e.name;
}

class WorkedExample : public testing::TestWithParam<Example> {};

TEST_P(WorkedExample, WritesOnlyItsResultFields) {
    const Example& e = GetParam();
    FieldStore store{e.fields};
    EXPECT_EQ(e.calculate(store), (calc::Outcome{Status::Written, {}}));
    EXPECT_TRUE(store.messages().empty());
    Texts expected = e.fields;
    for (const auto& [field, text] : e.results) {
        expected.insert_or_assign(field, text);
    }
    EXPECT_EQ(store.texts(), expected);
    EXPECT_EQ(store.writes().size(), e.results.size());
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(StraightBar, WorkedExample, testing::Values(
    Example{"Standard", kOne, kStraightBar, {{"Text6", "945"}}},
    Example{"HookCoefficient487", kOne, with(kStraightBar, {{"Text3", "4.87"}}), {{"Text6", "917.4"}}},
    Example{"NegativeResultHasNoPlausibilityCheck", kOne,
            {{"Text1", "100"}, {"Text2", "60"}, {"Text3", "0"}, {"Text4", "10"}, {"Text5", "0"}},
            {{"Text6", "-20"}}},
    Example{"OldResultIsReplaced", kOne, with(kStraightBar, {{"Text6", "12345"}}), {{"Text6", "945"}}},
    Example{"PickedCoefficientWithTrailingZero", kOne, with(kStraightBar, {{"Text5", "1.0"}}),
            {{"Text6", "955"}}},
    Example{"BlanksAroundNumbers", kOne, with(kStraightBar, {{"Text1", " 900 "}}), {{"Text6", "945"}}},
    Example{"FullWidthDigits", kOne, with(kStraightBar, {{"Text1", "\xEF\xBC\x99\xEF\xBC\x90\xEF\xBC\x90"}}),
            {{"Text6", "945"}}}
), [](const auto& info) { return std::string{info.param.name}; });

INSTANTIATE_TEST_SUITE_P(BentUpBar, WorkedExample, testing::Values(
    Example{"Standard", kTwo, kBentUpBar, {{"Text15", "657"}}},
    Example{"Inclined115Deduction085", kTwo,
            with(kBentUpBar, {{"Text9", "1.15"}, {"Text13", "0.85"}}), {{"Text15", "591"}}},
    Example{"CoverDoesNotChangeTheResult", kTwo, with(kBentUpBar, {{"Text10", "40"}}),
            {{"Text15", "657"}}},
    Example{"CoverIsNeverConverted", kTwo, with(kBentUpBar, {{"Text10", "abc"}}),
            {{"Text15", "657"}}}
), [](const auto& info) { return std::string{info.param.name}; });

INSTANTIATE_TEST_SUITE_P(Stirrup, WorkedExample, testing::Values(
    Example{"Standard", kSw, kStirrup, {{"Text23", "917"}, {"Text24", "7"}}},
    Example{"CountKeepsItsFraction", kSw, with(kStirrup, {{"Text22", "200"}}),
            {{"Text23", "917"}, {"Text24", "5.5"}}},
    Example{"CountOfSevenDigits", kSw, with(kStirrup, {{"Text21", "700"}}),
            {{"Text23", "917"}, {"Text24", "5.666667"}}},
    Example{"OldResultsAreReplaced", kSw, with(kStirrup, {{"Text23", "1"}, {"Text24", "2"}}),
            {{"Text23", "917"}, {"Text24", "7"}}}
), [](const auto& info) { return std::string{info.param.name}; });
// clang-format on

struct Incomplete {
    const char* name;
    Calculation calculate;
    Texts fields;
    std::string message;
};

std::ostream& operator<<(std::ostream& out, const Incomplete& i) {
    return out << i.name;
}

class IncompleteInputs : public testing::TestWithParam<Incomplete> {};

TEST_P(IncompleteInputs, ShowTheMessageAndChangeNothing) {
    const Incomplete& i = GetParam();
    FieldStore store{i.fields};
    EXPECT_EQ(i.calculate(store).status, Status::Incomplete);
    EXPECT_EQ(store.messages(), std::vector<std::string>{i.message});
    EXPECT_TRUE(store.writes().empty());
    EXPECT_EQ(store.texts(), i.fields);
}

std::vector<Incomplete> eachInputEmptied() {
    struct Group {
        const char* name;
        Calculation calculate;
        const Texts& fields;
        std::string_view message;
    };
    const Group groups[] = {
        {"StraightBar", kOne, kStraightBar, calc::kStraightBarIncomplete},
        {"BentUpBar", kTwo, kBentUpBar, calc::kBentUpBarIncomplete},
        {"Stirrup", kSw, kStirrup, calc::kStirrupIncomplete},
    };
    static std::vector<std::string> names; // the rows keep pointers into it
    names.reserve(64);
    std::vector<Incomplete> rows;
    for (const Group& g : groups) {
        for (const auto& [field, text] : g.fields) {
            names.push_back(std::string{g.name} + "Without" + field);
            rows.push_back({names.back().c_str(), g.calculate, with(g.fields, {{field, ""}}),
                            std::string{g.message}});
        }
        names.push_back(std::string{g.name} + "AllEmpty");
        rows.push_back({names.back().c_str(), g.calculate, {}, std::string{g.message}});
    }
    return rows;
}

INSTANTIATE_TEST_SUITE_P(EveryInput, IncompleteInputs, testing::ValuesIn(eachInputEmptied()),
                         [](const auto& info) { return std::string{info.param.name}; });

// Only a calculator's own fields are inputs: a full store of another group's fields, or empty
// result fields, neither stop nor change it.
TEST(Inputs, OtherGroupsFieldsAreNeitherReadNorChanged) {
    Texts all = kStraightBar;
    all.merge(Texts{kBentUpBar});
    all.merge(Texts{kStirrup});
    all.insert_or_assign("Text6", "");
    all.insert_or_assign("Text15", "");
    all.insert_or_assign("Text23", "");
    all.insert_or_assign("Text24", "");

    FieldStore store{all};
    EXPECT_EQ(calc::two(store).status, Status::Written);
    EXPECT_EQ(store.writes(), std::vector<std::string>{"Text15"});
    Texts expected = all;
    expected["Text15"] = "657";
    EXPECT_EQ(store.texts(), expected);
}

} // namespace
