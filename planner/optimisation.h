#pragma once

#include "plan/floors.h"
#include "plan/list.h"
#include "plan/optimize.h"
#include "plan/plan.h"

#include <string>
#include <thread>
#include <vector>

#include <QObject>

namespace planner {

// One run of the optimiser on a thread of its own, so that the window stays responsive. What
// the optimiser reports from its threads reaches the window as signals on the window's thread.
// Cancelling asks the search to stop; it then finishes with the best plan found so far.
class Optimisation final : public QObject {
    Q_OBJECT

public:
    explicit Optimisation(QObject* parent = nullptr);
    // Stops a run still going and waits for its thread.
    ~Optimisation() override;
    Optimisation(const Optimisation&) = delete;
    Optimisation& operator=(const Optimisation&) = delete;

    // Starts a run; nothing happens while one is still going.
    void start(plan::CuttingList list);
    // Starts a run of `floors` one after another, each with what the floors before it left in
    // the yard (plan/floors.h).
    void startByFloor(plan::CuttingList list, std::vector<std::string> floors);
    void cancel();
    [[nodiscard]] bool running() const { return running_; }

signals:
    void progressed(const plan::Progress& progress);
    void finished(const plan::Plan& plan);
    // Floor by floor: each floor as it is begun (`part` is what is planned for it), then the whole.
    void floorStarted(int index, const QString& floor, const plan::CuttingList& part);
    void buildingFinished(const plan::BuildingPlan& building);

private:
    void deliver(const plan::Plan& plan);
    void deliverBuilding(const plan::BuildingPlan& building);

    std::jthread thread_;
    bool running_ = false;
};

} // namespace planner
