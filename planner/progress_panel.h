#pragma once

#include "plan/optimize.h"

#include <cstdint>
#include <vector>

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace planner {

// While the optimiser runs: per steel (grade and diameter) the steel of the best plan so far and
// the lower bound as they improve, how many diameters are done, the time spent, and 取消, which
// keeps the best plan found so far.
class ProgressPanel final : public QWidget {
    Q_OBJECT

public:
    explicit ProgressPanel(QWidget* parent = nullptr);

    void start(const plan::CuttingList& list, double seconds);
    void report(const plan::Progress& progress);
    void stop();

    [[nodiscard]] QTableWidget* table() const { return table_; }

signals:
    void cancelRequested();

private:
    void tick();

    QLabel* status_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QTableWidget* table_ = nullptr;
    QPushButton* cancel_ = nullptr;
    QTimer timer_;
    QElapsedTimer clock_;
    double seconds_ = 0;
    int done_ = 0;
};

} // namespace planner
