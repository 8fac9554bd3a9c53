#include "window/window_fields.h"

#include "window/messages.h"
#include "window/messenger.h"

#include <QLineEdit>

namespace window {
namespace {

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

void WindowFields::add(QLineEdit* field) {
    fields_.insert(field->objectName(), field);
}

QLineEdit* WindowFields::field(std::string_view name) const {
    return fields_.value(qt(name));
}

std::string WindowFields::read(std::string_view name) const {
    const QLineEdit* const edit = field(name);
    return edit == nullptr ? std::string{} : edit->text().toStdString();
}

void WindowFields::write(std::string_view name, std::string text) {
    if (QLineEdit* const edit = field(name)) {
        edit->setText(qt(text));
    }
}

void WindowFields::showMessage(std::string_view prompt) {
    messenger_.show(&window_, kCalculatorTitle, qt(prompt));
}

} // namespace window
