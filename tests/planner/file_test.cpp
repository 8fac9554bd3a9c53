#include "planner/actions.h"
#include "planner/list_check.h"
#include "planner/list_tables.h"
#include "planner/planner_window.h"
#include "window/appearance.h"

#include <QFile>
#include <QMimeData>
#include <QStringEncoder>
#include <QUrl>
#include <QtTest>

#include "fake_dialogs.h"
#include "table_text.h"

using planner::Command;
using planner::Unsaved;

// The list file as the planner's document: what is saved opens again the same, in any encoding
// a spreadsheet writes; wrong rows are kept and marked; unsaved changes are never lost without
// asking.
class FileTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { appearance_ = std::make_unique<window::Appearance>(); }
    void cleanupTestCase() { appearance_.reset(); }
    void init();
    void cleanup() { window_.reset(); }

    void savedListsOpenTheSame_data();
    void savedListsOpenTheSame();
    void spreadsheetEncodingsAreRead_data();
    void spreadsheetEncodingsAreRead();
    void wrongRowsOpenMarked();
    void theExampleKeepsItsMemberColumn();
    void otherColumnsSurviveSaving_data();
    void otherColumnsSurviveSaving();
    void unreadableFilesNameTheLine_data();
    void unreadableFilesNameTheLine();
    void unsavedChangesAreAskedAbout_data();
    void unsavedChangesAreAskedAbout();
    void aCleanListIsNotAskedAbout();
    void recentFilesNewestFirst();
    void aDroppedFileIsOpened();
    void schedulesKeepTheirGradesCountsAndGradeTable();

private:
    [[nodiscard]] QString path(const QString& name) const { return dir_->filePath(name); }
    void write(const QString& name, const QByteArray& bytes) const;
    [[nodiscard]] QByteArray read(const QString& name) const;
    void type(int row, int column, const QString& text);

    std::unique_ptr<window::Appearance> appearance_;
    std::unique_ptr<QTemporaryDir> dir_; // a fresh one per test: the recent files live there
    FakeDialogs::Script script_;
    std::unique_ptr<planner::PlannerWindow> window_;
};

void FileTest::init() {
    script_ = {};
    dir_ = std::make_unique<QTemporaryDir>();
    window_ = makeWindow(script_, *dir_);
}

void FileTest::write(const QString& name, const QByteArray& bytes) const {
    QFile file(path(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray FileTest::read(const QString& name) const {
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void FileTest::type(int row, int column, const QString& text) {
    planner::TextTable& pieces = window_->tables().pieces;
    QVERIFY(pieces.setData(pieces.index(row, column), text, Qt::EditRole));
}

namespace {

// Rows end in '\n' and cells are separated by '|': the cells themselves may hold commas,
// semicolons, quotes and '='.
std::vector<planner::TextTable::Row> cellsOf(const QString& text, int columns) {
    std::vector<planner::TextTable::Row> rows;
    for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
        QStringList cells = line.split(u'|');
        cells.resize(columns);
        rows.push_back(cells);
    }
    return rows;
}

} // namespace

void FileTest::savedListsOpenTheSame_data() {
    QTest::addColumn<QString>("pieces");
    QTest::addColumn<QString>("offcuts");
    QTest::addColumn<QString>("stock");
    QTest::addColumn<QString>("settings"); // kerf, keep, seconds, project

    QTest::newRow("a plain list with the defaults") << "KL1-1|25|6450|8\nKZ1|22|3600|16"
                                                    << ""
                                                    << "9000\n12000"
                                                    << "0|500|10|";
    QTest::newRow("shapes with their parameters") << "GJ1|8|1560|120|箍筋|长=250;宽=150;弯钩增长度="
                                                     "75;弯曲伸长值=1.25;主筋长度=900;箍筋间距=150"
                                                  << ""
                                                  << "9000\n12000"
                                                  << "0|500|10|";
    QTest::newRow("offcuts, kerf, own stock and a project") << "A|12|5800|4"
                                                            << "12|3200|2\n12|2500|5"
                                                            << "6000\n9000\n12000"
                                                            << "3|800|2.5|某某工程 3# 楼";
    QTest::newRow("texts that need quoting") << "KL,1|25|6450|8\n\"甲\"|25| 100 |1"
                                             << ""
                                             << "12000"
                                             << "0|500|10|工程 \"A\", 二期";
    QTest::newRow("wrong rows are saved as they were typed") << "A|12|abc|4\nB||3000|x"
                                                             << ""
                                                             << "9000\n12000"
                                                             << "0|500|10|";
}

void FileTest::savedListsOpenTheSame() {
    QFETCH(QString, pieces);
    QFETCH(QString, offcuts);
    QFETCH(QString, stock);
    QFETCH(QString, settings);

    planner::ListTables& tables = window_->tables();
    tables.pieces.replaceAll(cellsOf(pieces, planner::kPieceColumns));
    tables.offcuts.replaceAll(cellsOf(offcuts, 3));
    tables.stock.replaceAll(cellsOf(stock, 1));
    tables.settings.replaceAll(cellsOf(settings, planner::kSettingColumns));
    type(0, planner::kCount, tables.pieces.text(0, planner::kCount) + u'0'); // unsaved now
    QVERIFY(window_->isWindowModified());

    script_.paths = {path(QStringLiteral("first.csv"))};
    window_->run(Command::Save);
    QVERIFY(!window_->isWindowModified());
    const QByteArray first = read(QStringLiteral("first.csv"));
    QVERIFY(first.startsWith("\xEF\xBB\xBF"));

    FakeDialogs::Script other;
    const auto reopened = makeWindow(other, *dir_);
    QVERIFY(reopened->openFile(path(QStringLiteral("first.csv"))));
    QVERIFY2(other.informed.isEmpty(), qPrintable(other.informed.join(u'\n')));
    for (const auto& [mine, theirs] : {std::pair{&tables.pieces, &reopened->tables().pieces},
                                       {&tables.offcuts, &reopened->tables().offcuts},
                                       {&tables.stock, &reopened->tables().stock},
                                       {&tables.settings, &reopened->tables().settings}}) {
        QCOMPARE(theirs->rows(), mine->rows());
    }
    other.paths = {path(QStringLiteral("second.csv"))};
    reopened->run(Command::SaveAs);
    QCOMPARE(read(QStringLiteral("second.csv")), first);
}

void FileTest::spreadsheetEncodingsAreRead_data() {
    QTest::addColumn<QByteArray>("bytes");

    const QString text =
        QStringLiteral("编号,直径,长度,根数\r\n梁-1,25,6450,8\r\n柱-甲,22,3600,16\r\n");
    QTest::newRow("UTF-8 with a BOM") << (QByteArray("\xEF\xBB\xBF") + text.toUtf8());
    QTest::newRow("UTF-8 without one") << text.toUtf8();
    QStringEncoder gb18030("GB18030");
    QTest::newRow("GB18030 as Excel saves it on Chinese Windows")
        << static_cast<QByteArray>(gb18030.encode(text));
    QTest::newRow("tab-separated with a unit in a header")
        << QStringLiteral("编号\t直径\t长度(mm)\t根数\n梁-1\t25\t6450\t8\n柱-甲\t22\t3600\t16\n")
               .toUtf8();
}

void FileTest::spreadsheetEncodingsAreRead() {
    QFETCH(QByteArray, bytes);
    write(QStringLiteral("list.csv"), bytes);
    QVERIFY(window_->openFile(path(QStringLiteral("list.csv"))));
    QCOMPARE(textOf(window_->tables().pieces, 4),
             QStringLiteral("梁-1,25,6450,8;柱-甲,22,3600,16"));
    QVERIFY(script_.informed.isEmpty());
}

void FileTest::wrongRowsOpenMarked() {
    write(QStringLiteral("wrong.csv"),
          QStringLiteral("编号,直径,长度,根数\nA,12,5800,4\nB,12,五千,2\nC,12,3000,-1\n").toUtf8());
    QVERIFY(window_->openFile(path(QStringLiteral("wrong.csv"))));
    const planner::TextTable& pieces = window_->tables().pieces;
    QCOMPARE(textOf(pieces, 4), QStringLiteral("A,12,5800,4;B,12,五千,2;C,12,3000,-1"));
    QCOMPARE(pieces.problem(1, planner::kLength), QStringLiteral("长度：不是数字"));
    QCOMPARE(pieces.problem(2, planner::kCount), QStringLiteral("根数：必须大于 0"));
    QVERIFY(pieces.problem(0, planner::kLength).isEmpty());
}

void FileTest::theExampleKeepsItsMemberColumn() {
    const QString example = QStringLiteral(HENGCHI_EXAMPLES "/cutting-list.csv");
    QFile file(example);
    QVERIFY(file.open(QIODevice::ReadOnly));
    // The example's 构件 texts straight from its lines: the second cell of each row above #设置.
    QStringList members;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"));
    for (qsizetype i = 1; i < lines.size() && !lines[i].startsWith(u'#'); ++i) {
        members.append(lines[i].section(u',', 1, 1));
    }
    QVERIFY(lines.front().contains(QStringLiteral(",构件,")));
    QVERIFY(members.size() > 10);

    QVERIFY(window_->openFile(example));
    QVERIFY2(script_.informed.isEmpty(), qPrintable(script_.informed.join(u'\n')));
    const planner::TextTable& pieces = window_->tables().pieces;
    QCOMPARE(window_->tables().otherColumns(), QStringList{QStringLiteral("构件")});
    QStringList shown;
    for (int row = 0; row < pieces.dataRows(); ++row) {
        shown.append(pieces.text(row, planner::kPieceColumns));
    }
    QCOMPARE(shown, members);

    script_.paths = {path(QStringLiteral("saved.csv"))};
    window_->run(Command::SaveAs);
    const QByteArray saved = read(QStringLiteral("saved.csv"));
    QVERIFY(saved.startsWith("\xEF\xBB\xBF编号,直径,长度,根数,形状,参数,构件\r\n"));

    FakeDialogs::Script other;
    const auto reopened = makeWindow(other, *dir_);
    QVERIFY(reopened->openFile(path(QStringLiteral("saved.csv"))));
    QCOMPARE(reopened->tables().otherColumns(), window_->tables().otherColumns());
    QCOMPARE(reopened->tables().pieces.rows(), pieces.rows());
}

void FileTest::otherColumnsSurviveSaving_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("columns"); // separated by '|'
    QTest::addColumn<QString>("cells");   // rows end in '\n', cells separated by '|'

    QStringEncoder gb18030("GB18030");
    QTest::newRow("GB18030 with a quoted comma and an empty cell")
        << static_cast<QByteArray>(gb18030.encode(
               QStringLiteral("编号,构件,直径,长度,根数,备注\r\nKL1,\"梁,左\",25,6450,8,\r\n"
                              "KZ1,柱,22,3600,16,底层\r\n")))
        << "构件|备注"
        << "梁,左|\n柱|底层\n";
    QTest::newRow("an unnamed column keeps its place")
        << QByteArray("编号,,直径,长度,根数,备注\nA,x,12,100,1,甲\nB,,12,200,1,乙\n") << "|备注"
        << "x|甲\n|乙\n";
    QTest::newRow("a note on a row of its own")
        << QByteArray("编号,直径,长度,根数,备注\nA,12,100,1,\n,,,,以下为二层\nB,12,200,1,\n")
        << "备注"
        << "\n以下为二层\n\n";
    QTest::newRow("a cell with a line break and quotes")
        << QByteArray("编号,直径,长度,根数,说明\nA,12,100,1,\"两行\n\"\"的\"\"说明\"\n") << "说明"
        << "两行\n\"的\"说明\n";
}

void FileTest::otherColumnsSurviveSaving() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, columns);
    QFETCH(QString, cells);

    write(QStringLiteral("list.csv"), bytes);
    QVERIFY(window_->openFile(path(QStringLiteral("list.csv"))));
    QVERIFY2(script_.informed.isEmpty(), qPrintable(script_.informed.join(u'\n')));
    const planner::ListTables& tables = window_->tables();
    QCOMPARE(tables.otherColumns().join(u'|'), columns);
    QString shown;
    for (const planner::TextTable::Row& row : tables.pieces.rows()) {
        shown += row.mid(planner::kPieceColumns).join(u'|') + u'\n';
    }
    QCOMPARE(shown, cells);
    // The optimiser finds nothing wrong in them.
    for (int row = 0; row < tables.pieces.dataRows(); ++row) {
        for (int column = 0; column < tables.pieces.columnCount(); ++column) {
            QVERIFY2(tables.pieces.problem(row, column).isEmpty(),
                     qPrintable(tables.pieces.problem(row, column)));
        }
    }

    script_.paths = {path(QStringLiteral("first.csv"))};
    window_->run(Command::SaveAs);
    FakeDialogs::Script other;
    const auto reopened = makeWindow(other, *dir_);
    QVERIFY(reopened->openFile(path(QStringLiteral("first.csv"))));
    QCOMPARE(reopened->tables().otherColumns(), tables.otherColumns());
    QCOMPARE(reopened->tables().pieces.rows(), tables.pieces.rows());
    other.paths = {path(QStringLiteral("second.csv"))};
    reopened->run(Command::SaveAs);
    QCOMPARE(read(QStringLiteral("second.csv")), read(QStringLiteral("first.csv")));
}

void FileTest::unreadableFilesNameTheLine_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("said");
    QTest::addColumn<bool>("opened");

    QTest::newRow("a column missing")
        << QByteArray("编号,直径,长度\nA,12,5800\n") << "第 1 行：缺少“根数”列" << false;
    QTest::newRow("an empty file") << QByteArray() << "没有表头行" << false;
    QTest::newRow("an unknown setting opens with its line named")
        << QByteArray("编号,直径,长度,根数\nA,12,5800,4\n#设置\n颜色,红\n")
        << "第 4 行：不认识的设置“颜色”" << true;
}

void FileTest::unreadableFilesNameTheLine() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, said);
    QFETCH(bool, opened);

    window_->tables().pieces.replaceAll(rowsFrom(QStringLiteral("KEEP,12,100,1"), 6));
    write(QStringLiteral("bad.csv"), bytes);
    QCOMPARE(window_->openFile(path(QStringLiteral("bad.csv"))), opened);
    QCOMPARE(script_.informed.size(), 1);
    QVERIFY2(script_.informed.front().contains(said), qPrintable(script_.informed.front()));
    // A file that could not be read leaves the list that was open.
    QCOMPARE(textOf(window_->tables().pieces, 1) == QStringLiteral("KEEP"), !opened);
}

void FileTest::unsavedChangesAreAskedAbout_data() {
    QTest::addColumn<int>("command"); // New, Open or Quit
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("kept");  // the edited list is still there
    QTest::addColumn<bool>("saved"); // it was written to the file

    const auto c = [](Command command) {
        return static_cast<int>(command);
    };
    const auto a = [](Unsaved answer) {
        return static_cast<int>(answer);
    };
    QTest::newRow("new, cancelled") << c(Command::New) << a(Unsaved::Cancel) << true << false;
    QTest::newRow("new, not saved") << c(Command::New) << a(Unsaved::Discard) << false << false;
    QTest::newRow("new, saved first") << c(Command::New) << a(Unsaved::Save) << false << true;
    QTest::newRow("open, cancelled") << c(Command::Open) << a(Unsaved::Cancel) << true << false;
    QTest::newRow("open, not saved") << c(Command::Open) << a(Unsaved::Discard) << false << false;
    QTest::newRow("open, saved first") << c(Command::Open) << a(Unsaved::Save) << false << true;
    QTest::newRow("quit, cancelled") << c(Command::Quit) << a(Unsaved::Cancel) << true << false;
    QTest::newRow("quit, not saved") << c(Command::Quit) << a(Unsaved::Discard) << false << false;
    QTest::newRow("quit, saved first") << c(Command::Quit) << a(Unsaved::Save) << false << true;
}

void FileTest::unsavedChangesAreAskedAbout() {
    QFETCH(int, command);
    QFETCH(int, answer);
    QFETCH(bool, kept);
    QFETCH(bool, saved);

    write(QStringLiteral("other.csv"), QByteArray("编号,直径,长度,根数\nO,12,100,1\n"));
    write(QStringLiteral("mine.csv"), QByteArray("编号,直径,长度,根数\nM,12,100,1\n"));
    QVERIFY(window_->openFile(path(QStringLiteral("mine.csv"))));
    window_->show();
    type(0, planner::kLength, QStringLiteral("200"));

    script_.unsaved = static_cast<Unsaved>(answer);
    script_.paths = {path(QStringLiteral("other.csv"))};
    window_->run(static_cast<Command>(command));

    QCOMPARE(script_.unsavedAsked, 1);
    const bool stillThere =
        window_->tables().pieces.text(0, planner::kLength) == QStringLiteral("200");
    if (static_cast<Command>(command) == Command::Quit) {
        QCOMPARE(window_->isVisible(), kept);
    } else {
        QCOMPARE(stillThere, kept);
    }
    QCOMPARE(read(QStringLiteral("mine.csv")).contains(",200,"), saved);
}

void FileTest::aCleanListIsNotAskedAbout() {
    write(QStringLiteral("mine.csv"), QByteArray("编号,直径,长度,根数\nM,12,100,1\n"));
    QVERIFY(window_->openFile(path(QStringLiteral("mine.csv"))));
    type(0, planner::kLength, QStringLiteral("200"));
    window_->run(Command::Undo); // back to what was saved
    window_->run(Command::New);
    QCOMPARE(script_.unsavedAsked, 0);
    QCOMPARE(window_->tables().pieces.dataRows(), 0);
}

void FileTest::recentFilesNewestFirst() {
    for (const QString& name :
         {QStringLiteral("a.csv"), QStringLiteral("b.csv"), QStringLiteral("a.csv")}) {
        write(name, QByteArray("编号,直径,长度,根数\nM,12,100,1\n"));
        QVERIFY(window_->openFile(path(name)));
    }
    QCOMPARE(window_->recentFiles(),
             QStringList({path(QStringLiteral("a.csv")), path(QStringLiteral("b.csv"))}));
    // Kept for the next start of the program.
    FakeDialogs::Script other;
    QCOMPARE(makeWindow(other, *dir_)->recentFiles(), window_->recentFiles());
}

void FileTest::aDroppedFileIsOpened() {
    write(QStringLiteral("dropped.csv"), QByteArray("编号,直径,长度,根数\nD,12,100,1\n"));
    window_->show();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path(QStringLiteral("dropped.csv")))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &drop);
    QCOMPARE(textOf(window_->tables().pieces, 1), QStringLiteral("D"));
    QCOMPARE(window_->filePath(), path(QStringLiteral("dropped.csv")));
}

void FileTest::schedulesKeepTheirGradesCountsAndGradeTable() {
    write(QStringLiteral("schedule.csv"), QStringLiteral("编号,级别,直径,长度,构件数,根数,总根数\n"
                                                         "KL1-1,HRB400,25,6000,4,6,24\n"
                                                         "KL1-2,,C25,5000,2,3,7\n"
                                                         "KL1-3,HRB500,25,4000,,,5\n")
                                              .toUtf8());
    QVERIFY(window_->openFile(path(QStringLiteral("schedule.csv"))));
    planner::ListTables& tables = window_->tables();
    QCOMPARE(tables.otherColumns(), (QStringList{QStringLiteral("级别"), QStringLiteral("构件数"),
                                                 QStringLiteral("总根数")}));
    const int total = tables.columnOf(plan::Field::Total);
    QCOMPARE(total, planner::kPieceColumns + 2);
    QCOMPARE(tables.pieces.problem(1, total),
             QStringLiteral("总根数：与 构件数 × 根数 = 6 不一致"));
    QVERIFY(tables.pieces.problem(0, total).isEmpty());

    // The grade table shows the defaults; an edit is saved with the list, a wrong code marked.
    QCOMPARE(tables.grades.text(2, planner::kGradeCode), QStringLiteral("C"));
    QVERIFY(tables.grades.setData(tables.grades.index(2, planner::kGradeName),
                                  QStringLiteral("HRB400E"), Qt::EditRole));
    QVERIFY(
        tables.pieces.setData(tables.pieces.index(1, total), QStringLiteral("6"), Qt::EditRole));
    script_.paths = {path(QStringLiteral("saved.csv"))};
    window_->run(Command::SaveAs);
    const QByteArray saved = read(QStringLiteral("saved.csv"));
    QVERIFY(saved.contains("编号,直径,长度,根数,形状,参数,级别,构件数,总根数\r\n"));
    QVERIFY(saved.contains("#牌号\r\n代号,牌号\r\n"));
    QVERIFY(saved.contains("\r\nC,HRB400E\r\n"));

    FakeDialogs::Script other;
    const auto reopened = makeWindow(other, *dir_);
    QVERIFY(reopened->openFile(path(QStringLiteral("saved.csv"))));
    QVERIFY2(other.informed.isEmpty(), qPrintable(other.informed.join(u'\n')));
    QCOMPARE(reopened->tables().otherColumns(), tables.otherColumns());
    QCOMPARE(reopened->tables().pieces.rows(), tables.pieces.rows());
    QCOMPARE(reopened->tables().grades.rows(), tables.grades.rows());

    const planner::ListCheck check = planner::checkTables(reopened->tables());
    QVERIFY2(check.list.has_value(), qPrintable(check.first));
    QCOMPARE(check.list->steels().size(), std::size_t{3}); // HRB400, HRB400E (C), HRB500

    planner::ListTables& theirs = reopened->tables();
    QVERIFY(theirs.grades.setData(theirs.grades.index(0, planner::kGradeCode), QStringLiteral("1"),
                                  Qt::EditRole));
    const planner::ListCheck wrong = planner::checkTables(theirs);
    QVERIFY(!wrong.list);
    QCOMPARE(wrong.first,
             QStringLiteral("牌号表第 1 行，牌号表的代号“1”：只能是一到三个字母，或 一级 到 五级"));
}

QTEST_MAIN(FileTest)
#include "file_test.moc"
