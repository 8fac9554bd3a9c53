#include "planner/results_panel.h"

#include "formats/plan_words.h"
#include "formats/sheet.h"
#include "planner/bar_drawing.h"
#include "planner/sheet_model.h"
#include "planner/summary.h"

#include <algorithm>

#include <QComboBox>
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

    floorView_ = new QComboBox(this);
    floorView_->setObjectName(QStringLiteral("floorView"));
    floorView_->setAccessibleName(QStringLiteral("查看的楼层"));
    floorView_->hide();
    connect(floorView_, &QComboBox::currentIndexChanged, this, &ResultsPanel::floorPicked);

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
    layout->addWidget(floorView_);
    layout->addWidget(toBuy_);
    layout->addWidget(verdict_);
    layout->addWidget(joints_);
    layout->addWidget(summaryView_);
    layout->addWidget(tabs_, 1);
}

void ResultsPanel::showPlan(const plan::Plan& plan) {
    building_.reset();
    floorView_->hide();
    showParts(plan);
}

void ResultsPanel::showBuilding(const plan::BuildingPlan& building) {
    building_ = building;
    const QSignalBlocker quiet(floorView_);
    floorView_->clear();
    floorView_->addItem(QStringLiteral("全楼（%1 层，逐层下料）").arg(building.floors.size()));
    for (const plan::FloorPlan& f : building.floors) {
        floorView_->addItem(QStringLiteral("楼层：%1").arg(formats::floorName(f.floor)));
    }
    floorView_->setCurrentIndex(0);
    floorView_->show();
    floorPicked(0);
}

void ResultsPanel::floorPicked(int index) {
    if (!building_ || index < 0) {
        return;
    }
    if (index > 0 && static_cast<std::size_t>(index) <= building_->floors.size()) {
        showParts(building_->floors[static_cast<std::size_t>(index) - 1].plan);
        return;
    }
    // The whole building: what to buy per steel, and every floor's rows in the table of patterns.
    const plan::Plan totals = plan::buildingTotals(*building_);
    showParts(totals);
    patterns_->setTable(formats::floorsTable(*building_));
    patternsView_->resizeColumnsToContents();
    tabs_->setCurrentWidget(patternsView_);
}

void ResultsPanel::showParts(const plan::Plan& plan) {
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
    building_.reset();
    floorView_->hide();
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
