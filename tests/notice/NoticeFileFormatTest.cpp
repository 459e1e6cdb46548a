#include "notice/NoticeFileFormat.h"
#include "notice/NoticeFields.h"
#include "notice/NoticeTextFile.h"
#include "platform/AsciiCase.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

using namespace notice;

namespace {

// Every line of `bytes` as the reader hands them out, up to the end.
std::vector<std::string> readAll(const std::string& bytes)
{
    NoticeTextFile file;
    file.openBytes(bytes);
    std::vector<std::string> lines;
    while (true) {
        std::string line = file.readTxtLine();
        if (file.exhausted())
            return lines;
        lines.push_back(line);
    }
}

}  // namespace

TEST(NoticeFileFormat, ReplaceTabsTrimsOnlyWhenATabWasFound)
{
    std::string text = "a\tb\t";
    EXPECT_EQ(replaceTabs(text), "a b");
    EXPECT_EQ(text, "a b ");  // blanks in place, untrimmed

    std::string noTab = "  a b  ";
    EXPECT_EQ(replaceTabs(noTab), "  a b  ");
    EXPECT_EQ(noTab, "  a b  ");
}

TEST(NoticeFileFormat, SplitKeyValueSplitsAtFirstEqualsAndLowersTKeys)
{
    struct Row { std::string line, key, value; };
    const Row rows[] = {
        {"T_ADM = FRA", "t_adm", "FRA"},        {"t_Action=add", "t_action", "add"},
        {"ZEL_SYS_VAR = a", "ZEL_SYS_VAR", "a"}, {"Notice No = 3", "Notice No", "3"},
        {"t_remarks = a = b", "t_remarks", "a = b"},
        {"\tt_long\t=\t+0123456\t", "t_long", "+0123456"},
        {"  t_call_sign  =   ", "t_call_sign", ""}, {"= v", "", "v"},
    };
    for (const Row& r : rows) {
        std::string line = r.line, key = "old", value = "old";
        EXPECT_TRUE(splitKeyValue(line, key, value)) << r.line;
        EXPECT_EQ(key, r.key) << r.line;
        EXPECT_EQ(value, r.value) << r.line;
    }
}

TEST(NoticeFileFormat, SplitKeyValueLeavesOutputsAloneWithoutEquals)
{
    std::string line = "  <NOTICE>\t", key = "k", value = "v";
    EXPECT_FALSE(splitKeyValue(line, key, value));
    EXPECT_EQ(line, "<NOTICE>");  // the line keeps its cleaned form
    EXPECT_EQ(key, "k");
    EXPECT_EQ(value, "v");
}

TEST(NoticeFileFormat, GetAzmFromKeyAcceptsOnlyDigitsBelow355)
{
    struct Row { std::string key; bool ok; std::string azimuth; };
    const Row rows[] = {
        {"t_eff_hgt@azm010", true, "010"}, {"t_attn@azm0", true, "0"},
        {"t_attn@azm354", true, "354"},    {"  T_ATTN@AZM20\t", true, "20"},
        {"t_attn@azm355", false, "355"},   {"t_attn@azm1e2", false, "1e2"},
        {"t_attn@azm-10", false, "-10"},   {"t_attn@azm 10", false, " 10"},
        {"t_attn@azm12.5", false, "12.5"}, {"t_attn@azm", false, ""},
        {"t_attn@az", false, ""},
        {"t_attn@azm99999999999999", false, "99999999999999"},  // no overflow
    };
    for (const Row& r : rows) {
        std::string key = r.key, azimuth = "old";
        EXPECT_EQ(getAzmFromKey(key, azimuth), r.ok) << r.key;
        EXPECT_EQ(azimuth, r.azimuth) << r.key;
    }

    std::string key = "t_attn", azimuth = "old";
    EXPECT_FALSE(getAzmFromKey(key, azimuth));
    EXPECT_EQ(azimuth, "old");
}

TEST(NoticeFileFormat, CutsCoordinatesByPosition)
{
    struct Lon { std::string text, deg, min, sec, ew; };
    const Lon lons[] = {
        {"+0123456", "012", "34", "56", "E"},
        {"-01234", "012", "34", "", "W"},
        {"0123456", "123", "45", "6", "W"},  // no sign: west
        {"+01", "01", "", "", "E"},
        {"", "", "", "", "W"},
    };
    for (const Lon& r : lons) {
        EXPECT_EQ(getLongDeg(r.text), r.deg) << r.text;
        EXPECT_EQ(getLongMin(r.text), r.min) << r.text;
        EXPECT_EQ(getLongSec(r.text), r.sec) << r.text;
        EXPECT_EQ(getLongEW(r.text), r.ew) << r.text;
    }

    struct Lat { std::string text, deg, min, sec, ns; };
    const Lat lats[] = {
        {"+123456", "12", "34", "56", "N"},
        {"-1234", "12", "34", "", "S"},
        {"x123456", "12", "34", "56", "N"},  // any first character but "-": north
        {"", "", "", "", "N"},
    };
    for (const Lat& r : lats) {
        EXPECT_EQ(getLatDeg(r.text), r.deg) << r.text;
        EXPECT_EQ(getLatMin(r.text), r.min) << r.text;
        EXPECT_EQ(getLatSec(r.text), r.sec) << r.text;
        EXPECT_EQ(getLatNS(r.text), r.ns) << r.text;
    }
}

TEST(NoticeFileFormat, RecognisesFileCoordinateForms)
{
    struct Row { std::string text; bool lon, lat; };
    const Row rows[] = {
        {"+0123456", true, false}, {"-01234", true, false}, {"+123456", false, true},
        {"-1234", false, true},    {"0123456", false, false}, {"+012345a", false, false},
        {"*012345", false, false}, {"+", false, false},      {"", false, false},
        {"+012", false, false},    {"-012345678", false, false},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(isFileLongitude(r.text), r.lon) << r.text;
        EXPECT_EQ(isFileLatitude(r.text), r.lat) << r.text;
    }
}

TEST(NoticeFileFormat, ParsesFileTimesIntoHhmm)
{
    struct Row { std::string text; std::optional<std::string> hhmm; };
    const Row rows[] = {
        {"12:34", "1234"}, {"9:05", "0905"}, {"00:00", "0000"}, {"24:00", "2400"},
        {"23:59", "2359"}, {"25:00", std::nullopt}, {"12:60", std::nullopt},
        {"24:01", std::nullopt}, {"24:59", std::nullopt},
        {"1230", std::nullopt}, {"12:5", std::nullopt}, {"", std::nullopt},
        {"123:00", std::nullopt}, {":30", std::nullopt}, {" 9:05", std::nullopt},
        {"+1:00", std::nullopt}, {"12:345", std::nullopt}, {"ab:cd", std::nullopt},
    };
    for (const Row& r : rows)
        EXPECT_EQ(parseFileTime(r.text), r.hhmm) << r.text;

    EXPECT_EQ(hhmmFromTime("07:45"), "0745");
    EXPECT_EQ(hhmmFromTime("07"), "07");
}

TEST(NoticeTextFile, EndsLinesAtCrCrLfAndLf)
{
    using Lines = std::vector<std::string>;
    EXPECT_EQ(readAll("A\r\nB\r\n"), (Lines{"A", "B"}));
    EXPECT_EQ(readAll("A\rB\nC"), (Lines{"A", "B", "C"}));
    EXPECT_EQ(readAll("A\r\r\nB"), (Lines{"A", "", "B"}));
    EXPECT_EQ(readAll("\n\nA"), (Lines{"", "", "A"}));
    EXPECT_EQ(readAll("  t_adm = F \t \r\n"), (Lines{"t_adm = F \t"}));
    EXPECT_EQ(readAll(""), Lines{});
}

TEST(NoticeTextFile, ExhaustedOnlyAfterReadingPastTheEnd)
{
    NoticeTextFile file;
    file.openBytes("A\r\nB");
    EXPECT_EQ(file.readTxtLine(), "A");
    EXPECT_FALSE(file.atEnd());
    EXPECT_EQ(file.readTxtLine(), "B");
    EXPECT_TRUE(file.atEnd());
    EXPECT_FALSE(file.exhausted());
    EXPECT_EQ(file.readTxtLine(), "");
    EXPECT_TRUE(file.exhausted());
    file.openBytes("C");  // a new file starts afresh
    EXPECT_FALSE(file.exhausted());
}

TEST(NoticeTextFile, DecodesUtf8OrWindows1252)
{
    using Lines = std::vector<std::string>;
    EXPECT_EQ(readAll("\xEF\xBB\xBFt_adm = F\r\n"), (Lines{"t_adm = F"}));
    EXPECT_EQ(readAll("\xEF\xBB\xBF" "Fran\xC3\xA7" "ais"), (Lines{"Fran\xC3\xA7" "ais"}));
    EXPECT_EQ(readAll("Fran\xC3\xA7" "ais\r\n"), (Lines{"Fran\xC3\xA7" "ais"}));
    EXPECT_EQ(readAll("Fran\xE7" "ais\r\n\x80"), (Lines{"Fran\xC3\xA7" "ais", "\xE2\x82\xAC"}));
    EXPECT_EQ(readAll("\xC3"), (Lines{"\xC3\x83"}));  // lone lead byte is not UTF-8
}

TEST(NoticeTextFile, OpensFilesOnDisk)
{
    testing_support::TempDir dir;
    NoticeTextFile file;
    std::string error;
    ASSERT_TRUE(file.open(dir.write("n.txt", "A\r\nB\r\n").string(), error)) << error;
    EXPECT_TRUE(file.isOpen());
    EXPECT_EQ(file.readTxtLine(), "A");
    EXPECT_EQ(file.readTxtLine(), "B");
    EXPECT_EQ(file.readTxtLine(), "");
    EXPECT_TRUE(file.exhausted());

    for (const auto& bad : {dir.path() / "missing.txt", dir.path()}) {
        error.clear();
        EXPECT_FALSE(file.open(bad.string(), error)) << bad;
        EXPECT_FALSE(error.empty()) << bad;
        EXPECT_FALSE(file.isOpen()) << bad;
    }
}

TEST(NoticeTextFile, AnUpdFileIsWindows1252UnlessItStartsWithAUtf8Mark)
{
    const std::string bom = "\xEF\xBB\xBF";
    const std::string cp1252 = "V.\xDF\x9C*";          // "V.ßœ*", and as UTF-8 also valid: "V.ߜ*"
    const std::string utf8 = "V.\xC3\x9F\xC5\x93*";  // "V.ßœ*"
    struct Row {
        const char* name;
        bool marked;  // starts with the UTF-8 byte-order mark
        std::string bytes;
        std::string text;
    };
    const Row rows[] = {
        {"batch.upd", false, cp1252, utf8},
        {"BATCH.UPD", false, cp1252, utf8},
        {"v1.2/batch.upd", false, cp1252, utf8},
        {"batch.upd", false, utf8, "V.\xC3\x83\xC5\xB8\xC3\x85\xE2\x80\x9C*"},  // "V.ÃŸÅ“*"
        {"batch.upd", true, utf8, utf8},
        {"batch.txt", false, cp1252, cp1252},
        {"batch.txt", true, utf8, utf8},
        {"batch.txt", false, cp1252 + "\xE9", utf8 + "\xC3\xA9"},  // not UTF-8
        {"v1.upd/batch.txt", false, cp1252, cp1252},
        {"batch.upd.txt", false, cp1252, cp1252},
        {"batch", false, cp1252, cp1252},
    };
    testing_support::TempDir dir;
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.name) + (r.marked ? " marked" : ""));
        const auto path = dir.path() / r.name;
        std::filesystem::create_directories(path.parent_path());
        dir.write(r.name, (r.marked ? bom : "") + "t_adm = F\r\nt_remarks = " + r.bytes + "\r\n");
        NoticeTextFile file;
        std::string error;
        ASSERT_TRUE(file.open(path.string(), error)) << error;
        EXPECT_EQ(file.readTxtLine(), "t_adm = F");
        EXPECT_EQ(file.readTxtLine(), "t_remarks = " + r.text);
    }
}

TEST(NoticeTextFile, ReadsLinesAcrossThePiecesOfALargeFile)
{
    constexpr std::size_t kPiece = NoticeTextFile::kPieceBytes;
    const std::string xs(kPiece - 8, 'x');
    const std::string ys(3 * kPiece, 'y');
    struct Row {
        const char* what;
        std::size_t filler;  // bytes of "x" lines before `tail`, an even count
        std::string tail;
        std::vector<std::string> lines;  // after the filler's
    };
    const Row rows[] = {
        {"CR LF cut between two pieces", kPiece - 2, "A\r\nB", {"A", "B"}},
        {"line cut between two pieces", kPiece - 4, "ABCDEFGH\r\nI", {"ABCDEFGH", "I"}},
        {"line longer than a piece", 2, ys + "\r\nZ", {ys, "Z"}},
        // The first line above 127 finds the file UTF-8, "é" being cut at the piece's end.
        {"UTF-8 cut between two pieces", 0, "F\xC3\xA9\r\n" + xs + "\r\n\xC3\xA9\r\n", {"F\xC3\xA9", xs, "\xC3\xA9"}},
        // A byte that UTF-8 refuses, two pieces further on, makes the whole file cp1252.
        {"cp1252 told late", 0, "Fran\xC3\xA7" "ais\r\n" + ys + "\r\n\xE9t\xE9",
         {"Fran\xC3\x83\xC2\xA7" "ais", ys, "\xC3\xA9t\xC3\xA9"}},
    };
    testing_support::TempDir dir;
    for (const Row& r : rows) {
        std::string bytes;
        for (std::size_t i = 0; i < r.filler / 2; ++i)
            bytes += "x\n";
        NoticeTextFile file;
        std::string error;
        ASSERT_TRUE(file.open(dir.write("big.txt", bytes + r.tail).string(), error)) << error;
        std::vector<std::string> lines;
        for (std::string line; file.readTxtLine(line), !file.exhausted();)
            lines.push_back(line);
        ASSERT_GE(lines.size(), r.filler / 2) << r.what;
        EXPECT_EQ(std::count(lines.begin(), lines.begin() + std::ptrdiff_t(r.filler / 2), "x"),
                  std::ptrdiff_t(r.filler / 2)) << r.what;
        lines.erase(lines.begin(), lines.begin() + std::ptrdiff_t(r.filler / 2));
        EXPECT_TRUE(lines == r.lines) << r.what;
        EXPECT_FALSE(file.readFailed()) << r.what;
    }
}

TEST(NoticeTextFile, AFileThatCannotBeReadIsRefusedAtOpen)
{
    NoticeTextFile file;
    std::string error;
    EXPECT_FALSE(file.open("/proc/self/mem", error));  // opens, but reading its start fails
    EXPECT_EQ(error, "Cannot read /proc/self/mem");
    EXPECT_FALSE(file.isOpen());
}

TEST(NoticeKeys, FindsKeysWithoutRegardToCase)
{
    const std::pair<std::string, const char*> rows[] = {
        {"t_ctry", "t_ctry"}, {"T_CTRY", "t_ctry"}, {"ZEL_SYS_VAR", "zel_sys_var"},
        {"t_HGT_alt", "t_hgt_alt"}, {"Notice No", nullptr}, {"notice no", nullptr},
        {"t_unknown", nullptr}, {"", nullptr}, {"t_ctry ", nullptr},
    };
    for (const auto& [name, expected] : rows) {
        const NoticeField* k = findNoticeKey(name);
        if (expected == nullptr)
            EXPECT_EQ(k, nullptr) << name;
        else
            EXPECT_EQ(k ? k->key : "(none)", expected) << name;
    }
}

TEST(NoticeFields, EveryFieldHasItsOwnKeyAndColumnsMatchingItsKind)
{
    NoticeRecord rec;
    std::map<std::string*, std::string> owner;
    std::set<std::string> names, columns;
    for (const NoticeField& k : noticeFields()) {
        EXPECT_TRUE(k.key.empty() || names.insert(std::string(k.key)).second) << k.key;
        EXPECT_EQ(platform::lowerAscii(std::string(k.key)), k.key);  // looked up in lower case
        const bool coordinate = k.kind == ValueKind::Longitude || k.kind == ValueKind::Latitude;
        EXPECT_EQ(k.table == Table::None, k.columns[0] == nullptr) << k.key;
        for (std::size_t part = 0; part < k.columns.size(); ++part) {
            EXPECT_EQ(k.columns[part] != nullptr, k.table != Table::None && (coordinate || part == 0)) << k.key;
            const std::string column = k.columns[part] ? std::to_string(int(k.table)) + k.columns[part] : "";
            EXPECT_TRUE(column.empty() || columns.insert(column).second) << column;
        }
        std::vector<std::string*> targets;
        if (k.kind == ValueKind::Longitude || k.kind == ValueKind::Latitude) {
            ASSERT_NE(k.coord, nullptr) << k.key;
            EXPECT_EQ(k.field, nullptr) << k.key;
            for (std::string* p : k.coord(rec))
                targets.push_back(p);
        } else {
            ASSERT_NE(k.field, nullptr) << k.key;
            EXPECT_EQ(k.coord, nullptr) << k.key;
            targets.push_back(&k.field(rec));
        }
        // Only the two height keys share a field.
        for (std::string* p : targets) {
            const auto [it, fresh] = owner.emplace(p, std::string(k.key.empty() ? k.columns[0] : k.key));
            if (!fresh) {
                EXPECT_TRUE(it->second == "t_hgt_agl" && k.key == "t_hgt_alt")
                    << k.key << " shares a field with " << it->second;
            }
        }
    }
}

TEST(NoticeKeys, MapsKeysToTheirRecordFields)
{
    NoticeRecord rec;
    const auto field = [&](const char* name) { return &findNoticeKey(name)->field(rec); };
    const auto coord = [&](const char* name) { return findNoticeKey(name)->coord(rec); };
    EXPECT_EQ(field("t_action"), &rec.intent);
    EXPECT_EQ(field("t_hgt_alt"), &rec.hgt_agl);
    EXPECT_EQ(field("t_op_hh_to"), &rec.opPeriod.second);
    EXPECT_EQ(field("zel_conv_freq_assgn"), &rec.zel.conv.conv_freq_assgn);
    EXPECT_EQ(coord("t_long"), (std::array{&rec.long_deg, &rec.long_min, &rec.long_sec, &rec.long_ew}));
    EXPECT_EQ(coord("t_trg_lat"),
              (std::array{&rec.target.lat_deg, &rec.target.lat_min, &rec.target.lat_sec, &rec.target.lat_ns}));
    EXPECT_EQ(coord("zel_conv_long"), (std::array{&rec.zel.conv.coord.long_deg, &rec.zel.conv.coord.long_min,
                                                  &rec.zel.conv.coord.long_sec, &rec.zel.conv.coord.long_ew}));
    EXPECT_TRUE(findNoticeKey("t_ctry")->upper);
    EXPECT_TRUE(findNoticeKey("zel_sys_var")->upper);
    EXPECT_FALSE(findNoticeKey("t_remarks")->upper);
}
