#include "tavu32d.h"

#include "coords/CoordText.h"
#include "core/Utilities.h"
#include "support/ChildProcess.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr double kRadTol = 1e-6;
constexpr double kPi = 3.14159265358979323846;
constexpr double kOneSecondRad = kPi / (180.0 * 3600.0);

// Radians of degrees, minutes and seconds, with the true value of pi.
double rad(double deg, double min = 0, double sec = 0) { return (deg + min / 60 + sec / 3600) * kPi / 180; }

// Texts cross the interface as buffers of exactly their length, with no terminating NUL.
std::vector<char> buf(const std::string& s) { return {s.begin(), s.end()}; }
std::string str(const std::vector<char>& b) { return {b.begin(), b.end()}; }

struct Read { float lon = 99, lat = 99; int32_t ok = 99; };

Read readFree(const std::string& text, int32_t length = -1)
{
    if (length < 0)
        length = int32_t(text.size());
    std::vector<char> b = buf(text + " ");
    Read r;
    CRDUNPN(b.data(), &r.lon, &r.lat, &r.ok, &length);
    return r;
}

TEST(CoordText, ReadsBothLayoutsIntoRadians)
{
    const double lon = rad(6, 8, 12), lat = rad(46, 12, 15);
    struct Row { const char* text; bool lonFirst; double lon, lat; };
    const Row rows[] = {
        {"006E081246N1215", true, 0.1071050, 0.8064149}, {"006w081246s1215", true, -lon, -lat},
        {"  6E 81246N1215", true, lon, lat},  // blanks count for nothing
        {"006X081246Y1215", true, lon, lat},  // other letters leave the signs
        {"180W000090S0000", true, -kPi, -kPi / 2},
        {"461215N0060812E", false, lon, lat}, {"461215s0060812w", false, -lon, -lat},
        {"   0 1N  0 0 1W", false, -rad(0, 0, 1), rad(0, 0, 1)},
    };
    for (const Row& row : rows) {
        std::vector<char> text = buf(row.text);
        float outLon = 99, outLat = 99;
        (row.lonFirst ? CDGRAD4 : GEODGRD)(text.data(), &outLon, &outLat);
        EXPECT_NEAR(outLon, row.lon, kRadTol) << row.text;
        EXPECT_NEAR(outLat, row.lat, kRadTol) << row.text;
    }
}

TEST(CoordText, WritesBothLayoutsToTheNearestSecond)
{
    struct Row { float lon, lat; const char* lonFirst; const char* latFirst; };
    const Row rows[] = {
        {0.1071050f, 0.8064149f, "006E081246N1215", "461215N0060812E"},
        {-0.5f, 0.0f, "028W385200N0000", "000000N0283852W"},  // 103132.39 seconds
        {-0.5f, -0.5f, "028W385228S3852", "283852S0283852W"},
        {float(3599.6 * kOneSecondRad), 0.0f, "001E000000N0000", "000000N0010000E"},  // carries
        {0.0f, -1e-9f, "000E000000S0000", "000000S0000000E"},  // letter from the sign itself
        {3.1415927f, 1.5707964f, "180E000090N0000", "900000N1800000E"},
    };
    for (const Row& row : rows) {
        float lon = row.lon, lat = row.lat;
        std::vector<char> a(15, '#'), b(15, '#');
        CRADDG4(&lon, &lat, a.data());
        GEORDDG(&lon, &lat, b.data());
        EXPECT_EQ(str(a), row.lonFirst);
        EXPECT_EQ(str(b), row.latFirst);
    }
}

TEST(CoordText, WholeSecondTextsSurviveReadingAndWriting)
{
    std::mt19937 rng(105);
    std::uniform_int_distribution<int> lonSec(0, 648000), latSec(0, 324000), coin(0, 1);
    for (int i = 0; i < 10000; ++i) {
        const int a = lonSec(rng), b = latSec(rng);
        const bool west = coin(rng) == 1 && a > 0, south = coin(rng) == 1 && b > 0;
        char text[64];
        std::snprintf(text, sizeof text, "%03d%c%02d%02d%02d%c%02d%02d", a / 3600, west ? 'W' : 'E', a % 3600 / 60,
                      a % 60, b / 3600, south ? 'S' : 'N', b % 3600 / 60, b % 60);
        std::vector<char> in = buf(text), out(15, '#');
        float lon = 0, lat = 0;
        CDGRAD4(in.data(), &lon, &lat);
        CRADDG4(&lon, &lat, out.data());
        ASSERT_EQ(str(out), text);
    }
}

TEST(CoordText, CheckNormalisesValidTextsAndLeavesInvalidOnesAlone)
{
    struct Row { bool lonFirst; const char* text; const char* normal; };  // null: invalid
    const Row rows[] = {
        {true, "180E000000N0000", "180E000000N0000"}, {true, "180E000100N0000", nullptr},
        {true, "000w000090s0000", "000W000090S0000"}, {true, "000E000090N0001", nullptr},
        {true, "  6e 8 246n12 5", "006E080246N1205"}, {true, "-06E081246N1215", nullptr},
        {false, "46 215n  60812e", "460215N0060812E"}, {false, "910000n0060812e", nullptr},
        {false, "900000S1800000W", "900000S1800000W"}, {false, "461215N1810000E", nullptr},
        {true, "006E601246N1215", nullptr}, {true, "006E086046N1215", nullptr},  // 60 minutes, seconds
        {true, "006N081246E1215", nullptr}, {true, "006E081246 1215", nullptr},  // letters
        {true, "006e08x246n1215", nullptr}, {false, "461215N0060812X", nullptr},
    };
    for (const Row& row : rows) {
        std::vector<char> text = buf(row.text);
        int32_t valid = 99;
        (row.lonFirst ? CRDCHK1 : CRDCHK2)(text.data(), &valid);
        EXPECT_EQ(valid, row.normal ? -1 : 0) << row.text;
        EXPECT_EQ(str(text), row.normal ? row.normal : row.text);
    }
}

TEST(CoordText, UnreadableNumberEndsTheProcessNamingTheText)
{
    struct Row { const char* routine; void (*read)(char*, float*, float*); const char* text; };
    for (const Row& row : {Row{"CDGRAD4", CDGRAD4, "006E08X246N1215"}, Row{"GEODGRD", GEODGRD, "4612.5N0060812E"}}) {
        const auto child = testing_support::runInChild([&] {
            std::vector<char> text = buf(row.text);
            float lon = 0, lat = 0;
            row.read(text.data(), &lon, &lat);
        });
        std::string line = std::string(" Invalid coordinate text: ") + row.text;
        line.resize(60, ' ');
        EXPECT_EQ(child.output, std::string(" --- Error in routine ") + row.routine + "\n" + line +
                                    "\n >>>> CANCELR - ABNORMAL END\n");
        EXPECT_TRUE(child.exited);
        EXPECT_EQ(child.status, 1);
    }
}

TEST(FreeCoord, ReadsTheCommonLayouts)
{
    const double lon = rad(6, 8, 12), lat = rad(46, 12, 15);
    struct Row { const char* text; double lon, lat; };
    const Row rows[] = {
        {"006E081246N1215", lon, lat}, {"  006e081246n1215", lon, lat},
        {"46 12 15 N 6 8 12 E", lon, lat}, {"46 12 15 S 6 8 12 W", -lon, -lat},
        {"461215N 0060812E", lon, lat}, {"0060812E 461215N", lon, lat},
        {"006E0812 46N1215", lon, lat},  // letters after the degrees
        {"46 12 15.5 N 6 8 12.25 E", rad(6, 8, 12.25), rad(46, 12, 15.5)},
        {"461215.5S 0060812.25W", -rad(6, 8, 12.25), -rad(46, 12, 15.5)},
        {"5.5 45.25", rad(5.5), rad(45.25)}, {"6.1367 46.2042", rad(6.1367), rad(46.2042)},
        {"-6.5,-45.25", rad(-6.5), rad(-45.25)},
        {"+179.5;\t-89.5", rad(179.5), rad(-89.5)},
    };
    for (const Row& row : rows) {
        const Read r = readFree(row.text);
        EXPECT_EQ(r.ok, -1) << row.text;
        EXPECT_NEAR(r.lon, row.lon, kRadTol) << row.text;
        EXPECT_NEAR(r.lat, row.lat, kRadTol) << row.text;
    }
}

TEST(FreeCoord, UnreadableTextsGiveZerosAndFalse)
{
    for (const char* text : {"ab", "12", "200 100", "10 100", "X12 45", "6.5", "006E081246N1260", "181E000000N0000",
                             "46 12 15 N 6 8 12 N", "46 12 15 N 6 8 12 E!"}) {
        const Read r = readFree(text);
        EXPECT_EQ(r.ok, 0) << text;
        EXPECT_EQ(r.lon, 0.0f) << text;
        EXPECT_EQ(r.lat, 0.0f) << text;
    }
}

TEST(FreeCoord, ReadsOnlyTheGivenLengthAndAtMost80)
{
    EXPECT_EQ(readFree("6.1367 46.2042 X", 14).ok, -1);
    EXPECT_EQ(readFree("6.1367 46.2042 X", 0).ok, 0);
    std::string longText = "6.1367 46.2042";
    longText.resize(90, ' ');
    longText[85] = 'X';
    EXPECT_EQ(readFree(longText, 90).ok, -1);
    longText[79] = 'X';
    EXPECT_EQ(readFree(longText, 90).ok, 0);
}

TEST(AngleUnits, ConvertsPointsInPlaceByCode)
{
    struct Row { int16_t unit; float in; double out, tol; };
    const Row rows[] = {
        {1, 0.5f, 0.5, 0}, {7, 0.5f, 0.5, 0},
        {2, 0.5f, 28.6478865, 1e-4}, {-2, 90.0f, kPi / 2, kRadTol},
        {3, -0.5f, -103132.0, 0}, {3, 0.1071050f, 22092.0, 0},  // -103132.39 and 22091.99 rounded
        {-3, 3600.0f, rad(1), kRadTol},
    };
    for (const Row& row : rows) {
        float points[6] = {row.in, -row.in, row.in, row.in, 123.0f, 456.0f};
        int16_t unit = row.unit, count = 2;
        GEORDXX(&unit, points, &count);
        for (int i = 0; i < 4; ++i)
            EXPECT_NEAR(points[i], (i == 1 ? -1 : 1) * row.out, row.tol) << "unit " << row.unit;
        EXPECT_EQ(points[4], 123.0f);  // beyond the count
        EXPECT_EQ(points[5], 456.0f);
    }
}

TEST(AngleUnits, SecondsAreWholeAndComeBackRoundedToASecond)
{
    constexpr double kSecondTol = 0.6;  // half a second and the 4-byte factors
    std::mt19937 rng(3);
    std::uniform_real_distribution<float> angle(-3.1f, 3.1f);
    float points[200], original[200];
    for (int i = 0; i < 200; ++i)
        original[i] = points[i] = angle(rng);
    int16_t toSeconds = 3, toRadians = -3, count = 100;
    GEORDXX(&toSeconds, points, &count);
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(points[i], std::round(points[i]));
        EXPECT_NEAR(points[i], double(original[i]) / kOneSecondRad, kSecondTol);
    }
    GEORDXX(&toRadians, points, &count);
    for (int i = 0; i < 200; ++i)
        EXPECT_NEAR(points[i], original[i], kSecondTol * kOneSecondRad);
}

TEST(AngleUnits, RoundsHalvesAwayFromZero)
{
    const float values[] = {2.5f, -2.5f, 0.49f, -0.5f, 1.5f, -1.4f};
    int32_t rounded[6] = {};
    geo::roundReals(values, rounded, 6);
    EXPECT_EQ(std::vector<int32_t>(rounded, rounded + 6), (std::vector<int32_t>{3, -3, 0, -1, 2, -1}));
}

TEST(AngleUnits, PacksSmallRealsIntoThreeCharacters)
{
    float values[2] = {0.0123456f, -0.0000708f};  // the sign is not kept
    std::vector<char> packed(6, '#');
    int32_t pack = 1, unpack = 2, count = 2;
    GEOR3CH(&pack, &count, values, packed.data());
    EXPECT_EQ(str(packed), ",BX '(");  // codes 44 66 88, 32 39 40
    float back[2] = {};
    GEOR3CH(&unpack, &count, back, packed.data());
    EXPECT_FLOAT_EQ(back[0], 0.0123456f);
    EXPECT_FLOAT_EQ(back[1], 0.0000708f);
    int32_t other = 3;
    GEOR3CH(&other, &count, back, packed.data());
    EXPECT_FLOAT_EQ(back[0], 0.0123456f);
    EXPECT_EQ(str(packed), ",BX '(");
    // Codes outside 32..126 read as digit 31.
    packed = {char(127), char(200), char(10), char(32 + 94), char(127), char(32)};
    GEOR3CH(&unpack, &count, back, packed.data());
    EXPECT_FLOAT_EQ(back[0], 0.0313131f);
    EXPECT_FLOAT_EQ(back[1], float((94 * 10000 + 31 * 100) * 1e-7));
}

}  // namespace

TEST(FreeCoord, TheLayoutIsReadWhateverSurroundsIt)
{
    const std::string texts[] = {" 06E081246N1215", "006E081246N1215,", std::string("006E081246N1215\0\0\0\0\0", 20),
                                 "006E081246N1215 ;"};
    for (const std::string& t : texts) {
        std::string text = t;
        float lon = 0, lat = 0;
        int32_t ok = 0, length = int32_t(text.size());
        CRDUNPN(text.data(), &lon, &lat, &ok, &length);
        EXPECT_EQ(ok, -1) << t;
        EXPECT_NEAR(lon, 0.1071050, 1e-6) << t;
        EXPECT_NEAR(lat, 0.8064149, 1e-6) << t;
    }
}

TEST(AngleUnits, RoundingStaysWithinTheWholeNumbers)
{
    EXPECT_EQ(geo::roundHalfAway(1e12), INT32_MAX);
    EXPECT_EQ(geo::roundHalfAway(-1e12), INT32_MIN);
    EXPECT_EQ(geo::roundHalfAway(std::nan("")), 0);
    EXPECT_EQ(geo::roundHalfAway(-2.5), -3);
}
