#pragma once

#include "plan/number.h"

#include <cstdint>
#include <string>
#include <vector>

// The cutting list as the user gives it, and its checks. A CuttingList is only ever made by
// buildList, so every list that reaches the optimiser has been checked: every length fits a
// stock bar, every count is whole and positive, every offcut belongs to a diameter with pieces.
namespace plan {

inline constexpr std::int64_t kMaxLength = 1'000'000;  // mm: the longest stock bar, piece, offcut
inline constexpr std::int64_t kMaxCount = 1'000'000;   // pieces or offcuts in one row
inline constexpr std::int64_t kMaxDiameter = 1000;     // tenths of a mm: 100 mm
inline constexpr std::int64_t kMaxAllowance = 100'000; // mm: kerf, shortest reusable remnant
inline constexpr double kMaxSeconds = 86'400;

// One row of the list as written: the texts of a spreadsheet row or of the window's table.
struct PieceRow {
    std::string mark;
    std::string diameter;
    std::string length;
    std::string count;
    int line = 0; // where the row came from (a file's line, a table's row), for messages
};

// Pieces lying in the yard, left over from earlier work: already paid for, but limited.
struct OffcutRow {
    std::string diameter;
    std::string length;
    std::string count;
    int line = 0;
};

struct Settings {
    std::vector<std::int64_t> stockLengths{9000, 12000}; // mm, bought in any number
    std::int64_t kerf = 0;   // mm lost at each cut; rebar is sheared, so none by default
    std::int64_t keep = 500; // mm: a remnant at least this long goes back to the yard
    double seconds = 10;     // time allowed for the whole search

    friend bool operator==(const Settings&, const Settings&) = default;
};

// Which input an error is in.
enum class Source { Pieces, Offcuts, Settings };

enum class Field { Mark, Diameter, Length, Count, StockLength, Kerf, Keep, Seconds };

enum class Problem {
    Empty,
    NotANumber,
    NotWhole,
    NotPositive,
    Negative,
    TooLarge,        // beyond the field's limit (kMaxLength, kMaxCount, …)
    LongerThanStock, // a piece longer than every stock length: splicing is not yet supported
    NoPieces,        // offcuts of a diameter that has no pieces in the list
    NoStock,         // no stock length given
    Duplicate,       // a stock length given twice
};

struct InputError {
    Source source = Source::Pieces;
    int line = 0; // the row's line; for a setting, the position in its list (1-based) or 0
    Field field = Field::Length;
    Problem problem = Problem::Empty;
    // The limit a TooLarge value passed, or the longest stock length for LongerThanStock.
    std::int64_t limit = 0;

    friend bool operator==(const InputError&, const InputError&) = default;
};

// One checked row.
struct Piece {
    std::string mark;
    std::int64_t diameter = 0; // tenths of a mm
    std::int64_t length = 0;   // whole mm, as it is cut
    std::string asked;         // the length as written, when it was not whole ("6456.34")
    std::int64_t count = 0;
    int line = 0;
};

struct Offcut {
    std::int64_t diameter = 0; // tenths of a mm
    std::int64_t length = 0;
    std::int64_t count = 0;
    int line = 0;
};

struct Checked;

class CuttingList {
public:
    [[nodiscard]] const std::vector<Piece>& pieces() const { return pieces_; }
    [[nodiscard]] const std::vector<Offcut>& offcuts() const { return offcuts_; }
    [[nodiscard]] const Settings& settings() const { return settings_; }
    // The diameters that have pieces, ascending.
    [[nodiscard]] std::vector<std::int64_t> diameters() const;

private:
    friend Checked checkList(const std::vector<PieceRow>&, const std::vector<OffcutRow>&,
                             const Settings&);
    std::vector<Piece> pieces_;
    std::vector<Offcut> offcuts_;
    Settings settings_;
};

struct Checked {
    CuttingList list;               // meaningful only when errors is empty
    std::vector<InputError> errors; // every error found, in the order of the rows
};

// Checks every row and setting; a list with any error is not planned. Blank rows (every text
// empty) are skipped; a row with only a mark is an error. Rows with no pieces at all give an
// empty list, which plans to nothing.
[[nodiscard]] Checked checkList(const std::vector<PieceRow>& pieces,
                                const std::vector<OffcutRow>& offcuts, const Settings& settings);

} // namespace plan
