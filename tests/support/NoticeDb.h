#pragma once

#include "database/sqlite/Connection.h"
#include "support/ScriptedPrompter.h"
#include "support/TempDir.h"

#include <cstdint>
#include <string>

namespace testing_support {

// A fresh notice database copied from the generated template, opened in a temporary folder.
class NoticeDb {
public:
    NoticeDb();

    std::string path() const { return m_path; }
    /// The value of a one-value query, as text ("" for Null or no row).
    std::string scalar(const std::string& sql);
    /// Rows in every table, as "table=count;" pieces, to compare whole databases.
    std::string tableCounts();

    TempDir dir;
    ScriptedPrompter prompter;
    db::Connection conn;

private:
    std::string m_path;
};

/// The generated template database.
std::string templateDb();

}  // namespace testing_support
