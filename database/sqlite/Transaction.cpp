#include "Transaction.h"

#include "Connection.h"

#include <sqlite3.h>

namespace db {

Transaction::Transaction(Connection& conn) : m_conn(conn)
{
    // One transaction at a time: a nested one is a fault of the caller.
    if (conn.inTransaction())
        conn.fail(SQLITE_MISUSE, "A transaction is already open");
    else
        m_active = conn.exec("BEGIN");
}

Transaction::~Transaction()
{
    rollback();
}

bool Transaction::commit()
{
    if (!m_active)
        return false;
    if (!m_conn.exec("COMMIT")) {
        rollback();
        return false;
    }
    m_active = false;
    return true;
}

void Transaction::rollback()
{
    if (!m_active)
        return;
    m_active = false;
    if (m_conn.inTransaction()) {
        const Error kept = m_conn.lastError();  // keep the error that caused the rollback
        (void)m_conn.exec("ROLLBACK");
        m_conn.fail(kept.code, kept.message);
    }
}

}  // namespace db

namespace db {

Savepoint::Savepoint(Connection& conn) : m_conn(conn), m_outermost(!conn.inTransaction())
{
    m_active = conn.exec("SAVEPOINT part");
}

Savepoint::~Savepoint()
{
    rollback();
}

bool Savepoint::commit()
{
    if (!m_active)
        return false;
    if (!m_conn.exec("RELEASE part")) {
        rollback();
        return false;
    }
    m_active = false;
    return true;
}

void Savepoint::rollback()
{
    if (!m_active)
        return;
    m_active = false;
    // A failure the engine answers by rolling back the whole transaction leaves nothing to undo.
    if (m_conn.inTransaction()) {
        const Error kept = m_conn.lastError();
        (void)m_conn.exec(m_outermost ? "ROLLBACK" : "ROLLBACK TO part; RELEASE part");
        m_conn.fail(kept.code, kept.message);
    }
}

}  // namespace db
