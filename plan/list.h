#pragma once

#include "plan/joints/long_bar.h"
#include "plan/number.h"
#include "plan/steel.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The cutting list as the user gives it, and its checks. A CuttingList is only ever made by
// checkList, so every list that reaches the optimiser has been checked: every count is whole and
// positive, every offcut belongs to a steel with pieces, and a piece longer than every stock bar
// is a long bar whose joints the rules allow (see plan/joints/).
namespace plan {

inline constexpr std::int64_t kMaxLength = 1'000'000;  // mm: the longest stock bar, piece, offcut
inline constexpr std::int64_t kMaxCount = 1'000'000;   // pieces or offcuts in one row
inline constexpr std::int64_t kMaxDiameter = 1000;     // tenths of a mm: 100 mm
inline constexpr std::int64_t kMaxAllowance = 100'000; // mm: kerf, shortest reusable remnant
inline constexpr double kMaxSeconds = 86'400;
inline constexpr std::int64_t kMaxPriceFen = 100'000'000; // fen: 1,000,000 元 a tonne or a joint

// One row of the list as written: the texts of a spreadsheet row or of the window's table.
// The grade is text of the trade's conventions (letters, names, CAD codes), which formats/ reads:
// by the time a row reaches checkList, `diameter` holds only the number and `grade` the grade's
// name (formats::resolveSteels).
struct PieceRow {
    std::string mark;
    std::string diameter;
    std::string length;
    std::string count; // 根数: bars in each element when `elements` is given, else all the bars
    int line = 0;      // where the row came from (a file's line, a table's row), for messages
    // Further fields have initialisers, so that a row written {mark, diameter, length, count,
    // line} is whole.
    std::string grade{};    // the grade column's text; after formats reads it, the grade's name
    std::string code{};     // the letter the grade was written with ("C"), set by formats
    std::string elements{}; // 构件数: how many elements have `count` bars each; empty: not given
    std::string total{};    // 总根数: every bar of the row; empty: not given
    // How a long bar's segments are joined, as formats reads the 接头 column: one of the keys of
    // joints::methodKey ("lap", "coupler", …); empty: by the diameter (JointSettings).
    std::string joint{};
    std::string share{}; // 接头率: percent of the bars side by side joined in one section
    std::string lap{};   // 搭接长度: mm, instead of the tables' lap
    // 禁止接头区: stretches no joint may touch, mm from the bar's start, "0-500;11500-12500"
    // (ranges by '-' or '~', separated by ';', ',', '、' or blanks, full-width too).
    std::string zones{};
    // 楼层: the floor the row's elements are on, as written; empty: not given. Planning a building
    // floor by floor takes the floors in the order they first appear.
    std::string floor{};
};

// Pieces lying in the yard, left over from earlier work: already paid for, but limited.
struct OffcutRow {
    std::string diameter;
    std::string length;
    std::string count;
    int line = 0;
    std::string grade{}; // as PieceRow::grade: an offcut without one serves only pieces without one
    std::string code{};
};

struct Settings {
    std::vector<std::int64_t> stockLengths{9000, 12000}; // mm, bought in any number
    std::int64_t kerf = 0;          // mm lost at each cut; rebar is sheared, so none by default
    std::int64_t keep = 500;        // mm: a remnant at least this long goes back to the yard
    double seconds = 10;            // time allowed for the whole search
    joints::JointSettings joints{}; // how long bars are joined

    friend bool operator==(const Settings&, const Settings&) = default;
};

// Which input an error is in.
enum class Source { Pieces, Offcuts, Settings };

enum class Field {
    Mark,
    Diameter,
    Length,
    Count,
    StockLength,
    Kerf,
    Keep,
    Seconds,
    Grade,     // the grade column
    GradeCode, // the grade table's code column
    Elements,  // 构件数
    Total,     // 总根数
    Joint,     // 接头: the joint method
    Share,     // 接头率
    Lap,       // 搭接长度
    Zones,     // 禁止接头区
    Floor,     // 楼层
    // The joint settings.
    Concrete,
    Seismic,
    CouplerAbove,
    ButtAllowance,
    ShortestSegment,
    LapShare,
    MechanicalShare,
    ExtraJoint, // 允许多一个接头: its reader's errors need a name
    ByCost,     // 按造价接长
    SteelPrice, // 钢材单价
    JointPrice, // 接头单价
};

// The text of a row a field is read from, for the fields after the first four (级别, 构件数,
// 总根数 and the joints'): the one place a column or a table cell finds its member of the row.
// Null for a field that is not a row's text.
[[nodiscard]] std::string PieceRow::*rowText(Field field);

enum class Problem {
    Empty,
    NotANumber,
    NotWhole,
    NotPositive,
    Negative,
    TooLarge,        // beyond the field's limit (kMaxLength, kMaxCount, …)
    NoPieces,        // offcuts of a steel that has no pieces in the list
    NoStock,         // no stock length given
    Duplicate,       // a stock length given twice
    UnknownGrade,    // a grade letter or name the grade table does not know (`text`)
    GradesDisagree,  // the grade column and the diameter cell name two grades (`text`: "a/b")
    CountsDisagree,  // 总根数 is not 构件数 × 根数 (`limit`: the product)
    TotalDisagrees,  // 总根数 is not 根数, with no 构件数 (`limit`: 根数)
    UnknownJoint,    // a joint method the table of methods does not know (`text`)
    ShareNotAllowed, // a share other than 25, 50 or 100 %
    BadZone,         // a zone not of the form from-to, from < to, within the bar
    Joint,           // a long bar the joint rules cannot make (`joint` says why)
};

struct InputError {
    Source source = Source::Pieces;
    int line = 0; // the row's line; for a setting, the position in its list (1-based) or 0
    Field field = Field::Length;
    Problem problem = Problem::Empty;
    // The limit a TooLarge value passed.
    std::int64_t limit = 0;
    std::string text{};                        // a grade as written, for the grade problems
    std::optional<joints::JointError> joint{}; // for Problem::Joint

    friend bool operator==(const InputError&, const InputError&) = default;
};

// One checked row.
struct Piece {
    std::string mark;
    Steel steel;
    std::string code;        // the grade's letter as the list wrote it ("C"), or empty
    std::int64_t length = 0; // whole mm, as it is cut
    std::string asked;       // the length as written, when it was not whole ("6456.34")
    std::int64_t count = 0;  // every bar of the row
    // Bars per element and elements, when the list gave them (count = elements · perElement);
    // 0 when it gave only the count. Bars side by side in one element are what a joint's
    // staggering is measured among.
    std::int64_t elements = 0;
    std::int64_t perElement = 0;
    int line = 0;
    // For a long bar: what the row asks of its joints; nothing, 0: the settings' defaults.
    std::optional<joints::Method> method{};
    int share = 0;        // percent
    std::int64_t lap = 0; // mm
    std::vector<joints::Zone> zones{};
    std::string floor{}; // as written, trimmed; empty: not given
};

// A long bar as the joints stage takes it: the piece's row with the bars side by side.
[[nodiscard]] joints::LongBar longBarOf(const Piece& piece);

struct Offcut {
    Steel steel;
    std::int64_t length = 0;
    std::int64_t count = 0;
    int line = 0;
};

struct Checked;

class CuttingList {
public:
    // The pieces that fit a stock bar; every one of them is cut as it is.
    [[nodiscard]] const std::vector<Piece>& pieces() const { return pieces_; }
    // Bars longer than every stock bar, cut in segments and joined; each passed the joints
    // stage's rules when the list was checked.
    [[nodiscard]] const std::vector<Piece>& longBars() const { return longBars_; }
    [[nodiscard]] const std::vector<Offcut>& offcuts() const { return offcuts_; }
    [[nodiscard]] const Settings& settings() const { return settings_; }
    // The steels that have pieces or long bars, by diameter, then grade: the optimiser's groups.
    [[nodiscard]] std::vector<Steel> steels() const;
    // The letter the list wrote `steel`'s grade with, when any of its pieces used one.
    [[nodiscard]] std::string codeOf(const Steel& steel) const;
    // The floors of the pieces and long bars, in the order they first appear in the list; a
    // list without floors has one, the empty one.
    [[nodiscard]] std::vector<std::string> floors() const;
    // The same list with only the pieces and long bars on `floors`, and `offcuts` in place of the
    // list's own: those of a steel the part does not cut are left out (they wait for a part that
    // does). Rows were checked with the whole list, so a part needs no check of its own.
    [[nodiscard]] CuttingList part(const std::vector<std::string>& floors,
                                   const std::vector<Offcut>& offcuts) const;

private:
    friend Checked checkList(const std::vector<PieceRow>&, const std::vector<OffcutRow>&,
                             const Settings&);
    std::vector<Piece> pieces_;
    std::vector<Piece> longBars_;
    std::vector<Offcut> offcuts_;
    Settings settings_;
};

struct Checked {
    CuttingList list;               // meaningful only when errors is empty
    std::vector<InputError> errors; // every error found, in the order of the rows
    // What the design code advises against but allows (a lap on a thick tension bar); the list
    // is planned all the same.
    std::vector<joints::Warning> warnings;
};

// Checks every row and setting; a list with any error is not planned. Blank rows (every text
// empty) are skipped; a row with only a mark is an error. Rows with no pieces at all give an
// empty list, which plans to nothing. A row longer than every stock bar is a long bar: the
// joints stage works out its rules and layouts here, and a bar it cannot make is an error of the
// row (Problem::Joint).
[[nodiscard]] Checked checkList(const std::vector<PieceRow>& pieces,
                                const std::vector<OffcutRow>& offcuts, const Settings& settings);

// Offcut rows on their own, as a yard keeps them whatever a list needs: each checked as
// checkList checks the offcuts of a list, but an offcut's steel need not have pieces. Blank rows
// are skipped; no offcuts when there is any error.
struct CheckedOffcuts {
    std::vector<Offcut> offcuts;
    std::vector<InputError> errors; // in the order of the rows
};
[[nodiscard]] CheckedOffcuts checkOffcuts(const std::vector<OffcutRow>& rows);

} // namespace plan
