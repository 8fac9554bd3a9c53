// The yard's changes: each one transaction, taken with the write lock at once (BEGIN
// IMMEDIATE), so that two programs changing one yard wait for each other instead of failing
// half-way, and a process killed in the middle leaves the file as it was.

#include "formats/grades.h"
#include "plan/list.h"

#include <algorithm>
#include <ctime>
#include <sqlite3.h>

#include "yard/record.h"
#include "yard/yard.h"

namespace yard {
namespace {

struct Row {
    std::int64_t id = 0;
    std::int64_t count = 0;
    std::string place;
    std::int64_t source = 0;
};

// One entry's changes of the offcut rows, each written down as a line of the entry.
class Changes {
public:
    Changes(sqlite3* db, EntryKind kind, const Origin& origin)
        : db_(db), entry_(record::begin(db, kind, origin)), lines_(db, entry_) {}

    [[nodiscard]] std::int64_t entry() const { return entry_; }

    // Takes `wanted` bars of a steel and length, from the oldest rows first, or nothing when
    // the yard holds fewer. The bars it holds of them.
    std::int64_t take(const plan::Steel& steel, std::int64_t length, std::int64_t wanted) {
        std::vector<Row> rows;
        select_.bind(1, steel.diameter).bind(2, steel.grade).bind(3, length);
        std::int64_t held = 0;
        while (select_.step()) {
            rows.push_back(
                {select_.integer(0), select_.integer(1), select_.text(2), select_.integer(3)});
            held += rows.back().count;
        }
        select_.reset();
        if (held < wanted) {
            return held;
        }
        std::int64_t left = wanted;
        for (const Row& row : rows) {
            if (left == 0) {
                break;
            }
            const std::int64_t taken = std::min(left, row.count);
            lower(row.id, row.count, taken);
            lines_.write({row.id, steel, length, row.place, row.source, -taken});
            left -= taken;
        }
        return held;
    }

    void put(const NewOffcut& bar) {
        insert_.bind(1, bar.steel.grade)
            .bind(2, bar.steel.diameter)
            .bind(3, bar.length)
            .bind(4, bar.count)
            .bind(5, bar.place)
            .bind(6, entry_);
        insert_.step();
        const std::int64_t id = insert_.integer(0);
        insert_.reset();
        lines_.write({id, bar.steel, bar.length, bar.place, entry_, bar.count});
    }

    // A row's count lowered by `taken` of its `count`; a row left with none goes.
    void lower(std::int64_t id, std::int64_t count, std::int64_t taken) {
        if (taken == count) {
            remove_.bind(1, id).run();
        } else {
            lower_.bind(1, taken).bind(2, id).run();
        }
    }

    void write(const record::Line& line) { lines_.write(line); }

private:
    sqlite3* db_;
    std::int64_t entry_;
    record::Lines lines_;
    sql::Statement select_{db_, "SELECT id, count, place, entry FROM offcut "
                                "WHERE diameter = ? AND grade = ? AND length = ? ORDER BY id"};
    sql::Statement insert_{db_, "INSERT INTO offcut(grade, diameter, length, count, place, entry) "
                                "VALUES (?, ?, ?, ?, ?, ?) RETURNING id"};
    sql::Statement lower_{db_, "UPDATE offcut SET count = count - ? WHERE id = ?"};
    sql::Statement remove_{db_, "DELETE FROM offcut WHERE id = ?"};
};

// Within the limits every offcut file is checked against (plan/list.h), a grade written as a
// grade's name: what the tables' own checks would refuse, refused first with a clearer reason.
bool valid(const NewOffcut& bar) {
    const bool grade =
        bar.steel.grade.empty() || !formats::gradeRowProblem({"C", bar.steel.grade}).has_value();
    return grade && bar.steel.diameter > 0 && bar.steel.diameter <= plan::kMaxDiameter &&
           bar.length > 0 && bar.length <= plan::kMaxLength && bar.count > 0 &&
           bar.count <= plan::kMaxCount;
}

std::vector<record::Line> linesOf(sqlite3* db, std::int64_t entry) {
    std::vector<record::Line> lines;
    sql::Statement select(db, "SELECT offcut, grade, diameter, length, place, source, delta "
                              "FROM change WHERE entry = ?");
    select.bind(1, entry);
    while (select.step()) {
        lines.push_back({select.integer(0),
                         {select.text(1), select.integer(2)},
                         select.integer(3),
                         select.text(4),
                         select.integer(5),
                         select.integer(6)});
    }
    return lines;
}

} // namespace

Result<Entry> Yard::commit(const plan::Plan& plan, const Origin& origin) {
    Result<Entry> out;
    try {
        sql::Transaction transaction(db_.get(), sql::Begin::Immediate);
        Changes changes(db_.get(), EntryKind::Commit, origin);
        std::vector<Shortage> shortages;
        for (const plan::GroupPlan& group : plan.groups) {
            for (const plan::StockUse& used : group.offcutsUsed) {
                const std::int64_t held = changes.take(group.steel, used.length, used.count);
                if (held < used.count) {
                    shortages.push_back({group.steel, used.length, used.count, held});
                }
            }
        }
        if (!shortages.empty()) {
            out.error = problem(Problem::Stale);
            out.error->shortages = std::move(shortages);
            return out; // rolled back: nothing taken
        }
        for (const plan::GroupPlan& group : plan.groups) {
            for (const plan::StockUse& remnant : group.remnants) {
                // A row holds at most what an offcut file's row may, so that every row reads back
                // as one.
                for (std::int64_t left = remnant.count; left > 0; left -= plan::kMaxCount) {
                    changes.put({group.steel, remnant.length, std::min(left, plan::kMaxCount),
                                 origin.place});
                }
            }
        }
        out.value = *record::read(db_.get(), changes.entry());
        transaction.commit();
    } catch (const sql::Failure& failure) {
        out.error = failed(failure);
    }
    return out;
}

Result<Entry> Yard::undo(std::int64_t id) {
    Result<Entry> out;
    try {
        sql::Transaction transaction(db_.get(), sql::Begin::Immediate);
        const std::optional<Entry> entry = record::read(db_.get(), id);
        if (!entry) {
            out.error = problem(Problem::NoEntry, id);
            return out;
        }
        if (entry->source.kind != EntryKind::Commit) {
            out.error = problem(Problem::NotACommit, id);
            return out;
        }
        if (entry->undone) {
            out.error = problem(Problem::AlreadyUndone, id);
            return out;
        }
        sql::Statement countOf(db_.get(), "SELECT count FROM offcut WHERE id = ?");
        sql::Statement raise(db_.get(), "UPDATE offcut SET count = count + ? WHERE id = ?");
        sql::Statement remove(db_.get(), "DELETE FROM offcut WHERE id = ?");
        sql::Statement restore(db_.get(),
                               "INSERT INTO offcut(id, grade, diameter, length, count, place, "
                               "entry) VALUES (?, ?, ?, ?, ?, ?, ?)");
        std::vector<Shortage> missing;
        for (const record::Line& line : linesOf(db_.get(), id)) {
            countOf.bind(1, line.offcut);
            const bool there = countOf.step();
            const std::int64_t count = there ? countOf.integer(0) : 0;
            countOf.reset();
            if (line.delta > 0) {
                // A remnant put in must still be there whole to be taken out again.
                if (count < line.delta) {
                    missing.push_back({line.steel, line.length, line.delta, count});
                } else if (count == line.delta) {
                    remove.bind(1, line.offcut).run();
                } else {
                    raise.bind(1, -line.delta).bind(2, line.offcut).run();
                }
            } else if (there) {
                raise.bind(1, -line.delta).bind(2, line.offcut).run();
            } else {
                // The row was taken whole: it comes back as it was, under its own id.
                restore.bind(1, line.offcut)
                    .bind(2, line.steel.grade)
                    .bind(3, line.steel.diameter)
                    .bind(4, line.length)
                    .bind(5, -line.delta)
                    .bind(6, line.place)
                    .bind(7, line.source)
                    .run();
            }
        }
        if (!missing.empty()) {
            out.error = problem(Problem::RemnantsTaken, id);
            out.error->shortages = std::move(missing);
            return out;
        }
        sql::Statement mark(db_.get(), "UPDATE entry SET undone = ? WHERE id = ?");
        mark.bind(1, static_cast<std::int64_t>(std::time(nullptr))).bind(2, id).run();
        out.value = *record::read(db_.get(), id);
        transaction.commit();
    } catch (const sql::Failure& failure) {
        out.error = failed(failure);
    }
    return out;
}

Result<Entry> Yard::add(const std::vector<NewOffcut>& bars, EntryKind kind, const Origin& origin) {
    Result<Entry> out;
    if (!std::ranges::all_of(bars, valid)) {
        out.error = problem(Problem::Invalid);
        return out;
    }
    try {
        sql::Transaction transaction(db_.get(), sql::Begin::Immediate);
        Changes changes(db_.get(), kind, origin);
        for (const NewOffcut& bar : bars) {
            changes.put(bar);
        }
        out.value = *record::read(db_.get(), changes.entry());
        transaction.commit();
    } catch (const sql::Failure& failure) {
        out.error = failed(failure);
    }
    return out;
}

Result<Entry> Yard::setCount(std::int64_t offcut, std::int64_t count) {
    Result<Entry> out;
    if (count < 0 || count > plan::kMaxCount) {
        out.error = problem(Problem::Invalid);
        return out;
    }
    try {
        sql::Transaction transaction(db_.get(), sql::Begin::Immediate);
        sql::Statement select(db_.get(), "SELECT grade, diameter, length, count, place, entry "
                                         "FROM offcut WHERE id = ?");
        select.bind(1, offcut);
        if (!select.step()) {
            out.error = problem(Problem::NoRow, offcut);
            return out;
        }
        const std::int64_t was = select.integer(3);
        const record::Line line{offcut,
                                {select.text(0), select.integer(1)},
                                select.integer(2),
                                select.text(4),
                                select.integer(5),
                                count - was};
        select.reset();
        if (line.delta == 0) {
            return out; // nothing changed, nothing recorded: an entry without an id
        }
        Changes changes(db_.get(), EntryKind::Hand, {});
        if (count < was) {
            changes.lower(offcut, was, was - count);
        } else {
            sql::Statement raise(db_.get(), "UPDATE offcut SET count = ? WHERE id = ?");
            raise.bind(1, count).bind(2, offcut).run();
        }
        changes.write(line);
        out.value = *record::read(db_.get(), changes.entry());
        transaction.commit();
    } catch (const sql::Failure& failure) {
        out.error = failed(failure);
    }
    return out;
}

Result<bool> Yard::setPlace(std::int64_t offcut, const std::string& place) {
    Result<bool> out;
    try {
        sql::Transaction transaction(db_.get(), sql::Begin::Immediate);
        sql::Statement update(db_.get(), "UPDATE offcut SET place = ? WHERE id = ?");
        update.bind(1, place).bind(2, offcut).run();
        out.value = sqlite3_changes(db_.get()) > 0;
        transaction.commit();
        if (!out.value) {
            out.error = problem(Problem::NoRow, offcut);
        }
    } catch (const sql::Failure& failure) {
        out.error = failed(failure);
    }
    return out;
}

Result<Entry> Yard::scrap(const Filter& filter, std::int64_t below) {
    Result<Entry> out;
    try {
        sql::Transaction transaction(db_.get(), sql::Begin::Immediate);
        std::string query = "SELECT id, grade, diameter, length, count, place, entry FROM offcut "
                            "WHERE length < ?1";
        if (filter.steel) {
            query += " AND diameter = ?2 AND grade = ?3";
        }
        std::vector<record::Line> lines;
        {
            sql::Statement select(db_.get(), query);
            select.bind(1, below);
            if (filter.steel) {
                select.bind(2, filter.steel->diameter).bind(3, filter.steel->grade);
            }
            while (select.step()) {
                lines.push_back({select.integer(0),
                                 {select.text(1), select.integer(2)},
                                 select.integer(3),
                                 select.text(5),
                                 select.integer(6),
                                 -select.integer(4)});
            }
        }
        if (lines.empty()) {
            return out; // nothing to throw out, nothing recorded
        }
        Changes changes(db_.get(), EntryKind::Scrap, {});
        for (const record::Line& line : lines) {
            changes.lower(line.offcut, -line.delta, -line.delta);
            changes.write(line);
        }
        out.value = *record::read(db_.get(), changes.entry());
        transaction.commit();
    } catch (const sql::Failure& failure) {
        out.error = failed(failure);
    }
    return out;
}

} // namespace yard
