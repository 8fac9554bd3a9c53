#pragma once

#include "calc/field_access.h"

#include <QHash>
#include <QString>

class QLineEdit;
class QWidget;

namespace window {

class Messenger;

// The calculations' view of the window: the text boxes by name, and the calculator message.
class WindowFields final : public calc::FieldAccess {
public:
    WindowFields(QWidget& window, Messenger& messenger) : window_(window), messenger_(messenger) {}

    void add(QLineEdit* field);
    [[nodiscard]] QLineEdit* field(std::string_view name) const;

    [[nodiscard]] std::string read(std::string_view name) const override;
    void write(std::string_view name, std::string text) override;
    void showMessage(std::string_view prompt) override;

private:
    QWidget& window_;
    Messenger& messenger_;
    QHash<QString, QLineEdit*> fields_;
};

} // namespace window
