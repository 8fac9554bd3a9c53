#pragma once

#include "planner/dialogs.h"
#include "planner/planner_window.h"

#include <deque>
#include <memory>

#include <QSettings>
#include <QStringList>
#include <QTemporaryDir>

// Answers every dialog of the window at once, as a test has arranged, and keeps what it was
// asked, so that no test waits on a modal dialog.
class FakeDialogs final : public planner::Dialogs {
public:
    struct Script {
        planner::Unsaved unsaved = planner::Unsaved::Cancel;
        std::deque<QString> paths; // answers to open and save dialogs, in turn
        std::optional<planner::ShapeRow> shape;
        QStringList informed;
        int unsavedAsked = 0;
        int printed = 0;
        planner::ShapeRow shapeAsked;
        bool confirmed = true; // the answer to every yes-or-no question
        QStringList asked;     // the questions, and the summaries 确认下料 showed
        std::optional<planner::CommitAnswer> commit = planner::CommitAnswer{};
        std::optional<int> length;
    };

    explicit FakeDialogs(Script& script) : script_(script) {}

    void inform(QWidget* /*parent*/, const QString& text) override {
        script_.informed.append(text);
    }
    planner::Unsaved askUnsaved(QWidget* /*parent*/, const QString& /*document*/) override {
        ++script_.unsavedAsked;
        return script_.unsaved;
    }
    QString openPath(QWidget* /*parent*/, const QString& /*directory*/) override { return next(); }
    QString savePath(QWidget* /*parent*/, const QString& /*suggested*/,
                     const QString& /*filter*/) override {
        return next();
    }
    std::optional<planner::ShapeRow> editShape(QWidget* /*parent*/,
                                               const planner::ShapeRow& row) override {
        script_.shapeAsked = row;
        return script_.shape;
    }
    void print(QWidget* /*parent*/, const std::function<void(QPrinter&)>& /*paint*/,
               bool /*preview*/) override {
        ++script_.printed;
    }
    bool confirm(QWidget* /*parent*/, const QString& text) override {
        script_.asked.append(text);
        return script_.confirmed;
    }
    QString chooseFile(QWidget* /*parent*/, const QString& /*title*/, const QString& /*directory*/,
                       const QString& /*filter*/, planner::FileUse /*use*/) override {
        return next();
    }
    std::optional<planner::CommitAnswer> confirmCommit(QWidget* /*parent*/,
                                                       const QString& summary) override {
        script_.asked.append(summary);
        return script_.commit;
    }
    std::optional<int> askLength(QWidget* /*parent*/, const QString& text, int /*value*/) override {
        script_.asked.append(text);
        return script_.length;
    }

private:
    QString next() {
        if (script_.paths.empty()) {
            return {};
        }
        QString path = script_.paths.front();
        script_.paths.pop_front();
        return path;
    }
    Script& script_;
};

// A planner window answering its dialogs from `script`, its recent files kept in `dir`.
inline std::unique_ptr<planner::PlannerWindow> makeWindow(FakeDialogs::Script& script,
                                                          const QTemporaryDir& dir) {
    return std::make_unique<planner::PlannerWindow>(
        std::make_unique<FakeDialogs>(script),
        std::make_unique<QSettings>(dir.filePath(QStringLiteral("planner.ini")),
                                    QSettings::IniFormat));
}
