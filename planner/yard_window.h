#pragma once

#include "formats/grades.h"

#include <functional>
#include <vector>

#include <QWidget>

#include "yard/values.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;

namespace yard {
class Yard;
}

namespace planner {

class Dialogs;
class YardHistoryModel;
class YardRowsModel;

// 余料库: the yard's rows, filtered by steel and length, their counts and places edited, a bar
// added by hand, the short ones scrapped, offcuts files imported and the rows exported, and the
// record with its commits undone. Every change goes to the yard at once, in one transaction, and
// the rows are read again; the planner's window is told (changed) so that its plan and its
// 库存余料 follow. A window of its own, owned by the planner's window.
class YardWindow final : public QWidget {
    Q_OBJECT

public:
    // `grades` gives the grade table a bar typed or imported is read by (the list's).
    YardWindow(Dialogs& dialogs, std::function<std::vector<formats::GradeCode>()> grades,
               QWidget* parent = nullptr);

    // The yard shown, or none; not owned.
    void setYard(yard::Yard* store);
    // Reads the rows, the steels and the record again.
    void refresh();

    [[nodiscard]] YardRowsModel* rows() const { return rows_; }
    [[nodiscard]] YardHistoryModel* history() const { return history_; }

signals:
    void changed();

private:
    void addClicked();
    void scrapClicked();
    void importClicked();
    void exportClicked();
    void undoClicked();
    void rowEdited(const yard::Offcut& row, int column, const QString& text);
    // False, after saying why, when the yard refused.
    template <typename T>
    bool accepted(const T& result);
    void showSteels();
    [[nodiscard]] yard::Filter filter() const;
    [[nodiscard]] QString yardName() const;

    Dialogs& dialogs_;
    std::function<std::vector<formats::GradeCode>()> grades_;
    yard::Yard* yard_ = nullptr;
    std::vector<plan::Steel> steels_; // the filter's choices after 全部

    QTabWidget* tabs_ = nullptr;
    QComboBox* steel_ = nullptr;
    QLineEdit* shortest_ = nullptr;
    QLineEdit* longest_ = nullptr;
    QTableView* rowsView_ = nullptr;
    YardRowsModel* rows_ = nullptr;
    QLabel* summary_ = nullptr;
    std::vector<QLineEdit*> newBar_; // 级别, 直径, 长度, 根数, 位置
    QTableView* historyView_ = nullptr;
    YardHistoryModel* history_ = nullptr;
};

} // namespace planner
