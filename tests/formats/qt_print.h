#pragma once

#include <ostream>

#include <QString>
#include <QStringList>

// GoogleTest shows Qt's strings as text in its failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* out) {
    *out << '[' << list.join(QStringLiteral("|")).toStdString() << ']';
}
QT_END_NAMESPACE
