#pragma once

#include "cli/arguments.h"
#include "formats/grades.h"
#include "formats/list_file.h"
#include "plan/list.h"

#include <vector>

#include <QString>

namespace yard {
class Yard;
}

// Everything hengchi-plan reads before it plans: the list file with its settings and offcuts,
// an offcuts file or the yard, and the options, which override what the file says. Every wrong
// thing is reported, not only the first, each where it is.
namespace cli {

struct Complaint {
    QString where; // a file as named on the command line, or the program for an option
    int line = 0;  // 0: no line
    QString message;
    QString cell = {}; // in a workbook, the cell instead of the line: "钢筋表!D12"
};

// "清单.csv:12: 长度：不是数字", "清单.xlsx:钢筋表!D12: 长度：不是数字", or
// "清单.csv: 文件不存在" without a line.
[[nodiscard]] QString complaintText(const Complaint& complaint);

struct Inputs {
    plan::CuttingList list; // checked; meaningful only without complaints
    QString project;        // the list file's 项目, or empty
    std::vector<Complaint> complaints;
    // What the design code advises against but allows (a lap on a thick bar), placed as the
    // complaints are; the list is planned all the same.
    std::vector<Complaint> warnings;
    bool yardFailed = false; // the yard could not be read (a complaint says why)
};

// With `yard`, the offcuts are the yard's of the list's steels, in place of the list's #余料.
[[nodiscard]] Inputs readInputs(const Arguments& arguments, const yard::Yard* yard = nullptr);

// The grade table: the list's (`document`, or the default one), or the --grades file's, with
// each --grade put in.
[[nodiscard]] std::vector<formats::GradeCode> gradeTable(const Arguments& arguments,
                                                         const formats::ListDocument& document,
                                                         std::vector<Complaint>& complaints);

} // namespace cli
