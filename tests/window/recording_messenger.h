#pragma once

#include "window/messenger.h"

#include <QList>
#include <QString>

// Answers every message at once and keeps what it was asked to show.
class RecordingMessenger final : public window::Messenger {
public:
    struct Shown {
        QString title;
        QString prompt;
    };

    explicit RecordingMessenger(QList<Shown>& shown) : shown_(shown) {}
    void show(QWidget* /*parent*/, const QString& title, const QString& prompt) override {
        shown_.append({title, prompt});
    }

private:
    QList<Shown>& shown_;
};
