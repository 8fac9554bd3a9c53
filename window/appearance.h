#pragma once

#include <QLocale>
#include <QTranslator>

namespace window {

// The locale the interface is written for: its decimal separator is the one fields are read
// and written with, and the coefficient lists are written in it.
inline QLocale interfaceLocale() {
    return QLocale(QLocale::Chinese, QLocale::China);
}

// How the program looks and speaks, for the whole application. The interface is Simplified
// Chinese whatever the system's locale: Qt's own strings (OK, the text fields' context menu)
// come from Qt's zh_CN translations, and Han characters are drawn from a Simplified Chinese
// font, not in the Japanese shapes a CJK fallback may pick. Group boxes carry their caption
// on their frame line.
class Appearance {
public:
    // Call it once the QApplication exists.
    Appearance();
    Appearance(const Appearance&) = delete;
    Appearance& operator=(const Appearance&) = delete;
    ~Appearance();

    // Whether Qt's own translations were found and installed.
    [[nodiscard]] bool translated() const { return translated_; }

private:
    QTranslator translator_;
    bool translated_ = false;
};

} // namespace window
