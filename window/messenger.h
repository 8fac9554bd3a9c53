#pragma once

#include <QString>

class QWidget;

namespace window {

// Shows a modal message with one OK button and no icon. The window reaches every message box
// through it, so that tests can answer them without a modal loop.
class Messenger {
public:
    virtual ~Messenger() = default;
    virtual void show(QWidget* parent, const QString& title, const QString& prompt) = 0;

protected:
    Messenger() = default;
    Messenger(const Messenger&) = default;
    Messenger& operator=(const Messenger&) = default;
};

class MessageBoxMessenger final : public Messenger {
public:
    void show(QWidget* parent, const QString& title, const QString& prompt) override;
};

} // namespace window
