// Feeds arbitrary bytes to the notice file reader as a whole file.
#include "notice/NoticeFileReader.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    notice::NoticeFileReader reader;
    notice::NoticeRecord rec;
    reader.openNtcBytes(std::string(reinterpret_cast<const char*>(data), size), rec);
    notice::NoticeRead read;
    std::size_t notices = 0;
    while (reader.readNextNotice(rec, read)) {
        ++notices;
        if (read.number != std::int32_t(notices) || read.report.empty())
            __builtin_trap();
        // Every azimuth slot that is filled holds an accepted azimuth.
        for (const auto* slots : {&rec.effHgt, &rec.attnH, &rec.attnV})
            for (const auto& s : *slots)
                if (s.flag && s.first.empty())
                    __builtin_trap();
    }
    reader.close();
    return 0;
}
