#include "planner/list_io.h"

#include "formats/list_input.h"
#include "formats/messages.h"
#include "formats/save.h"
#include "planner/list_tables.h"

#include <algorithm>

#include <QFile>
#include <QStringList>

namespace planner {
namespace {

constexpr qsizetype kShownProblems = 12;

QString encodingName(formats::Encoding encoding) {
    switch (encoding) {
    case formats::Encoding::Utf8:
        return QStringLiteral("UTF-8");
    case formats::Encoding::Utf8WithBom:
        return QStringLiteral("UTF-8（带 BOM）");
    case formats::Encoding::Gb18030:
        return QStringLiteral("GB18030");
    case formats::Encoding::Utf16:
        return QStringLiteral("UTF-16");
    }
    return {};
}

// Without these nothing of the pieces table can be read.
bool unreadable(const formats::FileError& error) {
    switch (error.problem) {
    case formats::FileProblem::NotText:
    case formats::FileProblem::NoHeader:
    case formats::FileProblem::MissingColumn:
    case formats::FileProblem::RepeatedColumn:
    case formats::FileProblem::Workbook:
        return true;
    case formats::FileProblem::UnclosedQuote:
    case formats::FileProblem::UnknownSection:
    case formats::FileProblem::RepeatedSection:
    case formats::FileProblem::UnknownSetting:
    case formats::FileProblem::RepeatedSetting:
    case formats::FileProblem::BadSetting:
    case formats::FileProblem::BadGradeCode:
    case formats::FileProblem::UnknownGradeName:
    case formats::FileProblem::RepeatedGradeCode:
    case formats::FileProblem::ElementWithoutCount:
    case formats::FileProblem::NoElements:
    case formats::FileProblem::BarBeforeElement:
        break;
    }
    return false;
}

} // namespace

OpenedList readListFile(const QString& path) {
    OpenedList out;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        out.problems = QStringLiteral("无法打开“%1”：%2").arg(path, file.errorString());
        return out;
    }
    const QByteArray bytes = file.readAll();
    const formats::ListRead read = formats::readListFile(bytes, path);
    out.workbook = formats::isWorkbookFile(bytes, path);
    out.encoding = out.workbook
                       ? QStringLiteral("工作表“%1”").arg(QString::fromStdString(read.place.sheet))
                       : encodingName(read.encoding);
    QStringList lines;
    for (const formats::FileError& error : read.errors) {
        const QString what = formats::describe(error);
        if (error.line <= 0) {
            lines.append(what);
        } else if (out.workbook) {
            lines.append(QStringLiteral("%1：%2").arg(formats::placeText(read.place, error), what));
        } else {
            lines.append(QStringLiteral("第 %1 行：%2").arg(error.line).arg(what));
        }
    }
    if (lines.size() > kShownProblems) {
        const qsizetype more = lines.size() - kShownProblems;
        lines.resize(kShownProblems);
        lines.append(QStringLiteral("……还有 %1 处").arg(more));
    }
    out.problems = lines.join(u'\n');
    if (std::ranges::none_of(read.errors, unreadable)) {
        out.document = read.document;
    }
    return out;
}

QString writeListFile(const QString& path, const ListTables& tables) {
    const ForFile file = toDocument(tables);
    if (!file.document) {
        return QStringLiteral("设置有误，没有保存：%1").arg(file.error);
    }
    return formats::saveFile(path, formats::writeList(*file.document));
}

} // namespace planner
