#include "cli/progress_line.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

TEST(ProgressLine, ShowsTheSearchAndLeavesTheLineClean) {
    QBuffer terminal;
    terminal.open(QIODevice::WriteOnly);
    {
        cli::ProgressLine line(terminal, 3);
        line.update({0, {"HRB400", 250}, "C", 240000, 236000, false});
        const QString shown = QString::fromUtf8(terminal.data());
        EXPECT_TRUE(shown.startsWith(QStringLiteral("\r\x1b[K")));
        EXPECT_TRUE(shown.contains(QStringLiteral("0/3")));
        EXPECT_TRUE(shown.contains(QStringLiteral("C25 用钢 240000 mm，下界 236000 mm")))
            << shown.toStdString();
        EXPECT_FALSE(shown.contains(u'\n'));
    }
    EXPECT_TRUE(terminal.data().endsWith("\r\x1b[K"));
}

TEST(ProgressLine, WritesNothingWhenTheSearchReportsNothing) {
    QBuffer terminal;
    terminal.open(QIODevice::WriteOnly);
    { const cli::ProgressLine line(terminal, 2); }
    EXPECT_TRUE(terminal.data().isEmpty());
}

} // namespace
