#pragma once

namespace db {

class Connection;

/// Begins a transaction that will write: it takes the write lock at once, so that a writer
/// waits for another as the busy timeout allows instead of failing when it first writes.
inline constexpr const char* kBeginWrite = "BEGIN IMMEDIATE";

// One transaction; rolls back in its destructor unless commit() succeeded.
class Transaction {
public:
    enum class Kind { Write, Read };
    explicit Transaction(Connection& conn, Kind kind = Kind::Write);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    /// False when the transaction could not begin (the connection's error tells why).
    bool active() const { return m_active; }
    [[nodiscard]] bool commit();
    void rollback();
    /// The connection the transaction runs on; after a failed commit its error tells why.
    Connection& connection() const { return m_conn; }

protected:
    Transaction(Connection& conn, const char* begin, const char* finish, const char* undo);

private:
    Connection& m_conn;
    const char* m_finish;
    const char* m_undo;
    bool m_active = false;
};

// A savepoint: inside an open transaction it undoes only its own work when rolled back; with
// none open it is a write transaction of its own. commit() releases it: its work joins the enclosing
// transaction, or is committed.
class Savepoint : public Transaction {
public:
    explicit Savepoint(Connection& conn);
};

}  // namespace db
