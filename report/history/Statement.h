#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>

// One prepared statement of the history, finalized when it goes.
class Statement {
public:
    Statement(sqlite3* db, const char* sql) { sqlite3_prepare_v2(db, sql, -1, &statement, nullptr); }
    Statement(sqlite3* db, const std::string& sql) : Statement(db, sql.c_str()) {}
    ~Statement() { sqlite3_finalize(statement); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Runs statements that give no rows, at once.
    static bool Exec(sqlite3* db, const std::string& sql) {
        return sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }

    bool Ok() const { return statement != nullptr; }
    Statement& Text(int index, const std::string& text) {
        sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        return *this;
    }
    // Binds without a copy: text must stay as it is until the next Step.
    Statement& KeptText(int index, const std::string& text) {
        sqlite3_bind_text(statement, index, text.data(), static_cast<int>(text.size()), SQLITE_STATIC);
        return *this;
    }
    // Sizes beyond 2^63 keep their bits.
    Statement& Number(int index, uint64_t value) {
        sqlite3_bind_int64(statement, index, static_cast<sqlite3_int64>(value));
        return *this;
    }
    Statement& Null(int index) {
        sqlite3_bind_null(statement, index);
        return *this;
    }
    // SQLITE_ROW, SQLITE_DONE or an error.
    int Step() { return sqlite3_step(statement); }
    void Reset() { sqlite3_reset(statement); }
    // Runs a statement that returns no rows and makes it ready for the next.
    bool Run() {
        const bool done = Step() == SQLITE_DONE;
        Reset();
        return done;
    }
    std::string ColumnText(int column) const {
        const unsigned char* text = sqlite3_column_text(statement, column);
        return text ? std::string(reinterpret_cast<const char*>(text),
                                  static_cast<size_t>(sqlite3_column_bytes(statement, column)))
                    : std::string();
    }
    uint64_t ColumnNumber(int column) const { return static_cast<uint64_t>(sqlite3_column_int64(statement, column)); }
    bool ColumnIsNull(int column) const { return sqlite3_column_type(statement, column) == SQLITE_NULL; }

private:
    sqlite3_stmt* statement = nullptr;
};
