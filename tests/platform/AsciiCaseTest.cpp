#include "platform/AsciiCase.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using namespace platform;

TEST(AsciiCase, FoldsAsciiLettersOnly)
{
    struct Row {
        std::string_view a, b;
        bool equal, startsWith;  // equalsNoCase(a, b), startsWithNoCase(a, b)
    };
    const Row rows[] = {
        {"</NOTICE>", "</notice>", true, true},
        {"", "", true, true},
        {"abcd", "abc", false, true},
        {"abc", "abcd", false, false},
        {"abc", "abd", false, false},
        {"T_Adm", "t_", false, true},
        {"\xC3\x89", "\xC3\xA9", false, false},  // É and é
        {"@[`{", "`{@[", false, false},          // the neighbours of the letters do not fold
    };
    for (const Row& r : rows) {
        EXPECT_EQ(equalsNoCase(r.a, r.b), r.equal) << r.a << " / " << r.b;
        EXPECT_EQ(startsWithNoCase(r.a, r.b), r.startsWith) << r.a << " / " << r.b;
    }
    EXPECT_EQ(lowerAscii(std::string("T_ADM \xC3\x89@Z[")), "t_adm \xC3\x89@z[");
}
