#include "window/appearance.h"
#include "window/form1.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QtTest>

class AppearanceTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        // Whatever the system says, the interface is Chinese.
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        appearance_ = std::make_unique<window::Appearance>();
    }
    void cleanupTestCase() { appearance_.reset(); }

    void qtsOwnStringsAreChinese();
    void hanCharactersComeFromASimplifiedChineseFont();
    void captionsFitTheirLabels();

private:
    std::unique_ptr<window::Appearance> appearance_;
};

void AppearanceTest::qtsOwnStringsAreChinese() {
    QVERIFY(appearance_->translated());
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "OK"), QStringLiteral("确定"));
    QLineEdit edit;
    std::unique_ptr<QMenu> menu(edit.createStandardContextMenu());
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        texts << action->text();
    }
    QVERIFY2(texts.join(QLatin1Char(' ')).contains(QStringLiteral("粘贴")),
             qPrintable(texts.join(QLatin1Char(' '))));
}

void AppearanceTest::hanCharactersComeFromASimplifiedChineseFont() {
    const QFont font = QApplication::font();
    QCOMPARE(font.pixelSize(), 12);
    const QStringList simplified{QStringLiteral("Noto Sans CJK SC"),
                                 QStringLiteral("WenQuanYi Micro Hei"),
                                 QStringLiteral("WenQuanYi Zen Hei")};
    QVERIFY2(simplified.contains(QFontInfo(font).family()), qPrintable(QFontInfo(font).family()));
}

// Twelve pixels a character, as the label widths allow.
void AppearanceTest::captionsFitTheirLabels() {
    window::Form1 form;
    for (const QLabel* label : form.findChildren<QLabel*>()) {
        const int needed = label->fontMetrics().horizontalAdvance(label->text());
        QVERIFY2(needed <= label->width(), qPrintable(QStringLiteral("%1 needs %2 px, has %3")
                                                          .arg(label->objectName())
                                                          .arg(needed)
                                                          .arg(label->width())));
    }
}

QTEST_MAIN(AppearanceTest)
#include "appearance_test.moc"
