#include "calc/field_store.h"
#include "planner/actions.h"
#include "planner/list_tables.h"
#include "planner/planner_window.h"
#include "planner/shape_dialog.h"
#include "planner/shape_fields.h"
#include "planner/shape_form.h"
#include "planner/table_view.h"
#include "window/appearance.h"
#include "window/pickers.h"
#include "window/utf8.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QtTest>

#include "fake_dialogs.h"
#include "recording_messenger.h"
#include "table_text.h"

using formats::Shape;
using Texts = QMap<QString, QString>;

Q_DECLARE_METATYPE(Shape)
Q_DECLARE_METATYPE(Texts)

// The shape dialog computes a row's length with the calculator's own functions: the same
// numbers, the same lists of coefficients, the same messages; the row keeps what was typed.
class ShapeTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { appearance_ = std::make_unique<window::Appearance>(); }
    void cleanupTestCase() { appearance_.reset(); }
    void init() { shown_.clear(); }

    void lengthsAreTheCalculators_data();
    void lengthsAreTheCalculators();
    void faultsAreTheCalculatorsMessages_data();
    void faultsAreTheCalculatorsMessages();
    void coefficientListsAreTheCalculators();
    void fieldsCarryTheCalculatorsLabels_data();
    void fieldsCarryTheCalculatorsLabels();
    void theRowKeepsItsParameters();
    void theRowsDiameterIsOffered();
    void theWindowFillsTheRowInOneStep();
    void doubleClickingTheShapeCellOpensTheDialog();

private:
    static void fill(planner::ShapeDialog& dialog, const Texts& texts);

    std::unique_ptr<window::Appearance> appearance_;
    QList<RecordingMessenger::Shown> shown_;
};

void ShapeTest::fill(planner::ShapeDialog& dialog, const Texts& texts) {
    for (auto it = texts.begin(); it != texts.end(); ++it) {
        auto* field = dialog.findChild<QLineEdit*>(it.key());
        QVERIFY2(field != nullptr, qPrintable(it.key()));
        field->setText(it.value());
    }
}

namespace {

const Texts kStraight{
    {"Text1", "900"}, {"Text2", "25"}, {"Text3", "6.25"}, {"Text4", "10"}, {"Text5", "1.5"}};
const Texts kBentUp{{"Text7", "200"},  {"Text8", "50"},   {"Text9", "1.41"},
                    {"Text10", "25"},  {"Text16", "100"}, {"Text11", "6.25"},
                    {"Text12", "1.5"}, {"Text13", "0.5"}, {"Text14", "10"}};
const Texts kStirrup{{"Text17", "250"},  {"Text18", "150"}, {"Text19", "75"},
                     {"Text20", "1.25"}, {"Text21", "900"}, {"Text22", "150"}};

Texts with(Texts texts, const Texts& changes) {
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        texts.insert(it.key(), it.value());
    }
    return texts;
}

// What the calculator itself writes for these texts, run on a plain store of fields.
QString calculatorsLength(Shape shape, const Texts& texts) {
    calc::FieldStore::Texts store;
    for (auto it = texts.begin(); it != texts.end(); ++it) {
        store.emplace(it.key().toStdString(), it.value().toStdString());
    }
    calc::FieldStore fields(store);
    static_cast<void>(planner::calculateShape(shape, fields));
    return QString::fromStdString(fields.read(planner::lengthField(shape)));
}

} // namespace

void ShapeTest::lengthsAreTheCalculators_data() {
    QTest::addColumn<Shape>("shape");
    QTest::addColumn<Texts>("texts");
    QTest::addColumn<QString>("length");

    QTest::newRow("straight bar") << Shape::Straight << kStraight << "945";
    QTest::newRow("straight bar, hook 4.87")
        << Shape::Straight << with(kStraight, {{"Text3", "4.87"}}) << "917.4";
    QTest::newRow("straight bar, shorter than its covers")
        << Shape::Straight
        << Texts{{"Text1", "100"}, {"Text2", "60"}, {"Text3", "0"}, {"Text4", "10"}, {"Text5", "0"}}
        << "-20";
    QTest::newRow("straight bar, blanks around a number")
        << Shape::Straight << with(kStraight, {{"Text1", " 900 "}}) << "945";
    QTest::newRow("bent-up bar") << Shape::BentUp << kBentUp << "657";
    QTest::newRow("bent-up bar, slant 1.15 and deduction 0.85")
        << Shape::BentUp << with(kBentUp, {{"Text9", "1.15"}, {"Text13", "0.85"}}) << "591";
    QTest::newRow("bent-up bar, a cover that is no number still counts as filled")
        << Shape::BentUp << with(kBentUp, {{"Text10", "无"}}) << "657";
    QTest::newRow("stirrup") << Shape::Stirrup << kStirrup << "917";
}

void ShapeTest::lengthsAreTheCalculators() {
    QFETCH(Shape, shape);
    QFETCH(Texts, texts);
    QFETCH(QString, length);

    RecordingMessenger messenger(shown_);
    planner::ShapeDialog dialog({Shape::None, {}, QStringLiteral("1"), QStringLiteral("12")},
                                messenger);
    dialog.setShape(shape);
    fill(dialog, texts);
    dialog.accept();

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(shown_.isEmpty());
    QCOMPARE(dialog.row().length, length);
    QCOMPARE(dialog.row().length, calculatorsLength(shape, texts));
    QCOMPARE(dialog.row().shape, shape);
    QCOMPARE(dialog.row().diameter, QStringLiteral("12")); // the row's own is kept
}

void ShapeTest::faultsAreTheCalculatorsMessages_data() {
    QTest::addColumn<Shape>("shape");
    QTest::addColumn<Texts>("texts");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("selected"); // the field the fault is in

    QTest::newRow("a length that is no number")
        << Shape::Straight << with(kStraight, {{"Text1", "abc"}})
        << "“构建长度”中的内容不是有效的数字。"
        << "Text1";
    QTest::newRow("a field holding one blank")
        << Shape::Straight << with(kStraight, {{"Text4", " "}})
        << "“直径(D)”中的内容不是有效的数字。"
        << "Text4";
    QTest::newRow("a number too large for a single")
        << Shape::Straight << with(kStraight, {{"Text1", "1e39"}})
        << "“构建长度”中的数值太大，超出了单精度数的范围。"
        << "Text1";
    QTest::newRow("an empty field")
        << Shape::Straight << with(kStraight, {{"Text4", ""}}) << "直钢筋参数未填写完成。"
        << "";
    QTest::newRow("the bent-up bar's cover left empty")
        << Shape::BentUp << with(kBentUp, {{"Text10", ""}}) << "弯起钢筋参数未填写完成。"
        << "";
    QTest::newRow("a spacing of 0")
        << Shape::Stirrup << with(kStirrup, {{"Text22", "0"}}) << "“箍筋间距”为 0，除数不能为零。"
        << "Text22";
    QTest::newRow("the second slant field no number")
        << Shape::BentUp << with(kBentUp, {{"Text16", "x"}})
        << "“斜段长度（第二栏）”中的内容不是有效的数字。"
        << "Text16";
}

void ShapeTest::faultsAreTheCalculatorsMessages() {
    QFETCH(Shape, shape);
    QFETCH(Texts, texts);
    QFETCH(QString, message);
    QFETCH(QString, selected);

    RecordingMessenger messenger(shown_);
    planner::ShapeDialog dialog({}, messenger);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    dialog.setShape(shape);
    fill(dialog, texts);
    dialog.accept();

    QCOMPARE(dialog.result(), int(QDialog::Rejected)); // 确定 refused: nothing computed
    QCOMPARE(shown_.size(), 1);
    QCOMPARE(shown_.front().title, QStringLiteral("澄川工作室"));
    QCOMPARE(shown_.front().prompt, message);
    if (!selected.isEmpty()) {
        auto* field = dialog.findChild<QLineEdit*>(selected);
        QTRY_VERIFY(field->hasFocus());
        QCOMPARE(field->selectedText(), field->text());
    }
}

void ShapeTest::coefficientListsAreTheCalculators() {
    RecordingMessenger messenger(shown_);
    planner::ShapeDialog dialog({}, messenger);
    int found = 0;
    for (const window::Picker& picker : window::pickerTable()) {
        auto* field = dialog.findChild<QLineEdit*>(window::fromUtf8(picker.field));
        QVERIFY2(field != nullptr, picker.field.data());
        auto* combo = qobject_cast<QComboBox*>(field->parentWidget());
        QVERIFY2(combo != nullptr, picker.field.data());
        QCOMPARE(combo->count(), static_cast<int>(picker.items.size()));
        for (int i = 0; i < combo->count(); ++i) {
            QCOMPARE(combo->itemText(i),
                     window::fromUtf8(picker.items[static_cast<std::size_t>(i)]));
            // A pick copies the item as it stands: "0.50" keeps its zero.
            combo->setCurrentIndex(i);
            QCOMPARE(field->text(), combo->itemText(i));
        }
        ++found;
    }
    QCOMPARE(found, 7);
}

void ShapeTest::fieldsCarryTheCalculatorsLabels_data() {
    QTest::addColumn<Shape>("shape");
    QTest::addColumn<QStringList>("labels");

    QTest::newRow("straight bar") << Shape::Straight
                                  << QStringList{"构建长度", "保护层", "弯钩长度",
                                                 "直径(D)",  "伸长值", "结果"};
    QTest::newRow("bent-up bar") << Shape::BentUp
                                 << QStringList{"直段长",   "弯起直段长", "斜段长度",
                                                "保护层",   "弯钩长度",   "伸长值",
                                                "减断长度", "直径(D)",    "结果"};
    QTest::newRow("stirrup") << Shape::Stirrup
                             << QStringList{"长",       "宽",       "弯钩增长度", "弯曲伸长值",
                                            "主筋长度", "箍筋间距", "结果",       "个数"};
}

void ShapeTest::fieldsCarryTheCalculatorsLabels() {
    QFETCH(Shape, shape);
    QFETCH(QStringList, labels);

    RecordingMessenger messenger(shown_);
    planner::ShapeForm form(shape, messenger);
    QStringList shown;
    for (const QLabel* label : form.findChildren<QLabel*>()) {
        shown.append(label->text().chopped(1)); // without the colon
    }
    QCOMPARE(shown, labels);
}

void ShapeTest::theRowKeepsItsParameters() {
    RecordingMessenger messenger(shown_);
    planner::ShapeDialog first({}, messenger);
    first.setShape(Shape::BentUp);
    fill(first, with(kBentUp, {{"Text13", "0.50"}}));
    first.accept();
    const planner::ShapeRow row = first.row();
    QCOMPARE(
        row.parameters,
        QStringLiteral("直段长=200;弯起直段长=50;斜段长度=1.41;保护层=25;斜段长度（第二栏）=100;"
                       "弯钩长度=6.25;伸长值=1.5;减断长度=0.50;直径(D)=10"));

    // Opened again on that row, it shows the same texts and computes the same length.
    planner::ShapeDialog again(row, messenger);
    QCOMPARE(again.shape(), Shape::BentUp);
    QCOMPARE(again.findChild<QLineEdit*>(QStringLiteral("Text13"))->text(), QStringLiteral("0.50"));
    again.accept();
    QCOMPARE(again.row().length, row.length);
    QCOMPARE(again.row().parameters, row.parameters);
}

void ShapeTest::theRowsDiameterIsOffered() {
    RecordingMessenger messenger(shown_);
    planner::ShapeDialog dialog({Shape::None, {}, {}, QStringLiteral("Φ12")}, messenger);
    QCOMPARE(dialog.shape(), Shape::Straight); // a row without a shape opens on the first
    QCOMPARE(dialog.findChild<QLineEdit*>(QStringLiteral("Text4"))->text(), QStringLiteral("Φ12"));

    // A row without a diameter takes the one typed for the calculation.
    planner::ShapeDialog bare({}, messenger);
    fill(bare, kStraight);
    bare.accept();
    QCOMPARE(bare.row().diameter, QStringLiteral("10"));
}

void ShapeTest::theWindowFillsTheRowInOneStep() {
    QTemporaryDir dir;
    FakeDialogs::Script script;
    const auto window = makeWindow(script, dir);
    planner::TextTable& pieces = window->tables().pieces;
    pieces.replaceAll(rowsFrom(QStringLiteral("L1,,6000,4;L2,12,3000,2"), planner::kPieceColumns));
    window->undoStack().clear();
    window->listView()->setCurrentIndex(pieces.index(0, 0));

    script.shape = planner::ShapeRow{Shape::Straight, QStringLiteral("构建长度=900"),
                                     QStringLiteral("945"), QStringLiteral("10")};
    window->run(planner::Command::Shape);

    QCOMPARE(script.shapeAsked.length, QStringLiteral("6000"));
    QCOMPARE(textOf(pieces, planner::kPieceColumns),
             QStringLiteral("L1,10,945,4,直钢筋(弯钩),构建长度=900;L2,12,3000,2,,"));
    QCOMPARE(window->undoStack().count(), 1);
    window->run(planner::Command::Undo);
    QCOMPARE(textOf(pieces, planner::kPieceColumns), QStringLiteral("L1,,6000,4,,;L2,12,3000,2,,"));

    // Cancelled, it changes nothing.
    script.shape.reset();
    window->run(planner::Command::Shape);
    QCOMPARE(window->undoStack().count(), 1);
    QVERIFY(window->undoStack().canRedo());
}

void ShapeTest::doubleClickingTheShapeCellOpensTheDialog() {
    QTemporaryDir dir;
    FakeDialogs::Script script;
    const auto window = makeWindow(script, dir);
    window->tables().pieces.replaceAll(
        rowsFrom(QStringLiteral("GJ1,8,1560,120,箍筋"), planner::kPieceColumns));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    planner::TableView* view = window->listView();
    const QRect cell = view->visualRect(view->model()->index(0, planner::kShape));
    // The whole sequence a real mouse sends: press, release, press with the double-click, release.
    QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {},
                       view->viewport()->mapTo(window.get(), cell.center()));
    QCOMPARE(script.shapeAsked.shape, Shape::Stirrup);
    QCOMPARE(script.shapeAsked.length, QStringLiteral("1560"));
}

QTEST_MAIN(ShapeTest)
#include "shape_test.moc"
