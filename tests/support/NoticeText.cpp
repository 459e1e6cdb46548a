#include "NoticeText.h"

#include <string_view>

#include <gtest/gtest.h>

namespace testing_support {

std::vector<notice::NoticeRecord> readNotices(const std::string& text)
{
    notice::NoticeFileReader reader;
    notice::NoticeRecord rec;
    reader.openNtcBytes(text, rec);
    std::vector<notice::NoticeRecord> out;
    notice::NoticeRead read;
    while (reader.readNextNotice(rec, read)) {
        EXPECT_TRUE(read.complete);
        EXPECT_EQ(read.report, " ") << "notice " << read.number;
        out.push_back(rec);
    }
    return out;
}

notice::NoticeRecord readNotice(const std::string& body)
{
    auto notices = readNotices("<HEAD>\nt_adm = F\n</HEAD>\n<NOTICE>\n" + body + "</NOTICE>\n");
    EXPECT_EQ(notices.size(), 1u);
    notices.resize(1);  // a default record when none was read
    return std::move(notices[0]);
}

std::string fullTelevisionNotice()
{
    std::string remarks;
    while (remarks.size() < 200)
        remarks += "é";  // two bytes each
    remarks = remarks.substr(0, 200);  // 100 characters
    remarks += std::string(100, 'r');

    std::string body = "t_notice_type = T02\nt_action = MODIFY\nt_fragment = GE89\nt_adm_ref_id = TV-1\n"
                       "t_ctry = F\nt_site_name = Lyon\nt_freq_assgn = 479.25\nt_long = +0044930\n"
                       "t_lat = +454530\nt_polar = M\nt_erp_h_dbw = 40\nt_erp_v_dbw = 37\n"
                       "t_d_adm_ntc = 2005-07-01\nt_op_hh_fr = 06:00\nt_op_hh_to = 23:30\n"
                       "t_trg_adm_ref_id = TV-0\nt_trg_freq_assgn = 471.25\nt_trg_long = +0044900\n"
                       "t_trg_lat = +454500\nt_remarks = " +
                       remarks + "\n<COORDINATION>\n";
    for (int i = 1; i <= 13; ++i)
        body += "t_adm = A" + std::to_string(i) + "\n";
    body += "</COORDINATION>\n";
    const char* sections[][3] = {{"<ANT_HGT>", "t_eff_hgt@azm", "</ANT_HGT>"},
                                 {"<ANT_DIAGR_H>", "t_attn@azm", "</ANT_DIAGR_H>"},
                                 {"<ANT_DIAGR_V>", "t_attn@azm", "</ANT_DIAGR_V>"}};
    for (const auto& s : sections) {
        body += std::string(s[0]) + "\n";
        for (int k = 0; k < 36; ++k)
            body += s[1] + std::to_string(k * 10) + " = " + std::to_string(k % 7) + "\n";
        body += std::string(s[2]) + "\n";
    }
    return body;
}

std::string fullSoundNotice()
{
    std::string body = fullTelevisionNotice();
    const std::pair<const char*, const char*> changes[] = {
        {"t_notice_type = T02\n", "t_notice_type = T01\n"},
        {"t_fragment = GE89\n", "t_fragment = GE84\nt_color = PAL\nt_pwr_ratio = 10\nt_bdwdth = 180\nt_tran_sys = 4\n"},
        {"t_freq_assgn = 479.25\n", "t_freq_assgn = 98.5\n"},
        {"t_trg_freq_assgn = 471.25\n", "t_trg_freq_assgn = 98.1\n"},
    };
    for (const auto& [from, to] : changes)
        body.replace(body.find(from), std::string_view(from).size(), to);
    return body;
}

}  // namespace testing_support
