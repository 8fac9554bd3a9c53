// The window and the yard (余料库): which one is open, its stock as the offcuts a plan is made
// with, 确认下料 and 撤销确认, and the 余料库 window.

#include "formats/plan_words.h"
#include "planner/planner_window.h"
#include "planner/results_panel.h"
#include "planner/settings_panel.h"
#include "planner/yard_window.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStatusBar>

#include "yard/files.h"
#include "yard/messages.h"
#include "yard/stock.h"
#include "yard/yard.h"

namespace planner {
namespace {

const QString kYardKey = QStringLiteral("yard/path");

} // namespace

void PlannerWindow::showYardWindow() {
    if (yardWindow_ != nullptr) {
        yardWindow_->setYard(yard_.get());
    }
}

QString PlannerWindow::yardName() const {
    return yard_ ? QDir::toNativeSeparators(QString::fromStdString(yard_->path())) : QString();
}

ListCheck PlannerWindow::check() const {
    return checkTables(tables_, yard_ ? &yardStock_ : nullptr);
}

bool PlannerWindow::openYard(const QString& path, bool quiet) {
    const auto refuse = [&](const QString& why) {
        const QString text =
            QStringLiteral("无法打开余料库“%1”：%2").arg(QDir::toNativeSeparators(path), why);
        if (quiet) {
            statusBar()->showMessage(text);
        } else {
            dialogs_->inform(this, text);
        }
        return false;
    };
    if (path.isEmpty()) {
        return refuse(QStringLiteral("找不到存放数据的用户文件夹"));
    }
    yard::Options options;
    options.create = true;
    yard::Result<std::unique_ptr<yard::Yard>> opened =
        yard::Yard::open(QFileInfo(path).absoluteFilePath().toStdString(), options);
    if (opened.error) {
        return refuse(yard::describe(*opened.error));
    }
    yard_ = std::move(opened.value);
    store_->setValue(kYardKey, QString::fromStdString(yard_->path()));
    yardChanged();
    showYardWindow();
    statusBar()->showMessage(QStringLiteral("已打开余料库“%1”。").arg(yardName()), 5000);
    return true;
}

void PlannerWindow::openYardClicked() {
    const QString current = yard_ ? QFileInfo(yardName()).absolutePath() : QDir::homePath();
    const QString path = dialogs_->chooseFile(
        this, QStringLiteral("打开或新建余料库"), current,
        QStringLiteral("余料库 (*.sqlite *.db);;所有文件 (*)"), FileUse::ReadOrNew);
    if (!path.isEmpty()) {
        static_cast<void>(openYard(path));
    }
}

void PlannerWindow::closeYardClicked() {
    if (!yard_) {
        return;
    }
    if (yardWindow_ != nullptr) {
        yardWindow_->setYard(nullptr);
    }
    yard_.reset();
    store_->remove(kYardKey);
    yardChanged();
}

void PlannerWindow::manageYardClicked() {
    if (!yard_ && !openYard(yard::defaultPath())) {
        return;
    }
    if (yardWindow_ == nullptr) {
        // A bar typed or imported there is read by the list's grade table.
        yardWindow_ = new YardWindow(
            *dialogs_, [this] { return tables_.gradeRows(); }, this);
        connect(yardWindow_, &YardWindow::changed, this, [this] { yardChanged(); });
        yardWindow_->setYard(yard_.get());
    }
    yardWindow_->show();
    yardWindow_->raise();
    yardWindow_->activateWindow();
}

void PlannerWindow::yardChanged(bool planStillCurrent) {
    yardStock_.clear();
    if (yard_) {
        yard::Result<std::vector<yard::Moved>> stock = yard_->stock({});
        if (stock.error) {
            dialogs_->inform(
                this,
                QStringLiteral("余料库“%1”：%2").arg(yardName(), yard::describe(*stock.error)));
        }
        yardStock_ = std::move(stock.value);
    }
    settings_->showYard(yard_ ? QFileInfo(yardName()).fileName() : QString(), yardStock_);
    // The offcuts are an input of the plan, as the list is.
    textsChanged();
    if (planStillCurrent) {
        planRevision_ = revision_;
        results_->setStale(false);
    }
    updateActions();
}

void PlannerWindow::commitClicked() {
    commitEdits();
    if (!yard_) {
        dialogs_->inform(this, QStringLiteral("还没有打开余料库：请先用 余料库 > 打开余料库，"
                                              "再优化（F5）后确认下料。"));
        return;
    }
    if (!sheet_ || planRevision_ != revision_ || planYard_ != yardName() ||
        sheet_->plan.cancelled) {
        dialogs_->inform(this, QStringLiteral("当前没有按余料库“%1”做好的方案：请先优化（F5），"
                                              "再确认下料。")
                                   .arg(QFileInfo(yardName()).fileName()));
        return;
    }
    if (planCommit_ != 0) {
        dialogs_->inform(
            this,
            QStringLiteral("这个方案已经确认下料了（余料库第 %1 号记录）。").arg(planCommit_));
        return;
    }
    // A steel a line.
    const auto lines = [](const std::vector<yard::Moved>& bars) {
        return yard::movedText(bars).replace(QStringLiteral("；"), QStringLiteral("\n      "));
    };
    QString summary;
    if (sheet_->building) {
        // Floor by floor, as planned: each floor's commit puts in what the next one takes.
        QStringList floors;
        for (const plan::FloorPlan& f : sheet_->building->floors) {
            const yard::PlanChanges changes = yard::changesOf(f.plan);
            floors.append(
                QStringLiteral("%1：取出  %2\n      放回  %3")
                    .arg(formats::floorName(f.floor), lines(changes.taken), lines(changes.added)));
        }
        summary = QStringLiteral("按这个逐层方案下料，余料库“%1”将逐层（每层一条记录）：\n%2\n\n"
                                 "短于最短余料的料头算废料，不放回。确认后可以用 下料 > 撤销确认 "
                                 "从最后一层起逐层复原。")
                      .arg(QFileInfo(yardName()).fileName(), floors.join(u'\n'));
    } else {
        const yard::PlanChanges changes = yard::changesOf(sheet_->plan);
        summary =
            QStringLiteral("按这个方案下料，余料库“%1”将：\n取出  %2\n放回  %3\n\n"
                           "短于最短余料的料头算废料，不放回。确认后可以用 下料 > 撤销确认 复原。")
                .arg(QFileInfo(yardName()).fileName(), lines(changes.taken), lines(changes.added));
    }
    const std::optional<CommitAnswer> answer = dialogs_->confirmCommit(this, summary);
    if (!answer) {
        return;
    }
    yard::Origin origin;
    origin.list = (path_.isEmpty() ? documentName() : QFileInfo(path_).fileName()).toStdString();
    origin.project = sheet_->project.toStdString();
    origin.floor = answer->floor.toStdString();
    origin.place = answer->place.toStdString();
    if (sheet_->building) {
        commitFloors(origin);
        return;
    }
    const yard::Result<yard::Entry> done = yard_->commit(sheet_->plan, origin);
    if (done.error) {
        dialogs_->inform(this, QStringLiteral("没有确认下料。余料库“%1”：%2")
                                   .arg(yardName(), yard::describe(*done.error)));
        // What the yard holds now, so that F5 plans with it.
        yardChanged();
        showYardWindow();
        return;
    }
    planCommit_ = done.value.source.id;
    yardChanged(true);
    showYardWindow();
    statusBar()->showMessage(
        QStringLiteral("已确认下料，记为余料库第 %1 号记录。").arg(planCommit_));
}

void PlannerWindow::commitFloors(yard::Origin origin) {
    const std::string asked = origin.floor;
    int committed = 0;
    std::int64_t first = 0;
    for (const plan::FloorPlan& f : sheet_->building->floors) {
        origin.floor = f.floor.empty() ? asked : f.floor;
        const yard::Result<yard::Entry> done = yard_->commit(f.plan, origin);
        if (done.error) {
            dialogs_->inform(
                this,
                QStringLiteral("%1没有确认下料。余料库“%2”：%3%4")
                    .arg(formats::floorName(f.floor), yardName(), yard::describe(*done.error),
                         committed == 0 ? QString()
                                        : QStringLiteral("\n前面 %1 层已确认（第 %2–%3 号记录）。")
                                              .arg(committed)
                                              .arg(first)
                                              .arg(planCommit_)));
            yardChanged();
            showYardWindow();
            return;
        }
        planCommit_ = done.value.source.id;
        first = first == 0 ? planCommit_ : first;
        ++committed;
    }
    yardChanged(true);
    showYardWindow();
    statusBar()->showMessage(QStringLiteral("已逐层确认下料 %1 层，记为余料库第 %2–%3 号记录。")
                                 .arg(committed)
                                 .arg(first)
                                 .arg(planCommit_));
}

void PlannerWindow::undoCommitClicked() {
    if (!yard_) {
        return;
    }
    const yard::Result<std::vector<yard::Entry>> history = yard_->history();
    const yard::Entry* last = nullptr;
    for (const yard::Entry& e : history.value) {
        if (e.source.kind == yard::EntryKind::Commit && !e.undone) {
            last = &e;
            break;
        }
    }
    if (history.error || last == nullptr) {
        dialogs_->inform(this, history.error ? yard::describe(*history.error)
                                             : QStringLiteral("余料库里没有可以撤销的确认下料。"));
        return;
    }
    const std::int64_t id = last->source.id;
    if (!dialogs_->confirm(this,
                           QStringLiteral("撤销最近一次确认下料（%1）？\n它取出的余料放回库中："
                                          "%2\n它放回的料头从库中去掉：%3")
                               .arg(yard::sourceText(last->source), yard::movedText(last->taken),
                                    yard::movedText(last->added)))) {
        return;
    }
    const yard::Result<yard::Entry> undone = yard_->undo(id);
    if (undone.error) {
        dialogs_->inform(this, QStringLiteral("没有撤销。余料库“%1”：%2")
                                   .arg(yardName(), yard::describe(*undone.error)));
        return;
    }
    if (planCommit_ == id) {
        planCommit_ = 0;
    }
    yardChanged();
    showYardWindow();
    statusBar()->showMessage(QStringLiteral("已撤销第 %1 号确认下料。").arg(id));
}

} // namespace planner
