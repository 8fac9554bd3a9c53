#include "planner/list_tables.h"

#include "formats/messages.h"
#include "formats/setting_text.h"
#include "planner/joint_settings.h"

#include <algorithm>
#include <array>

namespace planner {
namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

std::string utf8(const QString& text) {
    return text.toStdString();
}

// A schedule's grade and count columns, a long bar's joint columns and the floor, those the
// document's rows use, shown among the other columns.
struct ScheduleColumn {
    QString name;
    std::string plan::PieceRow::*field;
};

std::vector<ScheduleColumn> scheduleColumns(const formats::ListDocument& document) {
    std::vector<ScheduleColumn> out;
    for (const formats::RowColumn& column : formats::rowColumns()) {
        const auto field = plan::rowText(column.field);
        const bool used = std::ranges::any_of(document.rows, [field](const formats::ListRow& r) {
            return !QString::fromStdString(r.piece.*field).trimmed().isEmpty();
        });
        if (used) {
            out.push_back({column.name, field});
        }
    }
    return out;
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
    : pieces(pieceHeaders({}), true), offcuts({QStringLiteral("直径"), QStringLiteral("长度 (mm)"),
                                               QStringLiteral("根数"), QStringLiteral("级别")},
                                              true),
      stock({QStringLiteral("原材长度 (mm)")}, true),
      settings({QStringLiteral("锯口 (mm)"), QStringLiteral("最短余料 (mm)"),
                QStringLiteral("时限 (秒)"), QStringLiteral("项目名称"), QStringLiteral("混凝土"),
                QStringLiteral("抗震等级"), QStringLiteral("机械连接直径 (mm)"),
                QStringLiteral("搭接接头率 (%)"), QStringLiteral("机械接头率 (%)"),
                QStringLiteral("最短分段 (mm)"), QStringLiteral("对焊余量 (mm)"),
                QStringLiteral("允许多一个接头"), QStringLiteral("按造价接长"),
                QStringLiteral("钢材单价 (元/t)"), QStringLiteral("接头单价 (元)")},
               false),
      grades({QStringLiteral("代号"), QStringLiteral("牌号")}, true) {
    pieces.setFigureColumns({kDiameter, kLength, kCount});
    offcuts.setFigureColumns({kOffcutDiameter, kOffcutLength, kOffcutCount});
    stock.setFigureColumns({0});
    clear();
}

void ListTables::load(const formats::ListDocument& document) {
    otherColumns_.clear();
    const std::vector<ScheduleColumn> schedule = scheduleColumns(document);
    for (const ScheduleColumn& column : schedule) {
        otherColumns_.append(column.name);
    }
    for (const std::string& name : document.otherColumns) {
        otherColumns_.append(fromUtf8(name));
    }
    std::vector<TextTable::Row> rows;
    for (const formats::ListRow& r : document.rows) {
        TextTable::Row row{fromUtf8(r.piece.mark),   fromUtf8(r.piece.diameter),
                           fromUtf8(r.piece.length), fromUtf8(r.piece.count),
                           fromUtf8(r.shape),        fromUtf8(r.parameters)};
        for (const ScheduleColumn& column : schedule) {
            row.append(fromUtf8(r.piece.*column.field));
        }
        for (const std::string& cell : r.others) {
            row.append(fromUtf8(cell));
        }
        rows.push_back(std::move(row));
    }
    pieces.replaceAll(pieceHeaders(otherColumns_), std::move(rows));

    std::vector<TextTable::Row> yard;
    for (const plan::OffcutRow& r : document.offcuts) {
        yard.push_back(
            {fromUtf8(r.diameter), fromUtf8(r.length), fromUtf8(r.count), fromUtf8(r.grade)});
    }
    offcuts.replaceAll(std::move(yard));

    std::vector<TextTable::Row> codes;
    for (const formats::GradeCode& row : formats::gradesOf(document)) {
        codes.push_back({fromUtf8(row.code), fromUtf8(row.grade)});
    }
    grades.replaceAll(std::move(codes));

    const plan::Settings values = formats::applied(document.settings, plan::Settings{});
    std::vector<TextTable::Row> lengths;
    for (const std::int64_t length : values.stockLengths) {
        lengths.push_back({QString::number(length)});
    }
    stock.replaceAll(std::move(lengths));
    settings.replaceAll(
        {TextTable::Row{QString::number(values.kerf), QString::number(values.keep),
                        fromUtf8(formats::secondsText(values.seconds)),
                        fromUtf8(document.settings.project.value_or(std::string{}))} +
         jointSettingTexts(document.settings)});
}

void ListTables::clear() {
    load(formats::ListDocument{});
}

QString ListTables::project() const {
    return settings.text(0, kProject).trimmed();
}

void ListTables::setPieceColumns(QStringList otherColumns, std::vector<TextTable::Row> rows) {
    otherColumns_ = std::move(otherColumns);
    pieces.replaceAll(pieceHeaders(otherColumns_), std::move(rows));
}

int ListTables::columnOf(plan::Field field) const {
    for (qsizetype i = 0; i < otherColumns_.size(); ++i) {
        if (formats::countOrGradeColumn(otherColumns_[i]) == field) {
            return kPieceColumns + static_cast<int>(i);
        }
    }
    return -1;
}

std::vector<formats::GradeCode> ListTables::gradeRows() const {
    std::vector<formats::GradeCode> rows;
    for (int row = 0; row < grades.dataRows(); ++row) {
        if (!grades.blankRow(row)) {
            rows.push_back({utf8(grades.text(row, kGradeCode).trimmed()),
                            utf8(grades.text(row, kGradeName).trimmed())});
        }
    }
    return rows;
}

ForFile toDocument(const ListTables& tables) {
    formats::ListDocument document;
    // 级别, 构件数, 总根数 and the joint columns go back to the rows' own fields; the rest stay
    // other columns.
    std::vector<std::pair<int, std::string plan::PieceRow::*>> schedule;
    std::vector<int> kept;
    for (qsizetype i = 0; i < tables.otherColumns().size(); ++i) {
        const QString& name = tables.otherColumns()[i];
        const int column = kPieceColumns + static_cast<int>(i);
        const std::optional<plan::Field> field = formats::countOrGradeColumn(name);
        const auto member = field ? plan::rowText(*field) : nullptr;
        const bool taken = member != nullptr && std::ranges::none_of(schedule, [&](const auto& s) {
                               return s.second == member;
                           });
        if (taken) {
            schedule.emplace_back(column, member);
        } else {
            kept.push_back(column);
            document.otherColumns.push_back(utf8(name));
        }
    }
    for (int row = 0; row < tables.pieces.dataRows(); ++row) {
        if (tables.pieces.blankRow(row)) {
            continue;
        }
        const auto cell = [&](int column) {
            return utf8(tables.pieces.text(row, column));
        };
        std::vector<std::string> others;
        for (const int column : kept) {
            others.push_back(cell(column));
        }
        formats::ListRow listRow{
            {cell(kMark), cell(kDiameter), cell(kLength), cell(kCount), row + 1, {}, {}, {}, {}},
            cell(kShape),
            cell(kParameters),
            std::move(others)};
        for (const auto& [column, field] : schedule) {
            listRow.piece.*field = cell(column);
        }
        document.rows.push_back(std::move(listRow));
    }
    for (int row = 0; row < tables.offcuts.dataRows(); ++row) {
        if (tables.offcuts.blankRow(row)) {
            continue;
        }
        const auto cell = [&](int column) {
            return utf8(tables.offcuts.text(row, column));
        };
        document.offcuts.push_back({cell(kOffcutDiameter),
                                    cell(kOffcutLength),
                                    cell(kOffcutCount),
                                    row + 1,
                                    cell(kOffcutGrade),
                                    {}});
    }
    const std::vector<formats::GradeCode> grades = tables.gradeRows();
    for (const formats::GradeCode& row : grades) {
        if (const auto problem = formats::gradeRowProblem(row)) {
            formats::FileError error;
            error.problem = *problem;
            error.text = *problem == formats::FileProblem::BadGradeCode ? row.code : row.grade;
            return {std::nullopt, formats::describe(error)};
        }
    }
    // The defaults are not written: a list keeps following them as they are.
    if (grades != formats::defaultGrades()) {
        document.grades = grades;
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
    const JointSettingsRead joints = readJointSettings(tables.settings);
    if (!joints.errors.empty()) {
        return {std::nullopt, formats::describe(joints.errors.front().second)};
    }
    document.settings = joints.given;
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
