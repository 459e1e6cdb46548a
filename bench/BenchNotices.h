#pragma once

// What the benchmarks share: a user who answers Yes and sees nothing, and the full antenna
// lists of a television notice.
#include "database/DbConnection.h"
#include "notice/NoticeFileReader.h"
#include "platform/Prompter.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace bench {

/// Seconds that `work` takes.
template <class Work>
double timed(Work work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

inline double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

class SilentPrompter : public platform::Prompter {
public:
    int shown = 0;
    void message(const std::string&, const std::string&, platform::Icon) override { ++shown; }
    bool askYesNo(const std::string&, const std::string&, Default) override { return true; }
    void beep() override {}
    void showTextFile(const std::string&, std::function<void()>) override {}
    std::optional<std::string> pickOpenFile(const std::string&) override { return std::nullopt; }
};

/// 13 coordinating administrations, 36 heights and 36 attenuations of each polarisation,
/// as notice file lines ending in `eol`.
inline std::string antennaSections(const std::string& eol)
{
    std::string text = "<COORDINATION>" + eol;
    for (int i = 0; i < 13; ++i)
        text += "t_adm = A" + std::to_string(i) + eol;
    text += "</COORDINATION>" + eol;
    for (const char* s : {"ANT_HGT", "ANT_DIAGR_H", "ANT_DIAGR_V"}) {
        text += std::string("<") + s + ">" + eol;
        for (int k = 0; k < 36; ++k)
            text += std::string(s[4] == 'H' ? "t_eff_hgt@azm" : "t_attn@azm") + std::to_string(k * 10) + " = " +
                    std::to_string(k % 9) + eol;
        text += std::string("</") + s + ">" + eol;
    }
    return text;
}

/// A notice file of `notices` television notices with the lists of `antennaSections`, each with a
/// frequency of its own: 470.00 to 869.99.
inline void writeNoticeFile(const std::filesystem::path& path, int notices)
{
    const std::string antenna = antennaSections("\r\n");
    std::ofstream out(path, std::ios::binary);
    out << "<HEAD>\r\nt_adm = F\r\nt_email_addr = bench@example.org\r\n</HEAD>\r\n";
    for (int i = 0; i < notices; ++i) {
        const int hundredths = i / 400 % 100;
        out << "<NOTICE>\r\nt_remarks = generated notice " << i << "\r\nt_notice_type = T02\r\nt_action = MODIFY\r\n"
            << "t_fragment = GE89\r\nt_adm_ref_id = TV-" << i << "\r\nt_site_name = SITE " << i
            << "\r\nt_ctry = F\r\nt_freq_assgn = " << 470 + i % 400 << "." << (hundredths < 10 ? "0" : "")
            << hundredths << "\r\nt_long = +0044930\r\nt_lat = +454530\r\nt_polar = M\r\nt_erp_h_dbw = 40\r\n"
            << "t_erp_v_dbw = 37\r\nt_op_hh_fr = 06:00\r\nt_op_hh_to = 23:30\r\nt_trg_freq_assgn = 471.25\r\n"
            << antenna << "</NOTICE>\r\n";
    }
}

/// A television notice with 127 rows: the notice, its target, operating period, three remark
/// rows and the lists of `antennaSections`.
inline notice::NoticeRecord televisionNotice()
{
    const std::string text = "<HEAD>\nt_adm = F\n</HEAD>\n<NOTICE>\nt_notice_type = T02\nt_action = MODIFY\n"
                             "t_fragment = GE89\nt_adm_ref_id = TV-1\nt_ctry = F\nt_site_name = LYON\n"
                             "t_freq_assgn = 479.25\nt_long = +0044930\nt_lat = +454530\nt_polar = M\n"
                             "t_erp_h_dbw = 40\nt_erp_v_dbw = 37\nt_op_hh_fr = 06:00\nt_op_hh_to = 23:30\n"
                             "t_trg_freq_assgn = 471.25\nt_remarks = " + std::string(200, 'r') + "\n" +
                             antennaSections("\n") + "</NOTICE>\n";
    notice::NoticeFileReader reader;
    notice::NoticeRecord rec;
    reader.openNtcBytes(text, rec);
    notice::NoticeRead read;
    reader.readNextNotice(rec, read);
    return rec;
}

/// The path of a benchmark's database of `notices` notices, in a folder of the temporary folder.
inline std::string databasePath(const char* folderName, int notices)
{
    const auto folder = std::filesystem::temp_directory_path() / folderName;
    std::filesystem::create_directories(folder);
    return (folder / ("bench" + std::to_string(notices) + ".mdb")).string();
}

/// Copies the template beside the program to `path` and opens it; says why on stderr when it cannot.
inline bool freshDatabase(const std::string& path, db::Connection& conn, platform::Prompter& prompter)
{
    if (database::copyTemplateDB(path, prompter.report()) && database::OpenDB(path, conn, prompter.report()))
        return true;
    std::fprintf(stderr, "cannot make %s (is the template beside the program?)\n", path.c_str());
    return false;
}

/// The batch sizes named on the command line, else 10,000 and 40,000.
inline std::vector<int> batchSizes(int argc, char* argv[])
{
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {10000, 40000};
    return sizes;
}

}  // namespace bench
