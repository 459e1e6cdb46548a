#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            out.push_back(line);
    std::sort(out.begin(), out.end());
    return out;
}

std::string run(const std::string& command)
{
    std::string out;
    if (FILE* p = popen(command.c_str(), "r")) {
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;)
            out.append(buf, n);
        pclose(p);
    }
    return out;
}

// The routines that carry their decorated name only.
const std::set<std::string> kDecoratedOnly = {
    "AP27AER", "AP28RZ",  "AP28RZS", "AP30ARZ", "AP30RZ",  "CDGRAD4", "CRADDG4", "CRDCHK1", "CRDCHK2", "CRDUNPN",
    "GEOAAC2", "GEOAAC3", "GEOAAC8", "GEOAAC9", "GEOAAL",  "GEOACW",  "GEOALC",  "GEOALC3", "GEOBCI",  "GEOC12C",
    "GEOC3C",  "GEOC6C",  "GEOCCD",  "GEOCCDC", "GEOCIA",  "GEOCIEL", "GEOCIW",  "GEOCRDN", "GEOCTYA", "GEOCTYR",
    "GEOCWI",  "GEODAA",  "GEODAA1", "GEODAA2", "GEODAA3", "GEODAM",  "GEODAM1", "GEODAM2", "GEODAM3", "GEODC",
    "GEODC1",  "GEODC9",  "GEODCC",  "GEODCC1", "GEODCM",  "GEODCM1", "GEODCM9", "GEODCW",  "GEODGRD", "GEODW",
    "GEODW1",  "GEODWA",  "GEODWA1", "GEODWA2", "GEODWA3", "GEODWD",  "GEOEEL",  "GEOGETF", "GEOIAA",  "GEOIAA2",
    "GEOLIW",  "GEOLSD",  "GEOPINF", "GEOPLC",  "GEOPLC2", "GEOPRCP", "GEOPRP",  "GEOPRP2", "GEOR3CH", "GEOR837",
    "GEORDDG", "GEOSET3", "GEOSM4",  "GEOTLCN", "GEOTUCN", "LCLAAC2", "LCLAAC3", "LCLAAC8", "LCLAAC9", "LCLDAM",
    "LCLDAM1", "LCLDAM2", "LCLDAM3", "LCLDLA",  "LCLDLA1", "LCLDLA2", "LCLDLA3", "LCLGAL",  "LCLILA",  "LCLILA2",
    "RJ88NZ"};

}  // namespace

TEST(Exports, TheManifestListsEveryRoutineOnce)
{
    std::set<std::string> names, decorated;
    int both = 0;
    std::size_t built = 0;
    for (const std::string& line : lines(testing_support::readFile(GEO_MANIFEST))) {
        if (line[0] == '#')
            continue;
        const std::string name = line.substr(0, line.find(' '));
        EXPECT_TRUE(names.insert(name).second) << name << " twice";
        built += line.ends_with("| built");
        if (line.find(" | dec | ") != std::string::npos)
            decorated.insert(name);
        else if (line.find(" | both | ") != std::string::npos)
            ++both;
        else
            ADD_FAILURE() << line;
    }
    EXPECT_EQ(names.size(), 212u);
    EXPECT_EQ(both, 121);
    EXPECT_EQ(built, names.size()) << "every routine is built";
    EXPECT_EQ(decorated, kDecoratedOnly);
    EXPECT_EQ(2 * both + int(decorated.size()), 333) << "export names";
}

TEST(Exports, TheSharedLibraryExportsThePlainNamesAndNothingElse)
{
    const std::string symbols = run("nm -D --defined-only '" GEO_SHARED_LIBRARY "' | awk '{print $3}'");
    const auto expected = lines(testing_support::readFile(GEO_GENERATED "/exports-linux.txt"));
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(lines(symbols), expected);
    // The plain name of every routine, the decorated-only ones too.
    std::vector<std::string> routines;
    for (const std::string& line : lines(testing_support::readFile(GEO_MANIFEST)))
        if (line[0] != '#')
            routines.push_back(line.substr(0, line.find(' ')));
    std::sort(routines.begin(), routines.end());
    EXPECT_EQ(expected, routines);
    EXPECT_EQ(expected.size(), 212u);
}

TEST(Exports, TheWindowsLibraryExportsTheManifestNames)
{
    const std::string dll = GEO_DLL;
    if (dll.empty())
        GTEST_SKIP() << "no cross compiler for the Windows library";
    const std::string table =
        run("i686-w64-mingw32-objdump -p '" + dll + "' | sed -n '/Ordinal\\/Name Pointer/,/^$/p' | "
                                                     "sed -n 's/^\\s*\\[ *[0-9]*\\] //p'");
    const auto expected = lines(testing_support::readFile(GEO_GENERATED "/exports-windows.txt"));
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(lines(table), expected);
    const auto decoratedNames = std::count_if(expected.begin(), expected.end(),
                                              [](const std::string& n) { return n.find('@') != std::string::npos; });
    EXPECT_EQ(expected.size(), 333u);
    EXPECT_EQ(decoratedNames, 212) << "every routine by its decorated name, 121 by their plain name too";
    EXPECT_TRUE(std::binary_search(expected.begin(), expected.end(), "_CDGRAD4@12"));
    EXPECT_TRUE(std::binary_search(expected.begin(), expected.end(), "WDBUNIT"));
    EXPECT_FALSE(std::binary_search(expected.begin(), expected.end(), "CDGRAD4")) << "decorated only";
}
