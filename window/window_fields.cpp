#include "window/window_fields.h"

#include "window/messages.h"
#include "window/messenger.h"
#include "window/utf8.h"

#include <QLineEdit>

namespace window {

void WindowFields::add(QLineEdit* field) {
    fields_.insert(field->objectName(), field);
}

QLineEdit* WindowFields::field(std::string_view name) const {
    return fields_.value(fromUtf8(name));
}

std::string WindowFields::read(std::string_view name) const {
    const QLineEdit* const edit = field(name);
    return edit == nullptr ? std::string{} : edit->text().toStdString();
}

void WindowFields::write(std::string_view name, std::string text) {
    if (QLineEdit* const edit = field(name)) {
        edit->setText(fromUtf8(text));
    }
}

void WindowFields::showMessage(std::string_view prompt) {
    messenger_.show(&window_, kCalculatorTitle, fromUtf8(prompt));
}

} // namespace window
