#include "window/form1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QtTest>

#include "recording_messenger.h"

using window::Form1;
using Fields = QMap<QString, QString>;

class BehaviourTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void tickingOneClearsTheOthers_data();
    void tickingOneClearsTheOthers();
    void calculate_data();
    void calculate();
    void faultsAreReportedAndTheProgramGoesOn_data();
    void faultsAreReportedAndTheProgramGoesOn();
    void doubleClickOpensTheListAndAPickFillsTheField_data();
    void doubleClickOpensTheListAndAPickFillsTheField();
    void pickingTheSameItemAgainRestoresIt();
    void keyboardMovesInAListCopyToo();
    void keysOpenTheListAndEnterPicks_data();
    void keysOpenTheListAndEnterPicks();
    void escClosesTheListAndChangesNothing_data();
    void escClosesTheListAndChangesNothing();
    void otherKeysOpenNoList_data();
    void otherKeysOpenNoList();
    void fieldsWithAListSayHowToOpenIt();
    void doubleClickOnAFieldWithoutAListOpensNothing();
    void listsAreFilledAtLoad();
    void clearEmptiesEveryFieldAndNothingElse();
    void aboutShowsTheMakers();
    void exitEndsTheProgram();
    void closingTheWindowEndsTheProgram();
    void enterAndEscStartNothing_data();
    void enterAndEscStartNothing();

private:
    template <typename T>
    T* control(const QString& name) const {
        T* const found = form_->findChild<T*>(name);
        if (found == nullptr) {
            qFatal("no control %s", qPrintable(name));
        }
        return found;
    }
    QLineEdit* field(const QString& name) const { return control<QLineEdit>(name); }
    void fill(const Fields& fields) const;
    Fields allFields() const;
    void tick(const QString& box) const;
    void click(const QString& button) const;
    void doubleClick(const QString& name) const;
    void press(int key, int modifiers = Qt::NoModifier) const;
    void openByKeys(const QString& fieldName, const QString& comboName, int key,
                    int modifiers) const;

    std::unique_ptr<Form1> form_;
    QList<RecordingMessenger::Shown> shown_;
};

namespace {

const QString kTitle = QStringLiteral("澄川工作室");

const Fields kStraightBar{
    {"Text1", "900"}, {"Text2", "25"}, {"Text3", "6.25"}, {"Text4", "10"}, {"Text5", "1.5"}};
const Fields kBentUpBar{{"Text7", "200"},  {"Text8", "50"},   {"Text9", "1.41"},
                        {"Text10", "25"},  {"Text16", "100"}, {"Text11", "6.25"},
                        {"Text12", "1.5"}, {"Text13", "0.5"}, {"Text14", "10"}};
const Fields kStirrup{{"Text17", "250"},  {"Text18", "150"}, {"Text19", "75"},
                      {"Text20", "1.25"}, {"Text21", "900"}, {"Text22", "150"}};

Fields merged(Fields base, const Fields& changes) {
    for (auto it = changes.begin(); it != changes.end(); ++it) {
        base.insert(it.key(), it.value());
    }
    return base;
}

} // namespace

void BehaviourTest::init() {
    shown_.clear();
    form_ = std::make_unique<Form1>(std::make_unique<RecordingMessenger>(shown_));
    form_->show();
    QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

void BehaviourTest::cleanup() {
    form_.reset();
}

void BehaviourTest::fill(const Fields& fields) const {
    for (auto it = fields.begin(); it != fields.end(); ++it) {
        field(it.key())->setText(it.value());
    }
}

Fields BehaviourTest::allFields() const {
    Fields all;
    for (int n = 1; n <= 24; ++n) {
        const QString name = QStringLiteral("Text%1").arg(n);
        all.insert(name, field(name)->text());
    }
    return all;
}

void BehaviourTest::tick(const QString& box) const {
    QTest::mouseClick(control<QCheckBox>(box), Qt::LeftButton, {}, QPoint(6, 8));
}

void BehaviourTest::click(const QString& button) const {
    QTest::mouseClick(control<QPushButton>(button), Qt::LeftButton);
}

// Press, release, double-click, release: what a real mouse sends, through the window.
void BehaviourTest::doubleClick(const QString& name) const {
    const QWidget* w = control<QWidget>(name);
    const QPoint at = w->mapTo(form_.get(), w->rect().center());
    QTest::mouseDClick(form_->windowHandle(), Qt::LeftButton, {}, at);
}

// Through the window, as the keyboard delivers a key: to the focused control, or to the open list.
void BehaviourTest::press(int key, int modifiers) const {
    QTest::keyClick(form_->windowHandle(), static_cast<Qt::Key>(key),
                    static_cast<Qt::KeyboardModifiers>(modifiers));
}

void BehaviourTest::openByKeys(const QString& fieldName, const QString& comboName, int key,
                               int modifiers) const {
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QLineEdit* const edit = field(fieldName);
    edit->setFocus();
    QCOMPARE(QApplication::focusWidget(), edit);
    press(key, modifiers);
    QTRY_VERIFY(control<QComboBox>(comboName)->view()->isVisible());
    // It opens under the field, as on a double-click.
    const QPoint fieldBottom = edit->mapToGlobal(QPoint(0, edit->height()));
    QVERIFY(qAbs(control<QComboBox>(comboName)->view()->window()->geometry().top() -
                 fieldBottom.y()) <= 3);
}

void BehaviourTest::tickingOneClearsTheOthers_data() {
    QTest::addColumn<QStringList>("before"); // ticked before the click
    QTest::addColumn<QString>("clicked");
    QTest::addColumn<QStringList>("cleared"); // the boxes cleared, in order
    QTest::addColumn<QStringList>("after");

    QTest::newRow("Check2 over Check1")
        << QStringList{"Check1"} << "Check2" << QStringList{"Check1"} << QStringList{"Check2"};
    QTest::newRow("Check3 over Check1")
        << QStringList{"Check1"} << "Check3" << QStringList{"Check1"} << QStringList{"Check3"};
    QTest::newRow("untick the only one")
        << QStringList{"Check1"} << "Check1" << QStringList{"Check1"} << QStringList{};
    QTest::newRow("Check1 from none")
        << QStringList{} << "Check1" << QStringList{} << QStringList{"Check1"};
    // With both others ticked, the order of clearing shows.
    QTest::newRow("Check1 clears 3 then 2")
        << QStringList{"Check2", "Check3"} << "Check1" << QStringList{"Check3", "Check2"}
        << QStringList{"Check1"};
    QTest::newRow("Check2 clears 3 then 1")
        << QStringList{"Check1", "Check3"} << "Check2" << QStringList{"Check3", "Check1"}
        << QStringList{"Check2"};
    QTest::newRow("Check3 clears 2 then 1")
        << QStringList{"Check1", "Check2"} << "Check3" << QStringList{"Check2", "Check1"}
        << QStringList{"Check3"};
}

void BehaviourTest::tickingOneClearsTheOthers() {
    QFETCH(QStringList, before);
    QFETCH(QString, clicked);
    QFETCH(QStringList, cleared);
    QFETCH(QStringList, after);

    const QStringList boxes{"Check1", "Check2", "Check3"};
    for (const QString& name : boxes) {
        QCheckBox* const box = control<QCheckBox>(name);
        const QSignalBlocker quiet(box);
        box->setChecked(before.contains(name));
    }
    QStringList seen;
    for (const QString& name : boxes) {
        connect(control<QCheckBox>(name), &QCheckBox::toggled, this, [&seen, name](bool on) {
            if (!on) {
                seen << name;
            }
        });
    }
    tick(clicked);
    QCOMPARE(seen, cleared);
    QStringList ticked;
    for (const QString& name : boxes) {
        if (control<QCheckBox>(name)->isChecked()) {
            ticked << name;
        }
    }
    QCOMPARE(ticked, after);
    QVERIFY(shown_.isEmpty());
}

void BehaviourTest::calculate_data() {
    QTest::addColumn<QString>("box"); // the box to tick, empty for none
    QTest::addColumn<Fields>("fields");
    QTest::addColumn<Fields>("results");
    QTest::addColumn<QString>("message");

    const Fields everything = merged(merged(kStraightBar, kBentUpBar), kStirrup);
    QTest::newRow("straight bar") << "Check1" << kStraightBar << Fields{{"Text6", "945"}}
                                  << QString();
    QTest::newRow("straight bar 4.87") << "Check1" << merged(kStraightBar, {{"Text3", "4.87"}})
                                       << Fields{{"Text6", "917.4"}} << QString();
    QTest::newRow("straight bar below zero") << "Check1"
                                             << Fields{{"Text1", "100"},
                                                       {"Text2", "60"},
                                                       {"Text3", "0"},
                                                       {"Text4", "10"},
                                                       {"Text5", "0"}}
                                             << Fields{{"Text6", "-20"}} << QString();
    QTest::newRow("bent-up bar") << "Check2" << kBentUpBar << Fields{{"Text15", "657"}}
                                 << QString();
    QTest::newRow("bent-up bar 1.15 and 0.85")
        << "Check2" << merged(kBentUpBar, {{"Text9", "1.15"}, {"Text13", "0.85"}})
        << Fields{{"Text15", "591"}} << QString();
    QTest::newRow("stirrup") << "Check3" << kStirrup << Fields{{"Text23", "917"}, {"Text24", "7"}}
                             << QString();
    QTest::newRow("stirrup count 5.5") << "Check3" << merged(kStirrup, {{"Text22", "200"}})
                                       << Fields{{"Text23", "917"}, {"Text24", "5.5"}} << QString();
    QTest::newRow("stirrup count 5.666667")
        << "Check3" << merged(kStirrup, {{"Text21", "700"}})
        << Fields{{"Text23", "917"}, {"Text24", "5.666667"}} << QString();
    QTest::newRow("only the ticked group is calculated")
        << "Check2" << everything << Fields{{"Text15", "657"}} << QString();
    QTest::newRow("other groups' empty fields bring no message")
        << "Check3" << kStirrup << Fields{{"Text23", "917"}, {"Text24", "7"}} << QString();
    QTest::newRow("straight bar incomplete")
        << "Check1" << kBentUpBar << Fields{} << QStringLiteral("直钢筋参数未填写完成。");
    QTest::newRow("bent-up bar without cover")
        << "Check2" << merged(kBentUpBar, {{"Text10", ""}}) << Fields{}
        << QStringLiteral("弯起钢筋参数未填写完成。");
    QTest::newRow("stirrup incomplete")
        << "Check3" << Fields{} << Fields{} << QStringLiteral("箍筋参数未填写完成。");
    QTest::newRow("no box ticked")
        << QString() << everything << Fields{} << QStringLiteral("没有选择计算方式。");
}

void BehaviourTest::calculate() {
    QFETCH(QString, box);
    QFETCH(Fields, fields);
    QFETCH(Fields, results);
    QFETCH(QString, message);

    if (box.isEmpty()) {
        tick(QStringLiteral("Check1")); // unticks the only ticked box
    } else if (box != QLatin1String("Check1")) {
        tick(box);
    }
    fill(fields);
    const Fields before = allFields();
    click(QStringLiteral("Command1"));

    QCOMPARE(allFields(), merged(before, results));
    if (message.isEmpty()) {
        QVERIFY(shown_.isEmpty());
    } else {
        QCOMPARE(shown_.size(), 1);
        QCOMPARE(shown_.front().title, kTitle);
        QCOMPARE(shown_.front().prompt, message);
    }
}

void BehaviourTest::faultsAreReportedAndTheProgramGoesOn_data() {
    QTest::addColumn<QString>("box");
    QTest::addColumn<Fields>("fields");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focused"); // empty when no one field is to blame
    QTest::addColumn<Fields>("results");

    QTest::newRow("blank cover") << "Check1" << merged(kStraightBar, {{"Text2", " "}})
                                 << QStringLiteral("“保护层”中的内容不是有效的数字。") << "Text2"
                                 << Fields{};
    QTest::newRow("full-width letters")
        << "Check1" << merged(kStraightBar, {{"Text1", "九百"}})
        << QStringLiteral("“构建长度”中的内容不是有效的数字。") << "Text1" << Fields{};
    QTest::newRow("diameter too large")
        << "Check1" << merged(kStraightBar, {{"Text4", "1e39"}})
        << QStringLiteral("“直径(D)”中的数值太大，超出了单精度数的范围。") << "Text4" << Fields{};
    QTest::newRow("hook overflow")
        << "Check1" << merged(kStraightBar, {{"Text3", "1e38"}})
        << QStringLiteral("“弯钩长度”中的数值太大，计算结果溢出。") << "Text3" << Fields{};
    QTest::newRow("sum overflow") << "Check1"
                                  << merged(kStraightBar, {{"Text1", "3e38"}, {"Text2", "-1e38"}})
                                  << QStringLiteral("计算结果太大，超出了单精度数的范围（溢出）。")
                                  << QString() << Fields{};
    QTest::newRow("second field of the slant row")
        << "Check2" << merged(kBentUpBar, {{"Text16", "abc"}})
        << QStringLiteral("“斜段长度（第二栏）”中的内容不是有效的数字。") << "Text16" << Fields{};
    QTest::newRow("zero spacing keeps the new length and the old count")
        << "Check3" << merged(kStirrup, {{"Text22", "0"}, {"Text23", "1"}, {"Text24", "2"}})
        << QStringLiteral("“箍筋间距”为 0，除数不能为零。") << "Text22"
        << Fields{{"Text23", "917"}};
    QTest::newRow("zero over zero")
        << "Check3" << merged(kStirrup, {{"Text21", "0"}, {"Text22", "0"}})
        << QStringLiteral("“箍筋间距”引起无效运算（0 除以 0），结果不是一个数。") << "Text22"
        << Fields{{"Text23", "917"}};
}

void BehaviourTest::faultsAreReportedAndTheProgramGoesOn() {
    QFETCH(QString, box);
    QFETCH(Fields, fields);
    QFETCH(QString, message);
    QFETCH(QString, focused);
    QFETCH(Fields, results);

    if (box != QLatin1String("Check1")) {
        tick(box);
    }
    fill(fields);
    const Fields before = allFields();
    click(QStringLiteral("Command1"));

    QCOMPARE(shown_.size(), 1);
    QCOMPARE(shown_.front().title, kTitle);
    QCOMPARE(shown_.front().prompt, message);
    QCOMPARE(allFields(), merged(before, results)); // no typed text is lost
    if (!focused.isEmpty()) {
        QTRY_COMPARE(QApplication::focusWidget(), field(focused));
        QCOMPARE(field(focused)->selectedText(), field(focused)->text());
    }

    // And the window still calculates.
    fill(box == QLatin1String("Check1") ? kStraightBar
                                        : (box == QLatin1String("Check2") ? kBentUpBar : kStirrup));
    click(QStringLiteral("Command1"));
    QCOMPARE(shown_.size(), 1);
}

void BehaviourTest::doubleClickOpensTheListAndAPickFillsTheField_data() {
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("comboName");
    QTest::addColumn<QStringList>("items");
    const QStringList hooks{"6.25", "4.87", "4.21"};
    const QStringList elongations{"1.5", "1.25", "1.0"};
    QTest::newRow("Text3") << "Text3"
                           << "Combo1" << hooks;
    QTest::newRow("Text5") << "Text5"
                           << "Combo2" << elongations;
    QTest::newRow("Text11") << "Text11"
                            << "Combo3" << hooks;
    QTest::newRow("Text12") << "Text12"
                            << "Combo4" << elongations;
    QTest::newRow("Text13") << "Text13"
                            << "Combo5" << QStringList{"0.85", "0.50", "0.35"};
    QTest::newRow("Text9") << "Text9"
                           << "Combo6" << QStringList{"1.15", "1.41", "2.0"};
    QTest::newRow("Text20") << "Text20"
                            << "Combo7" << elongations;
}

void BehaviourTest::doubleClickOpensTheListAndAPickFillsTheField() {
    QFETCH(QString, fieldName);
    QFETCH(QString, comboName);
    QFETCH(QStringList, items);

    QComboBox* const combo = control<QComboBox>(comboName);
    for (int i = 0; i < items.size(); ++i) {
        field(fieldName)->setText(QStringLiteral("typed"));
        doubleClick(fieldName);
        QAbstractItemView* const list = combo->view();
        QTRY_VERIFY(list->isVisible());
        // It opens under the field.
        const QPoint fieldBottom =
            field(fieldName)->mapToGlobal(QPoint(0, field(fieldName)->height()));
        QVERIFY(qAbs(list->window()->geometry().top() - fieldBottom.y()) <= 3);

        const QRect item = list->visualRect(list->model()->index(i, 0));
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, item.center());
        QTRY_VERIFY(!list->isVisible());
        QCOMPARE(field(fieldName)->text(), items[i]);
    }
    QVERIFY(shown_.isEmpty());
}

void BehaviourTest::pickingTheSameItemAgainRestoresIt() {
    QComboBox* const combo = control<QComboBox>(QStringLiteral("Combo1"));
    for (int round = 0; round < 2; ++round) {
        field(QStringLiteral("Text3"))->setText(QStringLiteral("3.5"));
        doubleClick(QStringLiteral("Text3"));
        QTRY_VERIFY(combo->view()->isVisible());
        const QRect first = combo->view()->visualRect(combo->model()->index(0, 0));
        QTest::mouseClick(combo->view()->viewport(), Qt::LeftButton, {}, first.center());
        QTRY_VERIFY(!combo->view()->isVisible());
        QCOMPARE(field(QStringLiteral("Text3"))->text(), QStringLiteral("6.25"));
    }
}

void BehaviourTest::keyboardMovesInAListCopyToo() {
    QComboBox* const combo = control<QComboBox>(QStringLiteral("Combo5"));
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(field(QStringLiteral("Text13"))->text(), QStringLiteral("0.85"));
    QTest::keyClick(combo, Qt::Key_Down);
    QCOMPARE(field(QStringLiteral("Text13"))->text(), QStringLiteral("0.50"));
    QTest::keyClick(combo, Qt::Key_Up);
    QCOMPARE(field(QStringLiteral("Text13"))->text(), QStringLiteral("0.85"));
}

void BehaviourTest::keysOpenTheListAndEnterPicks_data() {
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("comboName");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("chosen"); // the item an earlier pick left chosen, -1 for none
    QTest::addColumn<int>("moves");  // Down so many times, or Up when below zero
    QTest::addColumn<QString>("picked");

    const int down = Qt::Key_Down;
    const int f4 = Qt::Key_F4;
    const int alt = Qt::AltModifier;
    const int none = Qt::NoModifier;
    QTest::newRow("Text3 Alt+Down, the first") << "Text3"
                                               << "Combo1" << down << alt << -1 << 1 << "6.25";
    QTest::newRow("Text3 F4, the second") << "Text3"
                                          << "Combo1" << f4 << none << -1 << 2 << "4.87";
    QTest::newRow("Text5 Alt+Down, the last") << "Text5"
                                              << "Combo2" << down << alt << -1 << 3 << "1.0";
    QTest::newRow("Text11 F4, the first") << "Text11"
                                          << "Combo3" << f4 << none << -1 << 1 << "6.25";
    QTest::newRow("Text12 Alt+Down, the second") << "Text12"
                                                 << "Combo4" << down << alt << -1 << 2 << "1.25";
    QTest::newRow("Text13 F4, 0.50 as it stands") << "Text13"
                                                  << "Combo5" << f4 << none << -1 << 2 << "0.50";
    QTest::newRow("Text9 keypad Alt+Down, past the end")
        << "Text9"
        << "Combo6" << down << (alt | int(Qt::KeypadModifier)) << -1 << 5 << "2.0";
    QTest::newRow("Text20 Alt+Down, on from the chosen")
        << "Text20"
        << "Combo7" << down << alt << 0 << 1 << "1.25";
    QTest::newRow("Text13 F4, up from the chosen") << "Text13"
                                                   << "Combo5" << f4 << none << 2 << -1 << "0.50";
    QTest::newRow("Text3 Enter on the chosen item restores it")
        << "Text3"
        << "Combo1" << down << alt << 0 << 0 << "6.25";
}

void BehaviourTest::keysOpenTheListAndEnterPicks() {
    QFETCH(QString, fieldName);
    QFETCH(QString, comboName);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, chosen);
    QFETCH(int, moves);
    QFETCH(QString, picked);

    QComboBox* const combo = control<QComboBox>(comboName);
    combo->setCurrentIndex(chosen);
    fill(kStraightBar);
    field(fieldName)->setText(QStringLiteral("3.5"));
    const Fields before = allFields();

    openByKeys(fieldName, comboName, key, modifiers);
    for (int i = 0; i < qAbs(moves); ++i) {
        press(moves > 0 ? Qt::Key_Down : Qt::Key_Up);
    }
    QCOMPARE(allFields(), before); // moving in the list copies nothing yet
    press(Qt::Key_Return);
    QTRY_VERIFY(!combo->view()->isVisible());
    QCOMPARE(allFields(), merged(before, {{fieldName, picked}}));
    QTRY_COMPARE(QApplication::focusWidget(), field(fieldName));
    QVERIFY(shown_.isEmpty());
}

void BehaviourTest::escClosesTheListAndChangesNothing_data() {
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<QString>("comboName");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::addColumn<int>("chosen");
    QTest::addColumn<int>("downs");
    QTest::addColumn<bool>("enterFirst"); // Enter before Esc, with nothing highlighted

    QTest::newRow("Text3 Alt+Down, Esc")
        << "Text3"
        << "Combo1" << int(Qt::Key_Down) << int(Qt::AltModifier) << -1 << 0 << false;
    QTest::newRow("Text5 F4, Down, Esc")
        << "Text5"
        << "Combo2" << int(Qt::Key_F4) << int(Qt::NoModifier) << -1 << 1 << false;
    QTest::newRow("Text13 F4, Down twice from the chosen, Esc")
        << "Text13"
        << "Combo5" << int(Qt::Key_F4) << int(Qt::NoModifier) << 0 << 2 << false;
    QTest::newRow("Text9 Alt+Down, Enter picks nothing unseen, Esc")
        << "Text9"
        << "Combo6" << int(Qt::Key_Down) << int(Qt::AltModifier) << -1 << 0 << true;
}

void BehaviourTest::escClosesTheListAndChangesNothing() {
    QFETCH(QString, fieldName);
    QFETCH(QString, comboName);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    QFETCH(int, chosen);
    QFETCH(int, downs);
    QFETCH(bool, enterFirst);

    QComboBox* const combo = control<QComboBox>(comboName);
    combo->setCurrentIndex(chosen);
    fill(kStraightBar);
    field(fieldName)->setText(QStringLiteral("typed"));
    const Fields before = allFields();

    openByKeys(fieldName, comboName, key, modifiers);
    for (int i = 0; i < downs; ++i) {
        press(Qt::Key_Down);
    }
    if (enterFirst) {
        press(Qt::Key_Return);
        QTest::qWait(20);
        QVERIFY(combo->view()->isVisible());
        QCOMPARE(allFields(), before);
    }
    press(Qt::Key_Escape);
    QTRY_VERIFY(!combo->view()->isVisible());
    QCOMPARE(allFields(), before);
    QCOMPARE(combo->currentIndex(), chosen);
    QTRY_COMPARE(QApplication::focusWidget(), field(fieldName));
    // The keys go to the field again, and Esc there closes nothing else.
    press(Qt::Key_5);
    QCOMPARE(field(fieldName)->text(), QStringLiteral("typed5"));
    press(Qt::Key_Escape);
    QVERIFY(form_->isVisible());
    QVERIFY(shown_.isEmpty());
}

void BehaviourTest::otherKeysOpenNoList_data() {
    QTest::addColumn<QString>("fieldName");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Down in Text3") << "Text3" << int(Qt::Key_Down) << int(Qt::NoModifier);
    QTest::newRow("Alt+Up in Text3") << "Text3" << int(Qt::Key_Up) << int(Qt::AltModifier);
    QTest::newRow("Ctrl+Down in Text11")
        << "Text11" << int(Qt::Key_Down) << int(Qt::ControlModifier);
    QTest::newRow("Shift+F4 in Text5") << "Text5" << int(Qt::Key_F4) << int(Qt::ShiftModifier);
    QTest::newRow("Alt+Down in Text1") << "Text1" << int(Qt::Key_Down) << int(Qt::AltModifier);
    QTest::newRow("F4 in Text16") << "Text16" << int(Qt::Key_F4) << int(Qt::NoModifier);
    QTest::newRow("F4 in Text6") << "Text6" << int(Qt::Key_F4) << int(Qt::NoModifier);
}

void BehaviourTest::otherKeysOpenNoList() {
    QFETCH(QString, fieldName);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    fill(merged(kStraightBar, kBentUpBar));
    const Fields before = allFields();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    field(fieldName)->setFocus();
    press(key, modifiers);
    QTest::qWait(50);
    QCOMPARE(QApplication::activePopupWidget(), nullptr);
    QCOMPARE(allFields(), before);
    QCOMPARE(QApplication::focusWidget(), field(fieldName));
    QVERIFY(shown_.isEmpty());
}

void BehaviourTest::fieldsWithAListSayHowToOpenIt() {
    const QStringList withList{"Text3", "Text5", "Text9", "Text11", "Text12", "Text13", "Text20"};
    for (int n = 1; n <= 24; ++n) {
        const QString name = QStringLiteral("Text%1").arg(n);
        QCOMPARE(field(name)->accessibleDescription(),
                 withList.contains(name) ? QStringLiteral("可按 Alt+↓ 或双击打开标准值列表。")
                                         : QString());
    }
}

void BehaviourTest::doubleClickOnAFieldWithoutAListOpensNothing() {
    fill(kStraightBar);
    const Fields before = allFields();
    for (const QString& name :
         {QStringLiteral("Text1"), QStringLiteral("Text16"), QStringLiteral("Text6")}) {
        doubleClick(name);
        QTest::qWait(50);
        QCOMPARE(QApplication::activePopupWidget(), nullptr);
    }
    QCOMPARE(allFields(), before);
}

void BehaviourTest::listsAreFilledAtLoad() {
    const QList<QStringList> lists{{"6.25", "4.87", "4.21"}, {"1.5", "1.25", "1.0"},
                                   {"6.25", "4.87", "4.21"}, {"1.5", "1.25", "1.0"},
                                   {"0.85", "0.50", "0.35"}, {"1.15", "1.41", "2.0"},
                                   {"1.5", "1.25", "1.0"}};
    for (int n = 1; n <= 7; ++n) {
        const QComboBox* combo = control<QComboBox>(QStringLiteral("Combo%1").arg(n));
        QStringList items;
        for (int i = 0; i < combo->count(); ++i) {
            items << combo->itemText(i);
        }
        QCOMPARE(items, lists[n - 1]);
        QCOMPARE(combo->currentIndex(), -1);
    }
    for (const QString& text : allFields()) {
        QVERIFY(text.isEmpty());
    }
}

void BehaviourTest::clearEmptiesEveryFieldAndNothingElse() {
    for (int n = 1; n <= 24; ++n) {
        field(QStringLiteral("Text%1").arg(n))->setText(QStringLiteral("text %1").arg(n));
    }
    tick(QStringLiteral("Check2"));
    QComboBox* const combo = control<QComboBox>(QStringLiteral("Combo4"));
    combo->setCurrentIndex(1);

    QStringList cleared;
    for (int n = 1; n <= 24; ++n) {
        const QString name = QStringLiteral("Text%1").arg(n);
        connect(field(name), &QLineEdit::textChanged, this, [&cleared, name] { cleared << name; });
    }
    click(QStringLiteral("Command2"));

    QStringList inOrder;
    for (int n = 1; n <= 24; ++n) {
        inOrder << QStringLiteral("Text%1").arg(n);
        QVERIFY(field(inOrder.back())->text().isEmpty());
    }
    QCOMPARE(cleared, inOrder);
    QVERIFY(control<QCheckBox>(QStringLiteral("Check2"))->isChecked());
    QCOMPARE(combo->currentIndex(), 1);
    QCOMPARE(combo->count(), 3);
    QVERIFY(shown_.isEmpty());

    // Calculating now finds every input empty.
    click(QStringLiteral("Command1"));
    QCOMPARE(shown_.size(), 1);
    QCOMPARE(shown_.front().prompt, QStringLiteral("弯起钢筋参数未填写完成。"));
}

void BehaviourTest::aboutShowsTheMakers() {
    fill(kStraightBar);
    const Fields before = allFields();
    click(QStringLiteral("Command4"));
    QCOMPARE(shown_.size(), 1);
    QCOMPARE(shown_.front().title, QStringLiteral("澄川工作室 --- 衡尺开发组"));
    const QStringList lines = shown_.front().prompt.split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 5);
    QCOMPARE(lines[0], QStringLiteral("------------- 澄川工作室 -------------"));
    QVERIFY(lines[1].isEmpty());
    QVERIFY(lines[2].startsWith(QStringLiteral("  网址：")));
    QVERIFY(lines[2].size() > 5);
    QVERIFY(lines[3].isEmpty());
    QVERIFY(lines[4].startsWith(QStringLiteral("   QQ：")));
    QVERIFY(lines[4].size() > 6);
    QCOMPARE(shown_.front().prompt.count(QLatin1Char('\n')), 4); // no bare line feeds
    QCOMPARE(allFields(), before);
    QVERIFY(control<QCheckBox>(QStringLiteral("Check1"))->isChecked());
}

void BehaviourTest::exitEndsTheProgram() {
    fill(kStraightBar);
    QTimer::singleShot(0, this, [this] { click(QStringLiteral("Command3")); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!form_->isVisible());
    QVERIFY(shown_.isEmpty());
}

void BehaviourTest::closingTheWindowEndsTheProgram() {
    QTimer::singleShot(0, form_.get(), &QWidget::close);
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(shown_.isEmpty());
}

void BehaviourTest::enterAndEscStartNothing_data() {
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    for (const char* focus : {"Command1", "Command2", "Command4", "Text1", "Text3", "Check1"}) {
        QTest::newRow(qPrintable(QStringLiteral("Return on %1").arg(QLatin1String(focus))))
            << focus << int(Qt::Key_Return);
        QTest::newRow(qPrintable(QStringLiteral("Enter on %1").arg(QLatin1String(focus))))
            << focus << int(Qt::Key_Enter);
        QTest::newRow(qPrintable(QStringLiteral("Esc on %1").arg(QLatin1String(focus))))
            << focus << int(Qt::Key_Escape);
    }
}

void BehaviourTest::enterAndEscStartNothing() {
    QFETCH(QString, focus);
    QFETCH(int, key);
    fill(kStraightBar);
    const Fields before = allFields();
    QVERIFY(QTest::qWaitForWindowActive(form_.get()));
    QWidget* const target = control<QWidget>(focus);
    target->setFocus();
    QTest::keyClick(target, static_cast<Qt::Key>(key));
    QTest::qWait(20);
    QVERIFY(shown_.isEmpty());
    QCOMPARE(allFields(), before);
    QVERIFY(form_->isVisible());
    QVERIFY(control<QCheckBox>(QStringLiteral("Check1"))->isChecked());
}

QTEST_MAIN(BehaviourTest)
#include "behaviour_test.moc"
