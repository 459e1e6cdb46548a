#pragma once

namespace db {

class Connection;

// One transaction; rolls back in its destructor unless commit() succeeded.
class Transaction {
public:
    explicit Transaction(Connection& conn);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    /// False when the transaction could not begin (the connection's error tells why).
    bool active() const { return m_active; }
    [[nodiscard]] bool commit();
    void rollback();

private:
    Connection& m_conn;
    bool m_active = false;
};

}  // namespace db

namespace db {

// A savepoint: inside an open transaction it undoes only its own work when rolled back; with
// none open it is a transaction of its own. Rolls back in its destructor unless committed.
class Savepoint {
public:
    explicit Savepoint(Connection& conn);
    ~Savepoint();
    Savepoint(const Savepoint&) = delete;
    Savepoint& operator=(const Savepoint&) = delete;

    bool active() const { return m_active; }
    /// Releases the savepoint: its work joins the enclosing transaction, or is committed.
    [[nodiscard]] bool commit();
    void rollback();

private:
    Connection& m_conn;
    bool m_outermost;
    bool m_active = false;
};

}  // namespace db
