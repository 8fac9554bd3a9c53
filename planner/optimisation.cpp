#include "planner/optimisation.h"

#include <QMetaObject>

namespace planner {

Optimisation::Optimisation(QObject* parent) : QObject(parent) {
}

Optimisation::~Optimisation() {
    // Joined here, before QObject's destructor drops what the thread may still have posted.
    if (thread_.joinable()) {
        thread_.request_stop();
        thread_.join();
    }
}

void Optimisation::start(plan::CuttingList list) {
    if (running_) {
        return;
    }
    if (thread_.joinable()) {
        thread_.join();
    }
    running_ = true;
    thread_ = std::jthread([this, list = std::move(list)](std::stop_token stop) {
        const auto report = [this](const plan::Progress& progress) {
            QMetaObject::invokeMethod(
                this, [this, progress] { emit progressed(progress); }, Qt::QueuedConnection);
        };
        plan::Plan result = plan::optimize(list, report, std::move(stop));
        QMetaObject::invokeMethod(
            this, [this, result = std::move(result)] { deliver(result); }, Qt::QueuedConnection);
    });
}

void Optimisation::startByFloor(plan::CuttingList list, std::vector<std::string> floors) {
    if (running_) {
        return;
    }
    if (thread_.joinable()) {
        thread_.join();
    }
    running_ = true;
    thread_ = std::jthread(
        [this, list = std::move(list), floors = std::move(floors)](std::stop_token stop) {
            const auto report = [this](const plan::Progress& progress) {
                QMetaObject::invokeMethod(
                    this, [this, progress] { emit progressed(progress); }, Qt::QueuedConnection);
            };
            // What the floor is planned with: its pieces and the yard's offcuts of their steels, as
            // optimizeByFloor takes them, for the progress to list its steels.
            std::vector<plan::Offcut> yard = list.offcuts();
            const plan::FloorYard carried{[&yard] { return yard; },
                                          [&yard](const plan::FloorPlan& floor) {
                                              yard = plan::carriedOut(yard, floor.plan);
                                              return true;
                                          }};
            const plan::FloorStarted started = [&](std::size_t index, const std::string& floor) {
                plan::CuttingList part = list.part({floor}, yard);
                QMetaObject::invokeMethod(
                    this,
                    [this, index, name = QString::fromStdString(floor), part = std::move(part)] {
                        emit floorStarted(static_cast<int>(index), name, part);
                    },
                    Qt::QueuedConnection);
            };
            plan::BuildingPlan result =
                plan::optimizeByFloor(list, floors, carried, started, report, std::move(stop));
            QMetaObject::invokeMethod(
                this, [this, result = std::move(result)] { deliverBuilding(result); },
                Qt::QueuedConnection);
        });
}

void Optimisation::deliverBuilding(const plan::BuildingPlan& building) {
    thread_.join();
    running_ = false;
    emit buildingFinished(building);
}

void Optimisation::cancel() {
    if (running_) {
        thread_.request_stop();
    }
}

void Optimisation::deliver(const plan::Plan& plan) {
    // The thread has nothing left to do but return.
    thread_.join();
    running_ = false;
    emit finished(plan);
}

} // namespace planner
