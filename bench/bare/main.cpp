// A window of 65 plain controls of the same kinds as hengchi's, with nothing else: no
// translations, no fonts of its own, no table, no style.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare window"));
    window.setFixedSize(460, 401);
    int n = 0;
    const auto place = [&n](QWidget* w) { w->setGeometry(8 + (n % 6) * 74, 8 + (n / 6) * 32, 70, 20); ++n; };
    for (int i = 0; i < 3; ++i) place(new QGroupBox(QStringLiteral("group"), &window));
    for (int i = 0; i < 23; ++i) place(new QLabel(QStringLiteral("label"), &window));
    for (int i = 0; i < 24; ++i) place(new QLineEdit(&window));
    for (int i = 0; i < 7; ++i) {
        auto* combo = new QComboBox(&window);
        combo->setEditable(true);
        combo->addItems({QStringLiteral("1.5"), QStringLiteral("1.25"), QStringLiteral("1.0")});
        place(combo);
    }
    for (int i = 0; i < 3; ++i) place(new QCheckBox(QStringLiteral("check"), &window));
    for (int i = 0; i < 4; ++i) place(new QPushButton(QStringLiteral("button"), &window));
    place(new QFrame(&window));
    window.show();
    return QApplication::exec();
}
