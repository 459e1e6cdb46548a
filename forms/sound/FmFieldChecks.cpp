#include "FmFieldChecks.h"

namespace forms {

const BoxChecks& fmBoxChecks()
{
    static const BoxChecks checks = [] {
        BoxChecks c = commonBoxChecks();
        const std::string prefix = "Prevalidation Error - ";
        c.push_back({"Txt_70_BDWdth", Rule::Numeric, prefix + "Necessary  Bandwidth"});
        c.push_back({"Txt_7D_TranSys", Rule::Numeric, prefix + "Transmission System"});
        return c;
    }();
    return checks;
}

const std::vector<std::string>& fmUpperCasedBoxes()
{
    static const std::vector<std::string> boxes = commonUpperCasedBoxes();
    return boxes;
}

}  // namespace forms
