#include "planner/actions.h"
#include "planner/bar_drawing.h"
#include "planner/bar_layout.h"
#include "planner/list_tables.h"
#include "planner/planner_window.h"
#include "planner/results_panel.h"
#include "planner/settings_panel.h"
#include "planner/table_view.h"
#include "window/appearance.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QSpinBox>
#include <QtTest>

#include "fake_dialogs.h"

using plan::joints::Method;
using planner::Command;

// Long bars in the window: the joint settings chosen in the 接长 box go into the document and
// come back from it; a list's own joint columns keep their cells through the document and can be
// put in by the user; the drawing lays a long bar out with its joints where they are.
class JointsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { appearance_ = std::make_unique<window::Appearance>(); }
    void cleanupTestCase() { appearance_.reset(); }
    void init();
    void cleanup() { window_.reset(); }

    void chosenSettingsGoIntoTheDocument_data();
    void chosenSettingsGoIntoTheDocument();
    void chosenSettingsSurviveAFile_data();
    void chosenSettingsSurviveAFile();
    void aChoiceIsUndoneLikeATypedSetting();
    void pricesGoIntoTheDocumentAndBack();
    void jointColumnsKeepTheirCells_data();
    void jointColumnsKeepTheirCells();
    void jointColumnsArePutInAfterTheSchedule_data();
    void jointColumnsArePutInAfterTheSchedule();
    void pastedJointColumnsLandInTheList_data();
    void pastedJointColumnsLandInTheList();
    void aSplicedBarIsDrawnToScale_data();
    void aSplicedBarIsDrawnToScale();
    void aLongRowIsPlannedAndDrawn_data();
    void aLongRowIsPlannedAndDrawn();

private:
    // "concrete=C40;seismic=二级;couplerAbove=25;extraJoint=是": each widget set as a user would.
    void choose(const QString& choices);

    std::unique_ptr<window::Appearance> appearance_;
    std::unique_ptr<QTemporaryDir> dir_;
    FakeDialogs::Script script_;
    std::unique_ptr<planner::PlannerWindow> window_;
};

void JointsTest::init() {
    script_ = {};
    dir_ = std::make_unique<QTemporaryDir>();
    window_ = makeWindow(script_, *dir_);
}

namespace {

// The joint settings of a document as one line: concrete, seismic (0 none … 4), coupler
// diameter in tenths, lap share, mechanical share, shortest segment, butt allowance, extra joint;
// "-" for one the document leaves out.
QString jointLine(const formats::ListSettings& s) {
    const auto part = [](const auto& value) {
        return value ? QString::number(static_cast<long long>(*value)) : QStringLiteral("-");
    };
    const auto seismic =
        s.seismic ? std::optional<int>(static_cast<int>(*s.seismic)) : std::optional<int>();
    return QStringList{part(s.concrete),      part(seismic),           part(s.couplerAbove),
                       part(s.lapShare),      part(s.mechanicalShare), part(s.shortestSegment),
                       part(s.buttAllowance), part(s.extraJoint)}
        .join(u'|');
}

QString widgetLine(const planner::SettingsPanel& panel) {
    QStringList shown;
    for (const char16_t* name : {u"concrete", u"seismic", u"lapShare", u"mechanicalShare"}) {
        shown.append(panel.findChild<QComboBox*>(QString::fromUtf16(name))->currentText());
    }
    for (const char16_t* name : {u"couplerAbove", u"shortestSegment", u"buttAllowance"}) {
        shown.append(
            QString::number(panel.findChild<QSpinBox*>(QString::fromUtf16(name))->value()));
    }
    shown.append(panel.findChild<QCheckBox*>(QStringLiteral("extraJoint"))->isChecked()
                     ? QStringLiteral("是")
                     : QStringLiteral("否"));
    return shown.join(u'|');
}

} // namespace

void JointsTest::choose(const QString& choices) {
    planner::SettingsPanel& panel = *window_->settingsPanel();
    for (const QString& choice : choices.split(u';', Qt::SkipEmptyParts)) {
        const QString name = choice.section(u'=', 0, 0);
        const QString value = choice.section(u'=', 1);
        if (auto* box = panel.findChild<QComboBox*>(name)) {
            const int index = box->findText(value);
            QVERIFY2(index >= 0, qPrintable(name + u' ' + value));
            box->setCurrentIndex(index);
        } else if (auto* spin = panel.findChild<QSpinBox*>(name)) {
            spin->setValue(value.toInt());
        } else if (auto* check = panel.findChild<QCheckBox*>(name)) {
            check->setChecked(value == QStringLiteral("是"));
        } else {
            QFAIL(qPrintable(QStringLiteral("no setting %1").arg(name)));
        }
    }
}

void JointsTest::chosenSettingsGoIntoTheDocument_data() {
    QTest::addColumn<QString>("choices");
    QTest::addColumn<QString>("document"); // jointLine
    QTest::addColumn<QString>("shown");    // widgetLine after reading the document back

    QTest::newRow("nothing chosen: nothing written, the defaults shown")
        << ""
        << "-|-|-|-|-|-|-|-"
        << "C30|非抗震|25%|50%|22|500|30|否";
    QTest::newRow("a beam in C40 of grade 二, couplers above 25")
        << "concrete=C40;seismic=二级;couplerAbove=25"
        << "40|2|250|-|-|-|-|-"
        << "C40|二级|25%|50%|25|500|30|否";
    QTest::newRow("every setting changed")
        << "concrete=C60;seismic=四级;lapShare=50%;mechanicalShare=100%;couplerAbove=18;"
           "shortestSegment=800;buttAllowance=40;extraJoint=是"
        << "60|4|180|50|100|800|40|1"
        << "C60|四级|50%|100%|18|800|40|是";
    QTest::newRow("the default chosen after another is written as chosen")
        << "concrete=C35;concrete=C30"
        << "30|-|-|-|-|-|-|-"
        << "C30|非抗震|25%|50%|22|500|30|否";
    QTest::newRow("the highest class and no seismic grade")
        << "concrete=C80;seismic=一级;seismic=非抗震"
        << "80|0|-|-|-|-|-|-"
        << "C80|非抗震|25%|50%|22|500|30|否";
}

void JointsTest::chosenSettingsGoIntoTheDocument() {
    QFETCH(QString, choices);
    QFETCH(QString, document);
    QFETCH(QString, shown);

    choose(choices);
    const planner::ForFile file = planner::toDocument(window_->tables());
    QVERIFY2(file.document.has_value(), qPrintable(file.error));
    QCOMPARE(jointLine(file.document->settings), document);

    // The optimiser is given the same settings the document keeps.
    const planner::ListCheck check = planner::checkTables(window_->tables());
    QVERIFY(check.settings.empty());

    FakeDialogs::Script other;
    const auto reopened = makeWindow(other, *dir_);
    reopened->tables().load(*file.document);
    QCOMPARE(reopened->tables().settings.rows(), window_->tables().settings.rows());
    QCOMPARE(widgetLine(*reopened->settingsPanel()), shown);
}

void JointsTest::chosenSettingsSurviveAFile_data() {
    QTest::addColumn<QString>("choices");

    QTest::newRow("none") << "";
    QTest::newRow("seismic and shares") << "seismic=三级;lapShare=100%;mechanicalShare=25%";
    QTest::newRow("every one") << "concrete=C45;seismic=一级;lapShare=50%;couplerAbove=20;"
                                  "shortestSegment=1000;buttAllowance=25;extraJoint=是";
}

void JointsTest::chosenSettingsSurviveAFile() {
    QFETCH(QString, choices);

    window_->tables().pieces.replaceAll({{QStringLiteral("KL1"), QStringLiteral("25"),
                                          QStringLiteral("6000"), QStringLiteral("4")}});
    choose(choices);
    const QString shown = widgetLine(*window_->settingsPanel());
    const QString path = dir_->filePath(QStringLiteral("joints.csv"));
    script_.paths = {path};
    window_->run(Command::SaveAs);
    QVERIFY2(script_.informed.isEmpty(), qPrintable(script_.informed.join(u'\n')));

    FakeDialogs::Script other;
    const auto reopened = makeWindow(other, *dir_);
    QVERIFY(reopened->openFile(path));
    QVERIFY2(other.informed.isEmpty(), qPrintable(other.informed.join(u'\n')));
    QCOMPARE(reopened->tables().settings.rows(), window_->tables().settings.rows());
    QCOMPARE(widgetLine(*reopened->settingsPanel()), shown);
}

// The prices are typed in 元 and kept as whole fen; the welds share one field, and a method's
// price the box does not show is written from the field of its kind.
void JointsTest::pricesGoIntoTheDocumentAndBack() {
    planner::SettingsPanel& panel = *window_->settingsPanel();
    const auto money = [&panel](const char* name) {
        return panel.findChild<QDoubleSpinBox*>(QString::fromLatin1(name));
    };
    panel.findChild<QCheckBox*>(QStringLiteral("byCost"))->setChecked(true);
    money("steelPrice")->setValue(4200.05);
    money("couplerPrice")->setValue(9.5);
    money("weldPrice")->setValue(6);
    const planner::ForFile file = planner::toDocument(window_->tables());
    QVERIFY2(file.document.has_value(), qPrintable(file.error));
    const formats::ListSettings& s = file.document->settings;
    QCOMPARE(s.byCost, std::optional<bool>(true));
    QCOMPARE(s.steelPrice, std::optional<std::int64_t>(420'005));
    QCOMPARE(s.jointPrices, (std::optional<std::array<std::int64_t, 5>>({0, 950, 600, 600, 600})));
    QVERIFY(planner::checkTables(window_->tables()).settings.empty());

    FakeDialogs::Script other;
    const auto reopened = makeWindow(other, *dir_);
    reopened->tables().load(*file.document);
    planner::SettingsPanel& back = *reopened->settingsPanel();
    QVERIFY(back.findChild<QCheckBox*>(QStringLiteral("byCost"))->isChecked());
    QCOMPARE(back.findChild<QDoubleSpinBox*>(QStringLiteral("steelPrice"))->value(), 4200.05);
    QCOMPARE(back.findChild<QDoubleSpinBox*>(QStringLiteral("couplerPrice"))->value(), 9.5);
    QCOMPARE(back.findChild<QDoubleSpinBox*>(QStringLiteral("weldPrice"))->value(), 6.0);
    QCOMPARE(back.findChild<QDoubleSpinBox*>(QStringLiteral("lapPrice"))->value(), 0.0);
}

void JointsTest::aChoiceIsUndoneLikeATypedSetting() {
    choose(QStringLiteral("concrete=C50;couplerAbove=28"));
    QVERIFY(window_->isWindowModified());
    window_->run(Command::Undo);
    window_->run(Command::Undo);
    QCOMPARE(window_->tables().settings.text(0, planner::kConcrete), QString());
    QCOMPARE(window_->tables().settings.text(0, planner::kCouplerAbove), QString());
    QCOMPARE(widgetLine(*window_->settingsPanel()),
             QStringLiteral("C30|非抗震|25%|50%|22|500|30|否"));
    QVERIFY(!window_->isWindowModified());
    window_->run(Command::Redo);
    QCOMPARE(widgetLine(*window_->settingsPanel()),
             QStringLiteral("C50|非抗震|25%|50%|22|500|30|否"));
}

void JointsTest::jointColumnsKeepTheirCells_data() {
    // Per row: grade, joint, share, lap, zones ('|'); rows by ';'.
    QTest::addColumn<QString>("rows");
    QTest::addColumn<QString>("columns"); // the other columns the table shows

    QTest::newRow("a method only") << "|机械连接|||;||||"
                                   << "接头";
    QTest::newRow("all four") << "|绑扎搭接|50%|1200|0-500;|对焊|||"
                              << "接头|接头率|搭接长度|禁止接头区";
    QTest::newRow("after the grade column") << "HRB400|单面搭接焊|||;HRB400||100||"
                                            << "级别|接头|接头率";
    QTest::newRow("zones alone") << "||||14000-15000;||||"
                                 << "禁止接头区";
    QTest::newRow("none: no columns") << "||||;||||"
                                      << "";
}

void JointsTest::jointColumnsKeepTheirCells() {
    QFETCH(QString, rows);
    QFETCH(QString, columns);

    formats::ListDocument document;
    int line = 1;
    for (const QString& row : rows.split(u';')) {
        const QStringList cells = row.split(u'|');
        formats::ListRow listRow;
        listRow.piece = {QStringLiteral("KL%1").arg(line).toStdString(), "25", "15000", "4",
                         ++line};
        listRow.piece.grade = cells[0].toStdString();
        listRow.piece.joint = cells[1].toStdString();
        listRow.piece.share = cells[2].toStdString();
        listRow.piece.lap = cells[3].toStdString();
        listRow.piece.zones = cells[4].toStdString();
        document.rows.push_back(listRow);
    }
    planner::ListTables& tables = window_->tables();
    tables.load(document);
    QCOMPARE(tables.otherColumns().join(u'|'), columns);

    const planner::ForFile file = planner::toDocument(tables);
    QVERIFY2(file.document.has_value(), qPrintable(file.error));
    QCOMPARE(file.document->otherColumns, std::vector<std::string>{});
    QCOMPARE(file.document->rows.size(), document.rows.size());
    for (std::size_t i = 0; i < document.rows.size(); ++i) {
        const plan::PieceRow& mine = document.rows[i].piece;
        const plan::PieceRow& saved = file.document->rows[i].piece;
        QCOMPARE(saved.grade, mine.grade);
        QCOMPARE(saved.joint, mine.joint);
        QCOMPARE(saved.share, mine.share);
        QCOMPARE(saved.lap, mine.lap);
        QCOMPARE(saved.zones, mine.zones);
    }
}

void JointsTest::jointColumnsArePutInAfterTheSchedule_data() {
    QTest::addColumn<QString>("before"); // the list's other columns, '|'-separated
    QTest::addColumn<QString>("after");

    QTest::newRow("a plain list") << ""
                                  << "接头|接头率|搭接长度|禁止接头区";
    QTest::newRow("a grade column and a note") << "级别|备注"
                                               << "级别|接头|接头率|搭接长度|禁止接头区|备注";
    QTest::newRow("a note only") << "备注"
                                 << "接头|接头率|搭接长度|禁止接头区|备注";
    QTest::newRow("a share already") << "总根数|接头率"
                                     << "总根数|接头率|接头|搭接长度|禁止接头区";
}

void JointsTest::jointColumnsArePutInAfterTheSchedule() {
    QFETCH(QString, before);
    QFETCH(QString, after);

    planner::ListTables& tables = window_->tables();
    const QStringList columns = before.split(u'|', Qt::SkipEmptyParts);
    planner::TextTable::Row row{QStringLiteral("KL1"),
                                QStringLiteral("25"),
                                QStringLiteral("15000"),
                                QStringLiteral("4"),
                                QString(),
                                QString()};
    for (const QString& name : columns) {
        row.append(QStringLiteral("「%1」").arg(name));
    }
    tables.setPieceColumns(columns, {row});
    QVERIFY(window_->action(Command::JointColumns)->isEnabled());

    window_->run(Command::JointColumns);
    QCOMPARE(tables.otherColumns().join(u'|'), after);
    QVERIFY(!window_->action(Command::JointColumns)->isEnabled());
    // Each cell stays under its column's name; the new ones are empty.
    for (qsizetype i = 0; i < tables.otherColumns().size(); ++i) {
        const QString& name = tables.otherColumns()[i];
        const QString cell = tables.pieces.text(0, planner::kPieceColumns + static_cast<int>(i));
        QCOMPARE(cell, columns.contains(name) ? QStringLiteral("「%1」").arg(name) : QString());
    }
    // What is typed in the new 接头 column is the row's method.
    const int joint = tables.columnOf(plan::Field::Joint);
    QVERIFY(joint >= planner::kPieceColumns);
    QVERIFY(
        tables.pieces.setData(tables.pieces.index(0, joint), QStringLiteral("对焊"), Qt::EditRole));
    QCOMPARE(planner::toDocument(tables).document->rows.front().piece.joint, std::string("对焊"));

    window_->run(Command::Undo);
    window_->run(Command::Undo);
    QCOMPARE(tables.otherColumns(), columns);
    QCOMPARE(tables.pieces.rows().front(), row);
}

void JointsTest::pastedJointColumnsLandInTheList_data() {
    QTest::addColumn<QString>("columns"); // the list's other columns
    QTest::addColumn<QString>("pasted");  // tab-separated, with its header; rows by ';'
    QTest::addColumn<QString>("cells");   // the first row's other cells after pasting

    QTest::newRow("a method") << "接头|接头率|搭接长度"
                              << "编号\t直径\t长度\t根数\t接头;KL1\t25\t15000\t4\t机械连接"
                              << "机械连接||";
    QTest::newRow("in another order, with a grade")
        << "级别|接头|接头率|搭接长度"
        << "搭接长度\t编号\t接头率\t直径\t长度\t根数\t级别\t接头;"
           "1200\tKL1\t50%\t25\t15000\t4\tHRB400\t绑扎搭接"
        << "HRB400|绑扎搭接|50%|1200";
    QTest::newRow("a note beside them") << "接头|备注"
                                        << "编号\t直径\t长度\t根数\t备注\t接头;"
                                           "KL1\t25\t15000\t4\t二层\t对焊"
                                        << "对焊|二层";
}

void JointsTest::pastedJointColumnsLandInTheList() {
    QFETCH(QString, columns);
    QFETCH(QString, pasted);
    QFETCH(QString, cells);

    planner::ListTables& tables = window_->tables();
    tables.setPieceColumns(columns.split(u'|'), {});
    window_->listView()->setCurrentIndex(tables.pieces.index(0, 0));
    QVERIFY(window_->listView()->paste(pasted.replace(u';', u'\n')));
    QCOMPARE(tables.pieces.dataRows(), 1);
    QCOMPARE(tables.pieces.rows().front().mid(planner::kPieceColumns).join(u'|'), cells);
}

void JointsTest::aSplicedBarIsDrawnToScale_data() {
    QTest::addColumn<int>("method"); // plan::joints::Method
    QTest::addColumn<qint64>("overlap");
    QTest::addColumn<QString>("segments"); // lengths, ','
    QTest::addColumn<int>("layouts");

    QTest::newRow("one lap") << int(Method::Lap) << qint64(1050) << "9000,7050" << 1;
    QTest::newRow("two laps, staggered in two layouts")
        << int(Method::Lap) << qint64(900) << "12000,12000,3800" << 2;
    QTest::newRow("couplers end to end")
        << int(Method::Coupler) << qint64(0) << "9000,9000,4000" << 1;
    QTest::newRow("a butt weld's allowance")
        << int(Method::ButtWeld) << qint64(30) << "12000,6030" << 1;
    QTest::newRow("a double-sided lap weld")
        << int(Method::LapWeldDouble) << qint64(125) << "9000,9125" << 3;
}

void JointsTest::aSplicedBarIsDrawnToScale() {
    QFETCH(int, method);
    QFETCH(qint64, overlap);
    QFETCH(QString, segments);
    QFETCH(int, layouts);

    plan::joints::SplicedBar bar;
    bar.mark = "KL1-1";
    bar.rule.method = static_cast<Method>(method);
    bar.rule.overlap = overlap;
    plan::joints::Layout layout;
    layout.bars = 3;
    std::int64_t start = 0;
    const QStringList lengths = segments.split(u',');
    for (qsizetype k = 0; k < lengths.size(); ++k) {
        const std::int64_t length = lengths[k].toLongLong();
        layout.segments.push_back({"KL1-1/" + std::to_string(k + 1), length});
        if (k + 1 < lengths.size()) {
            layout.joints.push_back(start + length - overlap + overlap / 2);
        }
        start += length - overlap;
    }
    bar.length = start + overlap;
    for (int l = 0; l < layouts; ++l) {
        bar.layouts.push_back(layout);
        bar.layouts.back().bars = l + 2;
    }
    bar.count = 0;
    for (const plan::joints::Layout& l : bar.layouts) {
        bar.count += l.bars;
    }

    plan::Plan plan;
    plan::GroupPlan group;
    group.patterns.push_back({12000, false, 5, {{"A", 6000}}, 6000, true});
    group.spliced.push_back(bar);
    plan.groups.push_back(group);

    const planner::BarMetrics metrics;
    const double width = 900;
    const planner::BarSheet sheet = planner::layoutPlan(plan, width, metrics);
    QCOMPARE(sheet.bars.size(), std::size_t{1});
    QCOMPARE(sheet.splices.size(), static_cast<std::size_t>(layouts));
    const double scale = planner::scaleFor(width, bar.length, metrics);
    for (std::size_t l = 0; l < sheet.splices.size(); ++l) {
        const planner::DrawnSplice& drawn = sheet.splices[l];
        QCOMPARE(drawn.bars, bar.layouts[l].bars);
        QCOMPARE(drawn.layout, l);
        // Below the patterns, each layout on its own row, within the width.
        QVERIFY(drawn.caption.top() >= sheet.bars.back().bar.bottom());
        QVERIFY(drawn.count.right() <= width);
        QVERIFY(qAbs(drawn.bar.width() - static_cast<double>(bar.length) * scale) < 1e-6);

        // The joints where they are along the bar, in proportion.
        QCOMPARE(drawn.joints.size(), layout.joints.size());
        for (std::size_t j = 0; j < layout.joints.size(); ++j) {
            const double along = (drawn.joints[j] - drawn.bar.left()) / drawn.bar.width();
            QVERIFY2(qAbs(along - static_cast<double>(layout.joints[j]) /
                                      static_cast<double>(bar.length)) < 1e-9,
                     qPrintable(QString::number(along)));
        }
        // Every segment with its mark and length, left to right; its own stretches and the
        // overlaps tile the bar without a gap.
        QCOMPARE(drawn.segments.size(), layout.segments.size());
        QCOMPARE(drawn.overlaps.size(), overlap > 0 ? layout.joints.size() : std::size_t{0});
        double x = drawn.bar.left();
        for (std::size_t k = 0; k < drawn.segments.size(); ++k) {
            QCOMPARE(drawn.segments[k].mark, QString::fromStdString(layout.segments[k].mark));
            QCOMPARE(drawn.segments[k].length, layout.segments[k].length);
            QVERIFY(qAbs(drawn.segments[k].rect.left() - x) < 1e-6);
            x = drawn.segments[k].rect.right();
            if (k < drawn.overlaps.size()) {
                QVERIFY(qAbs(drawn.overlaps[k].left() - x) < 1e-6);
                QVERIFY(drawn.joints[k] > drawn.overlaps[k].left() &&
                        drawn.joints[k] < drawn.overlaps[k].right());
                x = drawn.overlaps[k].right();
            }
        }
        QVERIFY(qAbs(x - drawn.bar.right()) < 1e-6);
        QVERIFY(drawn.captionText.contains(QStringLiteral("KL1-1")));
    }
}

void JointsTest::aLongRowIsPlannedAndDrawn_data() {
    QTest::addColumn<QString>("row"); // mark, diameter, length, count, grade, zones
    QTest::addColumn<int>("method");  // plan::joints::Method the settings give it

    QTest::newRow("a lapped beam bar") << "KL1-1,20,15000,4,HRB400," << int(Method::Lap);
    QTest::newRow("a column bar by couplers") << "KZ1-1,25,20000,6,HRB400," << int(Method::Coupler);
    QTest::newRow("a beam bar kept clear of its supports")
        << "KL2-1,20,15000,4,HRB400,0-2000;6500-8500" << int(Method::Lap);
}

void JointsTest::aLongRowIsPlannedAndDrawn() {
    QFETCH(QString, row);
    QFETCH(int, method);

    planner::ListTables& tables = window_->tables();
    const QStringList cells = row.split(u',');
    tables.setPieceColumns(
        {QStringLiteral("级别"), QStringLiteral("禁止接头区")},
        {cells.mid(0, 4) + QStringList{QString(), QString(), cells[4], cells[5]}});
    tables.settings.writeBlock(0, planner::kSeconds, {{QStringLiteral("2")}});
    window_->resize(1280, 800);
    window_->show();
    QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
    window_->run(Command::Optimise);
    QVERIFY2(script_.informed.isEmpty(), qPrintable(script_.informed.join(u'\n')));
    QTRY_VERIFY_WITH_TIMEOUT(!window_->optimising(), 60000);
    QVERIFY(window_->sheet().has_value());

    const plan::Plan& plan = window_->sheet()->plan;
    QCOMPARE(plan.groups.size(), std::size_t{1});
    const plan::GroupPlan& group = plan.groups.front();
    QCOMPARE(group.spliced.size(), std::size_t{1});
    QCOMPARE(int(group.spliced.front().rule.method), method);
    // Every segment drawn is a cut of the patterns, and every bar of the row is drawn.
    QStringList cuts;
    for (const plan::Pattern& pattern : group.patterns) {
        for (const plan::Cut& cut : pattern.cuts) {
            cuts.append(QString::fromStdString(cut.mark));
        }
    }
    const planner::BarSheet& sheet = window_->results()->drawing()->sheet();
    QCOMPARE(sheet.splices.size(), group.spliced.front().layouts.size());
    std::int64_t bars = 0;
    const std::size_t zones = cells[5].isEmpty() ? 0 : cells[5].count(u';') + 1;
    for (const planner::DrawnSplice& splice : sheet.splices) {
        bars += splice.bars;
        QVERIFY(!splice.joints.empty());
        // The zones hatched where the row puts them, and no joint's centre inside one.
        QCOMPARE(splice.zones.size(), zones);
        QCOMPARE(splice.captionText.contains(QStringLiteral("禁止接头区")), zones > 0);
        for (const QRectF& zone : splice.zones) {
            QVERIFY(zone.left() >= splice.bar.left() - 1e-6 &&
                    zone.right() <= splice.bar.right() + 1e-6);
            for (const double x : splice.joints) {
                QVERIFY2(x <= zone.left() || x >= zone.right(), qPrintable(QString::number(x)));
            }
        }
        for (const planner::DrawnCut& segment : splice.segments) {
            QVERIFY2(cuts.contains(segment.mark), qPrintable(segment.mark));
        }
    }
    QCOMPARE(bars, cells[3].toLongLong());
    const auto* joints = window_->results()->findChild<QLabel*>(QStringLiteral("joints"));
    QVERIFY(joints != nullptr && !joints->isHidden());
    QVERIFY2(joints->text().contains(QStringLiteral("接头 %1 个").arg(group.joints)),
             qPrintable(joints->text()));
}

QTEST_MAIN(JointsTest)
#include "joints_test.moc"
