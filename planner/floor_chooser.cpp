#include "planner/floor_chooser.h"

#include <QMenu>

namespace planner {

FloorChooser::FloorChooser(QWidget* parent) : QToolButton(parent), menu_(new QMenu(this)) {
    setObjectName(QStringLiteral("floorChoice"));
    setAccessibleName(QStringLiteral("要下料的楼层"));
    setToolTip(QStringLiteral("只下料勾选的楼层；按楼层优化时按清单里的顺序逐层下料"));
    setPopupMode(QToolButton::InstantPopup);
    setMenu(menu_);
}

void FloorChooser::setFloors(const QStringList& floors) {
    if (floors == floors_) {
        return;
    }
    floors_ = floors;
    rebuild();
}

QStringList FloorChooser::chosen() const {
    QStringList out;
    for (const QString& floor : floors_) {
        if (!unticked_.contains(floor)) {
            out.append(floor);
        }
    }
    return out;
}

void FloorChooser::choose(const QStringList& floors) {
    unticked_.clear();
    for (const QString& floor : floors_) {
        if (!floors.contains(floor)) {
            unticked_.append(floor);
        }
    }
    rebuild();
}

void FloorChooser::rebuild() {
    menu_->clear();
    QAction* all = menu_->addAction(QStringLiteral("全部楼层"));
    all->setObjectName(QStringLiteral("allFloors"));
    connect(all, &QAction::triggered, this, [this] { choose(floors_); });
    menu_->addSeparator();
    for (const QString& floor : floors_) {
        QAction* action = menu_->addAction(floor);
        action->setCheckable(true);
        action->setChecked(!unticked_.contains(floor));
        connect(action, &QAction::toggled, this, [this, floor](bool ticked) {
            unticked_.removeAll(floor);
            if (!ticked) {
                unticked_.append(floor);
            }
            showChoice();
        });
    }
    showChoice();
}

void FloorChooser::showChoice() {
    const QStringList ticked = chosen();
    if (ticked.size() == floors_.size()) {
        setText(QStringLiteral("楼层：全部"));
    } else if (ticked.isEmpty()) {
        setText(QStringLiteral("楼层：未选"));
    } else if (ticked.size() <= 2) {
        setText(QStringLiteral("楼层：%1").arg(ticked.join(u'、')));
    } else {
        setText(QStringLiteral("楼层：%1/%2 层").arg(ticked.size()).arg(floors_.size()));
    }
}

} // namespace planner
