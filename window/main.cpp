#include "window/appearance.h"
#include "window/form1.h"
#include "window/version.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(HENGCHI_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(HENGCHI_APP_ID));
    const window::Appearance appearance;
    window::Form1 form;
    form.show();
    return QApplication::exec();
}
