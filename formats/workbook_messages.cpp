#include "formats/messages.h"

#include <QStringList>

namespace formats {
namespace {

QString sheetList(const std::vector<std::string>& sheets) {
    QStringList names;
    for (const std::string& name : sheets) {
        names.append(QStringLiteral("“%1”").arg(QString::fromStdString(name)));
    }
    return names.isEmpty() ? QStringLiteral("没有工作表") : names.join(u'、');
}

} // namespace

QString describeWorkbook(const FileError& error) {
    const QString sheet = QString::fromStdString(error.text);
    switch (error.workbook) {
    case WorkbookProblem::Encrypted:
        return QStringLiteral("工作簿设有打开密码，无法读取（请在 Excel 中取消密码后另存）");
    case WorkbookProblem::Corrupt:
        return QStringLiteral("工作簿已损坏或不完整，无法读取");
    case WorkbookProblem::NotWorkbook:
        return QStringLiteral("不是 Excel 工作簿（.xlsx 或 .xls）");
    case WorkbookProblem::UnreadableSheet:
        return QStringLiteral("工作表“%1”无法读取").arg(sheet);
    case WorkbookProblem::TooLarge:
        return sheet.isEmpty() ? QStringLiteral("工作簿过大，超过可读取的范围")
                               : QStringLiteral("工作表“%1”过大，超过可读取的范围").arg(sheet);
    case WorkbookProblem::NoTable:
        return QStringLiteral(
                   "没有一张工作表含有清单的表头（编号、直径、长度、根数）；看过的工作表：%1")
            .arg(sheetList(error.sheets));
    case WorkbookProblem::NoOffcutTable:
        return QStringLiteral("没有一张工作表含有余料的表头（直径、长度、根数）；看过的工作表：%1")
            .arg(sheetList(error.sheets));
    case WorkbookProblem::UnknownSheet:
        return QStringLiteral("没有名为“%1”的工作表；工作簿里有：%2")
            .arg(sheet, sheetList(error.sheets));
    case WorkbookProblem::ReaderFailed:
        return QStringLiteral("无法读取：文件可能已损坏");
    case WorkbookProblem::ReaderMissing:
        return QStringLiteral("无法读取 .xls：找不到读取程序 hengchi-xls-reader（请重新安装衡尺）");
    }
    return {};
}

} // namespace formats
