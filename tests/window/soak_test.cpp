// A long, seeded run of what a person may do to the window, checked after every step: the
// window is alive, no field changed but by typing, picking, Clear or a calculator's result,
// and every message shown is one the program defines.
#include "calc/calculations.h"
#include "calc/field_store.h"
#include "window/form1.h"
#include "window/messages.h"
#include "window/pickers.h"
#include "window/utf8.h"

#include <random>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "recording_messenger.h"

using window::Form1;

namespace {

constexpr int kActions = 5000;
constexpr std::uint32_t kSeed = 20261207;

// Key by key, as a keyboard or an input method delivers them.
void typeInto(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F) {
            QTest::keyClick(widget, static_cast<char>(c.unicode()));
        } else {
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), {});
        }
    }
}

// Every message the program can show from the Calculate button.
QSet<QString> definedMessages() {
    QSet<QString> messages{window::fromUtf8(calc::kStraightBarIncomplete),
                           window::fromUtf8(calc::kBentUpBarIncomplete),
                           window::fromUtf8(calc::kStirrupIncomplete), window::kNoMethodMessage};
    for (const calc::Cause cause :
         {calc::Cause::NotANumber, calc::Cause::TooLarge, calc::Cause::Overflow,
          calc::Cause::DivisionByZero, calc::Cause::InvalidOperation}) {
        messages.insert(window::faultMessage({cause, ""}));
        for (int n = 1; n <= 24; ++n) {
            messages.insert(window::faultMessage({cause, "Text" + std::to_string(n)}));
        }
    }
    return messages;
}

} // namespace

class SoakTest : public QObject {
    Q_OBJECT

private slots:
    void thousandsOfRandomActions();

private:
    QString randomText(std::mt19937& random);
};

QString SoakTest::randomText(std::mt19937& random) {
    static const QStringList pieces{
        "0",      "1",      "2",      "5",      "9",      "25",     "900",    "6.25",   "1.5",
        ".",      "-",      "+",      "e",      "E",      "e38",    " ",      "\u3000", "\uFF11",
        "\uFF12", "\uFF10", "\uFF0E", "\uFF0D", "\uFF0B", "a",      "mm",     "九",     "钢筋",
        "1e-50",  "3.4e38", ",",      "\u00A0", "é",      "\u0301", "\uFFFD", "Ω"};
    // Half the time a plain number, so that the calculations get to a result too.
    if (std::uniform_int_distribution<int>(0, 1)(random) == 0) {
        return QString::number(std::uniform_int_distribution<int>(-50, 3000)(random)) +
               (std::uniform_int_distribution<int>(0, 2)(random) == 0 ? QStringLiteral(".5")
                                                                      : QString());
    }
    const int length = std::uniform_int_distribution<int>(0, 8)(random);
    QString text;
    for (int i = 0; i < length; ++i) {
        text += pieces[std::uniform_int_distribution<qsizetype>(0, pieces.size() - 1)(random)];
    }
    return text;
}

void SoakTest::thousandsOfRandomActions() {
    QList<RecordingMessenger::Shown> shown;
    Form1 form(std::make_unique<RecordingMessenger>(shown));
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QSet<QString> defined = definedMessages();

    QList<QLineEdit*> fields;
    QMap<QString, QString> expected;
    for (int n = 1; n <= 24; ++n) {
        fields << form.findChild<QLineEdit*>(QStringLiteral("Text%1").arg(n));
        expected.insert(fields.back()->objectName(), QString());
    }
    QList<QCheckBox*> boxes;
    for (int n = 1; n <= 3; ++n) {
        boxes << form.findChild<QCheckBox*>(QStringLiteral("Check%1").arg(n));
    }
    const auto button = [&form](const char* name) {
        return form.findChild<QPushButton*>(QString::fromLatin1(name));
    };
    const auto current = [&] {
        QMap<QString, QString> texts;
        for (const QLineEdit* f : fields) {
            texts.insert(f->objectName(), f->text());
        }
        return texts;
    };

    std::mt19937 random(kSeed);
    const auto pick = [&random](int n) {
        return std::uniform_int_distribution<int>(0, n - 1)(random);
    };
    QMap<QString, int> counts;
    int results = 0;

    for (int step = 0; step < kActions; ++step) {
        const qsizetype messagesBefore = shown.size();
        QString expectedMessage;
        const int action = pick(100);
        if (action < 12) {
            counts["tick"]++;
            QCheckBox* const box = boxes[pick(3)];
            const bool was = box->isChecked();
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, 8));
            QCOMPARE(box->isChecked(), !was);
            for (const QCheckBox* other : boxes) {
                if (other != box && box->isChecked()) {
                    QVERIFY(!other->isChecked());
                }
            }
        } else if (action < 20) {
            counts["fill a group"]++;
            static const QList<QStringList> groups{
                {"Text1", "Text2", "Text3", "Text4", "Text5"},
                {"Text7", "Text8", "Text9", "Text10", "Text16", "Text11", "Text12", "Text13",
                 "Text14"},
                {"Text17", "Text18", "Text19", "Text20", "Text21", "Text22"}};
            for (const QString& name : groups[pick(3)]) {
                QLineEdit* const field = form.findChild<QLineEdit*>(name);
                field->selectAll();
                const QString number = QString::number(pick(2000)) + (pick(2) == 0 ? ".25" : "");
                typeInto(field, number);
                expected[name] = number;
            }
        } else if (action < 50) {
            counts["type"]++;
            QLineEdit* const field = fields[pick(24)];
            field->selectAll();
            const QString text = randomText(random);
            typeInto(field, text);
            if (!text.isEmpty()) { // the selection is typed over; typing nothing keeps it
                expected[field->objectName()] = text;
            }
        } else if (action < 52) {
            counts["paste long text"]++;
            QLineEdit* const field = fields[pick(24)];
            field->selectAll();
            const QString text = QString(pick(40000) + 1, QChar(u'９')) + QStringLiteral("😀");
            field->insert(text);
            expected[field->objectName()] = text.left(field->maxLength());
        } else if (action < 62) {
            counts["pick"]++;
            const window::Picker& picker = window::pickerTable()[pick(7)];
            QLineEdit* const field = form.findChild<QLineEdit*>(window::fromUtf8(picker.field));
            auto* const combo = form.findChild<QComboBox*>(window::fromUtf8(picker.combo));
            const QPoint at = field->mapTo(&form, field->rect().center());
            QTest::mouseDClick(form.windowHandle(), Qt::LeftButton, {}, at);
            QTRY_VERIFY(combo->view()->isVisible());
            const int item = pick(3);
            const QRect rect = combo->view()->visualRect(combo->model()->index(item, 0));
            QTest::mouseClick(combo->view()->viewport(), Qt::LeftButton, {}, rect.center());
            QTRY_VERIFY(!combo->view()->isVisible());
            expected[field->objectName()] =
                window::fromUtf8(picker.items[static_cast<std::size_t>(item)]);
        } else if (action < 67) {
            counts["pick with the keys"]++;
            const window::Picker& picker = window::pickerTable()[pick(7)];
            QLineEdit* const field = form.findChild<QLineEdit*>(window::fromUtf8(picker.field));
            auto* const combo = form.findChild<QComboBox*>(window::fromUtf8(picker.combo));
            QWindow* const keyboard = form.windowHandle();
            field->setFocus();
            if (pick(2) == 0) {
                QTest::keyClick(keyboard, Qt::Key_Down, Qt::AltModifier);
            } else {
                QTest::keyClick(keyboard, Qt::Key_F4);
            }
            QTRY_VERIFY(combo->view()->isVisible());
            // The list starts on the chosen item, or before the first while none is chosen.
            int row = combo->currentIndex();
            for (int downs = pick(5); downs > 0; --downs) {
                QTest::keyClick(keyboard, Qt::Key_Down);
                row = std::min(row + 1, 2);
            }
            if (row >= 0 && pick(4) != 0) {
                QTest::keyClick(keyboard, Qt::Key_Return);
                expected[field->objectName()] =
                    window::fromUtf8(picker.items[static_cast<std::size_t>(row)]);
            } else {
                QTest::keyClick(keyboard, Qt::Key_Escape);
            }
            QTRY_VERIFY(!combo->view()->isVisible());
        } else if (action < 70) {
            counts["pick by keyboard"]++;
            const window::Picker& picker = window::pickerTable()[pick(7)];
            auto* const combo = form.findChild<QComboBox*>(window::fromUtf8(picker.combo));
            const int before = combo->currentIndex();
            QTest::keyClick(combo, pick(2) == 0 ? Qt::Key_Down : Qt::Key_Up);
            // At either end of the list the key moves nothing, and nothing is copied.
            if (combo->currentIndex() != before) {
                expected[window::fromUtf8(picker.field)] = combo->currentText();
            }
        } else if (action < 73) {
            counts["double-click elsewhere"]++;
            QLineEdit* const field = fields[pick(24)];
            if (window::pickerForField(field->objectName().toStdString()) == nullptr) {
                QTest::mouseDClick(form.windowHandle(), Qt::LeftButton, {},
                                   field->mapTo(&form, field->rect().center()));
                QCOMPARE(QApplication::activePopupWidget(), nullptr);
            }
        } else if (action < 77) {
            counts["clear"]++;
            QTest::mouseClick(button("Command2"), Qt::LeftButton);
            for (auto it = expected.begin(); it != expected.end(); ++it) {
                it.value().clear();
            }
        } else {
            counts["calculate"]++;
            // What the calculation makes of these very texts, on its own.
            calc::FieldStore::Texts texts;
            for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
                texts[it.key().toStdString()] = it.value().toStdString();
            }
            calc::FieldStore store{texts};
            std::optional<calc::Outcome> outcome;
            if (boxes[0]->isChecked()) {
                outcome = calc::one(store);
            } else if (boxes[1]->isChecked()) {
                outcome = calc::two(store);
            } else if (boxes[2]->isChecked()) {
                outcome = calc::sw(store);
            }
            if (!outcome) {
                expectedMessage = window::kNoMethodMessage;
            } else if (outcome->status == calc::Status::Incomplete) {
                expectedMessage = window::fromUtf8(store.messages().front());
            } else if (outcome->status == calc::Status::Failed) {
                expectedMessage = window::faultMessage(outcome->fault);
            }
            results += outcome && outcome->status == calc::Status::Written ? 1 : 0;
            for (const std::string& written : store.writes()) {
                expected[window::fromUtf8(written)] = window::fromUtf8(store.read(written));
            }
            QTest::mouseClick(button("Command1"), Qt::LeftButton);
        }

        QVERIFY2(form.isVisible(), qPrintable(QStringLiteral("step %1").arg(step)));
        if (current() != expected) {
            qWarning("step %d, action %d", step, action);
        }
        QCOMPARE(current(), expected);
        if (expectedMessage.isEmpty()) {
            QCOMPARE(shown.size(), messagesBefore);
        } else {
            QCOMPARE(shown.size(), messagesBefore + 1);
            QCOMPARE(shown.back().prompt, expectedMessage);
            QVERIFY(defined.contains(shown.back().prompt));
            QCOMPARE(shown.back().title, window::kCalculatorTitle);
        }
    }

    QStringList summary;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        summary << QStringLiteral("%1 %2").arg(it.value()).arg(it.key());
    }
    qInfo("%d actions (seed %u): %s; %d results, %lld messages", kActions, kSeed,
          qPrintable(summary.join(QStringLiteral(", "))), results,
          static_cast<long long>(shown.size()));
}

QTEST_MAIN(SoakTest)
#include "soak_test.moc"
