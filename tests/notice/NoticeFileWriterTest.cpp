#include "notice/NoticeFileOutput.h"
#include "notice/NoticeFileReader.h"
#include "notice/NoticeFileWriter.h"
#include "support/NoticeText.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

using namespace notice;
using testing_support::readNotice;
using testing_support::TempDir;

namespace {

const std::string kCrLf = "\r\n";

// Writes whole sections to a file as the export does and returns its bytes.
std::string writeFile(const TempDir& dir, const std::vector<std::string>& lines, std::size_t* replaced = nullptr)
{
    const auto path = dir.path() / "out.upd";
    NoticeFileOutput out;
    std::string error;
    EXPECT_TRUE(out.open(path.string(), error)) << error;
    for (const std::string& line : lines)
        out.writeLine(line);
    EXPECT_TRUE(out.commit(error)) << error;
    if (replaced)
        *replaced = out.replaced();
    return testing_support::readFile(path);
}

}  // namespace

TEST(NoticeFileWriter, WritesTheSampleFileBackByteForByte)
{
    const std::string original = testing_support::readFile(std::string(OSTREL_TEST_DATA) + "/three_notices.txt");
    const auto notices = testing_support::readNotices(original);
    ASSERT_EQ(notices.size(), 3u);

    // The three heading lines and the empty line before the HEAD belong to the export.
    const std::size_t headAt = original.find("<HEAD>");
    std::vector<std::string> lines;
    std::istringstream heading(original.substr(0, headAt));
    for (std::string line; std::getline(heading, line);)
        lines.push_back(line.substr(0, line.size() - 1));
    lines.push_back(writeHeadSection(notices[0].adm, notices[0].zel.email_addr));
    for (std::size_t i = 0; i < notices.size(); ++i)
        lines.push_back(writeNoticeSection(notices[i], std::int32_t(i + 1)));
    lines.push_back(writeTailSection(3));

    TempDir dir;
    EXPECT_EQ(writeFile(dir, lines), original);
}

TEST(NoticeFileWriter, KeepsEveryValueOnItsOwnLine)
{
    NoticeRecord rec = readNotice("t_notice_type = T01\n");
    rec.remarks = "x\r\n</NOTICE>\r\n<NOTICE>";
    rec.site_name = "A\nB";
    const std::string text = writeNoticeSection(rec, 1);
    EXPECT_NE(text.find("\r\nt_remarks = x  </NOTICE>  <NOTICE>\r\n"), std::string::npos);

    TempDir dir;
    const auto again = testing_support::readNotices(writeFile(dir, {text}));
    ASSERT_EQ(again.size(), 1u);
    EXPECT_EQ(again[0].site_name, "A B");
}

TEST(NoticeFileWriter, WritesKeysByTheirGroups)
{
    struct Row { const char* lines; const char* present; const char* absent; };
    const Row rows[] = {
        {"t_notice_type = T01\nt_action = SUPPRESS\nt_freq_assgn = 98\n", "t_freq_assgn = 98", ""},
        {"t_notice_type = DS1\nt_action = SUPPRESS\nt_freq_assgn = 98\n", "", "t_freq_assgn"},
        {"t_notice_type = DS1\nt_action = ADD\nt_freq_assgn = 98\n", "t_freq_assgn = 98", "<ANT_HGT>"},
        {"t_notice_type = TB5\nt_freq_assgn = 98\n<ANT_HGT>\nt_eff_hgt@azm0 = 5\n</ANT_HGT>\n", "", "ANT_HGT"},
        {"t_fragment = NTFD_RR\nt_op_agcy = 7\nt_op_hh_fr = 6:30\n", "t_op_hh_fr = 06:30", ""},
        {"t_fragment = GE84\nt_op_agcy = 7\nt_op_hh_fr = 6:30\n", "", "t_op_agcy"},
        {"<COORD_A>\nt_adm = D\n</COORD_A>\n", "", "COORD_A"},
        {"zel_sys_var = a\n<COORD_A>\nt_adm = D\n</COORD_A>\n", "\r\n<COORD_A>\r\nt_adm = D\r\n</COORD_A>", ""},
        {"zel_sys_var = a\nzel_conv_freq_assgn = 101,5\n", "zel_conv_freq_assgn = 101.5\r\nzel_coord_self = FALSE",
         ""},
        {"t_notice_type = T02\n", "\r\n\r\n</NOTICE>", ""},
    };
    for (const Row& r : rows) {
        const std::string text = writeNoticeSection(readNotice(r.lines), 1);
        if (*r.present) {
            EXPECT_NE(text.find(r.present), std::string::npos) << r.lines << text;
        }
        if (*r.absent) {
            EXPECT_EQ(text.find(r.absent), std::string::npos) << r.lines << text;
        }
    }
    NoticeRecord rec;
    rec.effHgt[0] = {true, "", "12"};
    rec.notice_typ = "T01";
    EXPECT_NE(writeNoticeSection(rec, 1).find("\r\nt_eff_hgt@azm = 12\r\n"), std::string::npos);
    EXPECT_EQ(writeNoticeSection(NoticeRecord{}, 9), "<NOTICE>\r\nNotice No = 9\r\n\r\n</NOTICE>");
}

TEST(NoticeFileWriter, FormatsCoordinatesTimesAndDates)
{
    struct Coord { const char *deg, *min, *sec, *hemi, *expected; };
    const Coord coords[] = {
        {"5", "3", "", "E", "+0050300"}, {"12", "34", "56", "s", "-123456"}, {"7", "", "1", "N", ""},
        {"7", "1", "1", "X", ""},        {"120", "5", "5", "w", "-1200505"}, {"", "1", "1", "E", ""},
    };
    for (const Coord& c : coords)
        EXPECT_EQ(formatCoord(c.deg, c.min, c.sec, c.hemi), c.expected) << c.deg << c.hemi;

    EXPECT_EQ(formatHHMM("0630"), "06:30");
    EXPECT_EQ(formatHHMM(""), "");

    const std::pair<const char*, const char*> dates[] = {
        {"2005-11-1", "2005-11-01"}, {"1.11.2005", "2005-11-01"}, {"01.11.2005 10:00:00", "01.11.2005 10:00:00"},
        {"2005-13-01", "2005-13-01"}, {"soon", "soon"}, {"1.2.3.4", "1.2.3.4"}, {"", ""}};
    for (const auto& [in, out] : dates)
        EXPECT_EQ(formatFileDate(in), out) << in;
    NoticeRecord rec;
    rec.d_adm_ntc = "not a date";
    EXPECT_NE(writeNoticeSection(rec, 1).find("t_d_adm_ntc = not a date"), std::string::npos);
}

TEST(NoticeFileWriter, HeadAndTail)
{
    EXPECT_EQ(writeHeadSection("F", ""), "<HEAD>\r\nt_adm = F\r\n</HEAD>");
    EXPECT_EQ(writeHeadSection("", ""), "");
    EXPECT_EQ(writeTailSection(0), "");
    EXPECT_EQ(writeTailSection(5), "<TAIL>\r\nt_num_notices =  5\r\n</TAIL>\r\n");
}

TEST(NoticeFileOutput, WritesWindows1252AndCountsWhatItCannot)
{
    TempDir dir;
    std::size_t replaced = 0;
    EXPECT_EQ(writeFile(dir, {"Besançon € 東京"}, &replaced), "Besan\xE7on \x80 ??\r\n");
    EXPECT_EQ(replaced, 2u);
}

TEST(NoticeFileOutput, AnAbandonedFileLeavesTheEarlierOneInPlace)
{
    TempDir dir;
    const auto path = dir.write("old.upd", "earlier");
    {
        NoticeFileOutput out;
        std::string error;
        ASSERT_TRUE(out.open(path.string(), error));
        out.writeLine("half");
    }  // never committed
    EXPECT_EQ(testing_support::readFile(path), "earlier");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "no partial file left";

    NoticeFileOutput out;
    std::string error;
    EXPECT_FALSE(out.open((dir.path() / "missing/x.upd").string(), error));
    EXPECT_NE(error.find("missing/x.upd"), std::string::npos);
}

TEST(NoticeFileOutput, ANewFileNeverReplacesOneThatAppeared)
{
    TempDir dir;
    NoticeFileOutput out;
    std::string error;
    ASSERT_TRUE(out.open((dir.path() / "report.txt").string(), error));
    out.writeLine("mine");
    dir.write("report.txt", "theirs");  // written by someone else meanwhile
    bool taken = false;
    EXPECT_FALSE(out.commit(error, false, &taken));
    EXPECT_TRUE(taken);
    EXPECT_EQ(testing_support::readFile(dir.path() / "report.txt"), "theirs");
    out.retarget((dir.path() / "report_2.txt").string());
    ASSERT_TRUE(out.commit(error, false, &taken)) << error;
    EXPECT_EQ(testing_support::readFile(dir.path() / "report_2.txt"), "mine\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2) << "no temporary file left";
}
