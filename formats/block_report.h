#pragma once

#include "formats/file_error.h"
#include "formats/records.h"

#include <optional>
#include <vector>

#include <QString>

// The bar detail report (钢筋明细表) that quantity-takeoff programs export: a header of columns
// (筋号, 级别, 直径, 长度, 根数, …) over rows laid out in blocks, not one bar a row with its
// element beside it:
//
//     楼层名称：首层
//     构件名称：KL1(2)[1023]    构件数量：3    本构件钢筋重：456.789kg
//     构件位置：<1,A><2,A>
//     1跨.上通长筋1 | C | 25 | … | 8950 | 2 | …
//     1跨.箍筋1     | A | 8  | … | 1780 | 42 | …
//
// A block row names the element and how many there are, for the bar rows under it until the
// next block row; a floor row gives the floor of the blocks under it until the next floor row.
// The labels are found by their words (构件名称, 构件数量, 楼层名称 or 楼层, 构件位置), with a
// full-width or an ASCII colon and spaces anywhere, in one merged text or in cells of their own;
// never by a fixed column. The bracketed number after an element's name is the program's own
// id, not part of the name a site uses.
namespace formats {

// A row of the report, as the list reader takes it.
struct BlockLine {
    enum class Kind {
        Bar,       // a bar of the current element: `element`, `elements`, `floor`, `position`
        Note,      // a subtotal or any other text that is no bar: kept as `note`
        Structure, // a block, floor or position row: read into the bars under it
        Error,     // `error` says what is wrong, at the row's cell
        Skipped,   // a bar of a block that cannot be read: its error (finished()) counts it
    };
    Kind kind = Kind::Note;
    QString element;  // the element's name, its id left out ("KL1(2)")
    QString elements; // how many elements: a whole number above 0
    QString floor;    // empty when no floor row came before
    QString position; // 构件位置, when the block has one
    QString note;
    std::optional<FileError> error;
};

// Reads a report's rows in order, keeping the element and floor they are under.
class BlockReader {
public:
    // `barColumns`: the columns whose text makes a row a bar: 筋号 first, then 直径, 长度, 根数.
    explicit BlockReader(std::vector<qsizetype> barColumns) : barColumns_(std::move(barColumns)) {}

    [[nodiscard]] BlockLine read(const Record& row);
    // The error of a block that cannot be read, once its last bar row has passed: it says how many
    // bar rows it holds, none of which is read. Call it after the last row too.
    [[nodiscard]] std::optional<FileError> finished();

private:
    std::vector<qsizetype> barColumns_;
    std::optional<QString> element_;
    std::optional<FileError> broken_; // the block being read cannot be: its bars are not read
    QString elements_;
    QString floor_;
    QString position_;
};

// The project a report's title rows name (工程名称：某办公楼), from the rows above its header.
[[nodiscard]] std::optional<QString> reportProject(const std::vector<Record>& rows,
                                                   std::size_t header);

} // namespace formats
