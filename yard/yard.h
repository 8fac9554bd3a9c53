#pragma once

#include "plan/plan.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "yard/error.h"
#include "yard/sqlite.h"
#include "yard/values.h"

// The yard (余料库): offcuts kept in one SQLite file across lists and jobs, with a record of
// every change. A plan is made with the yard's offcuts first (stock()), then carried out
// (commit()): in one transaction the offcuts it used are taken out and its remnants put in, or
// nothing changes when the yard no longer holds what it used. Planning a building floor by floor
// is that loop once per floor: stock → plan::optimize → commit with the floor's name → the next
// floor.
//
// One Yard is one connection, for one thread. Several programs may hold the same file: each
// change waits for the others' (up to Options::waitMs) and lands whole or not at all; a process
// killed in the middle of one leaves the file as it was before it.
namespace yard {

struct Options {
    bool create = false; // make the file when it is missing (its folder must exist)
    int waitMs = 5000;   // how long to wait for another program's change to finish
};

class Yard {
public:
    // Opens a yard file, making it or upgrading its schema as needed. A file that is damaged,
    // of another program, of a later version, read-only or locked is an error, and then nothing
    // is written to it.
    [[nodiscard]] static Result<std::unique_ptr<Yard>> open(const std::string& path,
                                                            const Options& options = {});
    ~Yard();
    Yard(const Yard&) = delete;
    Yard& operator=(const Yard&) = delete;

    [[nodiscard]] const std::string& path() const { return path_; }

    // The rows, by diameter, grade, then length from the longest.
    [[nodiscard]] Result<std::vector<Offcut>> offcuts(const Filter& filter = {}) const;
    // The steels the yard holds, by diameter then grade.
    [[nodiscard]] Result<std::vector<plan::Steel>> steels() const;
    // What the optimiser may use: one row per steel and length, counts summed; of `steels`
    // only, or of all when it is empty.
    [[nodiscard]] Result<std::vector<Moved>> stock(const std::vector<plan::Steel>& steels) const;
    // Every entry, the latest first.
    [[nodiscard]] Result<std::vector<Entry>> history() const;
    [[nodiscard]] Result<Entry> entry(std::int64_t id) const;

    // Carries out a checked plan: takes the offcuts each steel used (oldest rows first) and puts
    // in its remnants (GroupPlan::remnants: those of at least the shortest kept length). Stale,
    // with the shortages, when the yard holds fewer of an offcut than the plan used.
    [[nodiscard]] Result<Entry> commit(const plan::Plan& plan, const Origin& origin);
    // Undoes a commit exactly: its offcuts back in their rows, its remnants out. Refused when
    // its remnants have been taken since (RemnantsTaken) or it was undone before.
    [[nodiscard]] Result<Entry> undo(std::int64_t id);
    // Puts bars in, as an Import or by Hand, in one entry.
    [[nodiscard]] Result<Entry> add(const std::vector<NewOffcut>& bars, EntryKind kind,
                                    const Origin& origin);
    // A row's count corrected by hand (0 takes the row out), recorded as an entry.
    [[nodiscard]] Result<Entry> setCount(std::int64_t offcut, std::int64_t count);
    [[nodiscard]] Result<bool> setPlace(std::int64_t offcut, const std::string& place);
    // Throws out the bars shorter than `below` (of the filter's steel, when it has one).
    [[nodiscard]] Result<Entry> scrap(const Filter& filter, std::int64_t below);

private:
    Yard(std::string path, sql::Connection db);
    [[nodiscard]] Error failed(const sql::Failure& failure) const;
    [[nodiscard]] Error problem(Problem p, std::int64_t entry = 0) const;

    std::string path_;
    sql::Connection db_;
};

} // namespace yard
