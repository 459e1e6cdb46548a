#include "TvFieldChecks.h"

#include "forms/common/Validators.h"

namespace forms {

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
