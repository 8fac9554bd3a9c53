#include "formats/shape.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using formats::Parameter;
using formats::Shape;

TEST(Shape, EveryNameReadsBackAsItsShape) {
    for (const Shape shape : {Shape::None, Shape::Straight, Shape::BentUp, Shape::Stirrup}) {
        SCOPED_TRACE(static_cast<int>(shape));
        EXPECT_EQ(formats::shapeNamed(formats::shapeName(shape)), shape);
        std::string padded(formats::shapeName(shape));
        padded.insert(padded.begin(), ' ');
        padded.push_back('\t');
        EXPECT_EQ(formats::shapeNamed(padded), shape);
    }
}

TEST(Shape, AnUnknownNameIsNoShape) {
    EXPECT_EQ(formats::shapeNamed("L形"), std::nullopt);
    EXPECT_EQ(formats::shapeNamed("直钢筋"), std::nullopt);
}

struct Texts {
    const char* name;
    std::string text;
    std::vector<Parameter> parameters;
};

class ReadParameters : public testing::TestWithParam<Texts> {};

TEST_P(ReadParameters, SplitsNamesAndValues) {
    EXPECT_EQ(formats::readParameters(GetParam().text), GetParam().parameters);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Texts, ReadParameters, testing::Values(
    Texts{"Empty", "", {}},
    Texts{"One", "构件长度=6500", {{"构件长度", "6500"}}},
    Texts{"Several", "长=300;宽=200;弯钩=6.25d", {{"长", "300"}, {"宽", "200"}, {"弯钩", "6.25d"}}},
    Texts{"BlanksAroundAndEmptyItems", " 长 = 300 ;; ;宽=200;", {{"长", "300"}, {"宽", "200"}}},
    Texts{"NoEquals", "保护层", {{"保护层", ""}}},
    Texts{"EqualsInTheValue", "式=a=b", {{"式", "a=b"}}},
    Texts{"EmptyValue", "长=", {{"长", ""}}}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(ParametersText, ReadsBackAsWritten) {
    const std::vector<Parameter> parameters{{"构件长度", "6500"}, {"保护层厚度", "25"}, {"空", ""}};
    EXPECT_EQ(formats::readParameters(formats::parametersText(parameters)), parameters);
}

} // namespace
