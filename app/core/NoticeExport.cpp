#include "app/core/NoticeExport.h"

#include "database/NoticeGridQuery.h"
#include "database/NoticeRead.h"
#include "notice/FieldUtils.h"
#include "notice/NoticeFileOutput.h"
#include "notice/NoticeFileWriter.h"
#include "notice/NoticeTextFile.h"
#include "platform/Prompter.h"
#include "platform/SystemInfo.h"

#include <filesystem>

namespace app {
namespace {

constexpr const char* kErrorTitle = "Error : Writing Electronic notice";

bool refuse(const std::string& text, platform::Prompter& prompter)
{
    prompter.message(text, kErrorTitle, platform::Icon::Warning);
    return false;
}

}  // namespace

std::string exportNameFor(const std::string& database)
{
    return std::filesystem::path(database).replace_extension(notice::kExportExtension).string();
}

void offerElectFile(AppState& state, StatusLine& status, platform::Prompter& prompter)
{
    const bool yes = prompter.askYesNo("Do you want to save the changes to an electronic file?",
                                       "Write to Electronic format");
    state.dbChanged = false;
    if (!yes)
        return;
    const std::string path = exportNameFor(state.dbFileName);
    if (platform::fileExists(path) &&
        !prompter.askYesNo("The file " + path + " already exists. Do you want to replace it?", platform::kAppTitle,
                           platform::Prompter::Default::No))
        return;
    status.setStatus("Checking the database");
    status.setStatus("Writing the selected database into an electronic file");
    if (!writeDBToElectFile(path, state, prompter)) {
        status.setStatus("The electronic file was not written");
        return;
    }
    status.setStatus("The electronic file completed");
    prompter.message("Electronic file completed", "Information", platform::Icon::Information);
}

bool writeDBToElectFile(const std::string& path, AppState& state, platform::Prompter& prompter)
{
    std::int64_t contours = 0;
    if (!database::countContourNotices(state.dbConnection, contours))
        return refuse(state.dbConnection.lastError().message, prompter);
    notice::NoticeFileOutput out;
    std::string error;
    if (!out.open(path, error))
        return refuse(error, prompter);
    const platform::DateTime now = platform::now();
    out.writeLine("File corrected on " + platform::shortDate(now) + "-" + platform::shortTime(now));
    out.writeLine("Processed by " + notice::getWinUserName());
    out.writeLine("Program Id:  ZEL Ostrel KOLV Digital Version 3.05 / 01.11.2005");
    out.writeLine("");

    std::string keptAdm;
    std::int32_t number = 1;
    for (const std::int32_t key : state.ntcIndexList) {
        if (key == kDeletedEntry)
            continue;
        notice::NoticeRecord rec;
        if (!database::readNtcFromDB(key, rec, state.dbConnection, prompter.report()))
            return refuse("The notice " + std::to_string(key) + " cannot be read. Cannot create electronic file",
                          prompter);
        if (number == 1) {
            if (rec.adm.empty())
                return refuse("Notifiying administration is missing. Cannot create electronic file", prompter);
            keptAdm = rec.adm;
            out.writeLine(notice::writeHeadSection(rec.adm, rec.zel.email_addr));
        } else if (rec.adm != keptAdm) {
            return refuse("Notifiying administration is not the same. Cannot create electronic file", prompter);
        }
        out.writeLine(notice::writeNoticeSection(rec, number));
        ++number;
    }
    out.writeLine(notice::writeTailSection(number - 1));
    if (!out.commit(error))
        return refuse(error, prompter);
    if (out.replaced() > 0)
        prompter.message(std::to_string(out.replaced()) +
                             " characters that an electronic file cannot hold were written as \"?\".",
                         "Information", platform::Icon::Information);
    if (contours > 0)
        prompter.message(std::to_string(contours) +
                             " contour notices (DA1) were not written: an electronic file holds no contour notices.",
                         "Information", platform::Icon::Information);
    return true;
}

}  // namespace app
