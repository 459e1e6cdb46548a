#include "Transaction.h"

#include "Connection.h"

#include <sqlite3.h>

namespace db {

Transaction::Transaction(Connection& conn, const char* begin, const char* finish, const char* undo)
    : m_conn(conn), m_finish(finish), m_undo(undo)
{
    m_active = conn.exec(begin);
}

Transaction::Transaction(Connection& conn, Kind kind) : m_conn(conn), m_finish("COMMIT"), m_undo("ROLLBACK")
{
    // One transaction at a time: a nested one is a fault of the caller.
    if (conn.inTransaction())
        conn.fail(SQLITE_MISUSE, "A transaction is already open");
    else
        m_active = conn.exec(kind == Kind::Write ? kBeginWrite : "BEGIN");
}

Transaction::~Transaction()
{
    rollback();
}

bool Transaction::commit()
{
    if (!m_active)
        return false;
    if (!m_conn.exec(m_finish)) {
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
    // A failure the engine answers by rolling back the whole transaction leaves nothing to undo.
    if (m_conn.inTransaction()) {
        const Error kept = m_conn.lastError();  // keep the error that caused the rollback
        (void)m_conn.exec(m_undo);
        m_conn.fail(kept.code, kept.message);
    }
}

Savepoint::Savepoint(Connection& conn)
    : Transaction(conn, conn.inTransaction() ? "SAVEPOINT part" : kBeginWrite,
                  conn.inTransaction() ? "RELEASE part" : "COMMIT",
                  conn.inTransaction() ? "ROLLBACK TO part; RELEASE part" : "ROLLBACK")
{
}

}  // namespace db
