#include "CountryFile.h"

#include "core/Fatal.h"
#include "state/LibraryState.h"
#include "core/Settings.h"
#include "core/Utilities.h"
#include "files/PointFile.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace geo {
namespace {

constexpr std::size_t kRecordBytes = 18;
constexpr std::size_t kSlot = 4;  // a code and its filler
constexpr std::int16_t kKnownClassLimit = 25000;
constexpr std::int32_t kAttributeLine = 2;
constexpr std::int32_t kCodeLine = 3;
constexpr std::string_view kRegionCharacters = " 123Y?????";

[[noreturn]] void readFailure(std::string_view routine)
{
    fatalMessage(routine, " ERROR WHILE READING FROM DISK");
}

std::string upper(std::string_view code)
{
    std::string copy(code);
    upperCase437(copy.data(), long(copy.size()));
    return copy;
}

// The list position of a code (from 1); 0 when it starts no slot.
std::int32_t position(const CountryFileState& s, std::string_view code)
{
    for (std::int32_t i = 0; i < s.countryCount; ++i)
        if (std::string_view(s.codeList).substr(std::size_t(i) * kSlot, code.size()) == code)
            return i + 1;
    return 0;
}

std::int64_t pairRecord(const CountryFileState& s, std::int64_t a, std::int64_t b)
{
    const std::int64_t n = s.countryCount;
    return s.headerRecords + a * (a - 1) / 2 + (n - a) * a - (n - b);
}

PairValues readPair(CountryFileState& s, std::int64_t record)
{
    std::vector<unsigned char> bytes;
    if (!s.file.readRecords(record, kRecordBytes, kRecordBytes, bytes))
        readFailure("GEOCCD");
    ByteReader in(bytes);
    PairValues p;
    for (float& v : p.values)
        v = in.real32();
    p.pairClass = in.int16();
    return p;
}

// Reads a coded line of "GEOPNT1.BIN" into the library's buffer; missing is fatal.
std::vector<float> codedLine(std::int32_t lineId, std::string_view routine)
{
    std::vector<float> points(2 * std::size_t(kLineBufferPoints));
    const LineFetch f = readLine(kGeoPoints, std::int32_t(FetchMode::ById), points.data(), kLineBufferPoints, lineId);
    if (!f.flag)
        fatalMessage(routine, " Wrong coordinate file for this routine.");
    points.resize(2 * std::size_t(f.count));
    return points;
}

void loadAttributes(CountryTables& t)
{
    if (t.attributesLoaded)
        return;
    const std::vector<float> p = codedLine(kAttributeLine, "GEOCTYI");
    t.valuesPerCountry = p.empty() ? 0 : roundHalfAway(double(p[0]) * 10000.0);
    if (t.valuesPerCountry > kMaxAttributeValues)
        fatalMessage("GEOCTYI", " ROUTINE/DATABASE MISSMATCH.  RELINK PROGRAM.");
    const std::size_t countries = p.size() < 2 ? 0 : (p.size() / 2 - 1) / 2;
    if (countries > std::size_t(kMaxAttributeCountries))
        fatalLimit("GEOCTYI", "MAXCTY", kMaxAttributeCountries);
    for (std::size_t c = 0; c < countries; ++c) {
        const float* q = &p[2 + 4 * c];
        t.attributeCodes.push_back(decodeCountryCode(q[0]));
        t.attributes.push_back({q[1], q[2], q[3]});
    }
    t.attributesLoaded = true;
}

void loadCodePairs(CountryTables& t)
{
    if (t.codesLoaded)
        return;
    const std::vector<float> p = codedLine(kCodeLine, "GEOCTYA");
    for (std::size_t i = 2; i + 1 < p.size(); i += 2) {
        std::string a = decodeCountryCode(p[i]);
        if (a == "***")
            break;
        if (std::int32_t(t.codePairs.size()) >= kMaxCodePairs)
            fatalLimit("GEOCTYA", "MAXCTY", kMaxCodePairs);
        t.codePairs.emplace_back(std::move(a), decodeCountryCode(p[i + 1]));
    }
    t.codesLoaded = true;
}

}  // namespace

std::string decodeCountryCode(float coordinate)
{
    const std::int32_t v = roundHalfAway(std::fabs(double(coordinate)) * 1e7);
    std::string code;
    for (const std::int32_t d : {v / 10000 % 100, v / 100 % 100, v % 100})
        code += d >= 1 && d <= std::int32_t(kCodeAlphabet.size()) ? kCodeAlphabet[std::size_t(d - 1)] : ' ';
    return code;
}

void openCountryFile(std::int32_t unit)
{
    CountryFileState& s = libraryState().countryFile;
    if (s.loaded)
        return;
    s.unit = unit;
    if (!s.file.open(locateFile("C")))
        readFailure("GEOCCDI");
    std::vector<unsigned char> bytes;
    if (!s.file.readRecords(1, kRecordBytes, 6, bytes))
        readFailure("GEOCCDI");
    ByteReader in(bytes);
    if (in.int16() != kCountryFileVersion)
        fatalWrongVersion("GEOCCDI");
    s.countryCount = in.int16();
    s.headerRecords = in.int16();
    const std::size_t listBytes = std::size_t(std::max(s.countryCount, 0)) * kSlot;
    if (s.countryCount < 0 || s.headerRecords < 1 || listBytes > std::size_t(s.headerRecords - 1) * kRecordBytes)
        readFailure("GEOCCDI");
    if (!s.file.readRecords(2, kRecordBytes, listBytes, bytes))
        readFailure("GEOCCDI");
    s.codeList.assign(bytes.begin(), bytes.end());
    const std::int64_t pairCount = std::int64_t(s.countryCount) * (s.countryCount - 1) / 2;
    if (pairCount <= 2 && libraryState().frame.optionString[5] == '1')
        for (std::int64_t r = 1; r <= pairCount; ++r)
            s.pairs.push_back(readPair(s, s.headerRecords + r));
    s.loaded = true;
}

PairValues pairValues(std::string_view code1, std::string_view code2)
{
    CountryFileState& s = libraryState().countryFile;
    PairValues result;
    result.pairClass = kUnknownClass;
    const std::int32_t a = position(s, upper(code1)), b = position(s, upper(code2));
    if (a == 0 || b == 0)
        return result;
    result.pairClass = 0;
    if (a == b)
        return result;
    const std::int64_t record = pairRecord(s, std::min(a, b), std::max(a, b));
    const PairValues stored =
        s.pairs.empty() ? readPair(s, record) : s.pairs[std::size_t(record - s.headerRecords - 1)];
    result.pairClass = stored.pairClass;
    result.values = stored.values;
    if (a > b)
        std::rotate(result.values.begin(), result.values.begin() + 2, result.values.end());
    return result;
}

std::vector<std::string> countryCodes()
{
    const CountryFileState& s = libraryState().countryFile;
    std::vector<std::string> codes;
    for (std::int32_t i = 0; i < s.countryCount; ++i)
        codes.push_back(s.codeList.substr(std::size_t(i) * kSlot, 3));
    return codes;
}

NearCountries nearCountries(std::int32_t unit, bool sorted, std::string_view code, std::int32_t classLimit,
                            std::int32_t maxCount)
{
    const std::string own = upper(code);
    openCountryFile(unit);
    NearCountries r;
    if (pairValues(own, own).pairClass > kKnownClassLimit)
        return r;
    r.dropped = 0;
    if (maxCount < 1)
        return r;
    if (libraryState().countryFile.countryCount > kMaxNearCountries)
        fatalLimit("GEOCRDN", "MXCTY", kMaxNearCountries);
    for (const std::string& other : countryCodes()) {
        if (other == own)
            continue;
        const std::int16_t c = pairValues(own, other).pairClass;
        if (c > classLimit)
            continue;
        if (std::int32_t(r.codes.size()) >= maxCount) {
            // A full list gives up its largest class (the last of equal ones) to a smaller one.
            ++r.dropped;
            std::size_t largest = 0;
            for (std::size_t i = 0; i < r.classes.size(); ++i)
                if (r.classes[i] >= r.classes[largest])
                    largest = i;
            if (c >= r.classes[largest])
                continue;
            r.codes.erase(r.codes.begin() + std::ptrdiff_t(largest));
            r.classes.erase(r.classes.begin() + std::ptrdiff_t(largest));
        }
        r.codes.push_back(other);
        r.classes.push_back(c);
    }
    if (sorted) {
        std::vector<std::size_t> order(r.codes.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::stable_sort(order.begin(), order.end(), [&r](std::size_t x, std::size_t y) { return r.classes[x] < r.classes[y]; });
        NearCountries s;
        s.dropped = r.dropped;
        for (const std::size_t i : order) {
            s.codes.push_back(r.codes[i]);
            s.classes.push_back(r.classes[i]);
        }
        r = s;
    }
    return r;
}

std::string translateCountry(std::string_view code)
{
    CountryTables& t = libraryState().countryTables;
    loadCodePairs(t);
    const std::string key = upper(code);
    for (const auto& [a, b] : t.codePairs)
        if (a == key)
            return b;
    return key;
}

std::int32_t countryAttribute(std::int32_t item, std::string_view code)
{
    CountryTables& t = libraryState().countryTables;
    loadAttributes(t);
    const std::int32_t k = std::abs(item) / 10, c = std::abs(item) % 10;
    if (k < 1 || k > t.valuesPerCountry || c < 1 || c >= 7)
        return -2;
    const auto at = std::find(t.attributeCodes.begin(), t.attributeCodes.end(), upper(code));
    if (at == t.attributeCodes.end())
        return -1;
    const double value = t.attributes[std::size_t(at - t.attributeCodes.begin())][std::size_t(k - 1)];
    return std::int32_t(std::fmod(std::trunc((value + 1e-8) * std::pow(10.0, c)), 10.0));
}

char countryRegion(std::string_view code)
{
    return kRegionCharacters[std::size_t(std::max(countryAttribute(11, code), 0))];
}

std::int32_t planDigit(std::string_view planName, std::string_view code)
{
    const std::string plan = upper(planName);
    const std::int32_t item = plan == "GE85M   " ? 12 : plan == "GE85N   " ? 13 : 0;
    return item == 0 ? -1 : std::max(countryAttribute(item, code), -1);
}

std::int32_t codePosition(const char* code, const char* list, std::int32_t count, std::size_t length)
{
    if (!code || !list)
        return 0;
    for (std::int32_t i = 0; i < count; ++i)
        if (std::memcmp(code, list + std::size_t(i) * length, length) == 0)
            return i + 1;
    return 0;
}

}  // namespace geo
