#include "planner/recent_files.h"

#include <QFileInfo>
#include <QSettings>

namespace planner {
namespace {

const QString kKey = QStringLiteral("recentFiles");

} // namespace

QStringList RecentFiles::paths() const {
    return store_.value(kKey).toStringList();
}

void RecentFiles::add(const QString& path) {
    const QString absolute = QFileInfo(path).absoluteFilePath();
    QStringList list = paths();
    list.removeAll(absolute);
    list.prepend(absolute);
    while (list.size() > kKept) {
        list.removeLast();
    }
    write(list);
}

void RecentFiles::remove(const QString& path) {
    QStringList list = paths();
    list.removeAll(path);
    write(list);
}

void RecentFiles::write(const QStringList& paths) {
    store_.setValue(kKey, paths);
    store_.sync();
}

} // namespace planner
