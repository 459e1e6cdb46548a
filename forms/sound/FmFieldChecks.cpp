#include "FmFieldChecks.h"

#include "forms/common/Validators.h"

namespace forms {

const std::vector<std::string>& fmUpperCasedBoxes()
{
    static const std::vector<std::string> boxes = commonUpperCasedBoxes();
    return boxes;
}

}  // namespace forms
