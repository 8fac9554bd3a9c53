#pragma once

struct sqlite3;

// The yard file's schema, by version (PRAGMA user_version), and the steps that bring an older
// file up to the current one. A step is never changed once released: a new need is a new step.
namespace yard::schema {

inline constexpr int kVersion = 2;
// PRAGMA application_id: "HCYD", so that a yard is told from another program's database.
inline constexpr int kApplicationId = 0x48435944;

// What a file's first look found.
enum class State {
    Current, // at kVersion
    Empty,   // a new file, or one with no tables: made into a yard
    Older,   // a yard of an earlier version: upgraded in place
    Newer,   // a yard of a later version: not touched
    Foreign, // a database of another program: not touched
};

// Reads the file's version and tables; throws sql::Failure (a damaged file: SQLITE_NOTADB).
[[nodiscard]] State look(sqlite3* db, int& version);

// Brings an Empty or Older file to kVersion in one transaction, taken with the write lock, so
// that two programs opening a new file at once make it once. Throws sql::Failure; returns the
// state found under the lock (another program may have upgraded it, or even to a later version,
// meanwhile).
[[nodiscard]] State upgrade(sqlite3* db, int& version);

} // namespace yard::schema
