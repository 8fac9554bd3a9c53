// The yard shared by processes: one killed at random moments of its commits leaves the file as
// before or as after each commit, never between; two committing at once against the same scarce
// offcuts each land whole or are refused as stale, and the counts add up to what landed. What
// the tests check holds at any moment a kill lands or any order the writers take turns in.
#include <csignal>
#include <random>

#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include "tests/yard/yard_fixture.h"
#include "yard/messages.h"

namespace {

using namespace yard_test;

std::unique_ptr<yard::Yard> openYard(const std::string& file, bool create = false) {
    yard::Options options;
    options.create = create;
    auto result = yard::Yard::open(file, options);
    EXPECT_FALSE(result.error) << (result.error ? yard::describe(*result.error).toStdString() : "");
    return std::move(result.value);
}

// Commits of the churning writer that stand: made and not undone.
std::int64_t standing(const yard::Yard& store) {
    std::int64_t count = 0;
    for (const yard::Entry& e : store.history().value) {
        count += e.source.kind == yard::EntryKind::Commit && !e.undone;
    }
    return count;
}

TEST(Processes, AWriterKilledAtRandomLeavesEachCommitWholeOrUndone) {
    const QTemporaryDir dir;
    const std::string file = dir.filePath(QStringLiteral("yard.sqlite")).toStdString();
    constexpr std::int64_t kHeld = 100'000;
    {
        auto store = openYard(file, true);
        ASSERT_FALSE(
            store->add({{kC25, 3000, kHeld}, {kC25, 2000, kHeld}}, yard::EntryKind::Import, {})
                .error);
    }
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> microseconds(0, 15'000);
    std::int64_t commits = 0;
    for (int round = 0; round < 30; ++round) {
        QProcess writer;
        writer.start(QStringLiteral(HENGCHI_YARD_WRITER),
                     {QStringLiteral("churn"), QString::fromStdString(file)});
        ASSERT_TRUE(writer.waitForReadyRead(30'000)) << writer.readAllStandardError().toStdString();
        QThread::usleep(static_cast<unsigned long>(microseconds(random)));
        ::kill(static_cast<pid_t>(writer.processId()), SIGKILL);
        ASSERT_TRUE(writer.waitForFinished(30'000));
        ASSERT_EQ(writer.exitStatus(), QProcess::CrashExit)
            << "the writer stopped by itself: " << writer.readAllStandardError().toStdString();

        auto store = openYard(file);
        ASSERT_TRUE(store);
        const std::int64_t k = standing(*store);
        Counts want{{{250, "HRB400", 3000}, kHeld - k}, {{250, "HRB400", 2000}, kHeld - k}};
        if (k > 0) {
            want[{250, "HRB400", 1000}] = k;
            want[{80, "", 800}] = 2 * k;
        }
        ASSERT_EQ(countsOf(*store), want) << "round " << round << ", " << k << " commits standing";
        commits = static_cast<std::int64_t>(store->history().value.size());
    }
    EXPECT_GT(commits, 30); // the import, and each round's first commit at least
}

TEST(Processes, TwoWritersRacingForScarceOffcutsLandWholeOrAreRefused) {
    const QTemporaryDir dir;
    const std::string file = dir.filePath(QStringLiteral("yard.sqlite")).toStdString();
    constexpr int kScarce = 200;
    constexpr int kEach = 150;
    {
        auto store = openYard(file, true);
        ASSERT_FALSE(
            store->add({{kC25, 3000, kScarce}, {kC20, 5000, 1000}}, yard::EntryKind::Import, {})
                .error);
    }
    QProcess first;
    QProcess second;
    for (QProcess* writer : {&first, &second}) {
        writer->start(
            QStringLiteral(HENGCHI_YARD_WRITER),
            {QStringLiteral("race"), QString::fromStdString(file), QString::number(kEach)});
    }
    int landed = 0;
    int stale = 0;
    for (QProcess* writer : {&first, &second}) {
        ASSERT_TRUE(writer->waitForFinished(120'000));
        ASSERT_EQ(writer->exitCode(), 0) << writer->readAllStandardError().toStdString();
        const QStringList figures = QString::fromUtf8(writer->readAllStandardOutput()).split(u' ');
        ASSERT_EQ(figures.size(), 2);
        landed += figures[0].toInt();
        stale += figures[1].trimmed().toInt();
    }
    // However the two took turns, the scarce offcuts allow exactly this many.
    EXPECT_EQ(landed, kScarce);
    EXPECT_EQ(stale, 2 * kEach - kScarce);
    auto store = openYard(file);
    const Counts want{{{200, "HRB400", 5000}, 1000 - landed}, {{250, "HRB400", 800}, landed}};
    EXPECT_EQ(countsOf(*store), want);
    EXPECT_EQ(standing(*store), landed);
}

} // namespace
