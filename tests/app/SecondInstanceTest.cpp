// A database is open in one instance of the program at a time, whatever path leads to it: a
// second process that opens it, or imports a file whose database it would replace, through a
// symbolic link, a hard link or another spelling is refused, and the first keeps saving into
// the file it has open.
#include "app/core/NoticeImport.h"
#include "database/DbConnection.h"
#include "database/sqlite/RowWriter.h"
#include "database/sqlite/Statement.h"
#include "support/ChildProcess.h"
#include "support/ImportFixture.h"
#include "support/NoticeDb.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

std::string scalar(db::Connection& conn, const std::string& sql)
{
    db::Statement st(conn, sql);
    return st.step() == db::Step::Row ? st.text(0) : std::string("?");
}

// What a second instance does with the database at `path`: opens it, then imports the notice
// file beside it of the same name (answering Yes to replacing), and says what came of each.
std::string secondInstance(const fs::path& path)
{
    return testing_support::runInChild([&] {
        platform::Report report;
        db::Connection conn;
        const bool opened = database::OpenDB(path.string(), conn, report);
        conn.close();
        testing_support::ScriptedPrompter prompter;
        prompter.answers = {true};
        testing_support::RecordingStatus status;
        app::AppState state;
        fs::path text = path;
        text.replace_extension(".txt");
        std::ofstream(text, std::ios::binary)
            << testing_support::noticeFile({"t_notice_type = T01\nt_action = ADD\nt_freq_assgn = 98.5\n"});
        const bool imported = bool(app::importTextFile(text.string(), state, status, prompter,
                                                       {"", testing_support::templateDb()}));
        state.dbConnection.close();
        std::printf("opened %d imported %d", opened, imported);
        for (const platform::Message& m : report.messages())
            std::printf("\n%s", m.text.c_str());
        for (const auto& m : prompter.messages)
            std::printf("\n%s", m.text.c_str());
    }).output;
}

// The first instance opens the database at `real` through `first`; a second one, through
// `second`, is refused it, and the first still saves into the file at `real` unless the file
// has two names, which no instance writes through.
void refusedToASecondInstance(const fs::path& real, const fs::path& first, const fs::path& second)
{
    const bool twoNames = fs::hard_link_count(real) > 1;
    platform::Report report;
    db::Connection conn;
    ASSERT_TRUE(database::OpenDB(first.string(), conn, report));
    struct stat before {};
    ASSERT_EQ(::stat(real.c_str(), &before), 0);

    const std::string said = secondInstance(second);
    const std::string busy = " is open in another instance of the program. Close it there first.";
    EXPECT_EQ(said, "opened 0 imported 0\nErreur  5:The database " + second.string() + busy +
                        "\nErreur  5:The database " + second.string() + busy);
    EXPECT_EQ(conn.readOnly(), twoNames);
    if (twoNames)
        return;

    ASSERT_TRUE(db::RowWriter::insert(conn, "fmtv_terra").set("terrakey", 1).set("adm", "F").run());
    EXPECT_TRUE(conn.close());
    struct stat after {};
    ASSERT_EQ(::stat(real.c_str(), &after), 0);
    EXPECT_EQ(after.st_ino, before.st_ino) << "the database was replaced";
    db::Connection check;
    ASSERT_TRUE(database::OpenDB(second.string(), check, report));
    EXPECT_EQ(scalar(check, "SELECT adm FROM fmtv_terra WHERE terrakey = 1"), "F");
    EXPECT_TRUE(report.messages().empty());
}

}  // namespace

TEST(SecondInstance, IsRefusedTheDatabaseThroughEveryPathThatLeadsToIt)
{
    enum class Way { SamePath, Relative, LinkToFile, LinkToFolder, HardLink, DotDot };
    const struct {
        const char* name;
        Way way;
    } ways[] = {
        {"the same path", Way::SamePath},
        {"a relative spelling", Way::Relative},
        {"a symbolic link to the file", Way::LinkToFile},
        {"a symbolic link to its folder", Way::LinkToFolder},
        {"a hard link", Way::HardLink},
        {"a spelling through ..", Way::DotDot},
    };
    for (const auto& way : ways) {
        // The first instance opens it by its own name and the second by the other, then the
        // other way round.
        for (const bool firstByAlias : {false, true}) {
            SCOPED_TRACE(std::string(way.name) + (firstByAlias ? ", the first through it" : ""));
            testing_support::TempDir dir;
            fs::create_directories(dir.path() / "data");
            fs::create_directories(dir.path() / "other");
            const fs::path real = dir.path() / "data" / "batch.mdb";
            fs::copy_file(testing_support::templateDb(), real);
            fs::path alias;
            switch (way.way) {
            case Way::SamePath:
                alias = real;
                break;
            case Way::Relative:
                alias = fs::relative(real, fs::current_path());
                break;
            case Way::LinkToFile:
                alias = dir.path() / "other" / "link.mdb";
                fs::create_symlink(real, alias);
                break;
            case Way::LinkToFolder:
                fs::create_directory_symlink(dir.path() / "data", dir.path() / "linked");
                alias = dir.path() / "linked" / "batch.mdb";
                break;
            case Way::HardLink:
                alias = dir.path() / "other" / "hard.mdb";
                fs::create_hard_link(real, alias);
                break;
            case Way::DotDot:
                alias = dir.path() / "other" / ".." / "data" / "batch.mdb";
                break;
            }
            refusedToASecondInstance(real, firstByAlias ? alias : real, firstByAlias ? real : alias);
        }
    }
}

// A file that does not exist yet is locked by its folder's resolved path and its name: an
// import into it through a linked folder holds it against one through the folder itself.
TEST(SecondInstance, IsRefusedADatabaseAnotherInstanceIsStillMaking)
{
    testing_support::TempDir dir;
    fs::create_directories(dir.path() / "data");
    fs::create_directory_symlink(dir.path() / "data", dir.path() / "linked");
    database::DbLock lock;
    platform::Report report;
    ASSERT_TRUE(database::lockDB((dir.path() / "linked" / "new.mdb").string(), lock, "copyTemplateDB", report));
    EXPECT_FALSE(fs::exists(dir.path() / "data" / "new.mdb"));
    const std::string said = secondInstance(dir.path() / "data" / "new.mdb");
    EXPECT_EQ(said.substr(0, said.find('\n')), "opened 0 imported 0");
    EXPECT_NE(said.find("Erreur  5:The database " + (dir.path() / "data" / "new.mdb").string() +
                        " is open in another instance"),
              std::string::npos)
        << said;
    EXPECT_FALSE(fs::exists(dir.path() / "data" / "new.mdb"));
}
