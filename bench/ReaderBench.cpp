// Reads a generated notice file of 40,000 television notices with full antenna lists (about
// 110 MB) through the import's reader, beside a plain count of its lines; median of five.
//   reader_bench [notices]     (default: 40000)
#include "BenchNotices.h"
#include "Figures.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

int main(int argc, char* argv[])
{
    const int notices = argc > 1 ? std::atoi(argv[1]) : 40000;
    const auto folder = std::filesystem::temp_directory_path() / "ostrel-reader-bench";
    std::filesystem::create_directories(folder);
    const auto file = folder / "notices.txt";
    bench::writeNoticeFile(file, notices);
    const double mb = double(std::filesystem::file_size(file)) / 1e6;

    std::vector<double> counts, reads;
    std::size_t lines = 0;
    int read = 0;
    for (int round = 0; round < 5; ++round) {
        counts.push_back(bench::timed([&] {
            std::ifstream in(file, std::ios::binary);
            std::string line;
            lines = 0;
            while (std::getline(in, line))
                ++lines;
        }));
        reads.push_back(bench::timed([&] {
            notice::NoticeFileReader reader;
            notice::NoticeRecord rec;
            std::string error;
            read = 0;
            notice::NoticeRead one;
            if (reader.openNtcTxtFile(file.string(), rec, error))
                while (reader.readNextNotice(rec, one))
                    read += one.complete ? 1 : 0;
        }));
    }
    const double count = bench::median(counts), reading = bench::median(reads);
    std::printf("%s MB, %zu lines: line count %s s (%s MB/s), reader %s s (%s MB/s), %d notices\n",
                bench::fixed(mb, 1).c_str(), lines, bench::fixed(count, 3).c_str(), bench::fixed(mb / count, 0).c_str(),
                bench::fixed(reading, 3).c_str(), bench::fixed(mb / reading, 0).c_str(), read);
    std::filesystem::remove_all(folder);
    return read == notices ? 0 : 1;
}
