#include "formats/list_file.h"
#include "planner/actions.h"
#include "planner/list_tables.h"
#include "planner/planner_window.h"
#include "planner/settings_panel.h"
#include "planner/table_view.h"
#include "window/appearance.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "fake_dialogs.h"
#include "table_text.h"

using planner::Command;

// Editing the list as a person does: pasting blocks copied from a spreadsheet, the row commands,
// undo and redo of each, cells marked red with their reason, and 优化 refusing a wrong list.
class EditingTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { appearance_ = std::make_unique<window::Appearance>(); }
    void cleanupTestCase() { appearance_.reset(); }
    void init();
    void cleanup() { window_.reset(); }

    void pasteIsOneStepUndoneAndRedone_data();
    void pasteIsOneStepUndoneAndRedone();
    void rowCommandsAreUndoneAndRedone_data();
    void rowCommandsAreUndoneAndRedone();
    void otherCellsGoWithTheirRows_data();
    void otherCellsGoWithTheirRows();
    void otherCellsAreTypedAndPasted_data();
    void otherCellsAreTypedAndPasted();
    void otherColumnsAreShownAfterTheShape();
    void wrongCellsAreRedWithTheirReason_data();
    void wrongCellsAreRedWithTheirReason();
    void wrongSettingsAreMarked_data();
    void wrongSettingsAreMarked();
    void optimiseNamesTheFirstWrongPlaceInsteadOfRunning_data();
    void optimiseNamesTheFirstWrongPlaceInsteadOfRunning();
    void copiedRowsPasteIntoASpreadsheet();
    void keysRunTheirCommands_data();
    void keysRunTheirCommands();
    void fieldsAndTablesHaveAccessibleNames();

private:
    void start(const QString& rows);
    // A list with columns of its own, as a spreadsheet's list file opens.
    void open(const QString& csv);
    void choose(int top, int bottom, int column);
    [[nodiscard]] QString pieces() const { return textOf(window_->tables().pieces, 5); }

    std::unique_ptr<window::Appearance> appearance_;
    std::unique_ptr<QTemporaryDir> dir_; // a fresh one per test: the recent files live there
    FakeDialogs::Script script_;
    std::unique_ptr<planner::PlannerWindow> window_;
};

void EditingTest::init() {
    script_ = {};
    dir_ = std::make_unique<QTemporaryDir>();
    window_ = makeWindow(script_, *dir_);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
}

void EditingTest::start(const QString& rows) {
    window_->tables().pieces.replaceAll(rowsFrom(rows, planner::kPieceColumns));
    window_->undoStack().clear();
}

void EditingTest::open(const QString& csv) {
    window_->tables().load(formats::readList(csv.toUtf8()).document);
    window_->undoStack().clear();
}

void EditingTest::choose(int top, int bottom, int column) {
    planner::TableView* view = window_->listView();
    view->setFocus();
    view->setCurrentIndex(view->model()->index(top, column));
    view->selectionModel()->select(
        QItemSelection(view->model()->index(top, 0), view->model()->index(bottom, 4)),
        QItemSelectionModel::ClearAndSelect);
}

void EditingTest::pasteIsOneStepUndoneAndRedone_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<QString>("after");

    QTest::newRow("rows from Excel into an empty list")
        << "" << 0 << 0 << "K1\t25\t6450\t8\nK2\t25\t3280\t12\n"
        << "K1,25,6450,8,;K2,25,3280,12,";
    QTest::newRow("Windows line ends and no line end at the last row")
        << "" << 0 << 0 << "K1\t25\t6450\t8\r\nK2\t25\t3280\t12"
        << "K1,25,6450,8,;K2,25,3280,12,";
    QTest::newRow("a header in another order puts each column in its place")
        << "" << 0 << 0 << "根数\t长度(mm)\t直径\t编号\n8\t6450\t25\tK1\n"
        << "K1,25,6450,8,";
    QTest::newRow("a header fills whole rows wherever the cursor is in the row")
        << "A,12,5800,4;B,16,3000,2" << 1 << 2 << "编号\t直径\t长度\t根数\nK1\t25\t6450\t8\n"
        << "A,12,5800,4,;K1,25,6450,8,";
    QTest::newRow("below the last row the block is added")
        << "A,12,5800,4" << 1 << 0 << "K1\t25\t6450\t8\n"
        << "A,12,5800,4,;K1,25,6450,8,";
    QTest::newRow("in the middle it overwrites and runs on past the end")
        << "A,12,5800,4;B,16,3000,2" << 1 << 1 << "20\t4000\n22\t5000\n"
        << "A,12,5800,4,;B,20,4000,2,;,22,5000,,";
    QTest::newRow("one cell replaces one cell") << "A,12,5800,4;B,16,3000,2" << 0 << 3 << "7"
                                                << "A,12,5800,7,;B,16,3000,2,";
    QTest::newRow("a quoted cell keeps its tab") << "" << 0 << 0 << "\"K\t1\"\t25\t100\t1\n"
                                                 << "K\t1,25,100,1,";
    QTest::newRow("text from a CSV file is split at its commas")
        << "" << 0 << 0 << "K1,25,6450,8\nK2,25,3280,12\n"
        << "K1,25,6450,8,;K2,25,3280,12,";
    QTest::newRow("blank lines between rows add no rows")
        << "" << 0 << 0 << "K1\t25\t6450\t8\n\t\t\t\nK2\t25\t3280\t12\n"
        << "K1,25,6450,8,;K2,25,3280,12,";
    QTest::newRow("cells beyond the last column are left out")
        << "" << 0 << 3 << "8\t箍筋\tx\ty\tz\n"
        << ",,,8,箍筋";
}

void EditingTest::pasteIsOneStepUndoneAndRedone() {
    QFETCH(QString, before);
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, clipboard);
    QFETCH(QString, after);

    start(before);
    const QString original = pieces();
    choose(row, row, column);
    QApplication::clipboard()->setText(clipboard);
    window_->action(Command::Paste)->trigger();

    QCOMPARE(pieces(), after);
    QCOMPARE(window_->undoStack().count(), 1);
    window_->action(Command::Undo)->trigger();
    QCOMPARE(pieces(), original);
    window_->action(Command::Redo)->trigger();
    QCOMPARE(pieces(), after);
}

void EditingTest::rowCommandsAreUndoneAndRedone_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("bottom");
    QTest::addColumn<QString>("after");

    const auto c = [](Command command) {
        return static_cast<int>(command);
    };
    QTest::newRow("insert a row above the current one")
        << c(Command::InsertRow) << 1 << 1 << "A,12,5800,4;,,,;B,16,3000,2;C,12,1000,6";
    QTest::newRow("duplicate two rows below them")
        << c(Command::DuplicateRows) << 0 << 1
        << "A,12,5800,4;B,16,3000,2;A,12,5800,4;B,16,3000,2;C,12,1000,6";
    QTest::newRow("delete the chosen rows") << c(Command::DeleteRows) << 0 << 1 << "C,12,1000,6";
    QTest::newRow("move the last row up")
        << c(Command::MoveUp) << 2 << 2 << "A,12,5800,4;C,12,1000,6;B,16,3000,2";
    QTest::newRow("move two rows down")
        << c(Command::MoveDown) << 0 << 1 << "C,12,1000,6;A,12,5800,4;B,16,3000,2";
    QTest::newRow("the first row cannot move up")
        << c(Command::MoveUp) << 0 << 0 << "A,12,5800,4;B,16,3000,2;C,12,1000,6";
    QTest::newRow("sort by diameter keeps equal ones in order")
        << c(Command::SortByDiameter) << 0 << 0 << "A,12,5800,4;C,12,1000,6;B,16,3000,2";
    QTest::newRow("sort by length, shortest first")
        << c(Command::SortByLength) << 0 << 0 << "C,12,1000,6;B,16,3000,2;A,12,5800,4";
}

void EditingTest::rowCommandsAreUndoneAndRedone() {
    QFETCH(int, command);
    QFETCH(int, top);
    QFETCH(int, bottom);
    QFETCH(QString, after);

    start("A,12,5800,4;B,16,3000,2;C,12,1000,6");
    const QString original = textOf(window_->tables().pieces, 4);
    choose(top, bottom, 0);
    window_->run(static_cast<Command>(command));

    QCOMPARE(textOf(window_->tables().pieces, 4), after);
    if (after == original) {
        QCOMPARE(window_->undoStack().count(), 0);
        return;
    }
    QCOMPARE(window_->undoStack().count(), 1);
    window_->run(Command::Undo);
    QCOMPARE(textOf(window_->tables().pieces, 4), original);
    window_->run(Command::Redo);
    QCOMPARE(textOf(window_->tables().pieces, 4), after);
}

namespace {

const char* const kMembers = "编号,直径,长度,根数,形状,参数,构件,Note\n"
                             "A,12,5800,4,箍筋,长=250,梁,甲\n"
                             "B,16,3000,2,,,柱,乙\n"
                             "C,12,1000,6,,,板,丙\n";

} // namespace

void EditingTest::otherCellsGoWithTheirRows_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("bottom");
    QTest::addColumn<QString>("after"); // each row's mark, 形状, 参数, 构件 and Note

    const auto c = [](Command command) {
        return static_cast<int>(command);
    };
    QTest::newRow("a new row has them empty")
        << c(Command::InsertRow) << 1 << 1 << "A,箍筋,长=250,梁,甲;,,,,;B,,,柱,乙;C,,,板,丙";
    QTest::newRow("duplicated rows copy them")
        << c(Command::DuplicateRows) << 0 << 1
        << "A,箍筋,长=250,梁,甲;B,,,柱,乙;A,箍筋,长=250,梁,甲;B,,,柱,乙;C,,,板,丙";
    QTest::newRow("a deleted row takes its own")
        << c(Command::DeleteRows) << 1 << 1 << "A,箍筋,长=250,梁,甲;C,,,板,丙";
    QTest::newRow("a moved row takes them up")
        << c(Command::MoveUp) << 2 << 2 << "A,箍筋,长=250,梁,甲;C,,,板,丙;B,,,柱,乙";
    QTest::newRow("two moved rows take them down")
        << c(Command::MoveDown) << 0 << 1 << "C,,,板,丙;A,箍筋,长=250,梁,甲;B,,,柱,乙";
    QTest::newRow("sorting by diameter keeps them with their rows")
        << c(Command::SortByDiameter) << 0 << 0 << "A,箍筋,长=250,梁,甲;C,,,板,丙;B,,,柱,乙";
    QTest::newRow("sorting by length keeps them with their rows")
        << c(Command::SortByLength) << 0 << 0 << "C,,,板,丙;B,,,柱,乙;A,箍筋,长=250,梁,甲";
}

void EditingTest::otherCellsGoWithTheirRows() {
    QFETCH(int, command);
    QFETCH(int, top);
    QFETCH(int, bottom);
    QFETCH(QString, after);

    open(QString::fromUtf8(kMembers));
    const QString original = otherCellsOf(window_->tables().pieces);
    choose(top, bottom, planner::kPieceColumns);
    window_->run(static_cast<Command>(command));

    QCOMPARE(otherCellsOf(window_->tables().pieces), after);
    QCOMPARE(window_->undoStack().count(), 1);
    window_->run(Command::Undo);
    QCOMPARE(otherCellsOf(window_->tables().pieces), original);
    window_->run(Command::Redo);
    QCOMPARE(otherCellsOf(window_->tables().pieces), after);
}

void EditingTest::otherCellsAreTypedAndPasted_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");     // typed into the cell, when not empty
    QTest::addColumn<QString>("clipboard"); // otherwise pasted there
    QTest::addColumn<QString>("after");

    const int member = planner::kPieceColumns;
    QTest::newRow("typed into 构件") << 0 << member << "框架梁"
                                     << ""
                                     << "A,箍筋,长=250,框架梁,甲;B,,,柱,乙;C,,,板,丙";
    QTest::newRow("typed into the last column, no checks")
        << 2 << member + 1 << "见图 3-2"
        << ""
        << "A,箍筋,长=250,梁,甲;B,,,柱,乙;C,,,板,见图 3-2";
    QTest::newRow("a block pasted at 形状 runs on into 构件 past the hidden 参数")
        << 0 << int{planner::kShape} << ""
        << "直钢筋(弯钩)\t新梁\n\t新柱\n"
        << "A,直钢筋(弯钩),长=250,新梁,甲;B,,,新柱,乙;C,,,板,丙";
    QTest::newRow("a block pasted at 构件 fills the columns after it")
        << 1 << member << ""
        << "墙\t丁\tx\n"
        << "A,箍筋,长=250,梁,甲;B,,,墙,丁;C,,,板,丙";
    QTest::newRow("a header fills the list's own columns by name, case ignored")
        << 3 << 0 << ""
        << "编号\t直径\t长度\t根数\tNOTE\t重量\t构件\nK1\t25\t6450\t8\t注\t99\t新梁\n"
        << "A,箍筋,长=250,梁,甲;B,,,柱,乙;C,,,板,丙;K1,,,新梁,注";
    QTest::newRow("a header without them writes whole rows, leaving them empty")
        << 1 << member << ""
        << "编号\t直径\t长度\t根数\nK1\t25\t6450\t8\n"
        << "A,箍筋,长=250,梁,甲;K1,,,,;C,,,板,丙";
    QTest::newRow("a row with text only in a column the list has not adds no row")
        << 3 << 0 << ""
        << "编号\t直径\t长度\t根数\t重量\n\t\t\t\t99\nK1\t25\t6450\t8\t1\n"
        << "A,箍筋,长=250,梁,甲;B,,,柱,乙;C,,,板,丙;K1,,,,";
}

void EditingTest::otherCellsAreTypedAndPasted() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, clipboard);
    QFETCH(QString, after);

    open(QString::fromUtf8(kMembers));
    const QString original = otherCellsOf(window_->tables().pieces);
    QAbstractItemModel* model = window_->listView()->model();
    if (!typed.isEmpty()) {
        QVERIFY(model->setData(model->index(row, column), typed, Qt::EditRole));
    } else {
        choose(row, row, column);
        QApplication::clipboard()->setText(clipboard);
        window_->run(Command::Paste);
    }

    QCOMPARE(otherCellsOf(window_->tables().pieces), after);
    QCOMPARE(window_->undoStack().count(), 1);
    QVERIFY(window_->isWindowModified());
    window_->run(Command::Undo);
    QCOMPARE(otherCellsOf(window_->tables().pieces), original);
    QVERIFY(!window_->isWindowModified());
    window_->run(Command::Redo);
    QCOMPARE(otherCellsOf(window_->tables().pieces), after);
    // Nothing the optimiser reads is there: no cell of them turns red.
    for (int r = 0; r < window_->tables().pieces.dataRows(); ++r) {
        for (int c = planner::kPieceColumns; c < model->columnCount(); ++c) {
            QVERIFY(window_->tables().pieces.problem(r, c).isEmpty());
        }
    }
}

void EditingTest::otherColumnsAreShownAfterTheShape() {
    open(QString::fromUtf8(kMembers));
    planner::TableView* view = window_->listView();
    const QAbstractItemModel* model = view->model();
    QCOMPARE(model->columnCount(), planner::kPieceColumns + 2);
    QCOMPARE(model->headerData(planner::kPieceColumns, Qt::Horizontal).toString(),
             QStringLiteral("构件"));
    QCOMPARE(model->headerData(planner::kPieceColumns + 1, Qt::Horizontal).toString(),
             QStringLiteral("Note"));
    QVERIFY(view->isColumnHidden(planner::kParameters));
    QVERIFY(!view->isColumnHidden(planner::kPieceColumns));
    QVERIFY(!view->isColumnHidden(planner::kPieceColumns + 1));

    // Tab goes from 形状 to 构件, as the table shows them.
    view->setFocus();
    view->setCurrentIndex(model->index(0, planner::kShape));
    QTest::keyClick(view, Qt::Key_Tab);
    QCOMPARE(view->currentIndex().column(), planner::kPieceColumns);

    // A new list has only the six again.
    window_->run(Command::New);
    QCOMPARE(model->columnCount(), int{planner::kPieceColumns});
    QVERIFY(view->isColumnHidden(planner::kParameters));
}

void EditingTest::wrongCellsAreRedWithTheirReason_data() {
    QTest::addColumn<QString>("row");
    QTest::addColumn<int>("column"); // -1: nothing wrong
    QTest::addColumn<QString>("reason");

    QTest::newRow("a good row") << "A,12,5800,4" << -1 << "";
    QTest::newRow("decimals and a diameter sign are fine") << "A,Φ6.5,6456.34,4" << -1 << "";
    QTest::newRow("a length that is no number") << "A,12,abc,4" << 2 << "长度：不是数字";
    QTest::newRow("a count with a fraction") << "A,12,5800,2.5" << 3 << "根数：必须是整数";
    QTest::newRow("a count of nothing") << "A,12,5800,0" << 3 << "根数：必须大于 0";
    QTest::newRow("no diameter") << "A,,5800,4" << 1 << "直径：没有填写";
    QTest::newRow("a long bar to be lapped with no grade")
        << "A,12,13000,4" << 2
        << "长度：绑扎搭接需要钢筋牌号（填写级别，或在“搭接长度”列写明搭接长度）";
    QTest::newRow("a shape the calculator does not have")
        << "A,12,5800,4,圆环" << 4
        << "形状：不认识“圆环”（可选 直钢筋(弯钩)、弯起钢筋、箍筋，或留空）";
}

void EditingTest::wrongCellsAreRedWithTheirReason() {
    QFETCH(QString, row);
    QFETCH(int, column);
    QFETCH(QString, reason);

    // Typed into an empty list, cell by cell, as a person would.
    start("");
    const QStringList cells = row.split(u',');
    QAbstractItemModel* model = window_->listView()->model();
    for (int c = 0; c < cells.size(); ++c) {
        QVERIFY(model->setData(model->index(0, c), cells[c], Qt::EditRole));
    }
    for (int c = 0; c < 5; ++c) {
        const QModelIndex cell = model->index(0, c);
        const bool wrong = c == column;
        QCOMPARE(model->data(cell, Qt::ToolTipRole).toString(), wrong ? reason : QString());
        QCOMPARE(model->data(cell, Qt::BackgroundRole).isValid(), wrong);
    }
}

void EditingTest::wrongSettingsAreMarked_data() {
    QTest::addColumn<QString>("kerf");
    QTest::addColumn<QString>("stock");
    QTest::addColumn<QString>("kerfReason");
    QTest::addColumn<int>("stockRow");
    QTest::addColumn<QString>("stockReason");

    QTest::newRow("the defaults") << "0"
                                  << "9000;12000"
                                  << "" << -1 << "";
    QTest::newRow("a kerf with a fraction") << "1.5"
                                            << "9000"
                                            << "锯口：必须是整数" << -1 << "";
    QTest::newRow("a negative kerf") << "-2"
                                     << "9000"
                                     << "锯口：不能是负数" << -1 << "";
    QTest::newRow("a stock length twice") << "0"
                                          << "9000;12000;9000"
                                          << "" << 2 << "原材长度：重复";
    QTest::newRow("two lengths in one row") << "0"
                                            << "9000 12000"
                                            << "" << 0 << "原材长度：每行只填一个长度";
    QTest::newRow("no stock length at all") << "0"
                                            << ""
                                            << "" << 0 << "原材长度：至少要有一种";
}

void EditingTest::wrongSettingsAreMarked() {
    QFETCH(QString, kerf);
    QFETCH(QString, stock);
    QFETCH(QString, kerfReason);
    QFETCH(int, stockRow);
    QFETCH(QString, stockReason);

    start("A,12,5800,4");
    planner::ListTables& tables = window_->tables();
    tables.stock.replaceAll(rowsFrom(stock, 1));
    tables.settings.setData(tables.settings.index(0, planner::kKerf), kerf, Qt::EditRole);

    QLineEdit* field = window_->settingsPanel()->field(planner::kKerf);
    QCOMPARE(field->text(), kerf);
    QCOMPARE(field->toolTip(), kerfReason);
    for (int row = 0; row < tables.stock.rowCount(); ++row) {
        QCOMPARE(tables.stock.problem(row, 0), row == stockRow ? stockReason : QString());
    }

    // A new list starts with the defaults, and nothing marked.
    script_.unsaved = planner::Unsaved::Discard;
    window_->run(Command::New);
    QCOMPARE(field->text(), QStringLiteral("0"));
    QCOMPARE(field->toolTip(), QString());
    QCOMPARE(field->styleSheet(), QString());
}

void EditingTest::optimiseNamesTheFirstWrongPlaceInsteadOfRunning_data() {
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("kerf");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");

    QTest::newRow("the first of two wrong rows") << "A,12,5800,4;B,12,x,2;C,12,,1"
                                                 << "0"
                                                 << "清单第 2 行，长度：不是数字" << 1 << 2;
    QTest::newRow("the first wrong cell of a row") << "A,12,5800,4;B,,x,2"
                                                   << "0"
                                                   << "清单第 2 行，直径：没有填写" << 1 << 1;
    QTest::newRow("a wrong setting when the list is right")
        << "A,12,5800,4"
        << "-1"
        << "设置，锯口：不能是负数" << 0 << int(planner::kKerf);
}

void EditingTest::optimiseNamesTheFirstWrongPlaceInsteadOfRunning() {
    QFETCH(QString, rows);
    QFETCH(QString, kerf);
    QFETCH(QString, message);
    QFETCH(int, row);
    QFETCH(int, column);

    start(rows);
    planner::ListTables& tables = window_->tables();
    tables.settings.setData(tables.settings.index(0, planner::kKerf), kerf, Qt::EditRole);
    window_->run(Command::Optimise);

    QVERIFY(!window_->optimising());
    QVERIFY(!window_->sheet().has_value());
    QCOMPARE(script_.informed.size(), 1);
    QVERIFY2(script_.informed.front().startsWith(message), qPrintable(script_.informed.front()));
    if (message.startsWith(QStringLiteral("清单"))) {
        QCOMPARE(window_->listView()->currentIndex().row(), row);
        QCOMPARE(window_->listView()->currentIndex().column(), column);
    } else {
        QTRY_COMPARE(QApplication::focusWidget(), window_->settingsPanel()->field(column));
    }
}

void EditingTest::copiedRowsPasteIntoASpreadsheet() {
    start("A,12,5800,4,箍筋;B,16,3000,2");
    window_->tables().pieces.writeBlock(0, planner::kParameters, {{QStringLiteral("长=250")}});
    choose(0, 1, 0);
    window_->run(Command::Copy);
    // The parameters are the window's own and stay out of the spreadsheet.
    QCOMPARE(QApplication::clipboard()->text(),
             QStringLiteral("A\t12\t5800\t4\t箍筋\nB\t16\t3000\t2\t\n"));

    // And back in below them, they are the same rows again.
    choose(2, 2, 0);
    window_->run(Command::Paste);
    QCOMPARE(textOf(window_->tables().pieces, 5),
             QStringLiteral("A,12,5800,4,箍筋;B,16,3000,2,;A,12,5800,4,箍筋;B,16,3000,2,"));
}

void EditingTest::keysRunTheirCommands_data() {
    QTest::addColumn<QKeySequence>("keys");
    QTest::addColumn<QString>("after");

    // Each starts from A, B with the cell (1, 2) edited to 3100 and the cursor on row B.
    QTest::newRow("Ctrl+Z undoes") << QKeySequence(QKeySequence::Undo) << "A,12,5800,4;B,16,3000,2";
    QTest::newRow("Ctrl+Y redoes after an undo")
        << QKeySequence(QStringLiteral("Ctrl+Z, Ctrl+Y")) << "A,12,5800,4;B,16,3100,2";
    QTest::newRow("Del deletes the row") << QKeySequence(QKeySequence::Delete) << "A,12,5800,4";
    QTest::newRow("Ctrl+D duplicates it")
        << QKeySequence(QStringLiteral("Ctrl+D")) << "A,12,5800,4;B,16,3100,2;B,16,3100,2";
    QTest::newRow("Alt+Up moves it up")
        << QKeySequence(QStringLiteral("Alt+Up")) << "B,16,3100,2;A,12,5800,4";
}

void EditingTest::keysRunTheirCommands() {
    QFETCH(QKeySequence, keys);
    QFETCH(QString, after);

    start("A,12,5800,4;B,16,3000,2");
    QAbstractItemModel* model = window_->listView()->model();
    QVERIFY(model->setData(model->index(1, 2), QStringLiteral("3100"), Qt::EditRole));
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
    choose(1, 1, 2);
    QTest::keySequence(window_->listView(), keys);
    QCOMPARE(textOf(window_->tables().pieces, 4), after);
}

void EditingTest::fieldsAndTablesHaveAccessibleNames() {
    QStringList unnamed;
    for (QWidget* w : window_->findChildren<QWidget*>()) {
        const bool field = qobject_cast<QLineEdit*>(w) != nullptr &&
                           qobject_cast<QAbstractItemView*>(w->parentWidget()) == nullptr;
        const bool table = qobject_cast<QAbstractItemView*>(w) != nullptr &&
                           w->parentWidget() != nullptr &&
                           qobject_cast<QAbstractItemView*>(w->parentWidget()) == nullptr;
        if ((field || table) && w->accessibleName().isEmpty()) {
            unnamed.append(w->objectName() + u'(' +
                           QString::fromLatin1(w->metaObject()->className()) + u')');
        }
    }
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(QStringLiteral(", "))));
}

QTEST_MAIN(EditingTest)
#include "editing_test.moc"
