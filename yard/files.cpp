#include "yard/files.h"

#include "formats/offcuts_file.h"
#include "plan/number.h"

#include <map>

#include <QDir>
#include <QStandardPaths>

#include "yard/messages.h"

namespace yard {

QString defaultPath() {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (folder.isEmpty() || !QDir().mkpath(folder)) {
        return {};
    }
    return QDir(folder).filePath(QStringLiteral("余料库.sqlite"));
}

formats::Table offcutsTable(const std::vector<Offcut>& rows) {
    formats::Table table;
    table.title = QStringLiteral("余料库");
    table.header = {QStringLiteral("级别"),    QStringLiteral("直径"), QStringLiteral("长度"),
                    QStringLiteral("根数"),    QStringLiteral("位置"), QStringLiteral("来源"),
                    QStringLiteral("入库时间")};
    const auto integer = [](std::int64_t value) {
        return formats::Cell{formats::CellKind::Integer, QString::number(value),
                             static_cast<double>(value)};
    };
    const auto text = [](const QString& value) {
        return formats::Cell{formats::CellKind::Text, value, 0};
    };
    for (const Offcut& row : rows) {
        // A diameter of whole millimetres is a number; 6.5 stays text, which a format of whole
        // numbers would show as 7.
        const QString diameter = QString::fromStdString(plan::diameterText(row.steel.diameter));
        table.rows.push_back(
            {text(QString::fromStdString(row.steel.grade)),
             row.steel.diameter % 10 == 0 ? integer(row.steel.diameter / 10) : text(diameter),
             integer(row.length), integer(row.count), text(QString::fromStdString(row.place)),
             text(originText(row.source)), text(timeText(row.source.time))});
    }
    return table;
}

ImportRead readImport(const QByteArray& bytes, const QString& fileName,
                      const std::vector<formats::GradeCode>& grades) {
    ImportRead out;
    formats::OffcutsRead read = formats::readOffcutsFile(bytes, fileName);
    out.fileErrors = std::move(read.errors);
    out.place = read.place;
    std::map<int, std::string> places;
    for (std::size_t i = 0; i < read.offcuts.size(); ++i) {
        places[read.offcuts[i].line] = read.places[i];
    }
    plan::CheckedOffcuts checked = formats::checkOffcutRows(std::move(read.offcuts), grades);
    out.errors = std::move(checked.errors);
    if (!out.fileErrors.empty() || !out.errors.empty()) {
        return out;
    }
    for (const plan::Offcut& offcut : checked.offcuts) {
        out.bars.push_back({offcut.steel, offcut.length, offcut.count, places[offcut.line]});
    }
    return out;
}

} // namespace yard
