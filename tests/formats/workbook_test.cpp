#include "formats/sheet_files.h"

#include <string>

#include <QRegularExpression>

#include <gtest/gtest.h>

#include "sample_plan.h"
#include "zip_reader.h"

namespace {

class Workbook : public testing::Test {
protected:
    void SetUp() override {
        const formats::Workbook book = formats::sheetXlsx(plan_);
        ASSERT_TRUE(book.error.isEmpty()) << book.error.toStdString();
        zip_ = readZip(book.bytes);
        ASSERT_TRUE(zip_.error.empty()) << zip_.error;
    }

    [[nodiscard]] QString part(const std::string& name) const {
        const auto it = zip_.parts.find(name);
        return it == zip_.parts.end() ? QString() : QString::fromUtf8(it->second);
    }

    plan::Plan plan_ = samplePlan();
    ZipParts zip_;
};

TEST_F(Workbook, HasTheSummaryThenASheetPerSteel) {
    const QString workbook = part("xl/workbook.xml");
    const QRegularExpression sheet(QStringLiteral("<sheet name=\"([^\"]+)\""));
    QStringList names;
    for (auto it = sheet.globalMatch(workbook); it.hasNext();) {
        names.append(it.next().captured(1));
    }
    EXPECT_EQ(names, (QStringList{QStringLiteral("汇总"), QStringLiteral("HPB300 Φ6.5"),
                                  QStringLiteral("C12")}));
    for (int i = 1; i <= 3; ++i) {
        EXPECT_FALSE(part("xl/worksheets/sheet" + std::to_string(i) + ".xml").isEmpty()) << i;
    }
}

TEST_F(Workbook, WritesLengthsAndCountsAsNumbers) {
    // The third sheet is Φ12: its first pattern's stock length, bars and remnant are number
    // cells (no t="s", the mark of a shared string) in the row after the header.
    const QString sheet = part("xl/worksheets/sheet3.xml");
    const plan::Pattern& first = plan_.groups[1].patterns[0];
    for (const auto& [column, value] : {std::pair{'C', first.stock}, std::pair{'E', first.count},
                                        std::pair{'G', first.remnant}}) {
        SCOPED_TRACE(column);
        const QString reference = QString(QChar(column)) + u'2';
        const QRegularExpression cell(
            QStringLiteral("<c r=\"%1\"( s=\"\\d+\")?><v>%2</v></c>").arg(reference).arg(value));
        EXPECT_TRUE(cell.match(sheet).hasMatch());
    }
}

TEST_F(Workbook, KeepsTheChineseTexts) {
    const QString strings = part("xl/sharedStrings.xml");
    EXPECT_TRUE(strings.contains(QStringLiteral("KL1-1 6457 + KL1-2 3180 + KZ 1560")));
    EXPECT_TRUE(strings.contains(QStringLiteral("库存余料")));
    EXPECT_TRUE(strings.contains(QStringLiteral("时限已到")));
}

} // namespace
