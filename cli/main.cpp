#include "cli/command.h"
#include "cli/interrupt.h"
#include "cli/terminal.h"

#include <cstdio>

#include <QCoreApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[]) {
    const cli::Interrupts interrupts; // before any thread starts
    QCoreApplication app(argc, argv);
    // Qt's own words in the help and in its complaints about options, in Chinese.
    QTranslator qtWords;
    if (qtWords.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&qtWords);
    }
    QFile out;
    QFile err;
    (void)out.open(stdout, QIODevice::WriteOnly);
    // Unbuffered, so that the progress line shows as it is written.
    (void)err.open(stderr, QIODevice::WriteOnly | QIODevice::Unbuffered);
    return cli::runCommand(QCoreApplication::arguments(), out, err, cli::isTerminal(stderr),
                           interrupts.token());
}
