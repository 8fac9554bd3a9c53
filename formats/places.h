#pragma once

#include "formats/file_error.h"
#include "plan/list.h"

#include <span>
#include <string>
#include <vector>

#include <QString>

// Where in a list's file an error is, as the person who made the file finds it: a line of a
// text file, or a cell of a workbook's sheet as Excel names it (钢筋表!D12). The readers note
// the sheet and the column of each field; the messages name the place from them.
namespace formats {

struct Record;
struct KnownColumn;

struct FieldColumn {
    plan::Field field;
    int column; // from 0: A

    friend bool operator==(const FieldColumn&, const FieldColumn&) = default;
};

struct TablePlace {
    std::string sheet;                // UTF-8; empty for a text file
    int header = 0;                   // the pieces table's header row (its line)
    std::vector<FieldColumn> pieces;  // the pieces table's columns
    std::vector<FieldColumn> offcuts; // the #余料 table's columns

    friend bool operator==(const TablePlace&, const TablePlace&) = default;
};

// Where the header names each required column; a column it does not name is left out.
[[nodiscard]] std::vector<FieldColumn> fieldColumns(const Record& header,
                                                    std::span<const KnownColumn> known);

// The place to write after the file's name and a colon: "12" for a text file's line 12,
// "钢筋表!D12" for a workbook's cell, empty for the file as a whole. A settings error of the
// command line's options has no place in the file: empty too.
[[nodiscard]] QString placeText(const TablePlace& place, const plan::InputError& error);
[[nodiscard]] QString placeText(const TablePlace& place, const FileError& error);

} // namespace formats
