#pragma once

// What the benchmarks share: a user who answers Yes and sees nothing, and the full antenna
// lists of a television notice.
#include "platform/Prompter.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace bench {

class SilentPrompter : public platform::Prompter {
public:
    int shown = 0;
    void message(const std::string&, const std::string&, platform::Icon) override { ++shown; }
    bool askYesNo(const std::string&, const std::string&, Default) override { return true; }
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
