#pragma once

#include "formats/decode.h"
#include "formats/file_error.h"
#include "formats/grades.h"
#include "formats/places.h"
#include "formats/records.h"
#include "plan/list.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include <QByteArray>

// The list file: the planner's document, and the pieces file of hengchi-plan.
//
//     编号,直径,长度,根数,形状,参数
//     KL1-1,25,6457,4,直钢筋(弯钩),构建长度=6500;保护层=25
//     #设置
//     原材长度,9000;12000
//     锯口,0
//     最短余料,500
//     时限,10
//     项目,某某工程
//     混凝土,C30
//     抗震等级,二级
//     #余料
//     直径,长度,根数
//     25,3200,2
//     #牌号
//     代号,牌号
//     C,HRB400
//     CE,HRB400E
//
// The pieces table comes first, under its header row: the first row that names the required
// columns (rows above it, such as a spreadsheet's title, are not read). Its columns are found
// by name in any order (编号 or mark, 直径 or diameter, 长度 or length, 根数 or count, 形状 or
// shape, 参数 or parameters; trimmed, case ignored, a unit "(mm)" ignored); the first four are
// required. A bar-bending schedule's columns are read too: 级别/牌号/钢筋级别 (the grade, see
// grades.h), 构件数/构件数量/件数 (elements, each with 根数 bars; 根数 may also be headed
// 单件根数 or 每件根数) and 总根数 (every bar of the row, which must agree). 总根数 alone may
// stand for 根数; without an 编号 column the mark is 构件名称 and 筋号 joined by '-' ("KL1-1"),
// or 构件名称 alone. A bar longer than the stock may say how it is joined: 接头 (接头方式,
// 连接方式, 接头形式; as written, see joint_text.h), 接头率 (接头百分率, 接头面积百分率),
// 搭接长度 and 禁止接头区 (非连接区, 非接头区: "0-500;14500-15000"). Every other column (a
// spreadsheet's 构件, 备注, 序号…) is kept with its cells, so that a spreadsheet's own list reads
// as it is and is saved again whole; the optimiser never reads them. The table ends at the first
// row whose first cell starts with an unquoted '#': the optional sections #设置, #余料 (with an
// optional 级别 column) and #牌号 (the grade table, which replaces the default one), in any
// order. A settings row may be padded with empty cells, as a spreadsheet saves it.
namespace formats {

// One row of the pieces table, its texts as written (UTF-8). The optimiser's checks read
// `piece`; `shape` and `parameters` belong to the planner (see shape.h); `others` are the row's
// cells in the document's other columns, one per column in the same order.
struct ListRow {
    plan::PieceRow piece; // its line is the file's line; grade, elements and total as written
    std::string shape;
    std::string parameters;
    std::vector<std::string> others;
};

// The settings a file gives; what it leaves out stays as the reader's default.
struct ListSettings {
    std::optional<std::vector<std::int64_t>> stockLengths; // 原材长度
    std::optional<std::int64_t> kerf;                      // 锯口
    std::optional<std::int64_t> keep;                      // 最短余料
    std::optional<double> seconds;                         // 时限
    std::optional<std::string> project;                    // 项目, as written (UTF-8)
    // How long bars are joined (plan::joints::JointSettings); see setting_text.h.
    std::optional<int> concrete;                  // 混凝土: C30 → 30
    std::optional<plan::joints::Seismic> seismic; // 抗震等级
    std::optional<std::int64_t> couplerAbove;     // 机械连接直径: tenths of a mm
    std::optional<std::int64_t> buttAllowance;    // 对焊余量: mm
    std::optional<std::int64_t> shortestSegment;  // 最短分段: mm
    std::optional<bool> extraJoint;               // 允许多一个接头
    std::optional<int> lapShare;                  // 搭接接头率: percent
    std::optional<int> mechanicalShare;           // 机械接头率: percent (couplers and welds)
    // Planning long bars by cost, and the prices (whole fen).
    std::optional<bool> byCost;                             // 按造价接长
    std::optional<std::int64_t> steelPrice;                 // 钢材单价: a tonne
    std::optional<std::array<std::int64_t, 5>> jointPrices; // 接头单价: by plan::joints::Method

    friend bool operator==(const ListSettings&, const ListSettings&) = default;
};

// `base` with every setting the file gives put in.
[[nodiscard]] plan::Settings applied(const ListSettings& file, plan::Settings base);

struct ListDocument {
    // The names of the pieces table's other columns, in the file's order, trimmed; none is one of
    // the six. A column whose header cell is empty (or that reaches past the header) keeps its
    // place among them with an empty name, so that its cells stay under it, unless it has nothing
    // in it and no other column with a name or a text follows: that is the padding of empty cells
    // a spreadsheet adds to its rows.
    std::vector<std::string> otherColumns;
    std::vector<ListRow> rows;
    ListSettings settings;
    std::vector<plan::OffcutRow> offcuts; // the #余料 section's rows, lines as in the file
    std::vector<GradeCode> grades;        // the #牌号 section; empty: none, defaultGrades()
};

// The grade table a document's rows are read by.
[[nodiscard]] std::vector<GradeCode> gradesOf(const ListDocument& document);

// The piece columns beyond the six a name heads (级别, 构件数, 总根数, 接头, 接头率, 搭接长度,
// 禁止接头区 and their other names), for a table that keeps them among its other columns, as the
// planner does.
[[nodiscard]] std::optional<plan::Field> countOrGradeColumn(const QString& name);

// A piece column beyond the six that fills a field of the row (级别, 构件数, 总根数, 接头,
// 接头率, 搭接长度, 禁止接头区, 楼层): the name it is written under, in the order writeList
// writes them. The one table a window keeps such columns by, so that a column added here reaches
// it.
struct RowColumn {
    QString name;
    plan::Field field;
};
[[nodiscard]] const std::vector<RowColumn>& rowColumns();

struct ListRead {
    ListDocument document; // everything that could be read, even when there are errors
    Encoding encoding = Encoding::Utf8;
    std::vector<FileError> errors; // by line
    TablePlace place;              // the sheet and the columns, to name where an error is
};

// Reads a list file, or any pieces file. Row values are not checked here: plan::checkList does
// that, with the rows' file lines. A row with text only in other columns (a note, a subtotal) is
// kept, and plan::checkList passes over it as blank.
[[nodiscard]] ListRead readList(const QByteArray& bytes);

// The same from rows already split: a workbook's sheet (list_input.h).
[[nodiscard]] ListRead readList(const Records& records);

// UTF-8 with a BOM, comma-separated, CR LF line ends, quoted where needed; the pieces table
// always with all six columns, then 级别, 构件数, 总根数, 接头, 接头率, 搭接长度 and 禁止接头区
// when any row fills them, then the
// other columns (a row's missing cells are empty), then #设置 with the settings the document has
// (none: no section), then #余料 when there are offcuts (with 级别 when any has one), then
// #牌号 when the document has a grade table. readList gives the same document back; rows blank in
// every column are left out, as readList leaves them out.
[[nodiscard]] QByteArray writeList(const ListDocument& document);

} // namespace formats
