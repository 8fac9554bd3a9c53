#include "cli/yard_steps.h"

#include "cli/command.h"
#include "cli/inputs.h"
#include "formats/messages.h"
#include "formats/save.h"
#include "formats/setting_text.h"
#include "formats/sheet_files.h"

#include <QFile>
#include <QFileInfo>

#include "yard/files.h"
#include "yard/messages.h"

namespace cli {
namespace {

void writeLine(QIODevice& device, const QString& text) {
    device.write(text.toUtf8());
    device.write("\n");
}

void say(QIODevice& err, const QString& text) {
    writeLine(err, QStringLiteral("hengchi-plan: %1").arg(text));
}

QString yardName(const Arguments& arguments) {
    return *arguments.yard;
}

// The exit code of a yard's refusal, and its complaint naming the file.
int refused(const Arguments& arguments, const yard::Error& error, QIODevice& err) {
    writeLine(err, complaintText({yardName(arguments), 0, yard::describe(error)}));
    switch (error.problem) {
    case yard::Problem::Missing:
    case yard::Problem::NoEntry:
    case yard::Problem::NotACommit:
    case yard::Problem::Invalid:
        return kBadInput;
    case yard::Problem::Stale:
    case yard::Problem::AlreadyUndone:
    case yard::Problem::RemnantsTaken:
    case yard::Problem::NoRow:
        return kRefused;
    case yard::Problem::CannotOpen:
    case yard::Problem::Damaged:
    case yard::Problem::NotAYard:
    case yard::Problem::Newer:
    case yard::Problem::ReadOnly:
    case yard::Problem::Locked:
    case yard::Problem::DiskFull:
    case yard::Problem::Failed:
        break;
    }
    return kYardFailed;
}

std::int64_t barsOf(const std::vector<yard::Moved>& moved) {
    std::int64_t bars = 0;
    for (const yard::Moved& m : moved) {
        bars += m.count;
    }
    return bars;
}

int undo(const Arguments& arguments, yard::Yard& store, QIODevice& err) {
    bool whole = false;
    const qint64 id = arguments.undoCommit->trimmed().toLongLong(&whole);
    if (!whole || id <= 0) {
        say(err, QStringLiteral("--undo-commit %1: 应为确认下料的记录号（--yard-history 列出）")
                     .arg(*arguments.undoCommit));
        return kBadInput;
    }
    const yard::Result<yard::Entry> undone = store.undo(id);
    if (undone.error) {
        return refused(arguments, *undone.error, err);
    }
    say(err, QStringLiteral("已撤销第 %1 号确认下料：放回 %2；取走 %3")
                 .arg(id)
                 .arg(yard::movedText(undone.value.taken), yard::movedText(undone.value.added)));
    return kPlanned;
}

int import(const Arguments& arguments, yard::Yard& store, QIODevice& err) {
    const QString& path = *arguments.yardImport;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        writeLine(err, complaintText({path, 0,
                                      file.exists()
                                          ? QStringLiteral("无法读取（%1）").arg(file.errorString())
                                          : QStringLiteral("文件不存在")}));
        return kBadInput;
    }
    std::vector<Complaint> complaints;
    const std::vector<formats::GradeCode> grades =
        gradeTable(arguments, formats::ListDocument{}, complaints);
    const yard::ImportRead read = yard::readImport(file.readAll(), path, grades);
    for (const formats::FileError& e : read.fileErrors) {
        complaints.push_back({path, e.line, formats::describe(e),
                              read.place.sheet.empty() ? QString() : placeText(read.place, e)});
    }
    for (const plan::InputError& e : read.errors) {
        complaints.push_back({path, e.line, formats::describe(e),
                              read.place.sheet.empty() ? QString() : placeText(read.place, e)});
    }
    if (!complaints.empty()) {
        for (const Complaint& c : complaints) {
            writeLine(err, complaintText(c));
        }
        return kBadInput;
    }
    yard::Origin origin;
    origin.list = QFileInfo(path).fileName().toStdString();
    const yard::Result<yard::Entry> added = store.add(read.bars, yard::EntryKind::Import, origin);
    if (added.error) {
        return refused(arguments, *added.error, err);
    }
    say(err, QStringLiteral("已把“%1”的 %2 行余料（共 %3 根）加入余料库，记为第 %4 号")
                 .arg(QFileInfo(path).fileName())
                 .arg(read.bars.size())
                 .arg(barsOf(added.value.added))
                 .arg(added.value.source.id));
    return kPlanned;
}

int scrap(const Arguments& arguments, yard::Yard& store, QIODevice& err) {
    const formats::SettingValue<std::int64_t> below =
        formats::readKeep(arguments.scrapBelow->toStdString());
    if (below.error) {
        say(err, QStringLiteral("--scrap-below %1: %2")
                     .arg(*arguments.scrapBelow, formats::describe(*below.error)));
        return kBadInput;
    }
    const yard::Result<yard::Entry> scrapped = store.scrap({}, below.value);
    if (scrapped.error) {
        return refused(arguments, *scrapped.error, err);
    }
    if (scrapped.value.source.id == 0) {
        say(err, QStringLiteral("余料库里没有短于 %1 mm 的余料").arg(below.value));
    } else {
        say(err, QStringLiteral("已报废短于 %1 mm 的余料 %2 根（%3），记为第 %4 号")
                     .arg(below.value)
                     .arg(barsOf(scrapped.value.taken))
                     .arg(yard::movedText(scrapped.value.taken))
                     .arg(scrapped.value.source.id));
    }
    return kPlanned;
}

} // namespace

QString yardOptionsWrong(const Arguments& a) {
    if (!a.yard) {
        const std::pair<bool, const char*> needsYard[] = {
            {a.commit, "--commit"},
            {a.undoCommit.has_value(), "--undo-commit"},
            {a.yardImport.has_value(), "--yard-import"},
            {a.scrapBelow.has_value(), "--scrap-below"},
            {a.yardCsv.has_value(), "--yard-csv"},
            {a.yardXlsx.has_value(), "--yard-xlsx"},
            {a.yardHistory, "--yard-history"},
            {a.place.has_value(), "--place"}};
        for (const auto& [given, name] : needsYard) {
            if (given) {
                return QStringLiteral("%1 要与 --yard FILE 同用。").arg(QLatin1String(name));
            }
        }
        return {};
    }
    if (a.offcuts) {
        return QStringLiteral("--yard 和 --offcuts 只能用一个：余料库就是库存余料。");
    }
    // A change made before a list turned out wrong would break the promise that a wrong input
    // changes nothing.
    if ((a.undoCommit || a.yardImport || a.scrapBelow) && !a.pieces.isEmpty()) {
        return QStringLiteral("--undo-commit、--yard-import 和 --scrap-below 只改余料库，"
                              "不能与清单文件同用。");
    }
    if (a.commit && a.pieces.isEmpty()) {
        return QStringLiteral("--commit 要有清单文件：确认的是这份清单的下料方案。");
    }
    if (a.place && !a.commit) {
        return QStringLiteral("--place 记在确认下料的记录里，要与 --commit 同用。");
    }
    if (a.yardXlsx && *a.yardXlsx == u"-") {
        return QStringLiteral("--yard-xlsx 不能写到标准输出，请给出文件名。");
    }
    const int toStandardOutput =
        (a.json && *a.json == u"-") + (a.csv && *a.csv == u"-") + (a.yardCsv && *a.yardCsv == u"-");
    if (toStandardOutput > 1 || (toStandardOutput == 1 && a.yardHistory)) {
        return QStringLiteral(
            "--json、--csv、--yard-csv 和 --yard-history 只能有一个写到标准输出。");
    }
    return {};
}

int openYard(const Arguments& arguments, QIODevice& err, std::unique_ptr<yard::Yard>& into) {
    yard::Options options;
    options.create = arguments.commit || arguments.yardImport.has_value();
    yard::Result<std::unique_ptr<yard::Yard>> opened =
        yard::Yard::open(yardName(arguments).toStdString(), options);
    if (opened.error) {
        return refused(arguments, *opened.error, err);
    }
    into = std::move(opened.value);
    return kPlanned;
}

int changeYard(const Arguments& arguments, yard::Yard& store, QIODevice& err) {
    int code = kPlanned;
    if (arguments.undoCommit) {
        code = undo(arguments, store, err);
    }
    if (code == kPlanned && arguments.yardImport) {
        code = import(arguments, store, err);
    }
    if (code == kPlanned && arguments.scrapBelow) {
        code = scrap(arguments, store, err);
    }
    return code;
}

int commitPlan(const Arguments& arguments, yard::Yard& store, const plan::Plan& plan,
               const QString& project, const QString& floor, QIODevice& err) {
    if (plan.cancelled) {
        say(err, QStringLiteral("搜索被中断，没有确认下料；余料库没有改动。"));
        return kRefused;
    }
    yard::Origin origin;
    origin.list = QFileInfo(arguments.pieces).fileName().toStdString();
    origin.project = project.toStdString();
    origin.floor = floor.trimmed().toStdString();
    origin.place = arguments.place.value_or(QString()).trimmed().toStdString();
    const yard::Result<yard::Entry> committed = store.commit(plan, origin);
    if (committed.error) {
        return refused(arguments, *committed.error, err);
    }
    const yard::Entry& entry = committed.value;
    say(err, QStringLiteral("已确认下料，记为余料库第 %1 号：取出 %2；放回 %3（撤销用 "
                            "--undo-commit %1）")
                 .arg(entry.source.id)
                 .arg(yard::movedText(entry.taken), yard::movedText(entry.added)));
    return kPlanned;
}

int showYard(const Arguments& arguments, const yard::Yard& store, QIODevice& out, QIODevice& err) {
    if (arguments.yardCsv || arguments.yardXlsx) {
        const yard::Result<std::vector<yard::Offcut>> rows = store.offcuts();
        if (rows.error) {
            return refused(arguments, *rows.error, err);
        }
        const formats::Table table = yard::offcutsTable(rows.value);
        if (arguments.yardCsv) {
            const QByteArray bytes = formats::tablesCsv({table});
            if (*arguments.yardCsv == u"-") {
                out.write(bytes);
            } else if (const QString failed = formats::saveFile(*arguments.yardCsv, bytes);
                       !failed.isEmpty()) {
                say(err, failed);
                return kNotWritten;
            }
        }
        if (arguments.yardXlsx) {
            const formats::Workbook book = formats::tablesXlsx({table});
            const QString failed = book.error.isEmpty()
                                       ? formats::saveFile(*arguments.yardXlsx, book.bytes)
                                       : book.error;
            if (!failed.isEmpty()) {
                say(err, failed);
                return kNotWritten;
            }
        }
    }
    if (arguments.yardHistory) {
        const yard::Result<std::vector<yard::Entry>> history = store.history();
        if (history.error) {
            return refused(arguments, *history.error, err);
        }
        if (history.value.empty()) {
            out.write(QStringLiteral("余料库还没有记录。\n").toUtf8());
        }
        for (const yard::Entry& entry : history.value) {
            out.write(yard::entryText(entry).toUtf8());
        }
    }
    return kPlanned;
}

} // namespace cli
