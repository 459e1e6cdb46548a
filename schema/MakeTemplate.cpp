// Builds the template notice database from its SQL: make_template <template.sql> <output.mdb>
#include "database/sqlite/Connection.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

int main(int argc, char* argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <template.sql> <output.mdb>\n", argv[0]);
        return 2;
    }
    std::ifstream in(argv[1]);
    std::stringstream sql;
    sql << in.rdbuf();
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", argv[1]);
        return 1;
    }
    const std::filesystem::path out = argv[2];
    std::filesystem::path temp = out;
    temp += ".new";
    std::filesystem::remove(temp);
    {
        db::Connection conn;
        if (!conn.create(temp.string()) || !conn.exec(sql.str())) {
            std::fprintf(stderr, "%s: %s\n", argv[1], conn.lastError().message.c_str());
            return 1;
        }
    }
    std::filesystem::rename(temp, out);
    return 0;
}
