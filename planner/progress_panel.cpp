#include "planner/progress_panel.h"

#include "formats/plan_words.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace planner {
namespace {

enum Column { kSteelColumn, kBest, kBound, kState, kColumns };

QTableWidgetItem* item(const QString& text, bool figure) {
    auto* cell = new QTableWidgetItem(text);
    cell->setTextAlignment(Qt::AlignVCenter | (figure ? Qt::AlignRight : Qt::AlignLeft));
    return cell;
}

} // namespace

ProgressPanel::ProgressPanel(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("progress"));
    status_ = new QLabel(this);
    bar_ = new QProgressBar(this);
    bar_->setAccessibleName(QStringLiteral("已完成的钢筋"));
    bar_->setFormat(QStringLiteral("%v / %m 种钢筋"));
    cancel_ = new QPushButton(QStringLiteral("取消(&C)"), this);
    cancel_->setObjectName(QStringLiteral("cancelButton"));
    cancel_->setToolTip(QStringLiteral("停止搜索，保留目前最好的方案"));
    connect(cancel_, &QPushButton::clicked, this, &ProgressPanel::cancelRequested);

    table_ = new QTableWidget(0, kColumns, this);
    table_->setObjectName(QStringLiteral("progressTable"));
    table_->setAccessibleName(QStringLiteral("优化进度"));
    table_->setHorizontalHeaderLabels({QStringLiteral("钢筋"), QStringLiteral("目前用钢 (mm)"),
                                       QStringLiteral("下界 (mm)"), QStringLiteral("状态")});
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 8);
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::NoSelection);

    auto* row = new QHBoxLayout;
    row->addWidget(status_, 1);
    row->addWidget(bar_, 1);
    row->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(row);
    layout->addWidget(table_);

    timer_.setInterval(200);
    connect(&timer_, &QTimer::timeout, this, &ProgressPanel::tick);
}

void ProgressPanel::start(const plan::CuttingList& list, double seconds) {
    seconds_ = seconds;
    done_ = 0;
    const std::vector<plan::Steel> steels = list.steels();
    table_->setRowCount(static_cast<int>(steels.size()));
    for (std::size_t i = 0; i < steels.size(); ++i) {
        const int r = static_cast<int>(i);
        table_->setItem(r, kSteelColumn,
                        item(formats::steelLabel(steels[i], list.codeOf(steels[i])), false));
        table_->setItem(r, kBest, item(QString(), true));
        table_->setItem(r, kBound, item(QString(), true));
        table_->setItem(r, kState, item(QStringLiteral("等待"), false));
    }
    table_->resizeColumnsToContents();
    // Short enough to leave the results room, tall enough for a few diameters.
    table_->setMaximumHeight(table_->horizontalHeader()->height() +
                             table_->verticalHeader()->defaultSectionSize() * 6 + 4);
    bar_->setRange(0, static_cast<int>(steels.size()));
    bar_->setValue(0);
    cancel_->setEnabled(true);
    clock_.start();
    timer_.start();
    tick();
    show();
}

void ProgressPanel::report(const plan::Progress& progress) {
    const int r = static_cast<int>(progress.group);
    if (r < 0 || r >= table_->rowCount()) {
        return;
    }
    table_->item(r, kBest)->setText(QString::number(progress.bestMm));
    table_->item(r, kBound)->setText(QString::number(progress.boundMm));
    QString state = QStringLiteral("搜索中");
    if (progress.done) {
        state = progress.bestMm == progress.boundMm
                    ? QStringLiteral("完成，最优")
                    : QStringLiteral("完成，差 %1 mm").arg(progress.bestMm - progress.boundMm);
        if (table_->item(r, kState)->data(Qt::UserRole).toBool() == false) {
            table_->item(r, kState)->setData(Qt::UserRole, true);
            bar_->setValue(++done_);
        }
    } else if (progress.bestMm == progress.boundMm) {
        state = QStringLiteral("已达下界");
    }
    table_->item(r, kState)->setText(state);
}

void ProgressPanel::stop() {
    timer_.stop();
    cancel_->setEnabled(false);
    hide();
}

void ProgressPanel::tick() {
    status_->setText(QStringLiteral("正在优化…… 已用 %1 秒（时限 %2 秒）")
                         .arg(static_cast<double>(clock_.elapsed()) / 1000.0, 0, 'f', 1)
                         .arg(seconds_));
}

} // namespace planner
