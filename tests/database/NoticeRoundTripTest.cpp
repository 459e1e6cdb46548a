#include "database/NoticeRead.h"
#include "database/NoticeStore.h"
#include "notice/NoticeFileWriter.h"
#include "support/NoticeDb.h"
#include "support/NoticeText.h"

#include <gtest/gtest.h>

// Every key of a notice, every slot of every list and every digital-plan field, each with its
// own value, written and read back through the file and through the database. The texts below
// are the independent list: a field that any table or code path drops makes a round trip fail.
namespace {

std::string slots(const char* key, int count, const std::string& prefix)
{
    std::string lines;
    for (int i = 1; i <= count; ++i)
        lines += std::string(key) + " = " + prefix + std::to_string(i) + "\n";
    return lines;
}

std::string azimuths(const char* tag, const char* key, int base)
{
    std::string lines = std::string("<") + tag + ">\n";
    for (int k = 0; k < notice::kAzimuthSlots; ++k) {
        const std::string azm = (k < 10 ? "00" : "0") + std::to_string(k * 10);
        lines += std::string(key) + azm.substr(azm.size() - 3) + " = " + std::to_string(base + k) + "\n";
    }
    return lines + "</" + tag + ">\n";
}

const std::string kAnalogue =
    "t_remarks = REMARK A1\nint_remarks = INTERNAL A2\nt_notice_type = T02\nt_d_adm_ntc = 2005-07-01\n"
    "t_fragment = NTFD_RR\nt_action = MODIFY\nt_call_sign = CALL A3\nt_station_id = STN A4\n"
    "t_trg_adm_ref_id = TRG A5\nt_trg_freq_assgn = 471.25\nt_trg_long = +0044901\nt_trg_lat = +454502\n"
    "t_site_name = SITE A6\nt_ctry = BEL\nt_adm_ref_id = REF A7\nt_freq_assgn = 479.5\n"
    "t_long = -0051122\nt_lat = -433344\nt_site_alt = 81\nt_freq_stabl = STAB A9\nt_polar = M\n"
    "t_erp_h_dbw = 40.1\nt_erp_v_dbw = 37.2\nt_pwr_ratio = 12\nt_tran_sys = SYS A13\nt_color = PAL\n"
    "t_oset_v_12 = 15\nt_oset_v_khz = 16\nt_bdwdth = 17\nt_hgt_agl = 18\nt_eff_hgtmax = 19\n"
    "t_op_agcy = 020\nt_addr_code = ADDR A21\nt_op_hh_fr = 06:05\nt_op_hh_to = 23:35\nt_d_inuse = 2006-01-02\n"
    "zel_ant_dir = D\nzel_coord_self = TRUE\n<COORDINATION>\n" + slots("t_adm", notice::kAdmSlots, "C") +
    "</COORDINATION>\n" + azimuths("ANT_HGT", "t_eff_hgt@azm", 100) + azimuths("ANT_DIAGR_H", "t_attn@azm", 200) +
    azimuths("ANT_DIAGR_V", "t_attn@azm", 300);

const std::string kDigital =
    "t_remarks = REMARK D1\nt_notice_type = DT1\nt_d_adm_ntc = 2007-03-04\nt_fragment = GE06D\nt_action = ADD\n"
    "t_call_sign = CALL D3\nt_station_id = STN D4\nt_site_name = SITE D6\nt_ctry = SUI\nt_adm_ref_id = REF D7\n"
    "t_freq_assgn = 514\nt_long = +0070809\nt_lat = +461011\nt_site_alt = 91\nt_polar = V\nt_erp_v_dbw = 27.5\n"
    "t_hgt_agl = 28\nt_eff_hgtmax = 29\nzel_ant_dir = D\nzel_sys_var = A1\nzel_nb_carr = 2K\n"
    "zel_guard_interval = 1/4\nzel_rx_mode = FX\nzel_ref_plan_cfg = RPC1\nzel_typ_ref_netwk = RN1\n"
    "zel_sfn_id = SFN D30\nzel_sfn_tx_tim = 31\nzel_adm_allot_id = ALLOT D32\nzel_spect_mask = N\n"
    "zel_freq_block = 12A\nzel_channel = 21\nzel_conv_freq_assgn = 474.25\nzel_conv_long = +0080910\n"
    "zel_conv_lat = +471112\nzel_coord_self = TRUE\n<COORDINATION>\n" + slots("t_adm", notice::kAdmSlots, "DC") +
    "</COORDINATION>\n<COORD_A>\n" +
    slots("t_adm", notice::kAdmSlots - 1, "KA") + "</COORD_A>\n<COORD_O>\n" +
    slots("t_adm", notice::kAdmSlots - 1, "KO") + "</COORD_O>\n" + azimuths("ANT_HGT", "t_eff_hgt@azm", 400) +
    azimuths("ANT_DIAGR_V", "t_attn@azm", 500);

const std::string kAllotment =
    "t_notice_type = DT2\nt_d_adm_ntc = 2008-05-06\nt_fragment = GE06A\nt_action = ADD\nt_ctry = AUT\n"
    "t_adm_ref_id = REF L7\nzel_sys_var = B2\nzel_rx_mode = PO\nzel_ref_plan_cfg = RPC2\nzel_sfn_id = SFN L30\n"
    "zel_adm_allot_id = ALLOT L32\nzel_spect_mask = S\nzel_freq_block = 5C\nzel_allot_name = NAME L40\n"
    "zel_geo_area = AREA L41\nzel_nb_sub_areas = " + std::to_string(notice::kContourIdSlots) + "\n" +
    slots("zel_contour_id", notice::kContourIdSlots, "") + "zel_coord_self = FALSE\n<COORDINATION>\n" +
    slots("t_adm", 2, "LC") + "</COORDINATION>\n";

struct Case {
    const char* name;
    const std::string& body;
};

const Case kCases[] = {{"analogue", kAnalogue}, {"digital", kDigital}, {"allotment", kAllotment}};

notice::NoticeRecord readOne(const std::string& section)
{
    const auto notices = testing_support::readNotices("<HEAD>\nt_adm = F\nt_email_addr = E@X.ORG\n</HEAD>\n" + section);
    EXPECT_EQ(notices.size(), 1u);
    return notices.empty() ? notice::NoticeRecord() : notices.front();
}

}  // namespace

TEST(NoticeRoundTrip, FileToRecordToFileKeepsEveryField)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const notice::NoticeRecord first = readOne("<NOTICE>\n" + c.body + "</NOTICE>\n");
        const std::string written = notice::writeNoticeSection(first, 1);
        for (std::size_t at = 0, end; (end = c.body.find('\n', at)) != std::string::npos; at = end + 1) {
            const std::string line = c.body.substr(at, end - at);
            EXPECT_NE(written.find("\r\n" + line + "\r\n"), std::string::npos) << line;
        }
        const notice::NoticeRecord again = readOne(written + "\r\n");
        EXPECT_TRUE(again == first) << written;
        EXPECT_EQ(notice::writeNoticeSection(again, 1), written);

        // Resetting a full record leaves nothing but the administration.
        notice::NoticeRecord reset = first;
        notice::initNotice(reset);
        notice::NoticeRecord blank;
        blank.adm = first.adm;
        EXPECT_TRUE(reset == blank);
    }
}

TEST(NoticeRoundTrip, RecordToDatabaseToRecordKeepsEveryField)
{
    testing_support::NoticeDb db;
    std::int32_t terrakey = 0;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        notice::NoticeRecord stored = readOne("<NOTICE>\n" + c.body + "</NOTICE>\n");
        stored.d_updated = std::string("2009-10-1") + char('0' + terrakey);  // fields no file carries
        stored.src_update = std::string("SOURCE ") + c.name;
        database::ContourOutcome outcome;
        ASSERT_TRUE(database::storeNtc(stored, db.conn, outcome, false, db.prompter.report()));
        notice::NoticeRecord back;
        ASSERT_TRUE(database::readNtcFromDB(++terrakey, back, db.conn, db.prompter.report()));
        // What the database does not keep: the internal remarks, and the digital part of an
        // analogue notice.
        notice::NoticeRecord expected = stored;
        expected.flag = true;
        expected.int_remarks.clear();
        if (expected.notice_typ[0] == 'T')
            expected.zel = notice::ZEL04Elements();
        EXPECT_TRUE(back == expected) << notice::writeNoticeSection(back, 1);
    }
    EXPECT_TRUE(db.prompter.messages.empty());
}
