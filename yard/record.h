#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "yard/sqlite.h"
#include "yard/values.h"

struct sqlite3;

// Inside the yard: the record of entries, shared by the reads and the changes. Each function
// runs within the caller's transaction and throws sql::Failure.
namespace yard::record {

[[nodiscard]] std::string_view kindKey(EntryKind kind);
[[nodiscard]] EntryKind kindOf(std::string_view key);

// A new entry; its id.
[[nodiscard]] std::int64_t begin(sqlite3* db, EntryKind kind, const Origin& origin);

// One line of an entry: `delta` bars of a row, taken (below 0) or put in (above 0), with the
// row's values so that a row taken whole can be put back as it was.
struct Line {
    std::int64_t offcut = 0;
    plan::Steel steel;
    std::int64_t length = 0;
    std::string place;
    std::int64_t source = 0; // the entry that put the row in
    std::int64_t delta = 0;
};

// Writes an entry's lines, one prepared statement for all of them.
class Lines {
public:
    Lines(sqlite3* db, std::int64_t entry);
    void write(const Line& line);

private:
    std::int64_t entry_;
    sql::Statement insert_;
};

// The entry with its changes summed by steel and length; nothing when there is no such entry.
[[nodiscard]] std::optional<Entry> read(sqlite3* db, std::int64_t id);

} // namespace yard::record
