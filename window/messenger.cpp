#include "window/messenger.h"

#include <QMessageBox>

namespace window {

void MessageBoxMessenger::show(QWidget* parent, const QString& title, const QString& prompt) {
    QMessageBox box(QMessageBox::NoIcon, title, prompt, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace window
