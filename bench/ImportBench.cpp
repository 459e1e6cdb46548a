// Imports generated notice files of television notices with full antenna lists through the
// same code as File > OpenTxt, and prints the time per file size.
//   import_bench [notices...]     (default: 10000 40000)
#include "NoticeImport.h"
#include "database/DbConnection.h"
#include "BenchNotices.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

class NoStatus : public app::StatusLine {
public:
    void setStatus(const std::string& text) override { m_text = text; }
    std::string status() const override { return m_text; }

private:
    std::string m_text;
};

void writeFile(const std::filesystem::path& path, int notices)
{
    const std::string antenna = bench::antennaSections("\r\n");
    std::ofstream out(path, std::ios::binary);
    out << "<HEAD>\r\nt_adm = F\r\nt_email_addr = bench@example.org\r\n</HEAD>\r\n";
    for (int i = 0; i < notices; ++i) {
        out << "<NOTICE>\r\nt_remarks = generated notice " << i << "\r\nt_notice_type = T02\r\nt_action = MODIFY\r\n"
            << "t_fragment = GE89\r\nt_adm_ref_id = TV-" << i << "\r\nt_site_name = SITE " << i
            << "\r\nt_ctry = F\r\nt_freq_assgn = " << 470 + i % 400 << "." << i / 400 % 100
            << "\r\nt_long = +0044930\r\nt_lat = +454530\r\nt_polar = M\r\nt_erp_h_dbw = 40\r\nt_erp_v_dbw = 37\r\n"
            << "t_op_hh_fr = 06:00\r\nt_op_hh_to = 23:30\r\nt_trg_freq_assgn = 471.25\r\n"
            << antenna << "</NOTICE>\r\n";
    }
}

}  // namespace

int main(int argc, char* argv[])
{
    const std::vector<int> sizes = bench::batchSizes(argc, argv);

    const auto folder = std::filesystem::temp_directory_path() / "ostrel-import-bench";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    bench::SilentPrompter prompter;
    for (const int n : sizes) {
        const auto file = folder / ("batch" + std::to_string(n) + ".txt");
        writeFile(file, n);
        app::AppState state;
        NoStatus status;
        const auto start = std::chrono::steady_clock::now();
        const bool ok = app::importTextFile(file.string(), state, status, prompter,
                                            {"import_bench", database::templatePath()});
        database::closeDB(state.dbConnection);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("import %6d notices (%5.1f MB): %7.2f s, %6.1f us per notice%s\n", n,
                    double(std::filesystem::file_size(file)) / 1e6, seconds, seconds * 1e6 / n,
                    ok ? "" : " FAILED");
    }
    std::filesystem::remove_all(folder);
    return prompter.shown == 0 ? 0 : 1;
}
