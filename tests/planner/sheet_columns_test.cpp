#include "planner/sheet_columns.h"
#include "window/appearance.h"

#include <numeric>

#include <QApplication>
#include <QtTest>

// The printed tables' columns: a short word or a number is never broken across lines, however
// narrow the page; a long text gives way first.
class SheetColumnsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { appearance_ = std::make_unique<window::Appearance>(); }
    void cleanupTestCase() { appearance_.reset(); }

    void narrowestKeepsWordsWhole_data();
    void narrowestKeepsWordsWhole();
    void fittedColumnsFillTheWidth_data();
    void fittedColumnsFillTheWidth();

private:
    std::unique_ptr<window::Appearance> appearance_;
};

void SheetColumnsTest::narrowestKeepsWordsWhole_data() {
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("whole");  // the part that must fit on one line
    QTest::addColumn<bool>("breakable"); // narrower than the whole cell

    QTest::newRow("verdict") << "最优"
                             << "最优" << false;
    QTest::newRow("total") << "合计"
                           << "合计" << false;
    QTest::newRow("four characters") << "回库余料"
                                     << "回库余料" << false;
    QTest::newRow("long Chinese text") << "这是一段很长的中文说明文字"
                                       << "这是一段" << true;
    QTest::newRow("a figure") << "1233000"
                              << "1233000" << false;
    QTest::newRow("a gap") << "差 1 根"
                           << "差" << true;
    QTest::newRow("cuts between blanks") << "KL1-4 1760×5 + KL2-3 1560×2"
                                         << "1760×5" << true;
}

void SheetColumnsTest::narrowestKeepsWordsWhole() {
    QFETCH(QString, cell);
    QFETCH(QString, whole);
    QFETCH(bool, breakable);
    const QFontMetricsF metrics(QApplication::font());
    formats::Table table;
    table.header = QStringList{QStringLiteral("结果")};
    table.rows.push_back({formats::Cell{formats::CellKind::Text, cell, 0}});

    const double pad = 2;
    const double narrow = planner::narrowestColumns(table, metrics, metrics, pad).at(0);
    QVERIFY2(narrow >= metrics.horizontalAdvance(whole) + 2 * pad, qPrintable(whole));
    QVERIFY(narrow >= metrics.horizontalAdvance(QStringLiteral("结果")) + 2 * pad);
    const double natural = planner::naturalColumns(table, metrics, metrics, pad).at(0);
    QVERIFY(natural >= narrow);
    QCOMPARE(narrow < metrics.horizontalAdvance(cell) + 2 * pad, breakable);
}

using Widths = std::vector<double>;
Q_DECLARE_METATYPE(Widths)

void SheetColumnsTest::fittedColumnsFillTheWidth_data() {
    QTest::addColumn<Widths>("natural");
    QTest::addColumn<Widths>("narrow");
    QTest::addColumn<double>("width");
    QTest::addColumn<Widths>("expected");

    QTest::newRow("room to spare: stretched alike")
        << Widths{10, 30} << Widths{5, 10} << 80.0 << Widths{20, 60};
    QTest::newRow("too wide: the long column gives way")
        << Widths{10, 50} << Widths{10, 10} << 40.0 << Widths{10, 30};
    QTest::newRow("shared by what each would give")
        << Widths{20, 60} << Widths{10, 20} << 60.0 << Widths{16, 44};
    QTest::newRow("narrower than the words: squeezed alike")
        << Widths{20, 40} << Widths{10, 30} << 20.0 << Widths{5, 15};
}

void SheetColumnsTest::fittedColumnsFillTheWidth() {
    QFETCH(Widths, natural);
    QFETCH(Widths, narrow);
    QFETCH(double, width);
    QFETCH(Widths, expected);
    const Widths widths = planner::fittedColumns(natural, narrow, width);
    QCOMPARE(widths.size(), expected.size());
    for (std::size_t c = 0; c < widths.size(); ++c) {
        QCOMPARE(widths[c], expected[c]);
    }
    QCOMPARE(std::accumulate(widths.begin(), widths.end(), 0.0), width);
}

QTEST_MAIN(SheetColumnsTest)
#include "sheet_columns_test.moc"
