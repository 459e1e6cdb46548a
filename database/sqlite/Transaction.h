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
