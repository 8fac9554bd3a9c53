#include "window/appearance.h"

#include "window/group_box_style.h"

#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>

namespace window {

Appearance::Appearance() {
    const QLocale chinese = interfaceLocale();
    QLocale::setDefault(chinese);
    // "qt" is the catalog windeployqt gathers Qt's strings into; Debian has it as well, and
    // qtbase alone where it does not.
    const QString directory = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    translated_ =
        translator_.load(chinese, QStringLiteral("qt"), QStringLiteral("_"), directory) ||
        translator_.load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"), directory);
    if (translated_) {
        QApplication::installTranslator(&translator_);
    }

    // The layout allows 12 pixels per Chinese character.
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("Noto Sans CJK SC"), QStringLiteral("WenQuanYi Micro Hei"),
                      QStringLiteral("WenQuanYi Zen Hei"), QStringLiteral("Microsoft YaHei"),
                      QStringLiteral("SimSun")});
    font.setPixelSize(12);
    QApplication::setFont(font);
    QApplication::setStyle(new GroupBoxStyle); // the application owns it
}

Appearance::~Appearance() {
    if (translated_) {
        QApplication::removeTranslator(&translator_);
    }
}

} // namespace window
