#pragma once

#include <optional>

#include <QString>
#include <QStringList>

// The command line of hengchi-plan, taken apart but not yet judged: values stay texts, so that
// a wrong value is reported in the same words as the same value in a file.
namespace cli {

struct Arguments {
    QString pieces;                 // the list or pieces file; empty when only the yard is used
    std::optional<QString> offcuts; // --offcuts FILE
    std::optional<QString> stock;   // --stock 9000,12000
    std::optional<QString> kerf;    // --kerf MM
    std::optional<QString> keep;    // --keep MM
    std::optional<QString> seconds; // --seconds S
    std::optional<QString> json;    // --json FILE, or "-" for standard output
    std::optional<QString> csv;     // --csv FILE, or "-"
    std::optional<QString> xlsx;    // --xlsx FILE
    std::optional<QString> sheet;   // --sheet NAME: the workbook's sheet holding the list
    std::optional<QString> grades;  // --grades FILE: the grade table, in place of the list's
    QStringList grade;              // --grade C=HRB400E, each a row put into the grade table
    // How long bars are joined (plan::joints::JointSettings), as the list's #设置 names them.
    std::optional<QString> concrete;        // --concrete C30
    std::optional<QString> seismic;         // --seismic 二级
    std::optional<QString> couplerAbove;    // --coupler-above 22
    std::optional<QString> lapShare;        // --lap-share 50
    std::optional<QString> mechanicalShare; // --mechanical-share 50
    std::optional<QString> shortestSegment; // --shortest-segment 500
    std::optional<QString> buttAllowance;   // --butt-allowance 30
    bool extraJoint = false;                // --extra-joint
    // Floors (楼层): --floor NAME or --floor FROM..TO, each as given; empty: every floor.
    QStringList floors;
    bool byFloor = false; // --by-floor: each floor in turn, its remnants kept for the next
    // The yard (余料库): a SQLite file of offcuts kept across lists (yard/).
    std::optional<QString> yard;       // --yard FILE: plan with its offcuts first
    bool commit = false;               // --commit: carry the plan out in the yard
    std::optional<QString> place;      // --place TEXT: where the remnants are put
    std::optional<QString> undoCommit; // --undo-commit ID
    std::optional<QString> yardImport; // --yard-import FILE: an offcuts file's rows put in
    std::optional<QString> scrapBelow; // --scrap-below MM: bars shorter than this thrown out
    std::optional<QString> yardCsv;    // --yard-csv FILE, or "-": the yard as an offcuts file
    std::optional<QString> yardXlsx;   // --yard-xlsx FILE
    bool yardHistory = false;          // --yard-history

    // An option that reads or changes the yard by itself, so that no list is needed.
    [[nodiscard]] bool yardOnly() const {
        return undoCommit || yardImport || scrapBelow || yardCsv || yardXlsx || yardHistory;
    }
    // Long bars planned for the least money, and the prices.
    bool byCost = false;               // --by-cost
    std::optional<QString> steelPrice; // --steel-price 4000 (元/t)
    std::optional<QString> jointPrice; // --joint-price 机械连接=8;焊接=5
};

enum class Request {
    Plan,    // plan with `arguments`
    Help,    // print `text` and stop
    Version, // print `text` and stop
    Wrong,   // the command line is wrong: `text` says why
};

struct Parsed {
    Request request = Request::Wrong;
    Arguments arguments;
    QString text;
};

// `command` is the whole command line, the program's name first.
[[nodiscard]] Parsed parseArguments(const QStringList& command);

} // namespace cli
