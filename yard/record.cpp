#include "yard/record.h"

#include <algorithm>
#include <ctime>
#include <map>
#include <tuple>

#include "yard/sqlite.h"

namespace yard::record {

std::string_view kindKey(EntryKind kind) {
    switch (kind) {
    case EntryKind::Commit:
        return "commit";
    case EntryKind::Import:
        return "import";
    case EntryKind::Hand:
        return "hand";
    case EntryKind::Scrap:
        return "scrap";
    }
    return "hand";
}

EntryKind kindOf(std::string_view key) {
    for (const EntryKind kind :
         {EntryKind::Commit, EntryKind::Import, EntryKind::Hand, EntryKind::Scrap}) {
        if (kindKey(kind) == key) {
            return kind;
        }
    }
    return EntryKind::Hand;
}

std::int64_t begin(sqlite3* db, EntryKind kind, const Origin& origin) {
    sql::Statement insert(db, "INSERT INTO entry(kind, time, list, project, floor) "
                              "VALUES (?, ?, ?, ?, ?) RETURNING id");
    insert.bind(1, kindKey(kind))
        .bind(2, origin.time != 0 ? origin.time : static_cast<std::int64_t>(std::time(nullptr)))
        .bind(3, origin.list)
        .bind(4, origin.project)
        .bind(5, origin.floor);
    insert.step();
    const std::int64_t id = insert.integer(0);
    insert.reset();
    return id;
}

Lines::Lines(sqlite3* db, std::int64_t entry)
    : entry_(entry), insert_(db, "INSERT INTO change(entry, offcut, grade, diameter, length, "
                                 "place, source, delta) VALUES (?, ?, ?, ?, ?, ?, ?, ?)") {
}

void Lines::write(const Line& line) {
    insert_.bind(1, entry_)
        .bind(2, line.offcut)
        .bind(3, line.steel.grade)
        .bind(4, line.steel.diameter)
        .bind(5, line.length)
        .bind(6, line.place)
        .bind(7, line.source)
        .bind(8, line.delta);
    insert_.run();
}

std::optional<Entry> read(sqlite3* db, std::int64_t id) {
    sql::Statement head(db, "SELECT kind, time, list, project, floor, undone FROM entry "
                            "WHERE id = ?");
    head.bind(1, id);
    if (!head.step()) {
        return std::nullopt;
    }
    Entry entry;
    entry.source = {id,           kindOf(head.text(0)), head.integer(1),
                    head.text(2), head.text(3),         head.text(4)};
    if (!head.isNull(5)) {
        entry.undone = head.integer(5);
    }
    sql::Statement lines(db, "SELECT grade, diameter, length, sum(delta) FROM change "
                             "WHERE entry = ? AND delta < 0 GROUP BY diameter, grade, length "
                             "UNION ALL "
                             "SELECT grade, diameter, length, sum(delta) FROM change "
                             "WHERE entry = ? AND delta > 0 GROUP BY diameter, grade, length");
    lines.bind(1, id).bind(2, id);
    while (lines.step()) {
        const std::int64_t delta = lines.integer(3);
        Moved moved{
            {lines.text(0), lines.integer(1)}, lines.integer(2), delta < 0 ? -delta : delta};
        (delta < 0 ? entry.taken : entry.added).push_back(std::move(moved));
    }
    // By steel, then the longest first, as a plan lists its offcuts and remnants.
    const auto order = [](const Moved& a, const Moved& b) {
        return std::tie(a.steel.diameter, a.steel.grade, b.length) <
               std::tie(b.steel.diameter, b.steel.grade, a.length);
    };
    std::ranges::sort(entry.taken, order);
    std::ranges::sort(entry.added, order);
    return entry;
}

} // namespace yard::record
