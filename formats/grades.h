#pragma once

#include "formats/file_error.h"
#include "formats/records.h"
#include "plan/list.h"

#include <optional>
#include <string>
#include <vector>

#include <QByteArray>

// The grade of a bar as lists write it. The drawing symbols of the grades cannot be typed, so
// lists write a letter before the diameter ("C25" is HRB400 Φ25), a level ("三级 25"), the CAD
// text codes of the steel fonts ("%%132" 25), or the grade's name ("HRB400E Φ25"); a list may
// also have a grade column (级别, 牌号, 钢筋级别). Letters and levels are a convention, not a law,
// so they come from an editable table: the list file's #牌号 section, --grades and --grade, the
// planner's settings. Anything the table does not know is an error, never a guess.
//
// A seismic steel has a letter code of its own: the code of its plain grade followed by E (CE is
// HRB400E), as "E" follows the name.
namespace formats {

// One row of the grade table.
struct GradeCode {
    std::string code;  // 1–3 letters ("C", "CE") or a level 一级…五级, as written
    std::string grade; // the grade's name ("HRB400")

    friend bool operator==(const GradeCode&, const GradeCode&) = default;
};

// A–D and CE, DE as most bar-bending schedules use them; 一级…四级 as the CAD fonts' symbols
// %%130…%%133 stand for HPB300, HRB335, HRB400 and RRB400.
[[nodiscard]] std::vector<GradeCode> defaultGrades();

// The row of the table for `code` (letters compared without case), or nothing.
[[nodiscard]] std::optional<GradeCode> gradeFor(const std::vector<GradeCode>& table,
                                                const std::string& code);

// What is wrong with a row of the table, if anything: a code that is not 1–3 letters or a level
// (FileProblem::BadGradeCode), a name that is not a grade (FileProblem::UnknownGradeName).
[[nodiscard]] std::optional<FileProblem> gradeRowProblem(const GradeCode& row);

// A table given as rows of CSV (代号,牌号 or code,grade under a header row): --grades FILE.
struct GradesRead {
    std::vector<GradeCode> table;
    std::vector<FileError> errors;
};
[[nodiscard]] GradesRead readGrades(const QByteArray& bytes);
// The same table among records[begin, end), under its header row: a list file's #牌号 section.
[[nodiscard]] GradesRead readGradeTable(const std::vector<Record>& records, std::size_t begin,
                                        std::size_t end);

// "C=HRB400E", one row given on the command line, or nothing when it is not of that form.
[[nodiscard]] std::optional<GradeCode> gradeEntry(const std::string& text);

// `table` with `row` put in: a row of the same code is replaced, else it is added.
void putGrade(std::vector<GradeCode>& table, const GradeCode& row);

// A diameter cell or a grade column's cell taken apart.
struct SteelText {
    std::string grade;    // the grade's name, or empty when the text gives none
    std::string code;     // the letter code as the table writes it, when one was used
    std::string diameter; // what is left: the diameter as written ("Φ25", "25")
    std::string unknown;  // a grade the table does not know, as written; empty when none
};

// "C25", "c25", "HRB400 25", "HRB400E25", "HRB400E Φ25", "三级 25", "%%13225", "Φ25", "25", in
// full-width letters and digits as well.
[[nodiscard]] SteelText readSteelText(const std::string& cell, const std::vector<GradeCode>& table);

// A grade column's cell: a name, a code or a level alone ("HRB400", "C", "三级", "%%132").
[[nodiscard]] SteelText readGradeText(const std::string& cell, const std::vector<GradeCode>& table);

// Every row's grade read from its grade column and its diameter cell by `table`: afterwards
// `diameter` holds only the diameter, `grade` the grade's name and `code` the letter used. The
// grade problems found (a grade not known, the column and the cell naming two grades) come
// back with the rows' lines, as plan::checkList reports its own.
[[nodiscard]] std::vector<plan::InputError> resolveSteels(std::vector<plan::PieceRow>& pieces,
                                                          std::vector<plan::OffcutRow>& offcuts,
                                                          const std::vector<GradeCode>& table);

// resolveSteels and resolveJoints (joint_text.h), then plan::checkList: the one check of a
// list's rows the command and the planner share. The errors of both in the order of the rows; no
// list when there is any.
[[nodiscard]] plan::Checked checkRows(std::vector<plan::PieceRow> pieces,
                                      std::vector<plan::OffcutRow> offcuts,
                                      const plan::Settings& settings,
                                      const std::vector<GradeCode>& table);

// A yard's offcut rows on their own (an offcuts file to import, a bar typed in): each row's grade
// read by `table` as resolveSteels reads it, then plan::checkOffcuts. An offcut's steel need have
// no pieces. The errors in the order of the rows; no offcuts when there is any.
[[nodiscard]] plan::CheckedOffcuts checkOffcutRows(std::vector<plan::OffcutRow> offcuts,
                                                   const std::vector<GradeCode>& table);

} // namespace formats
