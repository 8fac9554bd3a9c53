#include "planner/results_panel.h"

#include "formats/sheet.h"
#include "planner/bar_drawing.h"
#include "planner/sheet_model.h"
#include "planner/summary.h"

#include <algorithm>

#include <QHeaderView>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace planner {
namespace {

QTableView* sheetView(SheetModel* model, const QString& name, const QString& accessible,
                      QWidget* parent) {
    auto* view = new QTableView(parent);
    view->setModel(model);
    view->setObjectName(name);
    view->setAccessibleName(accessible);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 8);
    view->horizontalHeader()->setStretchLastSection(true);
    return view;
}

} // namespace

ResultsPanel::ResultsPanel(QWidget* parent) : QWidget(parent) {
    staleNotice_ = new QLabel(
        QStringLiteral("清单或设置在优化后改动过，下面的结果已过期。按 F5 重新优化。"), this);
    staleNotice_->setObjectName(QStringLiteral("staleNotice"));
    staleNotice_->setWordWrap(true);
    staleNotice_->setStyleSheet(
        QStringLiteral("QLabel { background: #fff3c4; color: #5a4400; padding: 4px; }"));
    staleNotice_->hide();

    toBuy_ = new QLabel(QStringLiteral("在左边填写或粘贴下料清单，然后按 F5 优化。"), this);
    toBuy_->setObjectName(QStringLiteral("toBuy"));
    toBuy_->setWordWrap(true);
    toBuy_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    verdict_ = new QLabel(this);
    verdict_->setObjectName(QStringLiteral("verdict"));
    verdict_->setWordWrap(true);
    QFont bold = verdict_->font();
    bold.setBold(true);
    verdict_->setFont(bold);

    joints_ = new QLabel(this);
    joints_->setObjectName(QStringLiteral("joints"));
    joints_->setWordWrap(true);
    joints_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    joints_->hide();

    summary_ = new SheetModel(this);
    patterns_ = new SheetModel(this);
    summaryView_ = sheetView(summary_, QStringLiteral("summary"), QStringLiteral("汇总"), this);
    patternsView_ =
        sheetView(patterns_, QStringLiteral("patterns"), QStringLiteral("下料方案表"), this);

    drawing_ = new BarDrawing(this);
    auto* scroll = new QScrollArea(this);
    scroll->setWidget(drawing_);
    scroll->setWidgetResizable(true);
    scroll->setObjectName(QStringLiteral("drawingArea"));

    tabs_ = new QTabWidget(this);
    tabs_->addTab(scroll, QStringLiteral("下料图(&G)"));
    tabs_->addTab(patternsView_, QStringLiteral("方案表(&B)"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(staleNotice_);
    layout->addWidget(toBuy_);
    layout->addWidget(verdict_);
    layout->addWidget(joints_);
    layout->addWidget(summaryView_);
    layout->addWidget(tabs_, 1);
}

void ResultsPanel::showPlan(const plan::Plan& plan) {
    toBuy_->setText(toBuy(plan));
    verdict_->setText(verdict(plan));
    joints_->setText(jointsText(plan));
    joints_->setHidden(joints_->text().isEmpty());
    summary_->setTable(formats::summaryTable(plan));
    patterns_->setTable(formats::patternTable(plan));
    summaryView_->resizeColumnsToContents();
    // Every diameter and the total in sight, up to a dozen diameters; more scroll.
    const int rows = std::min(summary_->rowCount(), 13);
    summaryView_->setFixedHeight(summaryView_->horizontalHeader()->sizeHint().height() +
                                 summaryView_->verticalHeader()->defaultSectionSize() * rows +
                                 summaryView_->horizontalScrollBar()->sizeHint().height() +
                                 2 * summaryView_->frameWidth());
    patternsView_->resizeColumnsToContents();
    drawing_->setPlan(plan);
    setStale(false);
}

void ResultsPanel::clear() {
    toBuy_->setText(QStringLiteral("在左边填写或粘贴下料清单，然后按 F5 优化。"));
    verdict_->clear();
    joints_->clear();
    joints_->hide();
    summary_->setTable({});
    patterns_->setTable({});
    drawing_->clear();
    setStale(false);
}

void ResultsPanel::setStale(bool stale) {
    staleNotice_->setVisible(stale);
}

bool ResultsPanel::stale() const {
    return !staleNotice_->isHidden();
}

} // namespace planner
