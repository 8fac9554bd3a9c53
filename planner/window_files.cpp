// The window's files: the list it opens and saves, and the cutting sheet it exports and prints.

#include "formats/save.h"
#include "formats/sheet_files.h"
#include "planner/list_io.h"
#include "planner/planner_window.h"
#include "planner/results_panel.h"
#include "planner/sheet_export.h"

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QStatusBar>

namespace planner {
namespace {

// The first local file a drag carries.
QString droppedFile(const QMimeData* data) {
    if (data == nullptr) {
        return {};
    }
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) {
            return url.toLocalFile();
        }
    }
    return {};
}

} // namespace

bool PlannerWindow::askToKeepChanges() {
    commitEdits();
    if (stack_.isClean()) {
        return true;
    }
    switch (dialogs_->askUnsaved(this, documentName())) {
    case Unsaved::Save:
        return saveClicked();
    case Unsaved::Discard:
        return true;
    case Unsaved::Cancel:
        break;
    }
    return false;
}

void PlannerWindow::newClicked() {
    if (!askToKeepChanges()) {
        return;
    }
    optimisation_.cancel();
    runWanted_ = false;
    tables_.clear();
    stack_.clear();
    path_.clear();
    fromWorkbook_ = false;
    sheet_.reset();
    results_->clear();
    updateTitle();
}

void PlannerWindow::openClicked() {
    if (!askToKeepChanges()) {
        return;
    }
    const QString directory = path_.isEmpty() ? QDir::homePath() : QFileInfo(path_).absolutePath();
    const QString path = dialogs_->openPath(this, directory);
    if (!path.isEmpty()) {
        static_cast<void>(load(path));
    }
}

bool PlannerWindow::openFile(const QString& path) {
    return askToKeepChanges() && load(path);
}

bool PlannerWindow::load(const QString& path) {
    const OpenedList opened = readListFile(path);
    if (!opened.document) {
        dialogs_->inform(
            this,
            QStringLiteral("无法打开“%1”：\n%2").arg(QFileInfo(path).fileName(), opened.problems));
        if (!QFileInfo::exists(path)) {
            recent_.remove(path);
            updateRecentMenu();
        }
        return false;
    }
    optimisation_.cancel();
    runWanted_ = false;
    tables_.load(*opened.document);
    showOtherColumns();
    stack_.clear();
    path_ = QFileInfo(path).absoluteFilePath();
    fromWorkbook_ = opened.workbook;
    sheet_.reset();
    results_->clear();
    recent_.add(path_);
    updateRecentMenu();
    updateTitle();
    if (!opened.problems.isEmpty()) {
        dialogs_->inform(
            this,
            QStringLiteral("“%1”里有些内容没有读进来：\n%2").arg(documentName(), opened.problems));
    }
    const ListCheck check = this->check();
    const QString what =
        opened.workbook
            ? QStringLiteral("已打开 %1 的%2。").arg(documentName(), opened.encoding)
            : QStringLiteral("已打开 %1，编码 %2。").arg(documentName(), opened.encoding);
    statusBar()->showMessage(
        check.list ? what : what + QStringLiteral("标红的格子需要改正：%1").arg(check.first));
    return true;
}

bool PlannerWindow::saveClicked() {
    // A workbook is never written over with a list file: its formats and other sheets would go.
    return path_.isEmpty() || fromWorkbook_ ? saveAsClicked() : saveTo(path_);
}

bool PlannerWindow::saveAsClicked() {
    const QString path = dialogs_->savePath(this, suggestedPath(QStringLiteral(".csv")),
                                            QStringLiteral("下料清单 (*.csv)"));
    return !path.isEmpty() && saveTo(path);
}

bool PlannerWindow::saveTo(const QString& path) {
    commitEdits();
    const QString error = writeListFile(path, tables_);
    if (!error.isEmpty()) {
        dialogs_->inform(this, error);
        return false;
    }
    path_ = QFileInfo(path).absoluteFilePath();
    fromWorkbook_ = false;
    stack_.setClean();
    recent_.add(path_);
    updateRecentMenu();
    updateTitle();
    statusBar()->showMessage(QStringLiteral("已保存 %1。").arg(documentName()), 5000);
    return true;
}

QString PlannerWindow::suggestedPath(const QString& suffix) const {
    if (path_.isEmpty()) {
        return QDir::home().filePath(QStringLiteral("下料清单") + suffix);
    }
    const QFileInfo info(path_);
    return info.dir().filePath(info.completeBaseName() + suffix);
}

void PlannerWindow::updateRecentMenu() {
    recentMenu_->clear();
    const QStringList paths = recent_.paths();
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const QString path = paths[i];
        QAction* act = recentMenu_->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName()));
        act->setToolTip(path);
        connect(act, &QAction::triggered, this,
                [this, path] { static_cast<void>(openFile(path)); });
    }
    recentMenu_->setEnabled(!paths.isEmpty());
}

void PlannerWindow::closeEvent(QCloseEvent* event) {
    if (askToKeepChanges()) {
        optimisation_.cancel();
        event->accept();
    } else {
        event->ignore();
    }
}

void PlannerWindow::dragEnterEvent(QDragEnterEvent* event) {
    if (!droppedFile(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void PlannerWindow::dropEvent(QDropEvent* event) {
    const QString path = droppedFile(event->mimeData());
    if (!path.isEmpty()) {
        event->acceptProposedAction();
        static_cast<void>(openFile(path));
    }
}

bool PlannerWindow::planIsCurrent() {
    commitEdits();
    if (optimisation_.running()) {
        dialogs_->inform(this, QStringLiteral("正在优化。请等它完成，或先取消。"));
        return false;
    }
    if (!sheet_) {
        dialogs_->inform(this, QStringLiteral("还没有下料方案。请先按 F5 优化。"));
        return false;
    }
    if (results_->stale()) {
        dialogs_->inform(this, QStringLiteral("清单或设置在优化后改动过，方案已过期。\n"
                                              "请先按 F5 重新优化，再导出或打印。"));
        return false;
    }
    return true;
}

void PlannerWindow::exportClicked(Command command) {
    if (!planIsCurrent()) {
        return;
    }
    QString suffix;
    QString filter;
    switch (command) {
    case Command::ExportXlsx:
        suffix = QStringLiteral(".xlsx");
        filter = QStringLiteral("Excel 工作簿 (*.xlsx)");
        break;
    case Command::ExportCsv:
        suffix = QStringLiteral(".csv");
        filter = QStringLiteral("CSV 文件 (*.csv)");
        break;
    default:
        suffix = QStringLiteral(".pdf");
        filter = QStringLiteral("PDF 文件 (*.pdf)");
        break;
    }
    // Beside the list, named after it: 梁柱.csv gives 梁柱-下料单.pdf.
    const QFileInfo list(suggestedPath(suffix));
    const QString suggested =
        path_.isEmpty()
            ? list.dir().filePath(QStringLiteral("下料单") + suffix)
            : list.dir().filePath(list.completeBaseName() + QStringLiteral("-下料单") + suffix);
    const QString path = dialogs_->savePath(this, suggested, filter);
    if (path.isEmpty()) {
        return;
    }
    QByteArray bytes;
    if (command == Command::ExportXlsx) {
        const formats::Workbook book = sheet_->building ? formats::buildingXlsx(*sheet_->building)
                                                        : formats::sheetXlsx(sheet_->plan);
        if (!book.error.isEmpty()) {
            dialogs_->inform(this, book.error);
            return;
        }
        bytes = book.bytes;
    } else if (command == Command::ExportCsv) {
        bytes = sheet_->building ? formats::buildingCsv(*sheet_->building)
                                 : formats::sheetCsv(sheet_->plan);
    } else {
        bytes = sheetPdf(*sheet_);
    }
    if (const QString error = formats::saveFile(path, bytes); !error.isEmpty()) {
        dialogs_->inform(this, error);
        return;
    }
    statusBar()->showMessage(QStringLiteral("已导出 %1。").arg(QFileInfo(path).fileName()), 5000);
}

void PlannerWindow::printClicked(bool preview) {
    if (!planIsCurrent()) {
        return;
    }
    const SheetContent content = *sheet_;
    dialogs_->print(
        this, [&content](QPrinter& printer) { static_cast<void>(printSheet(printer, content)); },
        preview);
}

} // namespace planner
