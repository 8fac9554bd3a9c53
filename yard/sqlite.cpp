#include "yard/sqlite.h"

#include <sqlite3.h>

namespace yard::sql {
namespace {

[[noreturn]] void fail(sqlite3* db, int code) {
    throw Failure{code, db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code)};
}

void check(sqlite3* db, int code) {
    if (code != SQLITE_OK) {
        fail(db, code);
    }
}

} // namespace

void CloseConnection::operator()(sqlite3* db) const {
    sqlite3_close_v2(db);
}

Connection open(const std::string& path, bool create) {
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    const int code = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    Connection connection(db);
    if (code != SQLITE_OK) {
        const int extended = db != nullptr ? sqlite3_extended_errcode(db) : code;
        fail(db, extended);
    }
    sqlite3_extended_result_codes(db, 1);
    return connection;
}

void execute(sqlite3* db, const char* sql) {
    char* message = nullptr;
    const int code = sqlite3_exec(db, sql, nullptr, nullptr, &message);
    if (code != SQLITE_OK) {
        Failure failure{sqlite3_extended_errcode(db), message != nullptr ? message : ""};
        sqlite3_free(message);
        throw failure;
    }
}

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db) {
    check(db_,
          sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &statement_, nullptr));
}

Statement::~Statement() {
    sqlite3_finalize(statement_);
}

Statement& Statement::bind(int at, std::int64_t value) {
    check(db_, sqlite3_bind_int64(statement_, at, value));
    return *this;
}

Statement& Statement::bind(int at, std::string_view text) {
    check(db_, sqlite3_bind_text64(statement_, at, text.data(), text.size(), SQLITE_TRANSIENT,
                                   SQLITE_UTF8));
    return *this;
}

bool Statement::step() {
    const int code = sqlite3_step(statement_);
    if (code == SQLITE_ROW) {
        return true;
    }
    if (code == SQLITE_DONE) {
        return false;
    }
    // The statement's own code is the primary one; the connection knows the extended one.
    const int extended = sqlite3_extended_errcode(db_);
    sqlite3_reset(statement_);
    fail(db_, extended);
}

void Statement::run() {
    while (step()) {
    }
    reset();
}

void Statement::reset() {
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
}

std::int64_t Statement::integer(int column) const {
    return sqlite3_column_int64(statement_, column);
}

std::string Statement::text(int column) const {
    const auto* bytes = sqlite3_column_text(statement_, column);
    if (bytes == nullptr) {
        return {};
    }
    return {reinterpret_cast<const char*>(bytes),
            static_cast<std::size_t>(sqlite3_column_bytes(statement_, column))};
}

bool Statement::isNull(int column) const {
    return sqlite3_column_type(statement_, column) == SQLITE_NULL;
}

std::int64_t integer(sqlite3* db, const char* sql) {
    Statement statement(db, sql);
    return statement.step() ? statement.integer(0) : 0;
}

Transaction::Transaction(sqlite3* db, Begin begin) : db_(db) {
    execute(db_, begin == Begin::Immediate ? "BEGIN IMMEDIATE" : "BEGIN DEFERRED");
}

Transaction::~Transaction() {
    if (open_) {
        // Nothing to report from here: a failed rollback leaves SQLite to roll back the journal
        // when the file is next opened.
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    }
}

void Transaction::commit() {
    execute(db_, "COMMIT");
    open_ = false;
}

} // namespace yard::sql
