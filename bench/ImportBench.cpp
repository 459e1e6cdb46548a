// Imports generated notice files of television notices with full antenna lists through the
// same code as File > OpenTxt, and beside it inserts the very rows the import stored into a
// fresh copy of the template in one transaction with prepared statements. Median of five
// alternating rounds, the sizes taking turns, every measurement in a fresh process.
//   import_bench [notices...]     (default: 10000 40000)
#include "app/core/NoticeImport.h"
#include "database/DbConnection.h"
#include "BenchNotices.h"
#include "Figures.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <new>
#include <string>
#include <variant>
#include <vector>

#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
constexpr int kRounds = 5;

class NoStatus : public app::StatusLine {
public:
    void setStatus(const std::string& text) override { m_text = text; }
    std::string status() const override { return m_text; }

private:
    std::string m_text;
};

using Value = std::variant<std::monostate, sqlite3_int64, double, std::string>;
struct TableRows {
    std::string name;
    int columns = 0;
    std::vector<Value> values;  // row after row
};

std::vector<std::string> tableNames(sqlite3* db)
{
    std::vector<std::string> names;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%'", -1,
                       &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW)
        names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    return names;
}

// The rows the import added: those of every table the template leaves empty.
std::vector<TableRows> importedRows(const std::string& path)
{
    sqlite3* templ = nullptr;
    sqlite3* db = nullptr;
    sqlite3_open_v2(database::templatePath().c_str(), &templ, SQLITE_OPEN_READONLY, nullptr);
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    std::vector<TableRows> tables;
    for (const std::string& name : tableNames(db)) {
        sqlite3_stmt* count = nullptr;
        sqlite3_prepare_v2(templ, ("SELECT count(*) FROM \"" + name + "\"").c_str(), -1, &count, nullptr);
        const bool empty = sqlite3_step(count) == SQLITE_ROW && sqlite3_column_int64(count, 0) == 0;
        sqlite3_finalize(count);
        if (!empty)
            continue;
        TableRows t{name, 0, {}};
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, ("SELECT * FROM \"" + name + "\"").c_str(), -1, &st, nullptr);
        t.columns = sqlite3_column_count(st);
        while (sqlite3_step(st) == SQLITE_ROW) {
            for (int c = 0; c < t.columns; ++c) {
                switch (sqlite3_column_type(st, c)) {
                case SQLITE_INTEGER: t.values.emplace_back(sqlite3_column_int64(st, c)); break;
                case SQLITE_FLOAT: t.values.emplace_back(sqlite3_column_double(st, c)); break;
                case SQLITE_NULL: t.values.emplace_back(std::monostate{}); break;
                default: t.values.emplace_back(std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, c))));
                }
            }
        }
        sqlite3_finalize(st);
        if (!t.values.empty())
            tables.push_back(std::move(t));
    }
    sqlite3_close(db);
    sqlite3_close(templ);
    return tables;
}

// A fresh copy of the template, opened as the program opens it, every row inserted in one
// transaction with one prepared statement per table, and closed.
bool bulkInsert(const std::vector<TableRows>& tables, const std::string& path, platform::Prompter& prompter)
{
    if (!database::copyTemplateDB(path, prompter.report()))
        return false;
    sqlite3* db = nullptr;
    bool ok = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) == SQLITE_OK &&
              sqlite3_exec(db, "PRAGMA journal_mode = WAL; PRAGMA synchronous = NORMAL; BEGIN", nullptr, nullptr,
                           nullptr) == SQLITE_OK;
    for (const TableRows& t : tables) {
        std::string marks;
        for (int c = 0; c < t.columns; ++c)
            marks += c ? ", ?" : "?";
        sqlite3_stmt* st = nullptr;
        ok = ok && sqlite3_prepare_v2(db, ("INSERT INTO \"" + t.name + "\" VALUES (" + marks + ")").c_str(), -1, &st,
                                      nullptr) == SQLITE_OK;
        for (std::size_t at = 0; ok && at < t.values.size(); at += std::size_t(t.columns)) {
            for (int c = 0; c < t.columns; ++c) {
                const Value& v = t.values[at + std::size_t(c)];
                if (const auto* i = std::get_if<sqlite3_int64>(&v))
                    sqlite3_bind_int64(st, c + 1, *i);
                else if (const auto* d = std::get_if<double>(&v))
                    sqlite3_bind_double(st, c + 1, *d);
                else if (const auto* s = std::get_if<std::string>(&v))
                    sqlite3_bind_text(st, c + 1, s->data(), int(s->size()), SQLITE_STATIC);
                else
                    sqlite3_bind_null(st, c + 1);
            }
            ok = sqlite3_step(st) == SQLITE_DONE;
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
    }
    ok = ok && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    if (!ok)
        std::fprintf(stderr, "bulk insert: %s\n", sqlite3_errmsg(db));
    sqlite3_close(db);
    return ok;
}

// What a child process measured, passed back through memory shared with it.
struct Measured {
    bool ok = false;
    double seconds = 0;
    std::size_t rows = 0;
};

// Runs `measure` in a child process, a fresh copy of this one: what one measurement allocates
// and frees then never shapes the next, and each starts as the program starts an import.
Measured inChild(const std::function<Measured()>& measure)
{
    void* shared = mmap(nullptr, sizeof(Measured), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0);
    if (shared == MAP_FAILED)
        return {};
    auto* slot = new (shared) Measured{};
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    if (pid == 0) {
        *slot = measure();
        _exit(0);
    }
    int status = 0;
    const bool exited = pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    const Measured result = exited ? *slot : Measured{};
    munmap(shared, sizeof(Measured));
    return result;
}

}  // namespace

int main(int argc, char* argv[])
{
    const std::vector<int> sizes = bench::batchSizes(argc, argv);

    const auto folder = fs::temp_directory_path() / "ostrel-import-bench";
    fs::remove_all(folder);
    fs::create_directories(folder);
    struct Size {
        fs::path file;
        std::string bulkPath;
        std::vector<double> imports, bulks;
        std::size_t rows = 0;
    };
    std::vector<Size> runs;
    for (const int n : sizes) {
        const auto file = folder / ("batch" + std::to_string(n) + ".txt");
        bench::writeNoticeFile(file, n);
        runs.push_back({file, (folder / ("bulk" + std::to_string(n) + ".mdb")).string(), {}, {}, 0});
    }
    auto import = [](const Size& s) {
        return inChild([&s] {
            bench::SilentPrompter prompter;
            app::AppState state;
            NoStatus status;
            Measured m;
            m.seconds = bench::timed([&] {
                m.ok = app::importTextFile(s.file.string(), state, status, prompter,
                                           {"import_bench", database::templatePath()})
                           .opened;
                state.dbConnection.close();
            });
            m.ok = m.ok && prompter.shown == 0;
            return m;
        });
    };
    // The rows the last import stored are read back untimed, then inserted.
    auto bulk = [](const Size& s) {
        return inChild([&s] {
            bench::SilentPrompter prompter;
            const std::vector<TableRows> rows = importedRows(app::databaseNameFor(s.file.string()));
            Measured m;
            m.seconds = bench::timed([&] { m.ok = bulkInsert(rows, s.bulkPath, prompter); });
            for (const TableRows& t : rows)
                m.rows += t.values.size() / std::size_t(t.columns);
            return m;
        });
    };
    // Alternating rounds: the sizes in turn, each in a fresh process; in even rounds the import
    // comes first (the first one gives the rows), in odd ones the bulk insert.
    bool ok = true;
    for (int round = 0; round < kRounds; ++round) {
        for (std::size_t i = 0; i < runs.size(); ++i) {
            Size& s = runs[round % 2 == 0 ? i : runs.size() - 1 - i];
            for (int step = 0; step < 2; ++step) {
                const bool importing = (step == 0) == (round % 2 == 0);
                const Measured m = importing ? import(s) : bulk(s);
                ok = ok && m.ok;
                (importing ? s.imports : s.bulks).push_back(m.seconds);
                if (!importing)
                    s.rows = m.rows;
            }
        }
    }
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const double im = bench::median(runs[i].imports);
        const double bu = bench::median(runs[i].bulks);
        std::printf("%6d notices (%s MB, %zu rows): import %s s (%s us per notice), bulk insert %s s, ratio %s\n",
                    sizes[i], bench::fixed(double(fs::file_size(runs[i].file)) / 1e6, 1, 5).c_str(), runs[i].rows,
                    bench::fixed(im, 2, 6).c_str(), bench::fixed(im * 1e6 / sizes[i], 1, 6).c_str(),
                    bench::fixed(bu, 2, 6).c_str(), bench::fixed(im / bu, 2).c_str());
    }
    for (std::size_t i = 1; i < runs.size(); ++i)
        std::printf("import of %d took %s times that of %d (bulk insert %s times)\n", sizes[i],
                    bench::fixed(bench::median(runs[i].imports) / bench::median(runs[0].imports), 2).c_str(), sizes[0],
                    bench::fixed(bench::median(runs[i].bulks) / bench::median(runs[0].bulks), 2).c_str());
    fs::remove_all(folder);
    if (!ok)
        std::fprintf(stderr, "an import or bulk insert failed\n");
    return ok ? 0 : 1;
}
