#include "app/core/NoticeExport.h"
#include "app/core/NoticeGrid.h"
#include "platform/TextCodec.h"
#include "support/ImportFixture.h"

#include <gtest/gtest.h>

#include <clocale>
#include <fstream>
#include <sstream>

using testing_support::ImportFixture;
using testing_support::noticeFile;

namespace {

std::string soundNotice(const std::string& adm, const std::string& freq)
{
    return "t_notice_type = T01\nt_action = ADD\nt_freq_assgn = " + freq + "\nt_long = +0060812\n" +
           "t_lat = +471215\nt_remarks = à " + adm + "\n";
}

// Imports the notices and lists them as the grid does.
void importAndList(ImportFixture& f, const std::string& text)
{
    ASSERT_TRUE(f.import("batch.txt", text));
    app::GridRows rows;
    ASSERT_TRUE(app::loadGridRows(f.state.dbConnection, rows));
    app::buildNtcIndex(f.state, rows);
}

}  // namespace

TEST(Export, WritesTheListedNoticesNumberedWithoutTheDeletedOnes)
{
    ImportFixture f;
    importAndList(f, noticeFile({soundNotice("F", "98.1"), soundNotice("F", "98.2"), soundNotice("F", "98.3")}));
    ASSERT_EQ(f.state.ntcIndexList, (std::vector<std::int32_t>{1, 2, 3}));
    f.state.ntcIndexList[1] = app::kDeletedEntry;
    f.state.dbChanged = true;
    f.prompter.answers = {true};
    app::offerElectFile(f.state, f.status, f.prompter);
    EXPECT_FALSE(f.state.dbChanged);

    const std::string upd = testing_support::readFile(f.dir.path() / "batch.upd");
    EXPECT_TRUE(upd.starts_with("File corrected on "));
    EXPECT_NE(upd.find("\r\nProgram Id:  ZEL Ostrel KOLV Digital Version 3.05 / 01.11.2005\r\n\r\n<HEAD>\r\n"
                       "t_adm = F\r\n</HEAD>\r\n<NOTICE>\r\nt_remarks = \xE0 F\r\nNotice No = 1\r\n"),
              std::string::npos);
    EXPECT_NE(upd.find("Notice No = 2\r\nt_notice_type = T01"), std::string::npos);
    EXPECT_NE(upd.find("t_freq_assgn = 98.3"), std::string::npos);
    EXPECT_EQ(upd.find("t_freq_assgn = 98.2"), std::string::npos);
    EXPECT_TRUE(upd.ends_with("<TAIL>\r\nt_num_notices =  2\r\n</TAIL>\r\n\r\n"));
    EXPECT_EQ(f.prompter.messages.back().text, "Electronic file completed");
    EXPECT_EQ(f.status.texts.back(), "The electronic file completed");

    // The written file imports again.
    ImportFixture again;
    ASSERT_TRUE(again.import("batch.upd", upd));
    EXPECT_EQ(again.scalar("SELECT group_concat(freq_assgn) FROM fmtv_terra"), "98.1,98.3");
    EXPECT_TRUE(again.reports().empty());
}

TEST(Export, AnAbortedExportLeavesTheEarlierFile)
{
    ImportFixture f;
    const std::string text = noticeFile({soundNotice("F", "98.1")}) + "<HEAD>\nt_adm = D\n</HEAD>\n";
    importAndList(f, text);
    ASSERT_TRUE(f.state.dbConnection.exec("INSERT INTO fmtv_terra (terrakey, adm) VALUES (9, 'D')"));
    f.state.ntcIndexList.push_back(9);
    const auto earlier = f.dir.write("batch.upd", "earlier");
    f.prompter.answers = {true, true};
    app::offerElectFile(f.state, f.status, f.prompter);
    EXPECT_EQ(testing_support::readFile(earlier), "earlier");
    ASSERT_EQ(f.prompter.messages.size(), 1u) << "no completion message after an abort";
    EXPECT_EQ(f.prompter.messages[0].text, "Notifiying administration is not the same. Cannot create electronic file");
    EXPECT_EQ(f.prompter.messages[0].title, "Error : Writing Electronic notice");
    EXPECT_EQ(f.prompter.questions[1].text,
              "The file " + earlier.string() + " already exists. Do you want to replace it?");
    EXPECT_EQ(f.prompter.questions[0].byDefault, platform::Prompter::Default::Yes);
    EXPECT_EQ(f.prompter.questions[1].byDefault, platform::Prompter::Default::No) << "a stray Return keeps it";
    for (const auto& entry : std::filesystem::directory_iterator(f.dir.path()))
        EXPECT_EQ(entry.path().filename().string().find(".upd.part"), std::string::npos) << "no partial file";
}

TEST(Export, NoWritesNothingAndAMissingAdministrationAborts)
{
    ImportFixture f;
    importAndList(f, noticeFile({soundNotice("F", "98.1")}));
    f.state.dbChanged = true;
    f.prompter.answers = {false};
    app::offerElectFile(f.state, f.status, f.prompter);
    EXPECT_FALSE(f.state.dbChanged);
    EXPECT_FALSE(std::filesystem::exists(f.dir.path() / "batch.upd"));

    ASSERT_TRUE(f.state.dbConnection.exec("UPDATE fmtv_terra SET adm = NULL"));
    EXPECT_FALSE(app::writeDBToElectFile((f.dir.path() / "x.upd").string(), f.state, f.prompter));
    EXPECT_EQ(f.prompter.messages.back().text, "Notifiying administration is missing. Cannot create electronic file");
    EXPECT_FALSE(std::filesystem::exists(f.dir.path() / "x.upd"));

    EXPECT_EQ(app::exportNameFor("/data/v1.2/a.mdb"), "/data/v1.2/a.upd");
}

TEST(Export, AnEmptyListGivesTheHeadingAndAnEmptyLine)
{
    ImportFixture f;
    importAndList(f, noticeFile({soundNotice("F", "98.1")}));
    app::buildNtcIndex(f.state, {});
    ASSERT_TRUE(app::writeDBToElectFile((f.dir.path() / "e.upd").string(), f.state, f.prompter));
    const std::string upd = testing_support::readFile(f.dir.path() / "e.upd");
    EXPECT_TRUE(upd.ends_with("01.11.2005\r\n\r\n\r\n"));
    EXPECT_EQ(std::count(upd.begin(), upd.end(), '\n'), 5);
}

TEST(Export, WritesTheSameBytesUnderACommaLocaleAndImportsThemAgain)
{
    // The comma-locale run of this program sets the locale from its environment.
    ImportFixture f;
    importAndList(f, noticeFile({soundNotice("F", "98.5"), soundNotice("F", "100"), soundNotice("F", "479.25")}));
    const auto underEnvironment = f.dir.path() / "env.upd", underC = f.dir.path() / "c.upd";
    ASSERT_TRUE(app::writeDBToElectFile(underEnvironment.string(), f.state, f.prompter));
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    std::setlocale(LC_ALL, "C");
    ASSERT_TRUE(app::writeDBToElectFile(underC.string(), f.state, f.prompter));
    std::setlocale(LC_ALL, saved.c_str());
    const std::string upd = testing_support::readFile(underEnvironment);
    // The heading is stamped to the second.
    const auto afterTime = [](const std::string& text) { return text.substr(text.find("\r\n")); };
    EXPECT_EQ(afterTime(upd), afterTime(testing_support::readFile(underC)));
    EXPECT_NE(upd.find("t_freq_assgn = 98.5\r\n"), std::string::npos);

    ImportFixture again;
    ASSERT_TRUE(again.import("env.upd", upd));
    EXPECT_EQ(again.scalar("SELECT count(*) FROM fmtv_terra WHERE typeof(freq_assgn) = 'real'"), "3");
    EXPECT_EQ(again.scalar("SELECT sum(freq_assgn) FROM fmtv_terra"), "677.75");
    EXPECT_TRUE(again.reports().empty());
}

TEST(Export, ADigitalPartWithoutAllotmentIsReadBackAndExported)
{
    ImportFixture f;
    const std::string ds2 = "t_notice_type = DS2\nt_action = ADD\nt_adm_ref_id = R1\nzel_ant_dir = D\n"
                            "zel_coord_self = FALSE\n<COORDINATION>\nt_adm = D\nt_adm = SUI\n</COORDINATION>\n";
    importAndList(f, noticeFile({ds2, soundNotice("F", "98.1")}));
    ASSERT_EQ(f.scalar("SELECT count(*) FROM zel_allotment"), "0");
    ASSERT_TRUE(app::writeDBToElectFile((f.dir.path() / "x.upd").string(), f.state, f.prompter));
    EXPECT_TRUE(f.prompter.messages.empty()) << f.prompter.messages[0].text;
    const std::string upd = testing_support::readFile(f.dir.path() / "x.upd");
    EXPECT_NE(upd.find("t_adm_ref_id = R1\r\n"), std::string::npos);
    EXPECT_NE(upd.find("\r\n<COORDINATION>\r\nt_adm = D\r\nt_adm = SUI\r\n</COORDINATION>\r\n"), std::string::npos)
        << "the digital notice's own coordination list";
    EXPECT_NE(upd.find("t_freq_assgn = 98.1\r\n"), std::string::npos);
    EXPECT_NE(upd.find("t_num_notices =  2"), std::string::npos);

    // Two allotments of one notice cannot be read: the export stops there, naming the notice.
    ASSERT_TRUE(f.state.dbConnection.exec("INSERT INTO zel_allotment (terrakey, allotkey) VALUES (1, 1), (1, 2)"));
    EXPECT_FALSE(app::writeDBToElectFile((f.dir.path() / "y.upd").string(), f.state, f.prompter));
    EXPECT_FALSE(std::filesystem::exists(f.dir.path() / "y.upd"));
    ASSERT_FALSE(f.prompter.messages.empty());
    EXPECT_EQ(f.prompter.messages.front().text,
              "readFromZEL04Allotment: The assignment 1 is not UNIQUE. Please consult the administrator!");
    EXPECT_EQ(f.prompter.messages.back().text, "The notice 1 cannot be read. Cannot create electronic file");
}

TEST(Export, SaysHowManyContourNoticesItLeavesOut)
{
    ImportFixture f;
    const std::string point = "<POINT>\nzel_long = +0010000\nzel_lat = +4500\n</POINT>\n";
    const std::string contour = "t_notice_type = DA1\nt_ctry = F\nzel_nb_test_pts = 2\n" + point + point;
    // An allotment's sub-area that no contour notice defined is no contour notice.
    const std::string allotment = "t_notice_type = DS2\nt_action = ADD\nt_adm_ref_id = R1\n"
                                  "zel_nb_sub_areas = 1\nzel_contour_id = 9\n";
    importAndList(f, noticeFile({contour + "zel_contour_id = 7\n", soundNotice("F", "98.1"),
                                 contour + "zel_contour_id = 8\n", allotment}));
    ASSERT_EQ(f.scalar("SELECT count(*) FROM zel_contour"), "3");
    ASSERT_TRUE(app::writeDBToElectFile((f.dir.path() / "x.upd").string(), f.state, f.prompter));
    ASSERT_EQ(f.prompter.messages.size(), 1u);
    EXPECT_EQ(f.prompter.messages[0].text,
              "2 contour notices (DA1) were not written: an electronic file holds no contour notices.");
    EXPECT_NE(testing_support::readFile(f.dir.path() / "x.upd").find("t_num_notices =  2"), std::string::npos);
}

TEST(Export, AnExportedFileImportsAgainAsWindows1252WhateverItsBytesLookLike)
{
    // "V.\xC3\x9F\xC5\x93*" is "V.ßœ*"; a site name is kept in upper case, "V.ßŒ*" (ß has none).
    const std::string text = "V.\xC3\x9F\xC5\x93*", site = "V.\xC3\x9F\xC5\x92*";
    const std::string stored = "SELECT (SELECT site_name FROM fmtv_terra) || '|' || (SELECT rmk_text FROM fmtv_rmks)";
    ImportFixture f;
    importAndList(f, noticeFile({"t_notice_type = T01\nt_action = ADD\nt_freq_assgn = 98.1\nt_long = +0060812\n"
                                 "t_lat = +471215\nt_site_name = " + text + "\nt_remarks = " + text + "\n"}));
    ASSERT_EQ(f.scalar(stored), site + "|" + text);
    ASSERT_TRUE(app::writeDBToElectFile((f.dir.path() / "batch.upd").string(), f.state, f.prompter));
    const std::string upd = testing_support::readFile(f.dir.path() / "batch.upd");
    ASSERT_NE(upd.find("\r\nt_site_name = V.\xDF\x8C*\r\n"), std::string::npos);
    ASSERT_NE(upd.find("\r\nt_remarks = V.\xDF\x9C*\r\n"), std::string::npos);
    ASSERT_TRUE(platform::isValidUtf8(upd)) << "every high byte of the file also reads as UTF-8";

    struct Row {
        const char* name;
        std::string bytes;
        std::string values;  // site name | remarks, as stored by the import
    };
    const Row rows[] = {
        {"v1.2/again.upd", upd, site + "|" + text},
        {"again.txt", upd, "V.\xDF\x8C*|V.\xDF\x9C*"},  // a text file that is valid UTF-8 is UTF-8
        {"marked.upd", "\xEF\xBB\xBF" + platform::cp1252ToUtf8(upd), site + "|" + text},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        ImportFixture again;
        ASSERT_TRUE(again.importBytes(r.name, r.bytes));
        EXPECT_EQ(again.scalar(stored), r.values);
    }
}
