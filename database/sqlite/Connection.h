#pragma once

#include "Error.h"
#include "FileLock.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace db {

// One open database file. Move-only; closing is idempotent.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(Connection&&) noexcept;
    Connection& operator=(Connection&&) noexcept;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    enum class Access {
        ReadWrite,
        ReadOnly,
        // Read only, the file taken as unchanging: no lock and no side file, also for a file in
        // write-ahead-log mode, whose log then must be empty or absent.
        Unchanging,
    };
    /// Opens an existing file (for reading and writing unless told otherwise); never creates
    /// one. The file is checked to be a database.
    [[nodiscard]] bool open(const std::string& path, Access access = Access::ReadWrite);
    /// Opens a new or existing file, creating it when missing.
    [[nodiscard]] bool create(const std::string& path);
    /// Keeps the lock until the connection closes.
    void keep(FileLock lock) { m_locks.push_back(std::move(lock)); }
    /// Closes the file; a file written through this connection is left in rollback-journal
    /// mode, its log folded into it, so that it needs no side file. False when the log could
    /// not be folded in (a full disk; lastError() says why): the file then holds its latest
    /// changes only together with its "-wal" file. True when nothing was open.
    bool close();
    /// Copies every change committed so far from the write-ahead log into the file, which stays
    /// open; false (error set) when it cannot (a full disk, a transaction still open).
    [[nodiscard]] bool checkpoint();
    bool isOpen() const { return m_handle != nullptr; }
    /// The full name of the open file, symbolic links resolved; "" when none is open.
    std::string path() const;
    /// Whether the open file can only be read.
    bool readOnly() const;

    /// Runs statements that take no values.
    [[nodiscard]] bool exec(const std::string& sql);
    /// Whether a table of that name exists, compared without case.
    bool hasTable(const std::string& name);
    bool inTransaction() const;

    const Error& lastError() const { return m_error; }
    /// Records the engine's current error; always false, for `return conn.fail();`.
    bool fail();
    /// Records an error of our own; always false.
    bool fail(int code, std::string message);

private:
    friend class Statement;
    /// A prepared statement for `sql`, reused when one is idle; nullptr (error set) on failure.
    sqlite3_stmt* acquire(const std::string& sql);
    /// Hands a statement from acquire back for reuse.
    void release(const std::string& sql, sqlite3_stmt* stmt) noexcept;

    friend class RowWriter;
    /// The texts naming a row statement's table, condition column and columns, in order.
    using RowShape = std::vector<const char*>;
    struct RowShapeHash {
        std::size_t operator()(const RowShape& shape) const noexcept;
    };
    /// The statement of that shape, prepared from `sql()` the first time and kept until the
    /// connection closes; nullptr (error set) on failure.
    sqlite3_stmt* rowStatement(const RowShape& shape, const std::function<std::string()>& sql);

    void dropCache() noexcept;

    [[nodiscard]] bool openWith(const std::string& path, int flags);
    /// Folds the write-ahead log into the file and leaves it in rollback-journal mode; false
    /// (error set) when the log stays. Another connection that has the file open keeps it.
    [[nodiscard]] bool foldLog();

    struct Closer { void operator()(sqlite3* db) const noexcept; };
    std::unique_ptr<sqlite3, Closer> m_handle;
    std::unordered_multimap<std::string, sqlite3_stmt*> m_idle;  // prepared once, run many times
    std::unordered_map<RowShape, sqlite3_stmt*, RowShapeHash> m_rowStatements;
    RowShape m_shapeScratch;  // the shape of the row being written, its room reused
    Error m_error;
    std::vector<FileLock> m_locks;  // let go after the file is closed
};

}  // namespace db
