#pragma once

#include <QString>
#include <QStringList>

class QSettings;

namespace planner {

// The lists opened or saved lately, newest first, kept in the planner's own settings store (the
// window is handed the store, so tests keep theirs in a scratch file).
class RecentFiles {
public:
    explicit RecentFiles(QSettings& store) : store_(store) {}

    static constexpr int kKept = 8;

    [[nodiscard]] QStringList paths() const;
    void add(const QString& path);
    void remove(const QString& path);

private:
    void write(const QStringList& paths);
    QSettings& store_;
};

} // namespace planner
