#include "Connection.h"

#include <sqlite3.h>

#include <optional>

namespace db {

static_assert(kErrGeneric == SQLITE_ERROR && kErrBusy == SQLITE_BUSY && kErrCantOpen == SQLITE_CANTOPEN && kErrNotADatabase == SQLITE_NOTADB);

void Connection::Closer::operator()(sqlite3* db) const noexcept
{
    sqlite3_close_v2(db);
}

namespace {
constexpr std::size_t kMaxIdleStatements = 128;
constexpr std::size_t kMaxRowStatements = 256;
}

Connection::Connection() = default;

Connection::~Connection()
{
    close();
}

Connection::Connection(Connection&&) noexcept = default;

Connection& Connection::operator=(Connection&& other) noexcept
{
    if (this != &other) {
        dropCache();
        m_handle = std::move(other.m_handle);
        m_idle = std::move(other.m_idle);
        m_rowStatements = std::move(other.m_rowStatements);
        m_error = std::move(other.m_error);
        m_locks = std::move(other.m_locks);
    }
    return *this;
}

sqlite3_stmt* Connection::acquire(const std::string& sql)
{
    if (!m_handle) {
        fail(SQLITE_MISUSE, "The database is not open");
        return nullptr;
    }
    if (const auto it = m_idle.find(sql); it != m_idle.end()) {
        sqlite3_stmt* stmt = it->second;
        m_idle.erase(it);
        return stmt;
    }
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v3(m_handle.get(), sql.c_str(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &stmt,
                           nullptr) != SQLITE_OK) {
        fail();
        sqlite3_finalize(stmt);
        return nullptr;
    }
    return stmt;
}

void Connection::release(const std::string& sql, sqlite3_stmt* stmt) noexcept
{
    if (!stmt)
        return;
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    if (!m_handle || sqlite3_db_handle(stmt) != m_handle.get() || m_idle.size() >= kMaxIdleStatements) {
        sqlite3_finalize(stmt);
        return;
    }
    try {
        m_idle.emplace(sql, stmt);
    } catch (...) {
        sqlite3_finalize(stmt);
    }
}

std::size_t Connection::RowShapeHash::operator()(const RowShape& shape) const noexcept
{
    std::size_t h = shape.size();
    for (const char* text : shape)
        h = h * 1000003u ^ std::hash<const char*>()(text);
    return h;
}

sqlite3_stmt* Connection::rowStatement(const RowShape& shape, const std::function<std::string()>& sql)
{
    if (const auto it = m_rowStatements.find(shape); it != m_rowStatements.end())
        return it->second;
    // Columns written only when filled make a shape per combination: the kept ones are bounded.
    if (m_rowStatements.size() >= kMaxRowStatements) {
        for (auto& [kept, stmt] : m_rowStatements)
            sqlite3_finalize(stmt);
        m_rowStatements.clear();
    }
    sqlite3_stmt* stmt = acquire(sql());
    if (stmt)
        m_rowStatements.emplace(shape, stmt);
    return stmt;
}

void Connection::dropCache() noexcept
{
    for (auto& [sql, stmt] : m_idle)
        sqlite3_finalize(stmt);
    m_idle.clear();
    for (auto& [shape, stmt] : m_rowStatements)
        sqlite3_finalize(stmt);
    m_rowStatements.clear();
}

namespace {

// A path as the path of a "file:" name: every byte but letters, digits and "/-._~" escaped.
std::string uriPath(const std::string& path)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : path) {
        const auto b = static_cast<unsigned char>(c);
        if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || (b >= '0' && b <= '9') || c == '/' || c == '-' ||
            c == '.' || c == '_' || c == '~') {
            out += c;
        } else {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 15];
        }
    }
    return out;
}

}  // namespace

bool Connection::open(const std::string& path, Access access)
{
    switch (access) {
    case Access::ReadOnly:
        return openWith(path, SQLITE_OPEN_READONLY);
    case Access::Unchanging:
        return openWith("file:" + uriPath(path) + "?immutable=1", SQLITE_OPEN_READONLY | SQLITE_OPEN_URI);
    case Access::ReadWrite:
        break;
    }
    return openWith(path, SQLITE_OPEN_READWRITE);
}

bool Connection::create(const std::string& path)
{
    return openWith(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
}

bool Connection::openWith(const std::string& path, int flags)
{
    close();
    sqlite3* raw = nullptr;
    // The engine's memory count takes a lock at every allocation; nothing here reads it. It can
    // only be turned off before the engine's first use, which is the first open.
    static const bool uncounted = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0) == SQLITE_OK;
    (void)uncounted;
    // One thread uses a connection: the engine need not lock it at every call.
    const int rc = sqlite3_open_v2(path.c_str(), &raw, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    m_handle.reset(raw);
    if (rc != SQLITE_OK) {
        fail(rc, raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc));
        m_handle.reset();
        return false;
    }
    // 8 MB holds the pages an import batch changes; a larger cache costs more in fresh memory
    // than it saves in pages read back.
    sqlite3_exec(raw, "PRAGMA cache_size = -8192; PRAGMA temp_store = MEMORY", nullptr, nullptr, nullptr);
    sqlite3_extended_result_codes(raw, 1);
    sqlite3_busy_timeout(raw, 2000);
    // Reading the schema tells a database from any other file.
    if (!exec("SELECT count(*) FROM sqlite_master")) {
        const Error err = m_error;
        m_handle.reset();
        m_error = err;
        return false;
    }
    m_error = {};
    return true;
}

namespace {

// The first column of the one row a statement answers; nothing (the engine's error set) when
// it fails.
std::optional<int> firstOfRow(sqlite3* db, const char* sql)
{
    sqlite3_stmt* st = nullptr;
    std::optional<int> first;
    if (sqlite3_prepare_v2(db, sql, -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        first = sqlite3_column_int(st, 0);
    sqlite3_finalize(st);
    return first;
}

}  // namespace

bool Connection::foldLog()
{
    sqlite3* db = m_handle.get();
    sqlite3_busy_timeout(db, 0);
    // A checkpoint that cannot write the file (a full disk) fails; one that another connection
    // holds up answers busy, and the last connection to close folds the log.
    const std::optional<int> busy = firstOfRow(db, "PRAGMA wal_checkpoint(TRUNCATE)");
    if (!busy)
        return fail();
    return *busy != 0 || firstOfRow(db, "PRAGMA journal_mode = DELETE") || fail();
}

bool Connection::checkpoint()
{
    if (!m_handle)
        return fail(SQLITE_MISUSE, "The database is not open");
    // The engine refuses it inside a transaction, which holds changes not yet committed.
    const int rc = sqlite3_wal_checkpoint_v2(m_handle.get(), "main", SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    return rc == SQLITE_OK || fail();
}

bool Connection::close()
{
    dropCache();
    bool whole = true;
    if (m_handle && !readOnly())
        whole = foldLog();
    // The last close also folds the log and removes it, where it can.
    m_handle.reset();
    m_locks.clear();
    return whole;
}

std::string Connection::path() const
{
    const char* name = m_handle ? sqlite3_db_filename(m_handle.get(), "main") : nullptr;
    return name ? name : "";
}

bool Connection::readOnly() const
{
    return m_handle && sqlite3_db_readonly(m_handle.get(), "main") == 1;
}

bool Connection::exec(const std::string& sql)
{
    if (!m_handle)
        return fail(SQLITE_MISUSE, "The database is not open");
    char* msg = nullptr;
    const int rc = sqlite3_exec(m_handle.get(), sql.c_str(), nullptr, nullptr, &msg);
    if (rc != SQLITE_OK) {
        fail(sqlite3_extended_errcode(m_handle.get()), msg ? msg : sqlite3_errstr(rc));
        sqlite3_free(msg);
        return false;
    }
    return true;
}

bool Connection::hasTable(const std::string& name)
{
    if (!m_handle)
        return false;
    sqlite3_stmt* st = nullptr;
    if (sqlite3_prepare_v2(m_handle.get(),
                           "SELECT 1 FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE", -1, &st,
                           nullptr) != SQLITE_OK)
        return false;
    sqlite3_bind_text(st, 1, name.c_str(), int(name.size()), SQLITE_TRANSIENT);
    const bool found = sqlite3_step(st) == SQLITE_ROW;
    sqlite3_finalize(st);
    return found;
}

bool Connection::inTransaction() const
{
    return m_handle && sqlite3_get_autocommit(m_handle.get()) == 0;
}

bool Connection::fail()
{
    if (!m_handle)
        return fail(SQLITE_MISUSE, "The database is not open");
    return fail(sqlite3_extended_errcode(m_handle.get()), sqlite3_errmsg(m_handle.get()));
}

bool Connection::fail(int code, std::string message)
{
    m_error = {code, std::move(message)};
    return false;
}

}  // namespace db
