#pragma once

#include <QStringList>
#include <QToolButton>

class QMenu;

// The floors (楼层) of the list to plan, on the tool bar beside 优化: a button that says which
// are chosen and opens a menu of them, each ticked or not, with 全部楼层 first. The window hides
// it while the list names no floor. Every floor the list gains is ticked; a floor keeps its tick
// while the list keeps it.
namespace planner {

class FloorChooser final : public QToolButton {
    Q_OBJECT

public:
    explicit FloorChooser(QWidget* parent = nullptr);

    // The list's floors, in the order it first names them.
    void setFloors(const QStringList& floors);
    [[nodiscard]] const QStringList& floors() const { return floors_; }
    // The ticked floors, in the list's order.
    [[nodiscard]] QStringList chosen() const;
    void choose(const QStringList& floors);

private:
    void rebuild();
    void showChoice();

    QMenu* menu_ = nullptr;
    QStringList floors_;
    QStringList unticked_; // by name, so that editing the list keeps what was chosen
};

} // namespace planner
