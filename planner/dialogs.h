#pragma once

#include "planner/shape_dialog.h"

#include <functional>
#include <memory>
#include <optional>

#include <QString>

class QPrinter;
class QWidget;

namespace window {
class Messenger;
}

namespace planner {

enum class Unsaved { Save, Discard, Cancel };

// What a file is chosen for: to read one that is there, to write one, or a yard, which is
// opened when it is there and made when it is not.
enum class FileUse { Read, Write, ReadOrNew };

// What 确认下料 records besides the plan: the floor the list is for and where its remnants go.
struct CommitAnswer {
    QString floor;
    QString place;
};

// Every modal dialog the window opens, behind one seam, so that tests answer them without a
// modal loop and no test ever waits on one.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A message titled 衡尺下料 with one OK button.
    virtual void inform(QWidget* parent, const QString& text) = 0;
    // "“清单.csv”有未保存的修改" with 保存, 不保存 and 取消.
    virtual Unsaved askUnsaved(QWidget* parent, const QString& document) = 0;
    // A file to open or to write; empty when the user cancels.
    virtual QString openPath(QWidget* parent, const QString& directory) = 0;
    virtual QString savePath(QWidget* parent, const QString& suggested, const QString& filter) = 0;
    // The shape dialog for one row; nothing when it is cancelled.
    virtual std::optional<ShapeRow> editShape(QWidget* parent, const ShapeRow& row) = 0;
    // The print dialog, or the print preview, painting the pages with `paint`.
    virtual void print(QWidget* parent, const std::function<void(QPrinter&)>& paint,
                       bool preview) = 0;
    // A question answered 是 or 否.
    virtual bool confirm(QWidget* parent, const QString& text) = 0;
    // Any other file: the dialog's title, its filter ("余料文件 (*.csv *.xlsx)"); empty when the
    // user cancels.
    virtual QString chooseFile(QWidget* parent, const QString& title, const QString& directory,
                               const QString& filter, FileUse use) = 0;
    // 确认下料: `summary` says what the yard gives and takes; nothing when it is cancelled.
    virtual std::optional<CommitAnswer> confirmCommit(QWidget* parent, const QString& summary) = 0;
    // A length in millimetres, `text` saying what for; nothing when it is cancelled.
    virtual std::optional<int> askLength(QWidget* parent, const QString& text, int value) = 0;

protected:
    Dialogs() = default;
    Dialogs(const Dialogs&) = default;
    Dialogs& operator=(const Dialogs&) = default;
};

// The real dialogs: Qt's message boxes, file dialogs and print dialogs, in Chinese.
class StandardDialogs final : public Dialogs {
public:
    StandardDialogs();
    ~StandardDialogs() override;

    void inform(QWidget* parent, const QString& text) override;
    Unsaved askUnsaved(QWidget* parent, const QString& document) override;
    QString openPath(QWidget* parent, const QString& directory) override;
    QString savePath(QWidget* parent, const QString& suggested, const QString& filter) override;
    std::optional<ShapeRow> editShape(QWidget* parent, const ShapeRow& row) override;
    void print(QWidget* parent, const std::function<void(QPrinter&)>& paint, bool preview) override;
    bool confirm(QWidget* parent, const QString& text) override;
    QString chooseFile(QWidget* parent, const QString& title, const QString& directory,
                       const QString& filter, FileUse use) override;
    std::optional<CommitAnswer> confirmCommit(QWidget* parent, const QString& summary) override;
    std::optional<int> askLength(QWidget* parent, const QString& text, int value) override;

private:
    // The shape dialog speaks with the calculator's message boxes.
    std::unique_ptr<window::Messenger> messenger_;
};

// The title of the window and of its messages.
inline const QString kPlannerTitle = QStringLiteral("衡尺下料");

} // namespace planner
