#include "formats/workbook.h"
#include "formats/xls_answer.h"
#include "formats/xls_reader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// FreeXL runs in a child process: whatever happens to the child, the program gets a workbook or
// an error it can name, and lives on.
namespace {

using formats::WorkbookProblem;

QString s(const char* text) {
    return QString::fromUtf8(text);
}

// The workbook's problem, or nothing when it was read.
std::optional<WorkbookProblem> problemOf(const formats::WorkbookRead& read) {
    return read.error ? std::optional(read.error->problem) : std::nullopt;
}

// Files with which the fuzzer found FreeXL reading out of bounds: a damaged file, said so, and
// never a crash of the program reading the list (under the sanitizers the child's crash is
// caught; without them FreeXL's own error is).
TEST(XlsReader, TheFilesThatBreakFreexlAreNamedErrors) {
    const QDir findings(s(HENGCHI_FREEXL_FINDINGS));
    const QStringList files = findings.entryList({s("crash-*")}, QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        QFile file(findings.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const auto problem = problemOf(formats::readWorkbook(file.readAll(), s("清单.xls")));
        EXPECT_TRUE(problem == WorkbookProblem::Corrupt || problem == WorkbookProblem::ReaderFailed)
            << name.toStdString();
    }
}

// A stand-in for the child, written as a shell script, put in place for one test.
class FakeReader : public testing::Test {
protected:
    void use(const char* script) {
        const QString path = dir_.filePath(s("reader"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray("#!/bin/sh\n") + script + "\n");
        file.close();
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        qputenv("HENGCHI_XLS_READER", QFile::encodeName(path));
    }
    void TearDown() override { qunsetenv("HENGCHI_XLS_READER"); }

    static std::optional<WorkbookProblem> readWith(double seconds = 30) {
        formats::WorkbookLimits limits;
        limits.readerSeconds = seconds;
        // An OLE header: the .xls engine is asked.
        const QByteArray ole("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
        return problemOf(formats::readWorkbook(ole + QByteArray(504, '\0'), s("a.xls"), limits));
    }

    QTemporaryDir dir_;
};

TEST_F(FakeReader, ACrashIsADamagedFile) {
    use("kill -SEGV $$");
    EXPECT_EQ(readWith(), WorkbookProblem::ReaderFailed);
}

TEST_F(FakeReader, AReaderThatRunsOnIsStoppedAtItsTime) {
    use("exec sleep 60");
    EXPECT_EQ(readWith(0.3), WorkbookProblem::ReaderFailed);
}

TEST_F(FakeReader, AnAnswerCutShortIsNoHalfWorkbook) {
    use("printf 'HXLS1\\nS\\005\\000\\000\\000Sheet'");
    EXPECT_EQ(readWith(), WorkbookProblem::ReaderFailed);
}

TEST_F(FakeReader, AMissingReaderIsSaid) {
    qputenv("HENGCHI_XLS_READER", "/nonexistent/hengchi-xls-reader");
    EXPECT_EQ(readWith(), WorkbookProblem::ReaderMissing);
}

// The answer's two sides agree, and the reader's side keeps the workbook limits.
TEST(XlsAnswer, ReadsBackWhatWasWrittenWithinTheLimits) {
    formats::XlsAnswer answer;
    answer.sheet(s("钢筋表"));
    answer.cell(1, 0, s("编号"));
    answer.cell(3, 2, s("6456.34"));
    const QByteArray bytes = answer.finished();
    const formats::WorkbookRead read = formats::readXlsAnswer(bytes, {});
    ASSERT_FALSE(read.error.has_value());
    ASSERT_EQ(read.sheets.size(), 1U);
    EXPECT_EQ(read.sheets[0].name, s("钢筋表"));
    ASSERT_EQ(read.sheets[0].rows.records.size(), 2U);
    EXPECT_EQ(read.sheets[0].rows.records[1].line, 3);
    EXPECT_EQ(read.sheets[0].rows.records[1].cells.value(2), s("6456.34"));

    formats::WorkbookLimits narrow;
    narrow.columns = 2;
    EXPECT_EQ(problemOf(formats::readXlsAnswer(bytes, narrow)), WorkbookProblem::TooLarge);
    EXPECT_EQ(problemOf(formats::readXlsAnswer(bytes.left(bytes.size() - 1), {})),
              WorkbookProblem::ReaderFailed);
}

} // namespace
