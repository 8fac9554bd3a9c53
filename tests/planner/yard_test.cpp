#include "planner/actions.h"
#include "planner/list_tables.h"
#include "planner/planner_window.h"
#include "planner/settings_panel.h"
#include "planner/yard_models.h"
#include "planner/yard_window.h"
#include "window/appearance.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include "fake_dialogs.h"
#include "table_text.h"
#include "yard/stock.h"
#include "yard/yard.h"

using planner::Command;

// The yard through the window: 库存余料 shows it and the plan is made with it; 确认下料 carries
// the plan out once, a stale plan is refused with nothing changed, 撤销确认 puts it back; the
// 余料库 window filters, edits, adds, scraps and round-trips its rows through a file.
class YardTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { appearance_ = std::make_unique<window::Appearance>(); }
    void cleanupTestCase() { appearance_.reset(); }
    void init();
    void cleanup() { window_.reset(); }

    void thePlanIsMadeWithTheYardAndCarriedOutOnce();
    void aStalePlanIsRefusedAndTheYardKept();
    void undoingTheCommitPutsTheYardBack();
    void theYardWindowEditsAndFilters();
    void theYardWindowExportsWhatReadsBack();
    void floorByFloorEachFloorIsCommittedInTurn();

private:
    [[nodiscard]] QString yardFile() const { return dir_->filePath(QStringLiteral("yard.sqlite")); }
    void optimise();
    [[nodiscard]] QString stock() const;
    planner::YardWindow* yardWindow();

    std::unique_ptr<window::Appearance> appearance_;
    std::unique_ptr<QTemporaryDir> dir_;
    FakeDialogs::Script script_;
    std::unique_ptr<planner::PlannerWindow> window_;
};

void YardTest::init() {
    script_ = {};
    dir_ = std::make_unique<QTemporaryDir>();
    window_ = makeWindow(script_, *dir_);
    QVERIFY(window_->openYard(yardFile()));
    // Two C25 3500 and a plain Φ12 the list has no piece of, which must not be in its way.
    QVERIFY(
        !window_->yard()
             ->add({{{"HRB400", 250}, 3500, 2}, {{"", 120}, 2000, 1}}, yard::EntryKind::Import, {})
             .error);
    window_->run(Command::CloseYard);
    QVERIFY(window_->openYard(yardFile()));
    // The list's own offcut row, wrong as it is, counts for nothing while the yard is open.
    window_->tables().offcuts.replaceAll(rowsFrom(QStringLiteral("25,x,1"), 3));
    window_->tables().pieces.replaceAll(
        rowsFrom(QStringLiteral("KL1,C25,3200,2;KL2,C25,5800,3"), planner::kPieceColumns));
}

void YardTest::optimise() {
    window_->run(Command::Optimise);
    QVERIFY2(script_.informed.isEmpty(), qPrintable(script_.informed.join(u'\n')));
    QTRY_VERIFY_WITH_TIMEOUT(!window_->optimising(), 60000);
    QVERIFY(window_->sheet().has_value());
}

// The yard's stock, "grade diameter length×count" a row, as the checks take it.
QString YardTest::stock() const {
    QStringList rows;
    for (const yard::Moved& m : window_->yard()->stock({}).value) {
        rows.append(QStringLiteral("%1 %2 %3×%4")
                        .arg(QString::fromStdString(m.steel.grade))
                        .arg(m.steel.diameter / 10)
                        .arg(m.length)
                        .arg(m.count));
    }
    return rows.join(u';');
}

planner::YardWindow* YardTest::yardWindow() {
    window_->run(Command::ManageYard);
    return window_->yardWindow();
}

void YardTest::thePlanIsMadeWithTheYardAndCarriedOutOnce() {
    QCOMPARE(window_->settingsPanel()->yardView()->model()->rowCount(), 2);
    optimise();
    const plan::GroupPlan& group = window_->sheet()->plan.groups.at(0);
    QCOMPARE(group.offcutsUsed, (std::vector<plan::StockUse>{{3500, 2}}));
    QVERIFY(window_->action(Command::CommitPlan)->isEnabled());

    script_.commit = planner::CommitAnswer{QStringLiteral("二层"), QStringLiteral("东门")};
    window_->run(Command::CommitPlan);
    QVERIFY2(script_.informed.isEmpty(), qPrintable(script_.informed.join(u'\n')));
    QVERIFY(script_.asked.last().contains(QStringLiteral("取出  HRB400 Φ25 3500×2")));
    QVERIFY(window_->planCommit() > 0);
    const yard::Entry entry = window_->yard()->entry(window_->planCommit()).value;
    QCOMPARE(entry.source.floor, std::string("二层"));
    QCOMPARE(entry.added, (yard::changesOf(window_->sheet()->plan).added));
    QVERIFY(!stock().contains(QStringLiteral("3500")));
    // The plan carried out is still the one shown, and is carried out once.
    QVERIFY(window_->action(Command::ExportCsv)->isEnabled());
    QVERIFY(!window_->action(Command::CommitPlan)->isEnabled());
}

void YardTest::aStalePlanIsRefusedAndTheYardKept() {
    optimise();
    // Another person takes one of the two 3500 meanwhile.
    auto other = yard::Yard::open(yardFile().toStdString());
    QVERIFY(!other.error);
    const std::int64_t row = other.value->offcuts({plan::Steel{"HRB400", 250}}).value.at(0).id;
    QVERIFY(!other.value->setCount(row, 1).error);
    const QString before = stock();

    window_->run(Command::CommitPlan);
    QCOMPARE(script_.informed.size(), 1);
    QVERIFY2(script_.informed[0].contains(QStringLiteral("3500 要 2 根，库里只有 1 根")),
             qPrintable(script_.informed[0]));
    QCOMPARE(stock(), before);
    QCOMPARE(window_->planCommit(), 0);
    // The plan is out of date now: F5 makes it again with what the yard holds.
    QVERIFY(!window_->action(Command::CommitPlan)->isEnabled());
}

void YardTest::undoingTheCommitPutsTheYardBack() {
    const QString before = stock();
    optimise();
    window_->run(Command::CommitPlan);
    QVERIFY(stock() != before);
    window_->run(Command::UndoCommit);
    QVERIFY2(script_.informed.isEmpty(), qPrintable(script_.informed.join(u'\n')));
    QCOMPARE(stock(), before);
    QCOMPARE(window_->planCommit(), 0);
}

void YardTest::theYardWindowEditsAndFilters() {
    planner::YardWindow* yw = yardWindow();
    QVERIFY(yw != nullptr && yw->isVisible());
    auto* steel = yw->findChild<QComboBox*>(QStringLiteral("steelFilter"));
    QCOMPARE(steel->count(), 3); // 全部 and the two steels
    steel->setCurrentIndex(steel->findText(QStringLiteral("Φ12")));
    QCOMPARE(yw->rows()->rowCount(), 1);
    steel->setCurrentIndex(0);

    // A bar typed by hand, its grade by the list's table.
    const QStringList typed{QStringLiteral("C"), QStringLiteral("25"), QStringLiteral("800"),
                            QStringLiteral("4"), QStringLiteral("北区")};
    for (int i = 0; i < typed.size(); ++i) {
        yw->findChildren<QLineEdit*>(QRegularExpression(QStringLiteral("^new")))
            .at(i)
            ->setText(typed[i]);
    }
    yw->findChild<QPushButton*>(QStringLiteral("addBar"))->click();
    QVERIFY(stock().contains(QStringLiteral("HRB400 25 800×4")));

    // 根数 edited in the table; a count of 0 takes the row out once confirmed.
    const auto countOf = [yw](std::int64_t length) {
        for (int r = 0; r < yw->rows()->rowCount(); ++r) {
            if (yw->rows()->rows()[static_cast<std::size_t>(r)].length == length) {
                return yw->rows()->index(r, planner::kYardCount);
            }
        }
        return QModelIndex();
    };
    QVERIFY(yw->rows()->setData(countOf(3500), QStringLiteral("5"), Qt::EditRole));
    QVERIFY(stock().contains(QStringLiteral("HRB400 25 3500×5")));
    QVERIFY(yw->rows()->setData(countOf(2000), QStringLiteral("0"), Qt::EditRole));
    QVERIFY(!stock().contains(QStringLiteral("2000")));
    QVERIFY(yw->rows()->setData(countOf(3500), QStringLiteral("-1"), Qt::EditRole));
    QVERIFY(stock().contains(QStringLiteral("HRB400 25 3500×5")));

    // The short ones scrapped.
    script_.length = 1000;
    yw->findChild<QPushButton*>(QStringLiteral("scrapShort"))->click();
    QCOMPARE(stock(), QStringLiteral("HRB400 25 3500×5"));
    // The window's 库存余料 followed every change.
    QCOMPARE(window_->settingsPanel()->yardView()->model()->rowCount(), 1);
}

void YardTest::theYardWindowExportsWhatReadsBack() {
    planner::YardWindow* yw = yardWindow();
    const QString before = stock();
    for (const char* name : {"yard.csv", "yard.xlsx"}) {
        const QString file = dir_->filePath(QString::fromLatin1(name));
        script_.paths = {file};
        yw->findChild<QPushButton*>(QStringLiteral("exportOffcuts"))->click();
        QVERIFY(QFile::exists(file));
        // Into a yard of its own: the same bars.
        window_->openYard(
            dir_->filePath(QStringLiteral("copy-%1.sqlite").arg(QString::fromLatin1(name))));
        script_.paths = {file};
        yw->findChild<QPushButton*>(QStringLiteral("importOffcuts"))->click();
        QCOMPARE(stock(), before);
        window_->openYard(yardFile());
    }
    QCOMPARE(script_.informed.size(), 2); // "已导入…", once each
}

// Planned floor by floor, the second floor is cut from what the first leaves; carried out, each
// floor is a commit of its own, the first's remnants put in before the second takes them.
void YardTest::floorByFloorEachFloorIsCommittedInTurn() {
    const QString list = dir_->filePath(QStringLiteral("floors.csv"));
    QFile file(list);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("编号,楼层,直径,长度,根数\nKL1,首层,C25,8000,3\nL1,二层,C25,900,3\n"
                              "#设置\n原材长度,9000\n")
                   .toUtf8());
    file.close();
    script_.unsaved = planner::Unsaved::Discard;
    QVERIFY(window_->openFile(list));
    window_->run(Command::OptimiseByFloor);
    QTRY_VERIFY_WITH_TIMEOUT(!window_->optimising() && window_->sheet().has_value(), 60000);
    QVERIFY(window_->sheet()->building.has_value());

    script_.commit = planner::CommitAnswer{};
    window_->run(Command::CommitPlan);
    QVERIFY2(script_.informed.isEmpty(), qPrintable(script_.informed.join(u'\n')));
    std::vector<std::string> floors;
    for (const yard::Entry& e : window_->yard()->history().value) {
        if (e.source.kind == yard::EntryKind::Commit) {
            floors.push_back(e.source.floor);
        }
    }
    QCOMPARE(floors, (std::vector<std::string>{"二层", "首层"}));
    QVERIFY(!window_->action(Command::CommitPlan)->isEnabled());
}

QTEST_MAIN(YardTest)
#include "yard_test.moc"
