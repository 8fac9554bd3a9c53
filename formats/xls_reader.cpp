#include "formats/xls_reader.h"

#include "formats/xls_answer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>

namespace formats {
namespace {

constexpr auto kProgramName = "hengchi-xls-reader";

WorkbookRead failed(WorkbookProblem problem) {
    return {{}, WorkbookError{problem, {}, {}}};
}

bool executable(const QString& path) {
    const QFileInfo info(path);
    return info.isFile() && info.isExecutable();
}

} // namespace

QString xlsReaderProgram() {
    if (qEnvironmentVariableIsSet("HENGCHI_XLS_READER")) {
        const QString set = qEnvironmentVariable("HENGCHI_XLS_READER");
        return executable(set) ? set : QString();
    }
    QStringList places;
    if (QCoreApplication::instance() != nullptr) {
        const QString dir = QCoreApplication::applicationDirPath();
        places << dir + u'/' + QLatin1String(kProgramName)
               << dir + QStringLiteral("/../libexec/hengchi/") + QLatin1String(kProgramName);
    }
    places << QStringLiteral(HENGCHI_XLS_READER_INSTALLED)
           << QStringLiteral(HENGCHI_XLS_READER_BUILT);
    for (const QString& place : places) {
        if (executable(place)) {
            return QFileInfo(place).canonicalFilePath();
        }
    }
    return {};
}

WorkbookRead readXls(const QByteArray& bytes, const WorkbookLimits& limits) {
    const QString program = xlsReaderProgram();
    if (program.isEmpty()) {
        return failed(WorkbookProblem::ReaderMissing);
    }
    // The workbook goes in as a file the child opens, so that neither side waits on a pipe the
    // other has not read.
    QTemporaryFile input;
    if (!input.open() || input.write(bytes) != bytes.size() || !input.flush()) {
        return failed(WorkbookProblem::UnreadableSheet);
    }
    QProcess child;
    child.setProgram(program);
    child.setArguments({input.fileName(), QString::number(limits.rows),
                        QString::number(limits.columns), QString::number(limits.cells)});
    child.setStandardInputFile(QProcess::nullDevice());
    child.setStandardErrorFile(QProcess::nullDevice());
    child.start(QIODevice::ReadOnly);
    if (!child.waitForStarted(10'000)) {
        return failed(WorkbookProblem::ReaderFailed);
    }
    // What the child may write: its cells' texts, within the limits, and their framing.
    const qint64 most = limits.totalBytes * 2 + limits.cells * 16;
    QByteArray answer;
    const QDeadlineTimer deadline(static_cast<qint64>(limits.readerSeconds * 1000));
    while (child.state() != QProcess::NotRunning) {
        if (!child.waitForReadyRead(
                static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1))) &&
            child.state() != QProcess::NotRunning) {
            child.waitForFinished(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)));
        }
        answer += child.readAllStandardOutput();
        if (answer.size() > most) {
            child.kill();
            child.waitForFinished();
            return failed(WorkbookProblem::TooLarge);
        }
        if (deadline.hasExpired() && child.state() != QProcess::NotRunning) {
            child.kill();
            child.waitForFinished();
            return failed(WorkbookProblem::ReaderFailed);
        }
    }
    answer += child.readAllStandardOutput();
    if (child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0) {
        return failed(WorkbookProblem::ReaderFailed);
    }
    return readXlsAnswer(answer, limits);
}

} // namespace formats
