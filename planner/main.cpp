#include "planner/dialogs.h"
#include "planner/planner_window.h"
#include "window/appearance.h"
#include "window/version.h"

#include <QApplication>
#include <QSettings>
#include <QStringList>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("hengchi-planner"));
    QApplication::setApplicationVersion(QStringLiteral(HENGCHI_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(HENGCHI_PLANNER_ID));
    const window::Appearance appearance;
    planner::PlannerWindow window(
        std::make_unique<planner::StandardDialogs>(),
        std::make_unique<QSettings>(QStringLiteral("hengchi"), QStringLiteral("hengchi-planner")));
    window.show();
    // A list named on the command line, as the desktop passes a file opened with the planner.
    if (const QStringList args = QApplication::arguments(); args.size() > 1) {
        static_cast<void>(window.openFile(args.at(1)));
    }
    return QApplication::exec();
}
