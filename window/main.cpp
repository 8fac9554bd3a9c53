#include "window/appearance.h"
#include "window/form1.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const window::Appearance appearance;
    window::Form1 form;
    form.show();
    return QApplication::exec();
}
