#include "yard/yard.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <sqlite3.h>
#include <system_error>
#include <tuple>

#include "yard/record.h"
#include "yard/schema.h"

namespace yard {
namespace {

Problem problemOf(int code) {
    switch (code & 0xff) {
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
        return Problem::Damaged;
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return Problem::Locked;
    case SQLITE_READONLY:
    case SQLITE_PERM:
        return Problem::ReadOnly;
    case SQLITE_CANTOPEN:
        return Problem::CannotOpen;
    case SQLITE_FULL:
        return Problem::DiskFull;
    case SQLITE_CONSTRAINT:
        return Problem::Invalid;
    default:
        return Problem::Failed;
    }
}

Error errorOf(const sql::Failure& failure, const std::string& path) {
    Error error;
    error.problem = problemOf(failure.code);
    error.file = path;
    error.detail = failure.message;
    return error;
}

// A file whose permissions let nobody write it was marked read-only on purpose: it is not
// written even by a user the system would let (root).
bool markedReadOnly(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code failed;
    const fs::file_status status = fs::status(fs::u8path(path), failed);
    if (failed || !fs::exists(status)) {
        return false;
    }
    const fs::perms write =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    return (status.permissions() & write) == fs::perms::none;
}

bool missing(const std::string& path) {
    std::error_code failed;
    return !std::filesystem::exists(std::filesystem::u8path(path), failed) && !failed;
}

void settle(sqlite3* db, const Options& options) {
    sqlite3_busy_timeout(db, options.waitMs);
    // A commit reported done is on the disk: the write-ahead log is synced at every commit.
    sql::execute(db, "PRAGMA synchronous = FULL");
    sql::execute(db, "PRAGMA foreign_keys = ON");
}

} // namespace

Yard::Yard(std::string path, sql::Connection db) : path_(std::move(path)), db_(std::move(db)) {
}

Yard::~Yard() = default;

Error Yard::failed(const sql::Failure& failure) const {
    return errorOf(failure, path_);
}

Error Yard::problem(Problem p, std::int64_t entry) const {
    Error error;
    error.problem = p;
    error.file = path_;
    error.entry = entry;
    return error;
}

Result<std::unique_ptr<Yard>> Yard::open(const std::string& path, const Options& options) {
    Result<std::unique_ptr<Yard>> out;
    const auto refuse = [&](Problem p) {
        out.error = Error{p, path};
        return std::move(out);
    };
    if (missing(path) && !options.create) {
        return refuse(Problem::Missing);
    }
    if (markedReadOnly(path)) {
        return refuse(Problem::ReadOnly);
    }
    try {
        sql::Connection db = sql::open(path, options.create);
        if (sqlite3_db_readonly(db.get(), "main") == 1) {
            return refuse(Problem::ReadOnly);
        }
        settle(db.get(), options);
        int version = 0;
        schema::State state = schema::look(db.get(), version);
        if (state == schema::State::Current || state == schema::State::Older) {
            // Damage is found before anything is written, and not later as an empty yard.
            sql::Statement check(db.get(), "PRAGMA quick_check");
            const bool sound = check.step() && check.text(0) == "ok";
            check.reset();
            if (!sound) {
                return refuse(Problem::Damaged);
            }
        }
        if (state == schema::State::Empty || state == schema::State::Older) {
            // Before the schema, so that the file's first transaction is already in the log;
            // a file of another program or a later version never gets this far.
            sql::execute(db.get(), "PRAGMA journal_mode = WAL");
            state = schema::upgrade(db.get(), version);
        }
        switch (state) {
        case schema::State::Current:
            break;
        case schema::State::Newer:
            out.error = Error{Problem::Newer, path};
            out.error->version = version;
            return out;
        case schema::State::Foreign:
            return refuse(Problem::NotAYard);
        case schema::State::Empty:
        case schema::State::Older:
            return refuse(Problem::Failed);
        }
        out.value.reset(new Yard(path, std::move(db)));
    } catch (const sql::Failure& failure) {
        out.error = errorOf(failure, path);
    }
    return out;
}

Result<std::vector<Offcut>> Yard::offcuts(const Filter& filter) const {
    Result<std::vector<Offcut>> out;
    try {
        sql::Transaction snapshot(db_.get(), sql::Begin::Deferred);
        // The rows as the table holds them, the few entries they came from apart, and the order
        // made here: a join and an ORDER BY that the index cannot give take five times as long.
        std::string query = "SELECT id, grade, diameter, length, count, place, entry FROM offcut "
                            "WHERE 1";
        if (filter.steel) {
            query += " AND diameter = ?1 AND grade = ?2";
        }
        if (filter.shortest > 0) {
            query += " AND length >= ?3";
        }
        if (filter.longest > 0) {
            query += " AND length <= ?4";
        }
        sql::Statement rows(db_.get(), query);
        if (filter.steel) {
            rows.bind(1, filter.steel->diameter).bind(2, filter.steel->grade);
        }
        if (filter.shortest > 0) {
            rows.bind(3, filter.shortest);
        }
        if (filter.longest > 0) {
            rows.bind(4, filter.longest);
        }
        std::map<std::int64_t, Source> sources;
        while (rows.step()) {
            Offcut& o = out.value.emplace_back();
            o.id = rows.integer(0);
            o.steel = {rows.text(1), rows.integer(2)};
            o.length = rows.integer(3);
            o.count = rows.integer(4);
            o.place = rows.text(5);
            o.source.id = rows.integer(6);
            sources.try_emplace(o.source.id);
        }
        sql::Statement entry(db_.get(),
                             "SELECT kind, time, list, project, floor FROM entry WHERE id = ?");
        for (auto& [id, source] : sources) {
            entry.bind(1, id);
            if (entry.step()) {
                source = {id,
                          record::kindOf(entry.text(0)),
                          entry.integer(1),
                          entry.text(2),
                          entry.text(3),
                          entry.text(4)};
            }
            entry.reset();
        }
        snapshot.commit();
        for (Offcut& o : out.value) {
            o.source = sources.at(o.source.id);
        }
        std::ranges::sort(out.value, [](const Offcut& a, const Offcut& b) {
            return std::tie(a.steel.diameter, a.steel.grade, b.length, a.id) <
                   std::tie(b.steel.diameter, b.steel.grade, a.length, b.id);
        });
    } catch (const sql::Failure& failure) {
        out.value.clear();
        out.error = failed(failure);
    }
    return out;
}

Result<std::vector<plan::Steel>> Yard::steels() const {
    Result<std::vector<plan::Steel>> out;
    try {
        sql::Statement rows(db_.get(), "SELECT DISTINCT diameter, grade FROM offcut "
                                       "ORDER BY diameter, grade");
        while (rows.step()) {
            out.value.push_back({rows.text(1), rows.integer(0)});
        }
    } catch (const sql::Failure& failure) {
        out.value.clear();
        out.error = failed(failure);
    }
    return out;
}

Result<std::vector<Moved>> Yard::stock(const std::vector<plan::Steel>& steels) const {
    Result<std::vector<Moved>> out;
    try {
        sql::Transaction snapshot(db_.get(), sql::Begin::Deferred);
        const auto read = [&](sql::Statement& rows) {
            while (rows.step()) {
                out.value.push_back(
                    {{rows.text(1), rows.integer(0)}, rows.integer(2), rows.integer(3)});
            }
            rows.reset();
        };
        if (steels.empty()) {
            sql::Statement rows(db_.get(), "SELECT diameter, grade, length, sum(count) FROM offcut "
                                           "GROUP BY diameter, grade, length "
                                           "ORDER BY diameter, grade, length DESC");
            read(rows);
        } else {
            sql::Statement rows(db_.get(), "SELECT diameter, grade, length, sum(count) FROM offcut "
                                           "WHERE diameter = ? AND grade = ? GROUP BY length "
                                           "ORDER BY length DESC");
            for (const plan::Steel& steel : steels) {
                rows.bind(1, steel.diameter).bind(2, steel.grade);
                read(rows);
            }
        }
        snapshot.commit();
    } catch (const sql::Failure& failure) {
        out.value.clear();
        out.error = failed(failure);
    }
    return out;
}

Result<std::vector<Entry>> Yard::history() const {
    Result<std::vector<Entry>> out;
    try {
        sql::Transaction snapshot(db_.get(), sql::Begin::Deferred);
        sql::Statement ids(db_.get(), "SELECT id FROM entry ORDER BY id DESC");
        while (ids.step()) {
            if (std::optional<Entry> entry = record::read(db_.get(), ids.integer(0))) {
                out.value.push_back(std::move(*entry));
            }
        }
        snapshot.commit();
    } catch (const sql::Failure& failure) {
        out.value.clear();
        out.error = failed(failure);
    }
    return out;
}

Result<Entry> Yard::entry(std::int64_t id) const {
    Result<Entry> out;
    try {
        sql::Transaction snapshot(db_.get(), sql::Begin::Deferred);
        std::optional<Entry> entry = record::read(db_.get(), id);
        snapshot.commit();
        if (!entry) {
            out.error = problem(Problem::NoEntry, id);
        } else {
            out.value = std::move(*entry);
        }
    } catch (const sql::Failure& failure) {
        out.error = failed(failure);
    }
    return out;
}

} // namespace yard
