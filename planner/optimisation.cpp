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
