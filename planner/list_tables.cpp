#include "planner/list_tables.h"

#include "formats/messages.h"
#include "formats/setting_text.h"

namespace planner {
namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

std::string utf8(const QString& text) {
    return text.toStdString();
}

QStringList pieceHeaders(const QStringList& otherColumns) {
    QStringList headers{QStringLiteral("编号"), QStringLiteral("直径"), QStringLiteral("长度 (mm)"),
                        QStringLiteral("根数"), QStringLiteral("形状"), QStringLiteral("参数")};
    for (const QString& name : otherColumns) {
        // A column header a person can read, and a screen reader can say.
        headers.append(name.isEmpty() ? QStringLiteral("（无列名）") : name);
    }
    return headers;
}

} // namespace

ListTables::ListTables()
    : pieces(pieceHeaders({}), true),
      offcuts({QStringLiteral("直径"), QStringLiteral("长度 (mm)"), QStringLiteral("根数")}, true),
      stock({QStringLiteral("原材长度 (mm)")}, true),
      settings({QStringLiteral("锯口 (mm)"), QStringLiteral("最短余料 (mm)"),
                QStringLiteral("时限 (秒)"), QStringLiteral("项目名称")},
               false) {
    pieces.setFigureColumns({kDiameter, kLength, kCount});
    offcuts.setFigureColumns({kOffcutDiameter, kOffcutLength, kOffcutCount});
    stock.setFigureColumns({0});
    clear();
}

void ListTables::load(const formats::ListDocument& document) {
    otherColumns_.clear();
    for (const std::string& name : document.otherColumns) {
        otherColumns_.append(fromUtf8(name));
    }
    std::vector<TextTable::Row> rows;
    for (const formats::ListRow& r : document.rows) {
        TextTable::Row row{fromUtf8(r.piece.mark),   fromUtf8(r.piece.diameter),
                           fromUtf8(r.piece.length), fromUtf8(r.piece.count),
                           fromUtf8(r.shape),        fromUtf8(r.parameters)};
        for (const std::string& cell : r.others) {
            row.append(fromUtf8(cell));
        }
        rows.push_back(std::move(row));
    }
    pieces.replaceAll(pieceHeaders(otherColumns_), std::move(rows));

    std::vector<TextTable::Row> yard;
    for (const plan::OffcutRow& r : document.offcuts) {
        yard.push_back({fromUtf8(r.diameter), fromUtf8(r.length), fromUtf8(r.count)});
    }
    offcuts.replaceAll(std::move(yard));

    const plan::Settings values = formats::applied(document.settings, plan::Settings{});
    std::vector<TextTable::Row> lengths;
    for (const std::int64_t length : values.stockLengths) {
        lengths.push_back({QString::number(length)});
    }
    stock.replaceAll(std::move(lengths));
    settings.replaceAll({{QString::number(values.kerf), QString::number(values.keep),
                          fromUtf8(formats::secondsText(values.seconds)),
                          fromUtf8(document.settings.project.value_or(std::string{}))}});
}

void ListTables::clear() {
    load(formats::ListDocument{});
}

QString ListTables::project() const {
    return settings.text(0, kProject).trimmed();
}

ForFile toDocument(const ListTables& tables) {
    formats::ListDocument document;
    for (const QString& name : tables.otherColumns()) {
        document.otherColumns.push_back(utf8(name));
    }
    const int columns = kPieceColumns + static_cast<int>(tables.otherColumns().size());
    for (int row = 0; row < tables.pieces.dataRows(); ++row) {
        if (tables.pieces.blankRow(row)) {
            continue;
        }
        const auto cell = [&](int column) {
            return utf8(tables.pieces.text(row, column));
        };
        std::vector<std::string> others;
        for (int column = kPieceColumns; column < columns; ++column) {
            others.push_back(cell(column));
        }
        document.rows.push_back(
            {{cell(kMark), cell(kDiameter), cell(kLength), cell(kCount), row + 1},
             cell(kShape),
             cell(kParameters),
             std::move(others)});
    }
    for (int row = 0; row < tables.offcuts.dataRows(); ++row) {
        if (tables.offcuts.blankRow(row)) {
            continue;
        }
        const auto cell = [&](int column) {
            return utf8(tables.offcuts.text(row, column));
        };
        document.offcuts.push_back(
            {cell(kOffcutDiameter), cell(kOffcutLength), cell(kOffcutCount), row + 1});
    }

    QStringList lengths;
    for (int row = 0; row < tables.stock.dataRows(); ++row) {
        if (!tables.stock.blankRow(row)) {
            lengths.append(tables.stock.text(row, 0).trimmed());
        }
    }
    const auto stock = formats::readStockLengths(utf8(lengths.join(u';')));
    const auto kerf = formats::readKerf(utf8(tables.settings.text(0, kKerf)));
    const auto keep = formats::readKeep(utf8(tables.settings.text(0, kKeep)));
    const auto seconds = formats::readSeconds(utf8(tables.settings.text(0, kSeconds)));
    for (const auto& error : {stock.error, kerf.error, keep.error, seconds.error}) {
        if (error) {
            return {std::nullopt, formats::describe(*error)};
        }
    }
    document.settings.stockLengths = stock.value;
    document.settings.kerf = kerf.value;
    document.settings.keep = keep.value;
    document.settings.seconds = seconds.value;
    if (const QString project = tables.project(); !project.isEmpty()) {
        document.settings.project = utf8(project);
    }
    return {std::move(document), {}};
}

} // namespace planner
