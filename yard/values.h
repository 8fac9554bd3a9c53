#pragma once

#include "plan/steel.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// What the yard holds and what it remembers, as plain values: the rest of the program never sees
// a query. Lengths are whole millimetres, diameters tenths of a millimetre (plan::Steel), times
// seconds since 1970 (UTC).
namespace yard {

// Every change of the yard is an entry of its record, and each offcut row names the entry that
// put it there.
enum class EntryKind {
    Commit, // a plan carried out: its offcuts taken, its remnants put in
    Import, // an offcuts file's rows added
    Hand,   // a bar added or a count corrected by hand
    Scrap,  // bars too short to keep thrown out
};

// Where offcuts came from: an entry, with the list and the floor of a commit, the file of an
// import.
struct Source {
    std::int64_t id = 0;
    EntryKind kind = EntryKind::Hand;
    std::int64_t time = 0;
    std::string list;    // the list file's name; for an import, the file imported
    std::string project; // 项目
    std::string floor;   // 楼层, or empty
};

// One row of the yard: `count` bars of one steel and length lying in one place, from one entry.
struct Offcut {
    std::int64_t id = 0;
    plan::Steel steel;
    std::int64_t length = 0;
    std::int64_t count = 0;
    std::string place; // 位置 / 堆放点, or empty
    Source source;
};

// Bars to put in, checked as an offcuts file's rows are (formats::checkOffcutRows).
struct NewOffcut {
    plan::Steel steel;
    std::int64_t length = 0;
    std::int64_t count = 0;
    std::string place{};
};

// Bars of one steel and length taken out or put in by an entry.
struct Moved {
    plan::Steel steel;
    std::int64_t length = 0;
    std::int64_t count = 0;

    friend bool operator==(const Moved&, const Moved&) = default;
};

// An entry of the record with what it changed, by steel and length (longest first).
struct Entry {
    Source source;
    std::optional<std::int64_t> undone; // when a commit was undone
    std::vector<Moved> taken;
    std::vector<Moved> added;
};

// Who carries a plan out, or brings bars in: the record's words for it.
struct Origin {
    std::string list;      // the list file's name (or an imported file's)
    std::string project;   // 项目
    std::string floor;     // 楼层: which floor of the building the list was for, or empty
    std::string place;     // where the remnants are put, or empty
    std::int64_t time = 0; // 0: now
};

// Which rows to show: of one steel, and within lengths (0: no bound).
struct Filter {
    std::optional<plan::Steel> steel;
    std::int64_t shortest = 0;
    std::int64_t longest = 0;
};

// A plan's offcut the yard no longer holds enough of.
struct Shortage {
    plan::Steel steel;
    std::int64_t length = 0;
    std::int64_t wanted = 0;
    std::int64_t held = 0;

    friend bool operator==(const Shortage&, const Shortage&) = default;
};

} // namespace yard
