#include "ImportFixture.h"

#include "app/core/NoticeImport.h"
#include "database/sqlite/Statement.h"
#include "support/NoticeDb.h"

#include <fstream>
#include <sstream>

namespace testing_support {

bool ImportFixture::import(const std::string& name, const std::string& text)
{
    std::string crlf;
    for (const char c : text)
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return importBytes(name, crlf);
}

bool ImportFixture::importBytes(const std::string& name, const std::string& bytes)
{
    std::filesystem::create_directories((dir.path() / name).parent_path());
    const auto path = dir.write(name, bytes);
    app::ImportOptions options;
    options.caption = " ZEL Ostrel KOLV Analog Version 1.03 / 02.11.2005";
    options.templateFile = templateDb();
    options.ended = ended;
    result = app::importTextFile(path.string(), state, status, prompter, options);
    return result.opened;
}

std::vector<std::string> ImportFixture::reports() const
{
    std::vector<std::string> out;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        if (entry.path().filename().string().find("_duplicat_report_") == std::string::npos)
            continue;
        out.push_back(readFile(entry.path()));
    }
    return out;
}

std::string ImportFixture::scalar(const std::string& sql)
{
    db::Statement st(state.dbConnection, sql);
    return st.step() == db::Step::Row ? st.text(0) : std::string();
}

std::string noticeFile(const std::vector<std::string>& bodies)
{
    std::string text = "<HEAD>\nt_adm = F\n</HEAD>\n";
    for (const std::string& body : bodies)
        text += "<NOTICE>\n" + body + "</NOTICE>\n";
    return text;
}

}  // namespace testing_support
