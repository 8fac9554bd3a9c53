#pragma once

#include "plan/list.h"

#include <cstdint>
#include <string>
#include <vector>

// What can be wrong with a file as a whole, or with a row the optimiser's checks do not see (a
// section, a setting). Wrong values in piece and offcut rows are found by plan::checkList and
// come back as plan::InputError with the same file lines.
namespace formats {

enum class FileProblem {
    NotText,        // neither UTF-8 nor GB18030
    NoHeader,       // no header row: the file is empty or blank
    UnclosedQuote,  // a quoted field is still open at the end of the file
    MissingColumn,  // `field` names the required column that is missing
    RepeatedColumn, // two columns for `field` (say 长度 and length)
    UnknownSection, // a row starting with '#' that is none of #设置, #余料, #牌号; `text` holds it
    RepeatedSection,   // a second #设置, #余料 or #牌号
    UnknownSetting,    // a settings row whose name is not known; `text` holds it
    RepeatedSetting,   // a setting given twice; `text` holds its name
    BadSetting,        // a setting's value: `field`, `value` and `limit` as in plan::InputError
    BadGradeCode,      // a grade table's code that is not 1–3 letters or a level; `text` holds it
    UnknownGradeName,  // a grade table's name that is no grade; `text` holds it
    RepeatedGradeCode, // a code given twice in the grade table; `text` holds it
    Workbook,          // the workbook as a whole: `workbook` says what (see workbook.h)
    // A bar detail report's blocks (block_report.h); `column` is the cell's.
    // A block row with no whole number after 构件数量, or 0 there: `text` names the element,
    // `limit` counts the bar rows under it, none of which is read.
    ElementWithoutCount,
    NoElements,
    BarBeforeElement, // a bar row under no block row of its floor
};

// What can be wrong with a workbook as a whole, before any row is read.
enum class WorkbookProblem {
    Encrypted,       // protected by a password to open
    Corrupt,         // a zip or OLE file that cannot be read whole: truncated, damaged
    NotWorkbook,     // a file or archive that holds no workbook
    UnreadableSheet, // `text` names the sheet whose part cannot be read
    TooLarge,        // past the reader's limits; `text` names the sheet when it is one
    NoTable,         // no sheet holds the list's columns; `sheets` are those looked at
    NoOffcutTable,   // no sheet holds an offcuts table's columns; `sheets` as for NoTable
    UnknownSheet,    // no sheet is called `text`; `sheets` are those there are
    ReaderFailed,    // the .xls reader's process crashed, ran out of its time or memory, or
                     // answered what cannot be read: taken for a damaged file
    ReaderMissing,   // the .xls reader's program (hengchi-xls-reader) is not installed
};

struct FileError {
    int line = 0; // the physical line, from 1; 0 for the file as a whole
    FileProblem problem = FileProblem::NotText;
    plan::Field field = plan::Field::Mark;
    plan::Problem value = plan::Problem::Empty;
    std::int64_t limit = 0;
    std::string text; // UTF-8
    WorkbookProblem workbook = WorkbookProblem::Corrupt;
    std::vector<std::string> sheets = {}; // UTF-8
    int column = -1; // the cell's column (0: A) where the problem is one cell; -1: the row's

    friend bool operator==(const FileError&, const FileError&) = default;
};

} // namespace formats
