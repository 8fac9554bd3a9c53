#include "planner/actions.h"
#include "planner/list_tables.h"
#include "planner/planner_window.h"
#include "window/appearance.h"

#include <xlsxwriter.h>

#include <QFile>
#include <QMimeData>
#include <QStatusBar>
#include <QUrl>
#include <QtTest>

#include "fake_dialogs.h"
#include "table_text.h"

using planner::Command;

// Workbooks in the planner: opened from the dialog, a drop or the recent files like a list
// file, wrong cells marked and kept, and never written over by 保存.
class WorkbookTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { appearance_ = std::make_unique<window::Appearance>(); }
    void cleanupTestCase() { appearance_.reset(); }
    void init();
    void cleanup() { window_.reset(); }

    void anXlsIsOpenedFromTheDialog();
    void savingAWorkbookAsksWhereToSaveTheList();
    void wrongCellsOpenMarked();
    void unreadableWorkbooksSayWhy_data();
    void unreadableWorkbooksSayWhy();
    void aDroppedWorkbookIsOpened();
    void aRecentWorkbookOpensAgain();

private:
    [[nodiscard]] QString path(const char* name) const {
        return dir_->filePath(QString::fromUtf8(name));
    }
    [[nodiscard]] QString copyOf(const char* fixture, const char* name) const;
    [[nodiscard]] QByteArray read(const QString& file) const;

    std::unique_ptr<window::Appearance> appearance_;
    std::unique_ptr<QTemporaryDir> dir_;
    FakeDialogs::Script script_;
    std::unique_ptr<planner::PlannerWindow> window_;
};

void WorkbookTest::init() {
    script_ = {};
    dir_ = std::make_unique<QTemporaryDir>();
    window_ = makeWindow(script_, *dir_);
}

QString WorkbookTest::copyOf(const char* fixture, const char* name) const {
    const QString to = path(name);
    QFile::copy(QStringLiteral(HENGCHI_FORMATS_DATA "/") + QString::fromUtf8(fixture), to);
    return to;
}

QByteArray WorkbookTest::read(const QString& file) const {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WorkbookTest::anXlsIsOpenedFromTheDialog() {
    script_.paths = {copyOf("list.xls", "清单.xls")};
    window_->run(Command::Open);
    QVERIFY2(script_.informed.isEmpty(), qPrintable(script_.informed.join(u'\n')));
    QCOMPARE(textOf(window_->tables().pieces, 4),
             QStringLiteral("KL1-1,25,6456.34,4;KL1-2,22,3000,2;Z1,20,3200,8"));
    QCOMPARE(window_->tables().otherColumns(), QStringList{QStringLiteral("备注")});
    QCOMPARE(window_->filePath(), path("清单.xls"));
    QVERIFY2(window_->statusBar()->currentMessage().contains(QStringLiteral("工作表“钢筋表”")),
             qPrintable(window_->statusBar()->currentMessage()));
}

void WorkbookTest::savingAWorkbookAsksWhereToSaveTheList() {
    const QString book = copyOf("list.xls", "清单.xls");
    const QByteArray before = read(book);
    QVERIFY(window_->openFile(book));
    planner::TextTable& pieces = window_->tables().pieces;
    QVERIFY(
        pieces.setData(pieces.index(0, planner::kLength), QStringLiteral("6500"), Qt::EditRole));

    script_.paths = {path("清单.csv")};
    window_->run(Command::Save);
    QVERIFY(script_.paths.empty()); // it asked
    QCOMPARE(read(book), before);
    QVERIFY(read(path("清单.csv")).contains("KL1-1,25,6500,4"));
    QCOMPARE(window_->filePath(), path("清单.csv"));

    // From now on the document is the list file, saved where it is without asking.
    QVERIFY(
        pieces.setData(pieces.index(0, planner::kLength), QStringLiteral("6600"), Qt::EditRole));
    window_->run(Command::Save);
    QVERIFY(read(path("清单.csv")).contains("KL1-1,25,6600,4"));
}

void WorkbookTest::wrongCellsOpenMarked() {
    const QString file = path("清单.xlsx");
    lxw_workbook* book = workbook_new(QFile::encodeName(file).constData());
    lxw_worksheet* sheet = workbook_add_worksheet(book, "钢筋表");
    worksheet_merge_range(sheet, 0, 0, 0, 3, "某某工程", nullptr);
    const char* header[] = {"编号", "直径", "长度", "根数"};
    for (lxw_col_t c = 0; c < 4; ++c) {
        worksheet_write_string(sheet, 1, c, header[c], nullptr);
    }
    worksheet_write_string(sheet, 2, 0, "A", nullptr);
    worksheet_write_number(sheet, 2, 1, 12, nullptr);
    worksheet_write_string(sheet, 2, 2, "五千", nullptr);
    worksheet_write_number(sheet, 2, 3, 2, nullptr);
    worksheet_write_string(sheet, 3, 0, "B", nullptr);
    worksheet_write_number(sheet, 3, 1, 12, nullptr);
    worksheet_write_number(sheet, 3, 2, 3000, nullptr);
    worksheet_write_number(sheet, 3, 3, -1, nullptr);
    QCOMPARE(workbook_close(book), LXW_NO_ERROR);

    QVERIFY(window_->openFile(file));
    const planner::TextTable& pieces = window_->tables().pieces;
    QCOMPARE(textOf(pieces, 4), QStringLiteral("A,12,五千,2;B,12,3000,-1"));
    QCOMPARE(pieces.problem(0, planner::kLength), QStringLiteral("长度：不是数字"));
    QCOMPARE(pieces.problem(1, planner::kCount), QStringLiteral("根数：必须大于 0"));
}

void WorkbookTest::unreadableWorkbooksSayWhy_data() {
    QTest::addColumn<QString>("fixture"); // empty: a text file
    QTest::addColumn<QString>("said");
    QTest::newRow("encrypted xls")
        << QStringLiteral("encrypted.xls") << QStringLiteral("工作簿设有打开密码");
    QTest::newRow("text named xls") << QString() << QStringLiteral("不是 Excel 工作簿");
}

void WorkbookTest::unreadableWorkbooksSayWhy() {
    QFETCH(QString, fixture);
    QFETCH(QString, said);
    QString file = path("清单.xls");
    if (fixture.isEmpty()) {
        QFile text(file);
        QVERIFY(text.open(QIODevice::WriteOnly));
        text.write("编号,直径,长度,根数\nA,12,100,1\n");
    } else {
        file = copyOf(fixture.toUtf8().constData(), "清单.xls");
    }
    window_->tables().pieces.replaceAll(rowsFrom(QStringLiteral("KEEP,12,100,1"), 6));
    QVERIFY(!window_->openFile(file));
    QCOMPARE(script_.informed.size(), 1);
    QVERIFY2(script_.informed.front().contains(said), qPrintable(script_.informed.front()));
    QCOMPARE(textOf(window_->tables().pieces, 1), QStringLiteral("KEEP"));
}

void WorkbookTest::aDroppedWorkbookIsOpened() {
    const QString book = copyOf("list.xls", "拖来的.xls");
    window_->show();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(book)});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window_.get(), &drop);
    QCOMPARE(textOf(window_->tables().pieces, 1), QStringLiteral("KL1-1;KL1-2;Z1"));
    QCOMPARE(window_->filePath(), book);
}

void WorkbookTest::aRecentWorkbookOpensAgain() {
    const QString book = copyOf("list.xls", "清单.xls");
    QVERIFY(window_->openFile(book));
    window_->run(Command::New);
    QCOMPARE(window_->tables().pieces.dataRows(), 0);
    const QList<QAction*> recent = window_->findChildren<QAction*>();
    QAction* first = nullptr;
    for (QAction* action : recent) {
        if (action->text().endsWith(QStringLiteral("清单.xls"))) {
            first = action;
        }
    }
    QVERIFY(first != nullptr);
    first->trigger();
    QCOMPARE(textOf(window_->tables().pieces, 1), QStringLiteral("KL1-1;KL1-2;Z1"));
}

QTEST_MAIN(WorkbookTest)
#include "workbook_test.moc"
