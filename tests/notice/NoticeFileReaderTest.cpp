#include "notice/NoticeFileReader.h"
#include "platform/TextCodec.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace notice;

namespace {

struct ReadNotice {
    NoticeRecord rec;
    NoticeRead read;
};

struct ReadFile {
    std::vector<ReadNotice> notices;
    std::string headReport;
};

ReadFile readBytes(const std::string& bytes)
{
    NoticeFileReader reader;
    NoticeRecord rec;
    reader.openNtcBytes(bytes, rec);
    ReadFile out;
    NoticeRead read;
    while (reader.readNextNotice(rec, read))
        out.notices.push_back({rec, read});
    out.headReport = reader.headReport();
    return out;
}

std::string fixture()
{
    return testing_support::readFile(std::string(OSTREL_TEST_DATA) + "/three_notices.txt");
}

std::string replaceAll(std::string s, const std::string& from, const std::string& to)
{
    for (std::size_t pos = 0; (pos = s.find(from, pos)) != std::string::npos; pos += to.size())
        s.replace(pos, from.size(), to);
    return s;
}

// One notice with the given lines, after a HEAD naming the administration "F".
std::string oneNotice(const std::string& body)
{
    return "<HEAD>\nt_adm = F\n</HEAD>\n<NOTICE>\n" + body + "</NOTICE>\n";
}

// Reads one complete notice and returns it.
ReadNotice readOne(const std::string& body)
{
    const ReadFile f = readBytes(oneNotice(body));
    EXPECT_EQ(f.notices.size(), 1u);
    if (f.notices.empty())
        return {};
    EXPECT_TRUE(f.notices[0].read.complete);
    return f.notices[0];
}

const std::string kPrefix = "Notice No : 1";
const std::string kCrLf = "\r\n";

std::string entry(const std::string& text)
{
    return kPrefix + " : Error : " + text + kCrLf;
}

}  // namespace

TEST(NoticeFileReader, ReadsTheThreeNoticesOfASampleFile)
{
    const ReadFile f = readBytes(fixture());
    ASSERT_EQ(f.notices.size(), 3u);
    EXPECT_EQ(f.headReport, "");
    for (const ReadNotice& n : f.notices) {
        EXPECT_TRUE(n.read.complete);
        EXPECT_EQ(n.read.report, " ");
        EXPECT_EQ(n.rec.adm, "F");
        EXPECT_EQ(n.rec.zel.email_addr, "notices@example.org");
    }

    const NoticeRecord& fm = f.notices[0].rec;
    EXPECT_EQ(fm.notice_typ, "T01");
    EXPECT_EQ(fm.stn_cls, "BC");
    EXPECT_EQ(fm.intent, "ADD");
    EXPECT_EQ(fm.fragment, "NTFD_RR");
    EXPECT_EQ(fm.site_name, "BESANÇON");
    EXPECT_EQ(fm.ctry, "F");
    EXPECT_EQ(fm.adm_ref_id, "FM-0001");
    EXPECT_EQ(fm.remarks, "Émetteur de secours");
    EXPECT_EQ(fm.int_remarks, "vérifier la fréquence");
    EXPECT_EQ(fm.addr_code, "A");
    EXPECT_EQ(fm.erp_h_dbw, "30.5");
    EXPECT_EQ((std::vector<std::string>{fm.long_deg, fm.long_ew, fm.long_min, fm.long_sec, fm.lat_deg, fm.lat_ns,
                                        fm.lat_min, fm.lat_sec}),
              (std::vector<std::string>{"006", "E", "08", "12", "47", "N", "12", "15"}));
    EXPECT_EQ(fm.opPeriod, (FlaggedPair{true, "0600", "2230"}));
    EXPECT_EQ(fm.ant_dir, "D") << "horizontal polarisation with a horizontal diagram";
    EXPECT_TRUE(fm.zel.flag) << "zel_ant_dir marks the digital part";
    EXPECT_TRUE(fm.coordAdm.flag);
    EXPECT_EQ(fm.coordAdm.adm[0], "D");
    EXPECT_EQ(fm.coordAdm.adm[1], "SUI");
    EXPECT_EQ(fm.coordAdm.adm[2], "");
    for (int k = 0; k < kAzimuthSlots; ++k) {
        char az[4];
        std::snprintf(az, sizeof az, "%03d", k * 10);
        EXPECT_EQ(fm.effHgt[k], (FlaggedPair{true, az, std::to_string(300 - k)})) << "slot " << k;
    }
    EXPECT_EQ(fm.attnH[2], (FlaggedPair{true, "180", "10"}));
    EXPECT_FALSE(fm.attnH[3].flag);
    EXPECT_FALSE(fm.attnV[0].flag);

    const NoticeRecord& tv = f.notices[1].rec;
    EXPECT_EQ(tv.stn_cls, "BT");
    EXPECT_EQ(tv.site_name, "LYON FOURVIÈRE");
    EXPECT_EQ(tv.lat_min, "45");
    EXPECT_EQ(tv.hgt_agl, "85");
    EXPECT_EQ(tv.tran_sys, "G");
    EXPECT_EQ(tv.color, "PAL");
    EXPECT_EQ(tv.ant_dir, "D") << "mixed polarisation with a vertical diagram";
    EXPECT_TRUE(tv.zel.flag);
    EXPECT_EQ(tv.zel.sys_var, "A1");
    EXPECT_EQ(tv.zel.sfn_id, "SFN-7");
    EXPECT_EQ(tv.zel.coord_self, "TRUE");
    EXPECT_TRUE(tv.zel.conv.flag);
    EXPECT_TRUE(tv.zel.conv.coord.flag);
    EXPECT_EQ(tv.zel.conv.conv_freq_assgn, "482.0");
    EXPECT_EQ(tv.zel.conv.coord.long_ew, "W");
    EXPECT_EQ(tv.zel.conv.coord.lat_ns, "S");
    EXPECT_TRUE(tv.zel.allotment.flag);
    EXPECT_EQ(tv.zel.allotment.allot_name, "LYON");
    EXPECT_EQ(tv.zel.allotment.contour_id[0], "7");
    EXPECT_EQ(tv.zel.allotment.contour_id[1], "9");
    EXPECT_FALSE(tv.zel.contour.flag);
    EXPECT_EQ(tv.coordAdm.adm[0], "I");
    EXPECT_EQ(tv.zel.coordA.adm[1], "D");
    EXPECT_EQ(tv.zel.coordO.adm[0], "E");
    EXPECT_EQ(tv.attnV[1], (FlaggedPair{true, "010", "4"}));

    const NoticeRecord& sup = f.notices[2].rec;
    EXPECT_EQ(sup.notice_typ, "TB5");
    EXPECT_EQ(sup.stn_cls, "");
    EXPECT_TRUE(sup.target.flag);
    EXPECT_EQ(sup.target.lat_sec, "00");
    EXPECT_EQ(sup.adm_ref_id, "FM-0999") << "the target becomes the notice's own identification";
    EXPECT_EQ(sup.freq_assgn, "101.1");
    EXPECT_EQ((std::vector<std::string>{sup.long_deg, sup.long_min, sup.long_sec, sup.long_ew, sup.lat_deg,
                                        sup.lat_min, sup.lat_ns}),
              (std::vector<std::string>{"001", "02", "03", "W", "44", "05", "N"}));
    EXPECT_EQ(sup.ant_dir, "");
    EXPECT_EQ(sup.zel.coord_self, "FALSE");
}

TEST(NoticeFileReader, ReadsTheSameWhateverTheLineEndsAndEncoding)
{
    const std::string crlf = fixture();
    const ReadFile reference = readBytes(crlf);
    const std::string variants[] = {
        replaceAll(crlf, "\r\n", "\n"),
        replaceAll(crlf, "\r\n", "\r"),
        "\xEF\xBB\xBF" + crlf,
        platform::cp1252ToUtf8(crlf),
        "\xEF\xBB\xBF" + platform::cp1252ToUtf8(replaceAll(crlf, "\r\n", "\n")),
    };
    for (const std::string& bytes : variants) {
        const ReadFile f = readBytes(bytes);
        ASSERT_EQ(f.notices.size(), reference.notices.size());
        for (std::size_t i = 0; i < f.notices.size(); ++i)
            EXPECT_EQ(f.notices[i].rec, reference.notices[i].rec) << "notice " << i + 1;
    }
}

TEST(NoticeFileReader, OpensAFileOnDiskAndRefusesAMissingOne)
{
    testing_support::TempDir dir;
    const auto path = dir.write("batch.txt", fixture());
    NoticeFileReader reader;
    NoticeRecord rec;
    rec.adm = "OLD";
    std::string error;
    ASSERT_TRUE(reader.openNtcTxtFile(path.string(), rec, error)) << error;
    EXPECT_EQ(rec.adm, "") << "opening a file forgets the previous administration";
    NoticeRead read;
    int count = 0;
    while (reader.readNextNotice(rec, read))
        ++count;
    EXPECT_EQ(count, 3);
    EXPECT_EQ(reader.lineNo(), 149) << "every line of the file";

    EXPECT_FALSE(reader.openNtcTxtFile((dir.path() / "absent.txt").string(), rec, error));
    EXPECT_NE(error.find("absent.txt"), std::string::npos);
    EXPECT_FALSE(reader.readNextNotice(rec, read));
}

TEST(NoticeFileReader, ReadsValueFormsAsTheKeyTableSays)
{
    // cp1252 bytes: "besançon", upper-cased by the fixed case map.
    const ReadNotice n = readOne("t_site_name = besan\xE7on\nt_long = -00449\nt_lat = +4545\nt_hgt_alt = 85\n"
                                 "t_hgt_agl = 90\nzel_conv_freq_assgn = 482,0\n<Coord>\nt_adm = I\n</COORDINATION>\n"
                                 "t_ctry=f\nZEL_SYS_VAR=a1\n");
    EXPECT_EQ(n.rec.site_name, "BESANÇON");
    EXPECT_EQ((std::vector<std::string>{n.rec.long_deg, n.rec.long_min, n.rec.long_sec, n.rec.long_ew}),
              (std::vector<std::string>{"004", "49", "", "W"}));
    EXPECT_EQ(n.rec.lat_sec, "");
    EXPECT_EQ(n.rec.hgt_agl, "85") << "t_hgt_alt and t_hgt_agl fill one field";
    EXPECT_EQ(n.rec.zel.conv.conv_freq_assgn, "482,0") << "kept as written";
    EXPECT_EQ(n.rec.coordAdm.adm[0], "I") << "<COORD> may be closed by </COORDINATION>";
    EXPECT_EQ(n.rec.ctry, "F");
    EXPECT_EQ(n.rec.zel.sys_var, "A1");
    EXPECT_EQ(n.read.report, " " + entry("t_hgt_agl : Duplicate key"));
}

TEST(NoticeFileReader, DuplicateKeysKeepTheFirstValue)
{
    const ReadNotice n = readOne("t_ctry = F\nT_CTRY = D\nt_long = +0010203\nt_long = +0040506\n");
    EXPECT_EQ(n.rec.ctry, "F");
    EXPECT_EQ(n.rec.long_deg, "001");
    EXPECT_EQ(n.rec.long_sec, "03");
    const std::string dupLong = entry("t_long : Duplicate key");
    EXPECT_EQ(n.read.report, " " + entry("t_ctry : Duplicate key") + dupLong + dupLong + dupLong + dupLong);
}

TEST(NoticeFileReader, HeadValuesComeOnceAndReachEveryNotice)
{
    const ReadFile f = readBytes("<HEAD>\nt_adm = F\nt_adm = D\nt_email_addr = a@b\n</HEAD>\n"
                                 "<NOTICE>\nt_ctry = F\n</NOTICE>\n"
                                 "<HEAD>\nt_email_addr = c@d\n</HEAD>\n"
                                 "<NOTICE>\nt_ctry = F\n</NOTICE>\n");
    ASSERT_EQ(f.notices.size(), 2u);
    EXPECT_EQ(f.notices[1].rec.adm, "F");
    EXPECT_EQ(f.notices[1].rec.zel.email_addr, "a@b");
    EXPECT_EQ(f.headReport, " : Error : t_adm : Duplicate key\r\n : Error : t_email_addr : Duplicate key\r\n");
}

TEST(NoticeFileReader, RemarksAreJoinedAndInternalRemarksReplaced)
{
    const ReadNotice n = readOne("t_remarks = a = b\nt_remarks = c\nt_remarks =\nint_remarks = x\nint_remarks = y\n");
    EXPECT_EQ(n.rec.remarks, "a = b;c;");
    EXPECT_EQ(n.rec.int_remarks, "y");
    EXPECT_EQ(n.read.report, " ");
}

TEST(NoticeFileReader, CoordinationListsAndTheirLimits)
{
    std::string fourteen = "<COORDINATION>\n";
    for (int i = 1; i <= 14; ++i)
        fourteen += "t_adm = A" + std::to_string(i) + "\n";
    fourteen += "</COORDINATION>\n";
    const ReadNotice tooMany = readOne(fourteen);
    EXPECT_FALSE(tooMany.rec.coordAdm.flag);
    EXPECT_EQ(tooMany.rec.coordAdm.adm[0], "");
    EXPECT_EQ(tooMany.read.report,
              "  <COORDINATION> " + kPrefix + " : Error : Cannot notify more than 13 administrations" + kCrLf);

    // A refused list leaves nothing behind for the next one; empty values do not count.
    const ReadNotice again = readOne(fourteen + "<COORD>\nt_adm =\nt_adm = B\n</COORD>\n");
    EXPECT_TRUE(again.rec.coordAdm.flag);
    EXPECT_EQ(again.rec.coordAdm.adm[0], "B");
    EXPECT_EQ(again.rec.coordAdm.adm[1], "");

    std::string thirteenA = "<COORD_A>\n";
    for (int i = 1; i <= kCoordAOLimit + 1; ++i)
        thirteenA += "t_adm = A" + std::to_string(i) + "\n";
    thirteenA += "</COORD_A>\n";
    const ReadNotice coordA = readOne(thirteenA + "<COORD_A>\nt_adm = X\n</COORD_A>\n");
    EXPECT_TRUE(coordA.rec.zel.coordA.flag) << "a refused list lets a later one be read";
    EXPECT_EQ(coordA.rec.zel.coordA.adm[0], "X");
    EXPECT_EQ(coordA.rec.zel.coordA.adm[1], "");
}

TEST(NoticeFileReader, ASubSectionWithoutAdministrationsLeavesTheListAsItWas)
{
    for (const char* second : {"<COORDINATION>\n</COORDINATION>\n", "<COORD>\nt_adm =\n</COORD>\n",
                               "<COORDINATION>\nt_ctry = E\n</COORDINATION>\n"}) {
        const ReadNotice n = readOne("<COORDINATION>\nt_adm = D\nt_adm = E\n</COORDINATION>\n" + std::string(second));
        EXPECT_TRUE(n.rec.coordAdm.flag) << second;
        EXPECT_EQ(n.rec.coordAdm.adm[1], "E") << second;
        EXPECT_EQ(n.read.report, " ") << second;
    }
}

TEST(NoticeFileReader, ASecondCoordASubSectionIsReadOnlyWhenTheFirstHeldNothing)
{
    const ReadNotice defined = readOne("<COORD_A>\nt_adm = D\n</COORD_A>\n<COORD_A>\nt_adm = E\n</COORD_A>\n");
    EXPECT_EQ(defined.rec.zel.coordA.adm[0], "D");
    EXPECT_EQ(defined.rec.zel.coordA.adm[1], "");
    EXPECT_EQ(defined.read.report, " " + entry("<COORD_A> sub-section already defined"));

    const ReadNotice empty = readOne("<COORD_O>\n</COORD_O>\n<COORD_O>\nt_adm = E\n</COORD_O>\n");
    EXPECT_EQ(empty.rec.zel.coordO.adm[0], "E");
    EXPECT_EQ(empty.read.report, " ");
}

TEST(NoticeFileReader, AntennaListsKeepThirtySixValuesInFileOrder)
{
    std::string body = "<ANT_HGT>\n";
    for (int k = 0; k < 37; ++k)
        body += "t_eff_hgt@azm" + std::to_string(k * 10 % 360 + 1000).substr(1) + " = " + std::to_string(k) + "\n";
    body += "T_EFF_HGT@AZM010 =\nt_attn@azm000 = 1\nt_eff_hgt@xyz000 = 1\n</ANT_HGT>\n";
    const ReadNotice n = readOne(body);
    EXPECT_EQ(n.rec.effHgt[35], (FlaggedPair{true, "350", "35"}));
    EXPECT_EQ(n.rec.effHgt[1], (FlaggedPair{true, "010", "1"})) << "the azimuth text stays as written";
    const std::string limit = kPrefix + " : Error : Cannot notify more than 36 values";
    EXPECT_EQ(n.read.report, "  <ANT_HGT> " + limit + limit + kCrLf);
}

TEST(NoticeFileReader, RepeatedDiagramsAndAzimuthsAreRefusedAsDuplicates)
{
    const ReadNotice h = readOne("<ANT_DIAGR_H>\nt_attn@azm000 = 1\nt_attn@azm010 = 2\n</ANT_DIAGR_H>\n"
                                 "<ANT_DIAGR_H>\nt_attn@azm020 = 5\n</ANT_DIAGR_H>\n");
    EXPECT_EQ(h.rec.attnH[0], (FlaggedPair{true, "000", "1"}));
    EXPECT_FALSE(h.rec.attnH[2].flag);
    EXPECT_EQ(h.read.report, "  <ANT_DIAGR_H> " + entry("t_attn@azm020 : Duplicate key") + kCrLf);

    const ReadNotice hgt = readOne("<ANT_HGT>\nt_eff_hgt@azm000 = 100\n</ANT_HGT>\n"
                                   "<ANT_HGT>\nt_eff_hgt@azm000 = 200\n</ANT_HGT>\n");
    EXPECT_EQ(hgt.rec.effHgt[0].second, "100") << "a second height list does not overwrite the first";
    EXPECT_EQ(hgt.read.report, "  <ANT_HGT> " + entry("t_eff_hgt@azm000 : Duplicate key") + kCrLf);

    const ReadNotice v = readOne("<ANT_DIAGR_V>\nt_attn@azm010 = 1\nt_attn@azm10 = 2\nt_attn@azm355 = 3\n"
                                 "t_attn@azm-10 = 4\n</ANT_DIAGR_V>\n");
    EXPECT_EQ(v.rec.attnV[0], (FlaggedPair{true, "010", "1"}));
    EXPECT_FALSE(v.rec.attnV[1].flag);
    EXPECT_EQ(v.read.report, "  <ANT_DIAGR_V> " + entry("t_attn@azm10 : Duplicate key") +
                                 entry("t_attn@azm355 : Invalid value 3") + entry("t_attn@azm-10 : Invalid value 4") +
                                 kCrLf);
}

TEST(NoticeFileReader, AnAzimuthWhoseSlotIsTakenIsRefused)
{
    // The stored list comes back by azimuth / 10, halves to even: 5 goes to slot 0, 15 and 25 to slot 2.
    const ReadNotice n = readOne("<ANT_HGT>\nt_eff_hgt@azm0 = 1\nt_eff_hgt@azm5 = 2\nt_eff_hgt@azm15 = 3\n"
                                 "t_eff_hgt@azm25 = 4\nt_eff_hgt@azm35 = 5\n</ANT_HGT>\n");
    EXPECT_EQ(n.rec.effHgt[0], (FlaggedPair{true, "0", "1"}));
    EXPECT_EQ(n.rec.effHgt[1], (FlaggedPair{true, "15", "3"}));
    EXPECT_EQ(n.rec.effHgt[2], (FlaggedPair{true, "35", "5"}));
    EXPECT_FALSE(n.rec.effHgt[3].flag);
    EXPECT_EQ(n.read.report, "  <ANT_HGT> " + entry("t_eff_hgt@azm5 : Same 10-degree slot as azimuth 0") +
                                 entry("t_eff_hgt@azm25 : Same 10-degree slot as azimuth 15") + kCrLf);
}

TEST(NoticeFileReader, AntennaDirectivityFollowsPolarisationAndDiagrams)
{
    struct Row { const char* type; const char* polar; const char* sections; const char* expected; };
    const Row rows[] = {
        {"T02", "M", "<ANT_DIAGR_V>\nt_attn@azm000 = 1\n</ANT_DIAGR_V>\n", "D"},
        {"T02", "H", "<ANT_DIAGR_V>\nt_attn@azm000 = 1\n</ANT_DIAGR_V>\n", "ND"},
        {"T01", "v", "<ANT_DIAGR_V>\nt_attn@azm000 = 1\n</ANT_DIAGR_V>\n", "D"},
        {"T01", "H", "", "ND"},
        {"DS1", "H", "<ANT_DIAGR_H>\nt_attn@azm000 = 1\n</ANT_DIAGR_H>\n", "D"},  // kept from the file
    };
    for (const Row& r : rows) {
        const ReadNotice n = readOne(std::string("t_notice_type = ") + r.type + "\nt_polar = " + r.polar +
                                     "\nzel_ant_dir = D\n" + r.sections);
        EXPECT_EQ(n.rec.ant_dir, r.expected) << r.type << " " << r.polar;
    }
}

TEST(NoticeFileReader, TargetReplacesTheOwnIdentificationUnlessAddingOrModifying)
{
    const std::string target = "t_adm_ref_id = OWN\nt_trg_adm_ref_id = TRG\nt_trg_long = +0070809\n";
    EXPECT_EQ(readOne(target).rec.adm_ref_id, "TRG") << "no t_action";
    EXPECT_EQ(readOne(target + "t_action = withdraw\n").rec.long_deg, "007");
    EXPECT_EQ(readOne(target + "t_action = modify\n").rec.adm_ref_id, "OWN");
}

TEST(NoticeFileReader, CoordinatesAndTimesMustBeWellFormed)
{
    const ReadNotice n = readOne("t_long = 0060812\nt_lat = +47121\nt_trg_long = +006081\nt_long =\n"
                                 "t_lat = +4712\nt_lat = -471215\n"
                                 "t_op_hh_fr = 9:05\nt_op_hh_to = 25:00\nt_op_hh_to = 12:60\n");
    EXPECT_EQ(n.rec.long_deg, "");
    EXPECT_FALSE(n.rec.target.flag);
    // A repeat after a value without seconds fills the seconds only.
    EXPECT_EQ((std::vector<std::string>{n.rec.lat_deg, n.rec.lat_min, n.rec.lat_sec, n.rec.lat_ns}),
              (std::vector<std::string>{"47", "12", "15", "N"}));
    EXPECT_EQ(n.rec.opPeriod, (FlaggedPair{true, "0905", ""}));
    EXPECT_EQ(n.read.report, " " + entry("t_long : Invalid value 0060812") + entry("t_lat : Invalid value +47121") +
                                 entry("t_trg_long : Invalid value +006081") + entry("t_lat : Duplicate key") +
                                 entry("t_lat : Duplicate key") + entry("t_lat : Duplicate key") +
                                 entry("t_op_hh_to : Invalid value 25:00") +
                                 entry("t_op_hh_to : Invalid value 12:60"));
}

TEST(NoticeFileReader, ACountOfSubAreasMustBeAWholeNumber)
{
    const ReadNotice bad = readOne("zel_nb_sub_areas = 2.5\nzel_nb_sub_areas = -1\nzel_nb_sub_areas = 3\n");
    EXPECT_EQ(bad.rec.zel.allotment.nb_sub_areas, "3");
    EXPECT_EQ(bad.read.report, " " + entry("zel_nb_sub_areas : Invalid value 2.5") +
                                   entry("zel_nb_sub_areas : Invalid value -1"));
    const ReadNotice empty = readOne("zel_nb_sub_areas =\n");
    EXPECT_TRUE(empty.rec.zel.allotment.flag) << "an empty count marks the allotment as given";
    EXPECT_EQ(empty.read.report, " ");
}

TEST(NoticeFileReader, SelfCoordinationIsTakenOnce)
{
    EXPECT_EQ(readOne("t_ctry = F\n").rec.zel.coord_self, "FALSE");
    const ReadNotice n = readOne("zel_coord_self = true\nzel_coord_self = false\n");
    EXPECT_EQ(n.rec.zel.coord_self, "TRUE");
    EXPECT_TRUE(n.rec.zel.flag);
    EXPECT_EQ(n.read.report, " " + entry("zel_coord_self : Duplicate key"));
}

TEST(NoticeFileReader, ContourIdsGoToTheContourOfAContourNoticeInAnyOrder)
{
    const ReadNotice da1 = readOne("zel_contour_id = 7\nt_notice_type = DA1\nzel_contour_id = 8\n");
    EXPECT_EQ(da1.rec.zel.contour.contour_id, "7");
    EXPECT_TRUE(da1.rec.zel.contour.flag);
    EXPECT_EQ(da1.rec.zel.allotment.contour_id[0], "");
    EXPECT_EQ(da1.read.report, " " + entry("zel_contour_id : Duplicate key"));

    std::string eleven = "t_notice_type = T02\n";
    for (int i = 1; i <= 11; ++i)
        eleven += "zel_contour_id = " + std::to_string(i) + "\n";
    const ReadNotice allot = readOne(eleven);
    EXPECT_EQ(allot.rec.zel.allotment.contour_id[9], "10");
    EXPECT_FALSE(allot.rec.zel.allotment.flag);
    EXPECT_EQ(allot.read.report, " " + entry("zel_contour_id : Cannot notify more than 10 sub-areas"));
}

TEST(NoticeFileReader, TestPointsFillTheListThatTheirCountSizes)
{
    const std::string point = "<POINT>\nzel_long = +0010000\nzel_lat = +4500\n</POINT>\n";
    // Points before the count stay; the list has count + 1 slots, but only the counted points
    // are stored, so a point beyond the count is refused.
    const ReadNotice n = readOne("t_notice_type = DA1\n" + point + "zel_nb_test_pts = 2\n" + point + point);
    ASSERT_EQ(n.rec.zel.contour.points.size(), 3u);
    EXPECT_EQ(n.rec.zel.contour.points[0], (FlaggedPair{true, "+0010000", "+4500"}));
    EXPECT_TRUE(n.rec.zel.contour.points[1].flag);
    EXPECT_FALSE(n.rec.zel.contour.points[2].flag);
    EXPECT_EQ(n.read.report, " " + entry("<POINT> #2 : Cannot notify more than 2 points"));

    const ReadNotice early = readOne("t_notice_type = DA1\n" + point + point + point + "zel_nb_test_pts = 3\n");
    ASSERT_EQ(early.rec.zel.contour.points.size(), 4u);
    EXPECT_TRUE(early.rec.zel.contour.points[2].flag) << "points read before their count are all kept";
    EXPECT_EQ(early.read.report, " ");

    // The largest count still leaves room for its list.
    EXPECT_EQ(readOne("zel_nb_test_pts = 32766\n").rec.zel.contour.points.size(), 32767u);
    const ReadNotice over = readOne("zel_nb_test_pts = 32767\n");
    EXPECT_EQ(over.rec.zel.contour.nb_test_pts, "");
    EXPECT_EQ(over.read.report, " " + entry("zel_nb_test_pts : Invalid value 32767"));

    const ReadNotice empty = readOne("<POINT>\nzel_long =\n</POINT>\n<POINT>\nzel_lat = +4500\n</POINT>\n");
    EXPECT_FALSE(empty.rec.zel.contour.points[0].flag) << "an empty point is stored and counts";
    EXPECT_EQ(empty.rec.zel.contour.points[1].second, "+4500");

    const ReadNotice bad = readOne("zel_nb_test_pts = -1\nzel_nb_test_pts = 2.5\nzel_nb_test_pts = 40000\n" +
                                   point + point + "zel_nb_test_pts = 0\n" +
                                   "<POINT>\nzel_long = 10000\nzel_lat = +4500\nzel_lat = +4600\n</POINT>\n");
    EXPECT_EQ(bad.rec.zel.contour.nb_test_pts, "");
    EXPECT_EQ(bad.rec.zel.contour.points.size(), 2u);
    EXPECT_EQ(bad.read.report, " " + entry("zel_nb_test_pts : Invalid value -1") +
                                   entry("zel_nb_test_pts : Invalid value 2.5") +
                                   entry("zel_nb_test_pts : Invalid value 40000") +
                                   entry("zel_nb_test_pts : fewer test points than the points already read") +
                                   kPrefix + " <POINT> #2 : " + kPrefix + entry("zel_long : Invalid value 10000") +
                                   entry("zel_lat : Duplicate key") + kCrLf);
}

TEST(NoticeFileReader, OnlyAnUpperCaseNoticeTagOpensANotice)
{
    const ReadFile f = readBytes("<notice>\nt_ctry = X\n</NOTICE>\n<NOTICE>\nt_ctry = F\n</notice>\n<TAIL>\n"
                                 "t_num_notices =  1\n</TAIL>\n");
    ASSERT_EQ(f.notices.size(), 1u);
    EXPECT_EQ(f.notices[0].rec.ctry, "F");
    EXPECT_EQ(f.notices[0].rec.adm, "") << "a notice before any HEAD has no administration";
}

TEST(NoticeFileReader, ACutFileKeepsTheIntactNoticesAndMarksTheCutOne)
{
    const std::string whole = fixture();
    const std::string cut = whole.substr(0, whole.find("t_attn@azm010 = 4"));
    const ReadFile f = readBytes(cut);
    ASSERT_EQ(f.notices.size(), 2u);
    EXPECT_TRUE(f.notices[0].read.complete);
    EXPECT_FALSE(f.notices[1].read.complete);
    EXPECT_EQ(f.notices[1].read.report,
              "  <ANT_DIAGR_V> Notice No : 2 : Error : <ANT_DIAGR_V> sub-section not closed at the end of the file" +
                  kCrLf + kCrLf + "Notice No : 2 : Error : <NOTICE> section not closed at the end of the file" + kCrLf);

    const ReadFile headOnly = readBytes("<HEAD>\nt_adm = F\n");
    EXPECT_TRUE(headOnly.notices.empty());
    EXPECT_EQ(headOnly.headReport, " : Error : <HEAD> section not closed at the end of the file\r\n");
}

TEST(NoticeFileReader, AnUnclosedSubSectionStopsAtTheNoticeBoundary)
{
    // Missing </ANT_HGT>: the notice still closes; missing </NOTICE> too: the next notice is whole.
    const std::string missingClose = replaceAll(fixture(), "</ANT_HGT>\r\n", "");
    const ReadFile f = readBytes(missingClose);
    ASSERT_EQ(f.notices.size(), 3u);
    EXPECT_TRUE(f.notices[0].read.complete);
    EXPECT_TRUE(f.notices[0].rec.effHgt[35].flag);
    EXPECT_FALSE(f.notices[0].rec.attnH[0].flag) << "the diagram's lines were taken as height lines";
    EXPECT_NE(f.notices[0].read.report.find("<ANT_HGT> sub-section not closed before </NOTICE>"), std::string::npos);
    EXPECT_EQ(f.notices[1].read.report, " ");

    const ReadFile g = readBytes("<NOTICE>\n<COORD>\nt_adm = D\n<NOTICE>\nt_ctry = E\n</NOTICE>\n");
    ASSERT_EQ(g.notices.size(), 2u);
    EXPECT_FALSE(g.notices[0].read.complete);
    EXPECT_FALSE(g.notices[0].rec.coordAdm.flag);
    EXPECT_TRUE(g.notices[1].read.complete);
    EXPECT_EQ(g.notices[1].rec.ctry, "E");
    EXPECT_EQ(g.notices[1].read.number, 2);
}

TEST(NoticeFileReader, ANoticeWithoutItsCloseEndsAtTheNextNotice)
{
    const ReadFile f = readBytes("<NOTICE>\nt_adm_ref_id = A1\n<NOTICE>\nt_adm_ref_id = B2\n</NOTICE>\n");
    ASSERT_EQ(f.notices.size(), 2u);
    EXPECT_FALSE(f.notices[0].read.complete) << "not to be stored";
    EXPECT_EQ(f.notices[0].read.report, " " + entry("<NOTICE> section not closed before <NOTICE>"));
    EXPECT_TRUE(f.notices[1].read.complete);
    EXPECT_EQ(f.notices[1].rec.adm_ref_id, "B2");
}

TEST(NoticeFileReader, ALowerCaseHeadCloseStopsAtTheFirstNotice)
{
    const std::string lower = replaceAll(fixture(), "</HEAD>", "</head>");
    const ReadFile f = readBytes(lower);
    ASSERT_EQ(f.notices.size(), 3u);
    EXPECT_EQ(f.headReport, " : Error : <HEAD> section not closed before <NOTICE>\r\n");
    EXPECT_EQ(f.notices[0].rec.adm, "F");
    EXPECT_EQ(f.notices[0].rec.zel.email_addr, "notices@example.org");
    EXPECT_EQ(f.notices[0].read.report, " ");
}
