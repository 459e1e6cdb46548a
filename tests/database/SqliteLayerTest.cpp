#include "database/sqlite/Connection.h"
#include "database/sqlite/RowWriter.h"
#include "database/sqlite/Statement.h"
#include "database/sqlite/Transaction.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <optional>
#include <string>

#include <chrono>
#include <future>
#include <thread>

using testing_support::TempDir;

namespace {

// A table in a file of a temporary folder, or in memory where the test's child process dies and
// so never removes a folder.
struct Scratch {
    std::optional<TempDir> dir;
    db::Connection conn;
    explicit Scratch(bool onDisk = true)
    {
        if (onDisk)
            dir.emplace();
        EXPECT_TRUE(conn.create(onDisk ? (dir->path() / "scratch.db").string() : std::string(":memory:")));
        EXPECT_TRUE(conn.exec("CREATE TABLE t (k INTEGER, name TEXT, freq REAL)"));
    }
    int count()
    {
        db::Statement st(conn, "SELECT count(*) FROM t");
        return st.step() == db::Step::Row ? int(*st.integer(0)) : -1;
    }
};

}  // namespace

TEST(SqliteLayer, KeepsNullApartFromEmptyAndFindsColumnsWithoutCase)
{
    Scratch s;
    ASSERT_TRUE(db::RowWriter::insert(s.conn, "t").set("k", 1).set("name", std::string()).run());
    ASSERT_TRUE(db::RowWriter::insert(s.conn, "t").set("k", 2).setIfNotEmpty("name", "").run());
    db::Statement st(s.conn, "SELECT K, Name FROM t ORDER BY k");
    ASSERT_EQ(st.step(), db::Step::Row);
    EXPECT_FALSE(st.isNull("name"));
    EXPECT_EQ(st.text("NAME"), "");
    ASSERT_EQ(st.step(), db::Step::Row);
    EXPECT_TRUE(st.isNull("name"));
    EXPECT_EQ(st.column("missing"), -1);
    // A search by name goes on from the last column found, and comes round to the first.
    for (const auto& [name, index] : {std::pair{"name", 1}, {"k", 0}, {"NAME", 1}, {"name", 1}, {"missing", -1}, {"K", 0}})
        EXPECT_EQ(st.column(name), index) << name;
}

// A value bound where the statement has no place for it, or a column read by a name the result
// does not have, is a fault of the calling code: the statement fails with a message saying so,
// and a debug build stops at once.
TEST(SqliteLayer, ABindOrAColumnNameTheStatementDoesNotHaveFailsIt)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const std::function<std::string(Scratch&)> mistakes[] = {
        [](Scratch& s) {
            db::Statement st(s.conn, "INSERT INTO t (k, name) VALUES (?, ?)");
            st.bind(1, 7).bind(2, "a").bind(3, "past the end");
            return st.run() ? std::string("ran") : s.conn.lastError().message;
        },
        [](Scratch& s) {
            db::Statement st(s.conn, "INSERT INTO t (k) VALUES (?)");
            st.bindNull(0);
            return st.run() ? std::string("ran") : s.conn.lastError().message;
        },
        [](Scratch& s) {
            db::Statement st(s.conn, "SELECT k, name FROM t");
            if (st.step() != db::Step::Row)
                return std::string("no row");
            const std::string value = st.text("nmae");
            return st.step() == db::Step::Failed ? s.conn.lastError().message : "read '" + value + "'";
        },
    };
    const char* said[] = {"cannot bind value 3 of \"INSERT INTO t \\(k, name\\) VALUES \\(\\?, \\?\\)\": column index out of range",
                          "cannot bind value 0 of", "no column nmae in \"SELECT k, name FROM t\""};
    for (std::size_t i = 0; i < std::size(mistakes); ++i) {
        Scratch s(false);
        ASSERT_TRUE(db::RowWriter::insert(s.conn, "t").set("k", 1).set("name", "x").run());
#ifdef NDEBUG
        EXPECT_NE(mistakes[i](s).find(std::string(said[i]).substr(0, 20)), std::string::npos) << i;
        EXPECT_EQ(s.count(), 1) << i;
#else
        EXPECT_DEATH((void)mistakes[i](s), said[i]) << i;
#endif
    }
}

TEST(SqliteLayer, StepTellsTheEndFromAFailure)
{
    Scratch s;
    ASSERT_TRUE(db::RowWriter::insert(s.conn, "t").set("k", 1).set("name", "1").run());
    db::Statement rows(s.conn, "SELECT k FROM t");
    EXPECT_EQ(rows.step(), db::Step::Row);
    EXPECT_EQ(rows.step(), db::Step::Done);
    EXPECT_EQ(rows.step(), db::Step::Done) << "the end stays the end";
    // A failure after rows have come: the second row holds malformed JSON.
    ASSERT_TRUE(db::RowWriter::insert(s.conn, "t").set("k", 2).set("name", "{").run());
    db::Statement failing(s.conn, "SELECT json(name) FROM t ORDER BY rowid");
    EXPECT_EQ(failing.step(), db::Step::Row);
    EXPECT_EQ(failing.step(), db::Step::Failed);
    EXPECT_EQ(failing.step(), db::Step::Failed);
    EXPECT_NE(s.conn.lastError().message.find("JSON"), std::string::npos);
}

TEST(SqliteLayer, BindsQuotesAsData)
{
    Scratch s;
    const std::string tricky = "O'NEIL'); DROP TABLE t; --";
    ASSERT_TRUE(db::RowWriter::insert(s.conn, "t").set("k", 1).set("name", tricky).run());
    db::Statement st(s.conn, "SELECT k FROM t WHERE name = ?");
    st.bind(1, tricky);
    ASSERT_EQ(st.step(), db::Step::Row);
    EXPECT_EQ(*st.integer("k"), 1);
}

TEST(SqliteLayer, UpdateWritesNullForEmptyTexts)
{
    Scratch s;
    ASSERT_TRUE(db::RowWriter::insert(s.conn, "t").set("k", 1).set("name", "A").run());
    ASSERT_TRUE(db::RowWriter::update(s.conn, "t", "k", 1).setOrNull("name", "").run());
    db::Statement st(s.conn, "SELECT name FROM t");
    ASSERT_EQ(st.step(), db::Step::Row);
    EXPECT_TRUE(st.isNull(0));
}

TEST(SqliteLayer, TransactionRollsBackUnlessCommitted)
{
    Scratch s;
    {
        db::Transaction tx(s.conn);
        ASSERT_TRUE(tx.active());
        ASSERT_TRUE(db::RowWriter::insert(s.conn, "t").set("k", 1).run());
        db::Transaction nested(s.conn);
        EXPECT_FALSE(nested.active()) << "transactions do not nest";
    }
    EXPECT_EQ(s.count(), 0);
    EXPECT_FALSE(s.conn.inTransaction());
    {
        db::Transaction tx(s.conn);
        ASSERT_TRUE(db::RowWriter::insert(s.conn, "t").set("k", 1).run());
        ASSERT_TRUE(tx.commit());
    }
    EXPECT_EQ(s.count(), 1);
}

TEST(SqliteLayer, ReportsFailuresWithTheEngineMessage)
{
    Scratch s;
    db::Statement bad(s.conn, "SELECT * FROM nowhere");
    EXPECT_EQ(bad.step(), db::Step::Failed);
    EXPECT_FALSE(bad.run());
    EXPECT_NE(s.conn.lastError().message.find("nowhere"), std::string::npos);

    db::Connection closed;
    EXPECT_FALSE(closed.exec("SELECT 1"));
    EXPECT_FALSE(closed.hasTable("t"));
}

TEST(SqliteLayer, OpenNeverCreatesAFile)
{
    TempDir dir;
    const auto path = dir.path() / "absent.db";
    db::Connection conn;
    EXPECT_FALSE(conn.open(path.string()));
    EXPECT_FALSE(std::filesystem::exists(path));
    const auto junk = dir.write("junk.db", std::string(4096, 'x'));
    EXPECT_FALSE(conn.open(junk.string()));
    EXPECT_FALSE(conn.isOpen());
    EXPECT_NE(conn.lastError().message.find("not a database"), std::string::npos);
}

TEST(SqliteLayer, RowStatementsAreReusedAfterFailuresAndAcrossManyColumnSets)
{
    Scratch s;
    ASSERT_TRUE(s.conn.exec("CREATE TABLE w (k INTEGER UNIQUE, c0, c1, c2, c3, c4, c5, c6, c7, c8)"));
    static const char* const columns[] = {"c0", "c1", "c2", "c3", "c4", "c5", "c6", "c7", "c8"};
    // Every set of the nine columns: more shapes than the connection keeps statements for.
    for (int set = 0; set < 512; ++set) {
        auto row = db::RowWriter::insert(s.conn, "w").set("k", set);
        for (int c = 0; c < 9; ++c)
            row.setIfNotEmpty(columns[c], set >> c & 1 ? std::to_string(c) : "");
        ASSERT_TRUE(row.run()) << s.conn.lastError().message;
    }
    EXPECT_FALSE(db::RowWriter::insert(s.conn, "w").set("k", 7).set("c0", "again").run());
    EXPECT_NE(s.conn.lastError().message.find("UNIQUE"), std::string::npos);
    ASSERT_TRUE(db::RowWriter::insert(s.conn, "w").set("k", 512).set("c0", "after").run());
    ASSERT_TRUE(db::RowWriter::update(s.conn, "w", "k", 3).set("c8", "changed").run());

    db::Statement st(s.conn, "SELECT count(*), sum(k), sum((c0 IS NOT NULL) + (c4 IS NOT NULL) + (c8 IS NOT NULL)), "
                             "(SELECT c0 || c1 || c8 FROM w WHERE k = 3), (SELECT c0 FROM w WHERE k = 512) FROM w");
    ASSERT_EQ(st.step(), db::Step::Row);
    EXPECT_EQ(st.text(0), "513");
    EXPECT_EQ(st.text(1), std::to_string(512 * 513 / 2));
    EXPECT_EQ(st.text(2), std::to_string(3 * 256 + 1 + 1)) << "each column filled in half the sets";
    EXPECT_EQ(st.text(3), "01changed");
    EXPECT_EQ(st.text(4), "after");
}

namespace {

// Adds one to the counter of `path` in a transaction of kind Tx that reads it first, as an
// update reads a notice before it writes; `read` is told once the value was read, and the
// writing waits `hold` after it. The commit's error, "" on success.
template <class Tx>
std::string addOne(db::Connection& conn, std::promise<void>* read, std::chrono::milliseconds hold)
{
    Tx tx(conn);
    if (!tx.active())
        return conn.lastError().message;
    std::optional<std::int64_t> n;
    {
        db::Statement get(conn, "SELECT n FROM counter");
        if (get.step() == db::Step::Row)
            n = get.integer(0);
    }
    if (read)
        read->set_value();
    std::this_thread::sleep_for(hold);
    if (!n || !db::RowWriter::update(conn, "counter", "rowid", 1).set("n", *n + 1).run() || !tx.commit())
        return conn.lastError().message;
    return "";
}

template <class Tx>
void twoWritersAtOnce()
{
    TempDir dir;
    const std::string path = (dir.path() / "shared.db").string();
    db::Connection first, second;
    ASSERT_TRUE(first.create(path));
    ASSERT_TRUE(first.exec("PRAGMA journal_mode = WAL; CREATE TABLE counter (n INTEGER); "
                           "INSERT INTO counter VALUES (0)"));
    ASSERT_TRUE(second.open(path));
    // The first reads, the second starts while the first still holds its read, then the first
    // writes: without a write lock taken at the start, one of them cannot commit.
    std::promise<void> firstRead;
    auto late = firstRead.get_future();
    auto one = std::async(std::launch::async, [&] {
        return addOne<Tx>(first, &firstRead, std::chrono::milliseconds(300));
    });
    auto two = std::async(std::launch::async, [&] {
        late.wait();
        return addOne<Tx>(second, nullptr, std::chrono::milliseconds(0));
    });
    EXPECT_EQ(one.get(), "");
    EXPECT_EQ(two.get(), "") << "the second writer waits for the first";
    db::Statement st(first, "SELECT n FROM counter");
    ASSERT_EQ(st.step(), db::Step::Row);
    EXPECT_EQ(st.text(0), "2") << "neither change is lost";
}

}  // namespace

TEST(SqliteLayer, TwoWritersAtOnceBothCommitTheSecondWaiting)
{
    {
        SCOPED_TRACE("transactions");
        twoWritersAtOnce<db::Transaction>();
    }
    {
        SCOPED_TRACE("savepoints outside a transaction");
        twoWritersAtOnce<db::Savepoint>();
    }
}
