#pragma once

#include "formats/file_error.h"
#include "formats/records.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include <QString>
#include <QStringView>

// Inside the readers: a table's columns found by the names in its header row.
namespace formats {

enum class Column {
    Mark,
    Diameter,
    Length,
    Count,
    Shape,
    Parameters,
    Grade,    // 级别, 牌号: the steel's grade, when the diameter cell does not give it
    Elements, // 构件数: how many elements have the row's 根数 each
    Total,    // 总根数
    Code,     // a grade table's letter code
    Joint,    // 接头: how a long bar's segments are joined
    Share,    // 接头率
    Lap,      // 搭接长度
    Zones,    // 禁止接头区: where a long bar may have no joint
    Floor,    // 楼层: the floor a row's elements are on
    Place,    // 位置: where in the yard an offcut lies
};

// A column a reader knows, by the names its header may give it.
struct KnownColumn {
    Column column;
    std::array<std::u16string_view, 7> names; // Chinese first; unused ones empty
    std::optional<plan::Field> required;      // the field a missing column is reported as
    // A required column may be stood in for by another: the mark by 构件名称 (with 筋号), the
    // count by 总根数. Unused ones empty.
    std::array<std::u16string_view, 2> orNamed{};

    // `name` as normalName gives it.
    [[nodiscard]] bool namedBy(QStringView name) const {
        return std::ranges::any_of(names, [name](std::u16string_view alias) {
            return !alias.empty() && name == QStringView(alias);
        });
    }
    // A column that stands in for this one when it is missing.
    [[nodiscard]] bool replacedBy(QStringView name) const {
        return std::ranges::any_of(orNamed, [name](std::u16string_view alias) {
            return !alias.empty() && name == QStringView(alias);
        });
    }
};

// The columns of a table of yard offcuts, in a list file's #余料 section or a file of its own.
// 位置 says where a bar lies (a stack, a rack); the optimiser never reads it.
inline constexpr std::array<KnownColumn, 5> kOffcutColumns{{
    {Column::Diameter, {u"直径", u"diameter"}, plan::Field::Diameter},
    {Column::Length, {u"长度", u"length"}, plan::Field::Length},
    {Column::Count, {u"根数", u"count"}, plan::Field::Count},
    {Column::Grade, {u"级别", u"牌号", u"钢筋级别", u"grade"}, std::nullopt},
    {Column::Place, {u"位置", u"堆放点", u"存放位置", u"place"}, std::nullopt},
}};

// The field of a column that is read but not required (级别, 构件数, 总根数, 接头, 接头率,
// 搭接长度, 禁止接头区): what its cells' errors and the planner's columns are named by. Nothing for
// the others.
[[nodiscard]] std::optional<plan::Field> optionalField(Column column);

// Where each column of a table is, by header name; -1 when it is not there.
class Columns {
public:
    // Reports a missing required column or a repeated one in `errors`, at the header's line.
    Columns(const Record& header, std::span<const KnownColumn> known,
            std::vector<FileError>& errors);

    [[nodiscard]] bool complete() const { return complete_; }
    // The row's cell for `column`, or an empty text when the column or the cell is missing.
    [[nodiscard]] QString cell(const Record& row, Column column) const;
    // Where `column` is, or -1.
    [[nodiscard]] qsizetype at(Column column) const;

private:
    std::vector<std::pair<Column, qsizetype>> found_;
    bool complete_ = true;
};

// Where a table's header is among records[begin, end): spreadsheets often put a title above
// the table, so it is the first row that names every required column, and the rows above it are
// not read. When no row does, it is the first, whose missing columns are then reported.
[[nodiscard]] std::size_t headerAt(const std::vector<Record>& records, std::size_t begin,
                                   std::size_t end, std::span<const KnownColumn> known);

// The offcut a row of an offcuts table gives, or nothing for a row with text only in columns
// that are not read.
[[nodiscard]] std::optional<plan::OffcutRow> offcutRow(const Record& row, const Columns& columns);

// A header or setting name as compared: trimmed, lower case, a unit "(mm)" or "（mm）" dropped.
[[nodiscard]] QString normalName(const QString& text);

// The first cell of a section row ("#设置"), or nothing for an ordinary row.
[[nodiscard]] std::optional<QString> sectionName(const Record& record);

// A FileError of the readers: about the line, or naming a text as written (a header, a
// section, a setting).
[[nodiscard]] FileError fileError(int line, FileProblem problem, std::string text = {});

// UTF-8, as the optimiser's rows hold their texts.
[[nodiscard]] std::string utf8(const QString& text);

} // namespace formats
