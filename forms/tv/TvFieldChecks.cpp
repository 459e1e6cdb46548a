#include "TvFieldChecks.h"

namespace forms {

const BoxChecks& tvBoxChecks()
{
    static const BoxChecks checks = [] {
        BoxChecks c = commonBoxChecks();
        const std::string prefix = "Prevalidation Error - ";
        c.push_back({"Txt_8D_Pwr_Ratio", Rule::Numeric, prefix + "Vision/sound power ratio"});
        c.push_back({"Txt_1E_kHz", Rule::Numeric, prefix + "Frequency offset"});
        c.push_back({"Txt_1E_Lf", Rule::Numeric, prefix + "Frequency offset"});
        return c;
    }();
    return checks;
}

const std::vector<std::string>& tvUpperCasedBoxes()
{
    static const std::vector<std::string> boxes = [] {
        std::vector<std::string> b = commonUpperCasedBoxes();
        b.push_back("Txt_7C1_TvSys");
        return b;
    }();
    return boxes;
}

}  // namespace forms
