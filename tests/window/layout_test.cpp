#include "window/form1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using window::Form1;

namespace {

// The window as the user must see it, in pixels at 96 dpi; written out here on its own so
// that a slip in the window's control table shows up as a difference.
struct Expected {
    const char* name;
    const char* className;
    const char* parent;
    const char16_t* caption;
    QRect geometry;
    int tabIndex;
};

// clang-format off
const Expected kExpected[] = {
    {"Frame1", "QGroupBox", "Form1", u"直钢筋(弯钩)", {8, 8, 441, 105}, 0},
    {"Frame2", "QGroupBox", "Form1", u"弯起钢筋", {8, 114, 441, 115}, 1},
    {"Frame3", "QGroupBox", "Form1", u"箍筋", {8, 232, 441, 121}, 2},
    {"Command1", "QPushButton", "Form1", u"计算", {8, 360, 73, 33}, 3},
    {"Command2", "QPushButton", "Form1", u"初始化", {128, 360, 73, 33}, 7},
    {"Command3", "QPushButton", "Form1", u"退出", {248, 360, 81, 33}, 8},
    {"Command4", "QPushButton", "Form1", u"关于", {376, 360, 73, 33}, 9},
    {"Check1", "QCheckBox", "Frame1", u"选择", {88, 0, 49, 17}, 4},
    {"Label1", "QLabel", "Frame1", u"构建长度：", {8, 24, 65, 17}, 10},
    {"Text1", "QLineEdit", "Frame1", u"", {70, 22, 63, 18}, 11},
    {"Label2", "QLabel", "Frame1", u"保护层：", {154, 24, 49, 19}, 12},
    {"Text2", "QLineEdit", "Frame1", u"", {206, 22, 63, 18}, 13},
    {"Label5", "QLabel", "Frame1", u"伸长值：", {280, 24, 49, 21}, 19},
    {"Text5", "QLineEdit", "Form1", u"", {342, 28, 71, 19}, 21},
    {"Combo2", "QComboBox", "Form1", u"Combo2", {342, 28, 71, 20}, 20},
    {"Label3", "QLabel", "Frame1", u"弯钩长度：", {8, 50, 69, 15}, 14},
    {"Text3", "QLineEdit", "Frame1", u"", {70, 48, 63, 21}, 16},
    {"Combo1", "QComboBox", "Frame1", u"Combo1", {70, 48, 63, 20}, 15},
    {"Label4", "QLabel", "Frame1", u"直径(D)：", {148, 52, 55, 15}, 17},
    {"Text4", "QLineEdit", "Frame1", u"", {206, 50, 65, 19}, 18},
    {"Label6", "QLabel", "Frame1", u"结果：", {292, 54, 37, 15}, 22},
    {"Text6", "QLineEdit", "Frame1", u"", {334, 48, 73, 21}, 23},
    {"Check2", "QCheckBox", "Form1", u"选择", {96, 120, 57, 17}, 5},
    {"Label7", "QLabel", "Frame2", u"直段长：", {36, 28, 49, 15}, 24},
    {"Text7", "QLineEdit", "Frame2", u"", {86, 24, 65, 21}, 25},
    {"Label8", "QLabel", "Frame2", u"弯起直段长：", {156, 26, 73, 17}, 26},
    {"Text8", "QLineEdit", "Frame2", u"", {228, 22, 69, 21}, 27},
    {"Label11", "QLabel", "Frame2", u"弯钩长度：", {302, 26, 61, 15}, 31},
    {"Text11", "QLineEdit", "Frame2", u"", {364, 22, 73, 21}, 33},
    {"Combo3", "QComboBox", "Frame2", u"Combo3", {364, 22, 75, 20}, 32},
    {"Label9", "QLabel", "Frame2", u"斜段长度：", {24, 58, 61, 19}, 28},
    {"Text9", "QLineEdit", "Frame2", u"", {86, 52, 67, 21}, 45},
    {"Combo6", "QComboBox", "Frame2", u"Combo6", {88, 52, 65, 20}, 44},
    {"Text16", "QLineEdit", "Frame2", u"", {154, 52, 27, 23}, 46},
    {"Label10", "QLabel", "Frame2", u"保护层：", {180, 56, 49, 15}, 29},
    {"Text10", "QLineEdit", "Frame2", u"", {228, 50, 71, 21}, 30},
    {"Label12", "QLabel", "Frame2", u"伸长值：", {314, 56, 49, 13}, 34},
    {"Text12", "QLineEdit", "Frame2", u"", {364, 52, 75, 21}, 36},
    {"Combo4", "QComboBox", "Frame2", u"Combo4", {364, 52, 77, 20}, 35},
    {"Label13", "QLabel", "Frame2", u"减断长度：", {22, 84, 63, 23}, 37},
    {"Text13", "QLineEdit", "Frame2", u"", {86, 80, 67, 20}, 39},
    {"Combo5", "QComboBox", "Frame2", u"Combo5", {86, 80, 67, 20}, 38},
    {"Label14", "QLabel", "Frame2", u"直径(D)：", {174, 80, 55, 17}, 40},
    {"Text14", "QLineEdit", "Frame2", u"", {228, 78, 73, 21}, 41},
    {"Label15", "QLabel", "Frame2", u"结果：", {326, 82, 37, 13}, 42},
    {"Text15", "QLineEdit", "Frame2", u"", {366, 78, 71, 21}, 43},
    {"Check3", "QCheckBox", "Frame3", u"选择", {88, 0, 49, 17}, 6},
    {"Label16", "QLabel", "Frame3", u"长：", {16, 28, 31, 15}, 47},
    {"Text17", "QLineEdit", "Frame3", u"", {44, 26, 63, 21}, 48},
    {"Label18", "QLabel", "Frame3", u"弯钩增长度：", {116, 30, 75, 19}, 51},
    {"Text19", "QLineEdit", "Frame3", u"", {188, 26, 67, 23}, 52},
    {"Label22", "QLabel", "Frame3", u"结果：", {262, 20, 43, 13}, 58},
    {"Text23", "QLineEdit", "Frame3", u"", {300, 16, 61, 19}, 59},
    {"Label23", "QLabel", "Frame3", u"个数：", {366, 16, 39, 17}, 63},
    {"Text24", "QLineEdit", "Frame3", u"", {400, 12, 37, 21}, 64},
    {"Label17", "QLabel", "Frame3", u"宽：", {14, 62, 25, 13}, 49},
    {"Text18", "QLineEdit", "Frame3", u"", {44, 58, 63, 21}, 50},
    {"Label19", "QLabel", "Frame3", u"弯曲伸长值：", {116, 60, 73, 23}, 53},
    {"Text20", "QLineEdit", "Frame3", u"", {188, 56, 73, 21}, 62},
    {"Combo7", "QComboBox", "Frame3", u"Combo7", {188, 56, 73, 20}, 61},
    {"Label20", "QLabel", "Frame3", u"主筋长度：", {12, 94, 65, 19}, 54},
    {"Text21", "QLineEdit", "Frame3", u"", {72, 90, 55, 21}, 55},
    {"Label21", "QLabel", "Frame3", u"箍筋间距：", {138, 92, 65, 21}, 56},
    {"Text22", "QLineEdit", "Frame3", u"", {200, 90, 65, 21}, 57},
    {"Picture1", "window::ReferenceTable", "Frame3", u"", {268, 42, 167, 73}, 60},
};
// clang-format on

QString captionOf(const QWidget* w) {
    if (const auto* box = qobject_cast<const QGroupBox*>(w)) {
        return box->title();
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(w)) {
        return button->text();
    }
    if (const auto* label = qobject_cast<const QLabel*>(w)) {
        return label->text();
    }
    if (const auto* edit = qobject_cast<const QLineEdit*>(w)) {
        return edit->text();
    }
    if (const auto* combo = qobject_cast<const QComboBox*>(w)) {
        return combo->currentText();
    }
    return {};
}

// The control of the table that holds `w`: a combo box for its own edit field.
QString controlName(const QWidget* w) {
    while (w != nullptr && w->objectName().isEmpty()) {
        w = w->parentWidget();
    }
    if (w != nullptr && qobject_cast<const QComboBox*>(w->parentWidget()) != nullptr) {
        w = w->parentWidget();
    }
    return w == nullptr ? QString{} : w->objectName();
}

} // namespace

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void init() { form_ = std::make_unique<Form1>(); }
    void cleanup() { form_.reset(); }

    void fixedWindowWithItsCaption();
    void everyControl_data();
    void everyControl();
    void nothingBeyondTheTable();
    void stackingOfTheWindowsChildren();
    void labelsLieUnderEverything();
    void eachTextBoxCoversItsComboBox_data();
    void eachTextBoxCoversItsComboBox();
    void labelsAreBuddiesOfTheirFields();
    void tabFollowsTheTabIndex();
    void startState();
    void noDefaultButton();

private:
    std::unique_ptr<Form1> form_;
};

void LayoutTest::fixedWindowWithItsCaption() {
    QCOMPARE(form_->objectName(), QStringLiteral("Form1"));
    QCOMPARE(form_->windowTitle(), QStringLiteral("衡尺   (mm)"));
    QCOMPARE(form_->size(), QSize(460, 401));
    QCOMPARE(form_->minimumSize(), QSize(460, 401));
    QCOMPARE(form_->maximumSize(), QSize(460, 401));
    const Qt::WindowFlags flags = form_->windowFlags();
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(!form_->windowIcon().isNull());
    QCOMPARE(form_->windowIcon().availableSizes().size(), 5);
}

void LayoutTest::everyControl_data() {
    QTest::addColumn<int>("row");
    for (int i = 0; i < static_cast<int>(std::size(kExpected)); ++i) {
        QTest::newRow(kExpected[i].name) << i;
    }
}

void LayoutTest::everyControl() {
    QFETCH(int, row);
    const Expected& e = kExpected[row];
    const auto* w = form_->findChild<QWidget*>(QString::fromLatin1(e.name));
    QVERIFY(w != nullptr);
    QCOMPARE(w->metaObject()->className(), e.className);
    QCOMPARE(w->parentWidget()->objectName(), QString::fromLatin1(e.parent));
    QCOMPARE(captionOf(w), QString::fromUtf16(e.caption));
    if (qobject_cast<const QLabel*>(w) != nullptr) {
        // A label may reach further down than the table has it, where its font needs the room
        // (caption_test sees that no caption is cut); it keeps its place and width.
        QCOMPARE(w->pos(), e.geometry.topLeft());
        QCOMPARE(w->width(), e.geometry.width());
        QVERIFY(w->height() >= e.geometry.height());
    } else {
        QCOMPARE(w->geometry(), e.geometry);
    }
    QVERIFY(w->isVisibleTo(form_.get()));
    QVERIFY(w->isEnabled());
    const bool focusable =
        qobject_cast<const QLabel*>(w) == nullptr && qobject_cast<const QGroupBox*>(w) == nullptr;
    QCOMPARE((w->focusPolicy() & Qt::TabFocus) != 0, focusable);
}

void LayoutTest::nothingBeyondTheTable() {
    QStringList named;
    for (const QWidget* w : form_->findChildren<QWidget*>()) {
        // A combo box's own edit field and list belong to it.
        if (!w->objectName().isEmpty() && w->objectName() != controlName(w->parentWidget()) &&
            !w->objectName().startsWith(QLatin1String("qt_"))) {
            named << w->objectName();
        }
    }
    named.removeDuplicates();
    QCOMPARE(named.size(), static_cast<qsizetype>(std::size(kExpected)));
}

void LayoutTest::stackingOfTheWindowsChildren() {
    QStringList bottomToTop;
    for (const QObject* child : form_->children()) {
        if (child->isWidgetType()) {
            bottomToTop << child->objectName();
        }
    }
    const QStringList expected{"Frame1",   "Frame2",   "Frame3",   "Command1", "Check2",
                               "Command2", "Command3", "Command4", "Combo2",   "Text5"};
    QCOMPARE(bottomToTop, expected);

    // What the stacking shows: the window's own controls stand over the group boxes.
    for (const char* name : {"Text5", "Check2"}) {
        const auto* w = form_->findChild<QWidget*>(QString::fromLatin1(name));
        QCOMPARE(controlName(form_->childAt(w->geometry().center())), QString::fromLatin1(name));
    }
}

void LayoutTest::labelsLieUnderEverything() {
    for (const char* frame : {"Frame1", "Frame2", "Frame3"}) {
        const auto* box = form_->findChild<QGroupBox*>(QString::fromLatin1(frame));
        bool pastTheLabels = false;
        for (const QObject* child : box->children()) {
            if (!child->isWidgetType()) {
                continue;
            }
            const bool label = qobject_cast<const QLabel*>(child) != nullptr;
            QVERIFY2(!(label && pastTheLabels), qPrintable(child->objectName()));
            pastTheLabels = pastTheLabels || !label;
        }
        QVERIFY(pastTheLabels);
    }
}

void LayoutTest::eachTextBoxCoversItsComboBox_data() {
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("combo");
    QTest::addColumn<QPoint>("strip"); // a pixel of the combo box left showing, in the window
    QTest::newRow("Text3") << "Text3"
                           << "Combo1" << QPoint();
    QTest::newRow("Text5") << "Text5"
                           << "Combo2" << QPoint(360, 47);
    QTest::newRow("Text11") << "Text11"
                            << "Combo3" << QPoint(446, 140);
    QTest::newRow("Text12") << "Text12"
                            << "Combo4" << QPoint(447, 170);
    QTest::newRow("Text13") << "Text13"
                            << "Combo5" << QPoint();
    QTest::newRow("Text9") << "Text9"
                           << "Combo6" << QPoint();
    QTest::newRow("Text20") << "Text20"
                            << "Combo7" << QPoint();
}

void LayoutTest::eachTextBoxCoversItsComboBox() {
    QFETCH(QString, field);
    QFETCH(QString, combo);
    QFETCH(QPoint, strip);
    const auto* edit = form_->findChild<QLineEdit*>(field);
    const auto* box = form_->findChild<QComboBox*>(combo);
    QCOMPARE(edit->parentWidget(), box->parentWidget());
    const QRect inWindow(edit->mapTo(form_.get(), QPoint()), edit->size());
    QCOMPARE(controlName(form_->childAt(inWindow.center())), field);
    QCOMPARE(controlName(form_->childAt(inWindow.topLeft() + QPoint(2, 2))), field);
    if (!strip.isNull()) {
        QCOMPARE(controlName(form_->childAt(strip)), combo);
    }
}

void LayoutTest::labelsAreBuddiesOfTheirFields() {
    int labels = 0;
    for (const QLabel* label : form_->findChildren<QLabel*>()) {
        if (!label->objectName().startsWith(QLatin1String("Label"))) {
            continue;
        }
        ++labels;
        QVERIFY2(label->buddy() != nullptr, qPrintable(label->objectName()));
        // The label stands left of its field on the same row.
        QVERIFY(label->geometry().left() < label->buddy()->geometry().left());
        QVERIFY(qAbs(label->geometry().center().y() - label->buddy()->geometry().center().y()) <
                12);
        QCOMPARE(label->buddy()->accessibleName() + QStringLiteral("："), label->text());
    }
    QCOMPARE(labels, 23);
    QCOMPARE(form_->findChild<QLineEdit*>(QStringLiteral("Text16"))->accessibleName(),
             QStringLiteral("斜段长度（第二栏）"));
}

void LayoutTest::tabFollowsTheTabIndex() {
    std::vector<const Expected*> focusable;
    for (const Expected& e : kExpected) {
        if (QLatin1String(e.className) != QLatin1String("QLabel") &&
            QLatin1String(e.className) != QLatin1String("QGroupBox")) {
            focusable.push_back(&e);
        }
    }
    std::ranges::sort(focusable, {}, &Expected::tabIndex);
    QStringList expected;
    for (const Expected* e : focusable) {
        expected << QString::fromLatin1(e->name);
    }

    form_->show();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QCOMPARE(controlName(QApplication::focusWidget()), expected.front());
    QStringList visited{controlName(QApplication::focusWidget())};
    for (qsizetype i = 1; i <= expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << controlName(QApplication::focusWidget());
    }
    expected << expected.front(); // and round again
    QCOMPARE(visited, expected);
}

void LayoutTest::startState() {
    for (int n = 1; n <= 24; ++n) {
        const auto* edit = form_->findChild<QLineEdit*>(QStringLiteral("Text%1").arg(n));
        QVERIFY(edit != nullptr);
        QVERIFY(edit->text().isEmpty());
        QVERIFY(!edit->isReadOnly());
        QCOMPARE(edit->maxLength(), 32767); // Qt's largest: no limit of the program's own
    }
    QVERIFY(form_->findChild<QCheckBox*>(QStringLiteral("Check1"))->isChecked());
    QVERIFY(!form_->findChild<QCheckBox*>(QStringLiteral("Check2"))->isChecked());
    QVERIFY(!form_->findChild<QCheckBox*>(QStringLiteral("Check3"))->isChecked());
    for (int n = 1; n <= 7; ++n) {
        const auto* combo = form_->findChild<QComboBox*>(QStringLiteral("Combo%1").arg(n));
        QVERIFY(combo->isEditable());
        QCOMPARE(combo->currentText(), combo->objectName());
        QCOMPARE(combo->currentIndex(), -1);
    }
}

void LayoutTest::noDefaultButton() {
    for (const QPushButton* button : form_->findChildren<QPushButton*>()) {
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
    }
}

QTEST_MAIN(LayoutTest)
#include "layout_test.moc"
