#include "formats/plan_words.h"
#include "formats/sheet_files.h"
#include "planner/actions.h"
#include "planner/bar_drawing.h"
#include "planner/list_tables.h"
#include "planner/planner_window.h"
#include "planner/progress_panel.h"
#include "planner/results_panel.h"
#include "planner/sheet_model.h"
#include "window/appearance.h"

#include <map>

#include <QFile>
#include <QImage>
#include <QTableWidget>
#include <QtTest>

#include "fake_dialogs.h"
#include "table_text.h"

using planner::Command;

// Optimising through the window: the run happens on its own thread and ends in a plan that the
// drawing shows bar for bar and cut for cut; editing afterwards marks it out of date; 取消 keeps
// the best plan so far; the exports write the command's own files.
class RunTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { appearance_ = std::make_unique<window::Appearance>(); }
    void cleanupTestCase() { appearance_.reset(); }
    void init();
    void cleanup() { window_.reset(); }

    void theDrawingShowsThePlan_data();
    void theDrawingShowsThePlan();
    void progressNamesEverySteel();
    void editingAfterwardsMarksThePlanOutOfDate();
    void cancelKeepsTheBestPlanSoFar();
    void aPlanForAListNoLongerOpenIsDropped();
    void exportsWriteTheSheet_data();
    void exportsWriteTheSheet();
    void nothingToExportBeforeAPlan();
    void theSheetListsTheSteelAndCountsByElement();

private:
    void load(const QString& pieces, const QString& offcuts = {}, const QString& kerf = {});
    void optimise();
    // Many lengths of one diameter and a long time limit: a search with room to be stopped.
    void startLongSearch();

    std::unique_ptr<window::Appearance> appearance_;
    std::unique_ptr<QTemporaryDir> dir_; // a fresh one per test: the recent files live there
    FakeDialogs::Script script_;
    std::unique_ptr<planner::PlannerWindow> window_;
};

void RunTest::init() {
    script_ = {};
    dir_ = std::make_unique<QTemporaryDir>();
    window_ = makeWindow(script_, *dir_);
    window_->resize(1280, 800);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void RunTest::load(const QString& pieces, const QString& offcuts, const QString& kerf) {
    planner::ListTables& tables = window_->tables();
    tables.pieces.replaceAll(rowsFrom(pieces, planner::kPieceColumns));
    tables.offcuts.replaceAll(rowsFrom(offcuts, 3));
    if (!kerf.isEmpty()) {
        tables.settings.writeBlock(0, planner::kKerf, {{kerf}});
    }
}

void RunTest::optimise() {
    window_->run(Command::Optimise);
    QVERIFY2(script_.informed.isEmpty(), qPrintable(script_.informed.join(u'\n')));
    QTRY_VERIFY_WITH_TIMEOUT(!window_->optimising(), 60000);
    QVERIFY(window_->sheet().has_value());
}

void RunTest::theDrawingShowsThePlan_data() {
    QTest::addColumn<QString>("pieces");
    QTest::addColumn<QString>("offcuts");
    QTest::addColumn<QString>("kerf");

    QTest::newRow("one diameter") << "A,12,5800,4;B,12,3000,6;C,12,2100,5"
                                  << ""
                                  << "";
    QTest::newRow("several diameters, a length with decimals")
        << "KL1,25,6456.34,3;KZ,22,3600,7;B,12,1850,9;GJ,8,1560,40"
        << ""
        << "";
    QTest::newRow("yard offcuts are drawn too") << "A,12,2500,4;B,12,4000,3"
                                                << "12,3000,2"
                                                << "";
    QTest::newRow("kerf between the cuts") << "A,16,2995,8;B,16,1495,5"
                                           << ""
                                           << "5";
    QTest::newRow("pieces as long as the stock, no remnant") << "A,12,12000,2;B,12,9000,1"
                                                             << ""
                                                             << "";
}

void RunTest::theDrawingShowsThePlan() {
    QFETCH(QString, pieces);
    QFETCH(QString, offcuts);
    QFETCH(QString, kerf);

    load(pieces, offcuts, kerf);
    optimise();
    const plan::Plan& plan = window_->sheet()->plan;
    planner::BarDrawing* drawing = window_->results()->drawing();
    const planner::BarSheet& sheet = drawing->sheet();

    std::size_t patterns = 0;
    for (const plan::GroupPlan& g : plan.groups) {
        patterns += g.patterns.size();
    }
    QCOMPARE(sheet.headings.size(), plan.groups.size());
    QCOMPARE(sheet.bars.size(), patterns);
    QVERIFY(patterns > 0);

    const QImage image = drawing->grab().toImage();
    const QColor ground = drawing->palette().color(QPalette::Base);
    const double unitsPerMm =
        sheet.bars.front().bar.width() /
        static_cast<double>(
            plan.groups[sheet.bars.front().group].patterns[sheet.bars.front().pattern].stock);
    std::map<std::pair<std::size_t, std::int64_t>, std::int64_t> newBars; // (group, stock) → bars
    for (const planner::DrawnBar& bar : sheet.bars) {
        const plan::Pattern& p = plan.groups[bar.group].patterns[bar.pattern];
        QCOMPARE(bar.bars, p.count);
        QCOMPARE(bar.cuts.size(), p.cuts.size());
        // Every bar to the same scale.
        QVERIFY(qAbs(bar.bar.width() - static_cast<double>(p.stock) * unitsPerMm) < 1e-6);
        double left = bar.bar.left();
        for (std::size_t i = 0; i < bar.cuts.size(); ++i) {
            const planner::DrawnCut& cut = bar.cuts[i];
            QCOMPARE(cut.mark.toStdString(), p.cuts[i].mark);
            QCOMPARE(cut.length, p.cuts[i].length);
            QVERIFY(qAbs(cut.rect.width() - static_cast<double>(cut.length) * unitsPerMm) < 1e-6);
            QVERIFY(cut.rect.left() >= left - 1e-6); // in cutting order, none over another
            QVERIFY(cut.rect.right() <= bar.bar.right() + 1e-6);
            left = cut.rect.right();
            // Painted where it is laid out: the cut is filled, not left as the ground.
            const QPoint inside = (cut.rect.topLeft() + QPointF(2, 2)).toPoint();
            QVERIFY(image.pixelColor(inside * image.devicePixelRatio()) != ground);
        }
        QCOMPARE(bar.remnant.isEmpty(), p.remnant == 0);
        if (p.remnant > 0) {
            QVERIFY(qAbs(bar.remnant.right() - bar.bar.right()) < 1e-6);
            QVERIFY(qAbs(bar.remnant.width() - static_cast<double>(p.remnant) * unitsPerMm) < 1e-6);
        }
        if (!p.offcut) {
            newBars[{bar.group, p.stock}] += bar.bars;
        }
    }
    // The bars drawn are the bars to buy.
    for (std::size_t g = 0; g < plan.groups.size(); ++g) {
        for (const plan::StockUse& use : plan.groups[g].bought) {
            QCOMPARE(newBars[std::pair(g, use.length)], use.count);
        }
    }
    // And the summary has a row per diameter and the total.
    QCOMPARE(window_->results()->summaryModel().rowCount(),
             static_cast<int>(plan.groups.size()) + 1);
}

void RunTest::progressNamesEverySteel() {
    // Two grades of one diameter are two rows, each as the list wrote it.
    load(QStringLiteral("A,C25,5800,4;B,HRB500 25,3000,6;C,8,2100,5"));
    window_->run(Command::Optimise);
    const QTableWidget* table = window_->progress()->table();
    QStringList steels;
    for (int r = 0; r < table->rowCount(); ++r) {
        steels.append(table->item(r, 0)->text());
    }
    QCOMPARE(steels, QStringList({QStringLiteral("Φ8"), QStringLiteral("C25"),
                                  QStringLiteral("HRB500 Φ25")}));
    QTRY_VERIFY_WITH_TIMEOUT(window_->sheet().has_value(), 60000);
    QVERIFY(window_->progress()->isHidden());
    // Every steel reported its end, with the steel of its plan.
    for (int r = 0; r < table->rowCount(); ++r) {
        QVERIFY2(table->item(r, 3)->text().startsWith(QStringLiteral("完成")),
                 qPrintable(table->item(r, 3)->text()));
        QCOMPARE(table->item(r, 1)->text().toLongLong(),
                 window_->sheet()->plan.groups[static_cast<std::size_t>(r)].stockMm);
    }
}

void RunTest::editingAfterwardsMarksThePlanOutOfDate() {
    load(QStringLiteral("A,12,5800,4;B,12,3000,6"));
    optimise();
    QVERIFY(!window_->results()->stale());

    planner::TextTable& pieces = window_->tables().pieces;
    QVERIFY(pieces.setData(pieces.index(0, planner::kCount), QStringLiteral("5"), Qt::EditRole));
    QVERIFY(window_->results()->stale());
    script_.paths = {dir_->filePath(QStringLiteral("stale.pdf"))};
    window_->run(Command::ExportPdf);
    QCOMPARE(script_.informed.size(), 1);
    QVERIFY(script_.informed.front().contains(QStringLiteral("过期")));
    QVERIFY(!QFile::exists(dir_->filePath(QStringLiteral("stale.pdf"))));

    // Optimised again, the plan is current.
    script_.informed.clear();
    optimise();
    QVERIFY(!window_->results()->stale());
}

void RunTest::startLongSearch() {
    QStringList rows;
    for (int i = 0; i < 120; ++i) {
        rows.append(
            QStringLiteral("P%1,20,%2,%3").arg(i).arg(1003 + (i * 7919) % 10000).arg(1 + i % 9));
    }
    load(rows.join(u';'));
    window_->tables().settings.writeBlock(0, planner::kSeconds, {{QStringLiteral("600")}});
    window_->run(Command::Optimise);
}

void RunTest::cancelKeepsTheBestPlanSoFar() {
    startLongSearch();
    QVERIFY(window_->optimising());
    QVERIFY(window_->action(Command::Cancel)->isEnabled());
    window_->run(Command::Cancel);
    QTRY_VERIFY_WITH_TIMEOUT(window_->sheet().has_value(), 30000);
    QVERIFY(window_->sheet()->plan.cancelled);

    // Whatever the search had, every piece is cut exactly its count.
    std::map<std::string, std::int64_t> cut;
    for (const plan::GroupPlan& g : window_->sheet()->plan.groups) {
        for (const plan::Pattern& p : g.patterns) {
            for (const plan::Cut& c : p.cuts) {
                cut[c.mark] += p.count;
            }
        }
    }
    for (int i = 0; i < 120; ++i) {
        QCOMPARE(cut[QStringLiteral("P%1").arg(i).toStdString()], 1 + i % 9);
    }
    QVERIFY(window_->action(Command::Optimise)->isEnabled());
}

void RunTest::aPlanForAListNoLongerOpenIsDropped() {
    startLongSearch();
    QVERIFY(window_->optimising());
    window_->run(Command::New); // nothing typed, so nothing to ask
    QCOMPARE(script_.unsavedAsked, 0);
    QTRY_VERIFY_WITH_TIMEOUT(!window_->optimising(), 30000);
    QVERIFY(!window_->sheet().has_value());
    QCOMPARE(window_->results()->summaryModel().rowCount(), 0);
}

void RunTest::exportsWriteTheSheet_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("name");

    QTest::newRow("PDF") << static_cast<int>(Command::ExportPdf) << "sheet.pdf";
    QTest::newRow("workbook") << static_cast<int>(Command::ExportXlsx) << "sheet.xlsx";
    QTest::newRow("CSV") << static_cast<int>(Command::ExportCsv) << "sheet.csv";
}

void RunTest::exportsWriteTheSheet() {
    QFETCH(int, command);
    QFETCH(QString, name);

    load(QStringLiteral("梁-1,25,6450,8;柱,22,3600,16"));
    window_->tables().settings.writeBlock(0, planner::kProject, {{QStringLiteral("某某工程")}});
    optimise();
    const QString path = dir_->filePath(name);
    script_.paths = {path};
    window_->run(static_cast<Command>(command));
    QVERIFY2(script_.informed.isEmpty(), qPrintable(script_.informed.join(u'\n')));

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const plan::Plan& plan = window_->sheet()->plan;
    switch (static_cast<Command>(command)) {
    case Command::ExportPdf:
        QVERIFY(bytes.startsWith("%PDF"));
        QVERIFY(bytes.contains("/FontFile")); // the Chinese font travels with the file
        break;
    case Command::ExportXlsx:
        QVERIFY(bytes.startsWith("PK")); // a workbook is a zip of sheets
        QVERIFY(bytes.contains("xl/workbook.xml"));
        break;
    default:
        QCOMPARE(bytes, formats::sheetCsv(plan)); // the command's own sheet
        break;
    }
}

void RunTest::nothingToExportBeforeAPlan() {
    load(QStringLiteral("A,12,5800,4"));
    script_.paths = {dir_->filePath(QStringLiteral("early.csv"))};
    window_->run(Command::ExportCsv);
    window_->run(Command::Print);
    QCOMPARE(script_.informed.size(), 2);
    QVERIFY(script_.informed.front().contains(QStringLiteral("F5")));
    QCOMPARE(script_.printed, 0);
    script_.informed.clear();
    optimise();
    window_->run(Command::Print);
    QCOMPARE(script_.printed, 1);
}

void RunTest::theSheetListsTheSteelAndCountsByElement() {
    QFile file(dir_->filePath(QStringLiteral("schedule.csv")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("构件名称,筋号,级别,直径,长度,构件数,根数,总根数\n"
                              "KL1,1,HRB400,25,6000,4,6,24\n"
                              "KL1,2,,C25,5000,,,6\n"
                              "L1,1,,8,1500,,20,\n")
                   .toUtf8());
    file.close();
    QVERIFY(window_->openFile(file.fileName()));
    optimise();
    const std::vector<QStringList>& list = window_->sheet()->list;
    QCOMPARE(list.size(), std::size_t{3});
    QCOMPARE(list[0], (QStringList{QStringLiteral("KL1-1"), QStringLiteral("HRB400 Φ25"),
                                   QStringLiteral("6000"), QStringLiteral("4 件 × 6 根 = 24 根"),
                                   QString()}));
    QCOMPARE(list[1][1], QStringLiteral("C25"));
    QCOMPARE(list[1][3], QStringLiteral("6"));
    QCOMPARE(list[2][1], QStringLiteral("Φ8"));
    // One steel: the name and the letter are the same HRB400, written with the letter.
    const plan::Plan& plan = window_->sheet()->plan;
    QCOMPARE(plan.groups.size(), std::size_t{2});
    QCOMPARE(formats::steelLabel(plan.groups[1]), QStringLiteral("C25"));
}

QTEST_MAIN(RunTest)
#include "run_test.moc"
