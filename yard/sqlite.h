#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

// Inside the yard: SQLite's C interface held by owners that cannot leak, and every failure as
// one exception carrying SQLite's result code, so that the code speaking SQL reads as the steps
// it takes. Nothing of this leaves yard/: the yard's functions catch it and hand back an Error.
namespace yard::sql {

// A call SQLite refused: its extended result code and its message.
struct Failure {
    int code = 0;
    std::string message;
};

struct CloseConnection {
    void operator()(sqlite3* db) const;
};
using Connection = std::unique_ptr<sqlite3, CloseConnection>;

// Opens `path` (UTF-8) for reading and writing; with `create`, makes it when it is missing.
// Throws Failure.
[[nodiscard]] Connection open(const std::string& path, bool create);

// Runs statements that return no rows. Throws Failure.
void execute(sqlite3* db, const char* sql);

// One prepared statement: bind, step through its rows, read their columns.
class Statement {
public:
    Statement(sqlite3* db, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Parameters from 1, as SQLite numbers them.
    Statement& bind(int at, std::int64_t value);
    Statement& bind(int at, std::string_view text);
    // True while there is a row to read; false when the statement is done. Throws Failure.
    bool step();
    // Runs a statement that returns no rows, then makes it ready to run again.
    void run();
    // Ready to run again with new parameters.
    void reset();

    [[nodiscard]] std::int64_t integer(int column) const;
    [[nodiscard]] std::string text(int column) const;
    [[nodiscard]] bool isNull(int column) const;

private:
    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

// A single integer: a PRAGMA's value, a count. Throws Failure.
[[nodiscard]] std::int64_t integer(sqlite3* db, const char* sql);

enum class Begin {
    Deferred,  // reads: a snapshot that writers do not disturb
    Immediate, // changes: the write lock taken at once, waiting out other writers
};

// A transaction rolled back unless it is committed, whatever leaves its scope.
class Transaction {
public:
    Transaction(sqlite3* db, Begin begin);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();

private:
    sqlite3* db_;
    bool open_ = true;
};

} // namespace yard::sql
