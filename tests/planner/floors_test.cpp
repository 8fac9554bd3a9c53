#include "formats/sheet_files.h"
#include "formats/workbook.h"
#include "planner/actions.h"
#include "planner/floor_chooser.h"
#include "planner/planner_window.h"
#include "planner/results_panel.h"
#include "planner/summary.h"
#include "window/appearance.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QtTest>

#include "fake_dialogs.h"

using planner::Command;

// A bar detail report's floors in the window: chosen on the tool bar, planned together or one
// after another, each floor's plan shown, and the exports saying which floors they cover.
class FloorsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { appearance_ = std::make_unique<window::Appearance>(); }
    void cleanupTestCase() { appearance_.reset(); }
    void init();
    void cleanup() { window_.reset(); }

    void aListWithoutFloorsHasNoChoiceOfThem();
    void theFloorsChosenAreTheOnesPlanned();
    void floorByFloorShowsEachFloorAndExportsThemAll();

private:
    void openReport();

    std::unique_ptr<window::Appearance> appearance_;
    std::unique_ptr<QTemporaryDir> dir_;
    FakeDialogs::Script script_;
    std::unique_ptr<planner::PlannerWindow> window_;
};

void FloorsTest::init() {
    script_ = {};
    dir_ = std::make_unique<QTemporaryDir>();
    window_ = makeWindow(script_, *dir_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void FloorsTest::openReport() {
    QVERIFY(window_->openFile(QStringLiteral(HENGCHI_EXAMPLES "/钢筋明细表.xlsx")));
    QCOMPARE(window_->floorChooser()->floors(),
             QStringList({QStringLiteral("首层"), QStringLiteral("第2层"), QStringLiteral("第3层"),
                          QStringLiteral("屋面层")}));
}

void FloorsTest::aListWithoutFloorsHasNoChoiceOfThem() {
    QVERIFY(window_->openFile(QStringLiteral(HENGCHI_EXAMPLES "/cutting-list.csv")));
    QVERIFY(window_->floorChooser()->floors().isEmpty());
    QVERIFY(!window_->floorChooser()->isVisible());
    QVERIFY(!window_->action(Command::OptimiseByFloor)->isEnabled());
}

void FloorsTest::theFloorsChosenAreTheOnesPlanned() {
    openReport();
    QTRY_VERIFY(window_->floorChooser()->isVisible());
    window_->floorChooser()->choose({QStringLiteral("第2层"), QStringLiteral("第3层")});
    window_->run(Command::Optimise);
    QVERIFY2(script_.informed.isEmpty(), qPrintable(script_.informed.join(u'\n')));
    QTRY_VERIFY_WITH_TIMEOUT(window_->sheet().has_value(), 60000);
    QCOMPARE(window_->sheet()->plan.floors, (std::vector<std::string>{"第2层", "第3层"}));
    // Each floor has 19 bar rows: the sheet lists the rows of two.
    QCOMPARE(window_->sheet()->list.size(), std::size_t{38});

    const QString path = dir_->filePath(QStringLiteral("下料单.xlsx"));
    script_.paths = {path};
    window_->run(Command::ExportXlsx);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const formats::WorkbookRead book = formats::readWorkbook(file.readAll(), path);
    QVERIFY(!book.error.has_value());
    bool said = false;
    for (const formats::Record& row : book.sheets.at(0).rows.records) {
        said = said || row.cells.value(0).startsWith(QStringLiteral("楼层：第2层、第3层"));
    }
    QVERIFY(said);

    // None ticked: nothing is planned, and the window says why.
    window_->floorChooser()->choose({});
    window_->run(Command::Optimise);
    QCOMPARE(script_.informed.size(), 1);
    QVERIFY(!window_->optimising());
}

void FloorsTest::floorByFloorShowsEachFloorAndExportsThemAll() {
    openReport();
    window_->run(Command::OptimiseByFloor);
    QTRY_VERIFY_WITH_TIMEOUT(window_->sheet().has_value(), 60000);
    QVERIFY(window_->sheet()->building.has_value());
    const plan::BuildingPlan& building = *window_->sheet()->building;
    QCOMPARE(building.floors.size(), std::size_t{4});

    QComboBox* view = window_->results()->floorView();
    QVERIFY(view->isVisible());
    QCOMPARE(view->count(), 5);
    view->setCurrentIndex(2);
    const auto* toBuy = window_->results()->findChild<QLabel*>(QStringLiteral("toBuy"));
    QCOMPARE(toBuy->text(), planner::toBuy(building.floors[1].plan));
    view->setCurrentIndex(0);
    QCOMPARE(toBuy->text(), planner::toBuy(plan::buildingTotals(building)));

    // The workbook has the building's summary, every floor's rows, and a sheet per floor.
    const QString path = dir_->filePath(QStringLiteral("逐层.xlsx"));
    script_.paths = {path};
    window_->run(Command::ExportXlsx);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const formats::WorkbookRead book = formats::readWorkbook(file.readAll(), path);
    QVERIFY(!book.error.has_value());
    QStringList names;
    for (const formats::Sheet& sheet : book.sheets) {
        names.append(sheet.name);
    }
    for (const char* name : {"汇总", "各层汇总", "首层", "第2层", "第3层", "屋面层"}) {
        QVERIFY2(names.contains(QString::fromUtf8(name)), qPrintable(names.join(u',')));
    }
}

QTEST_MAIN(FloorsTest)
#include "floors_test.moc"
