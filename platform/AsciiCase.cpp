#include "AsciiCase.h"

#include <algorithm>

namespace platform {

std::string lowerAscii(std::string text)
{
    for (char& c : text)
        c = lowerAscii(c);
    return text;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && startsWithNoCase(a, b);
}

bool startsWithNoCase(std::string_view text, std::string_view start)
{
    return text.size() >= start.size() &&
           std::equal(start.begin(), start.end(), text.begin(),
                      [](char x, char y) { return lowerAscii(x) == lowerAscii(y); });
}

}  // namespace platform
