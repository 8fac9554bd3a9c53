#include "yard/schema.h"

#include "plan/list.h"

#include <array>

#include "yard/sqlite.h"

namespace yard::schema {
namespace {

// The limits the tables check are the optimiser's own (plan/list.h), written out: a released
// step stays as it was even if those limits move.
static_assert(plan::kMaxDiameter == 1000 && plan::kMaxLength == 1'000'000);

// Step i brings version i to version i + 1.
constexpr std::array<const char*, kVersion> kSteps{
    // 1: the offcuts, the record of entries that put them in or took them out, and each entry's
    // changes row by row, so that a commit can be undone exactly.
    R"sql(
CREATE TABLE entry(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    kind TEXT NOT NULL CHECK (kind IN ('commit', 'import', 'hand', 'scrap')),
    time INTEGER NOT NULL,
    list TEXT NOT NULL DEFAULT '',
    project TEXT NOT NULL DEFAULT '',
    undone INTEGER
);
CREATE TABLE offcut(
    id INTEGER PRIMARY KEY AUTOINCREMENT,
    grade TEXT NOT NULL DEFAULT ''
        CHECK (grade = '' OR grade GLOB '[A-Z]*[0-9][0-9][0-9]' OR
               grade GLOB '[A-Z]*[0-9][0-9][0-9][A-Z]'),
    diameter INTEGER NOT NULL CHECK (diameter > 0 AND diameter <= 1000),
    length INTEGER NOT NULL CHECK (length > 0 AND length <= 1000000),
    count INTEGER NOT NULL CHECK (count > 0),
    place TEXT NOT NULL DEFAULT '',
    entry INTEGER NOT NULL REFERENCES entry(id)
);
CREATE INDEX offcut_by_steel ON offcut(diameter, grade, length);
CREATE TABLE change(
    entry INTEGER NOT NULL REFERENCES entry(id),
    offcut INTEGER NOT NULL,
    grade TEXT NOT NULL,
    diameter INTEGER NOT NULL,
    length INTEGER NOT NULL,
    place TEXT NOT NULL,
    source INTEGER NOT NULL,
    delta INTEGER NOT NULL CHECK (delta <> 0)
);
CREATE INDEX change_by_entry ON change(entry);
)sql",
    // 2: the floor (楼层) a commit's list was for, since a building's lists are planned floor by
    // floor, each floor's remnants serving the next.
    R"sql(
ALTER TABLE entry ADD COLUMN floor TEXT NOT NULL DEFAULT '';
)sql",
};

State stateOf(sqlite3* db, int& version) {
    version = static_cast<int>(sql::integer(db, "PRAGMA user_version"));
    const auto application = sql::integer(db, "PRAGMA application_id");
    if (version == 0) {
        const bool tables = sql::integer(db, "SELECT count(*) FROM sqlite_master") > 0;
        return tables || (application != 0 && application != kApplicationId) ? State::Foreign
                                                                             : State::Empty;
    }
    if (application != kApplicationId) {
        return State::Foreign;
    }
    if (version > kVersion) {
        return State::Newer;
    }
    return version < kVersion ? State::Older : State::Current;
}

} // namespace

State look(sqlite3* db, int& version) {
    return stateOf(db, version);
}

State upgrade(sqlite3* db, int& version) {
    sql::Transaction transaction(db, sql::Begin::Immediate);
    const State state = stateOf(db, version);
    if (state != State::Empty && state != State::Older) {
        return state;
    }
    for (int step = version; step < kVersion; ++step) {
        sql::execute(db, kSteps[static_cast<std::size_t>(step)]);
    }
    sql::execute(db, ("PRAGMA application_id = " + std::to_string(kApplicationId)).c_str());
    sql::execute(db, ("PRAGMA user_version = " + std::to_string(kVersion)).c_str());
    transaction.commit();
    version = kVersion;
    return State::Current;
}

} // namespace yard::schema
