#include "formats/offcuts_file.h"

#include <string>
#include <vector>

#include <QStringEncoder>

#include <gtest/gtest.h>

namespace {

using formats::FileProblem;

struct Offcut {
    std::string diameter, length, count;
    int line;

    friend bool operator==(const Offcut&, const Offcut&) = default;
};

void PrintTo(const Offcut& o, std::ostream* out) {
    *out << o.line << ": " << o.diameter << '|' << o.length << '|' << o.count;
}

struct File {
    const char* name;
    QByteArray bytes;
    std::vector<Offcut> offcuts;
    std::vector<std::pair<int, FileProblem>> errors;
};

class ReadOffcuts : public testing::TestWithParam<File> {};

TEST_P(ReadOffcuts, FindsTheColumnsByNameAndKeepsTheLines) {
    const formats::OffcutsRead got = formats::readOffcuts(GetParam().bytes);
    std::vector<Offcut> offcuts;
    for (const plan::OffcutRow& o : got.offcuts) {
        offcuts.push_back({o.diameter, o.length, o.count, o.line});
    }
    EXPECT_EQ(offcuts, GetParam().offcuts);
    std::vector<std::pair<int, FileProblem>> errors;
    for (const formats::FileError& e : got.errors) {
        errors.emplace_back(e.line, e.problem);
    }
    EXPECT_EQ(errors, GetParam().errors);
}

QByteArray gb18030(const char* text) {
    QStringEncoder encoder("GB18030");
    return encoder.encode(QString::fromUtf8(text));
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Files, ReadOffcuts, testing::Values(
    File{"Chinese", QByteArray("直径,长度,根数\r\n25,3200,2\r\n"), {{"25", "3200", "2", 2}}, {}},
    File{"EnglishAnyOrderWithBom", QByteArray("\xEF\xBB\xBF" "COUNT;Length;diameter\n2;3200;25\n\n1;1800;Φ12\n"),
         {{"25", "3200", "2", 2}, {"Φ12", "1800", "1", 4}}, {}},
    File{"Gb18030Tabs", gb18030("备注\t直径\t长度\t根数\n旧料\t25\t3200\t2\n"), {{"25", "3200", "2", 2}}, {}},
    File{"TitleAboveTheHeader", QByteArray("库存余料（12 月 1 日盘点）\n\n直径,长度,根数\n25,3200,2\n"),
         {{"25", "3200", "2", 4}}, {}},
    File{"Empty", QByteArray(""), {}, {{0, FileProblem::NoHeader}}},
    File{"NoCount", QByteArray("直径,长度\n25,3200\n"), {}, {{1, FileProblem::MissingColumn}}},
    File{"UnclosedQuote", QByteArray("直径,长度,根数\n25,\"3200,2\n"), {{"25", "3200,2\n", "", 2}},
         {{2, FileProblem::UnclosedQuote}}}
), [](const auto& info) { return std::string(info.param.name); });
// clang-format on

} // namespace
