#include "window/control_table.h"
#include "window/form1.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

using namespace window;

class LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void init() { form_ = std::make_unique<Form1>(); }
    void cleanup() { form_.reset(); }
    void windowItself();
    void everyControlOfTheTable_data();
    void everyControlOfTheTable();

private:
    std::unique_ptr<Form1> form_;
};

void LayoutTest::windowItself() {
    QCOMPARE(form_->objectName(), QStringLiteral("Form1"));
    QCOMPARE(form_->windowTitle(), QStringLiteral("衡尺   (mm)"));
}

void LayoutTest::everyControlOfTheTable_data() {
}
void LayoutTest::everyControlOfTheTable() {
}

QTEST_MAIN(LayoutTest)
#include "layout_test.moc"
