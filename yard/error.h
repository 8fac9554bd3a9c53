#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "yard/values.h"

// Why the yard could not do what was asked. Nothing is changed when there is an error: every
// change is one transaction. Messages (Chinese, naming the file) are made by messages.h.
namespace yard {

enum class Problem {
    Missing,       // no such file, and it was not to be made
    CannotOpen,    // the file or its folder cannot be opened or made
    Damaged,       // not a database, or one whose pages are damaged
    NotAYard,      // a database of another program
    Newer,         // made by a later version of the program (`version`)
    ReadOnly,      // the file, or its folder, may not be written
    Locked,        // another program held the file longer than the wait allowed
    DiskFull,      // no room to write
    Failed,        // any other failure of the file (`detail` says SQLite's words)
    Stale,         // the plan's offcuts are no longer all there (`shortages`)
    NoEntry,       // no entry `entry` in the record
    NotACommit,    // the entry is not a commit: only a commit is undone
    AlreadyUndone, // the commit was undone before
    RemnantsTaken, // a commit's remnants have been taken or changed since: it cannot be undone
    Invalid,       // a value outside the yard's limits (a count below 0, a length too long)
    NoRow,         // no offcut row `entry` (an id the window showed, gone since)
};

struct Error {
    Problem problem = Problem::Failed;
    std::string file;       // as the caller named it (UTF-8)
    std::string detail{};   // SQLite's message, for Failed
    int version = 0;        // for Newer: the file's schema version
    std::int64_t entry = 0; // for NoEntry, NotACommit, AlreadyUndone, RemnantsTaken, NoRow
    std::vector<Shortage> shortages{}; // for Stale, and for RemnantsTaken what is missing
};

// A value, or why there is none.
template <typename T>
struct Result {
    T value{};
    std::optional<Error> error;

    [[nodiscard]] bool ok() const { return !error; }
};

} // namespace yard
