#pragma once

#include "files/BinaryFile.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// "GEOCCD3.BIN" (values of each pair of countries) and the country tables coded into lines 2
// and 3 of "GEOPNT1.BIN". Codes are 3 characters.
namespace geo {

inline constexpr std::int16_t kUnknownClass = 26000;
inline constexpr std::int32_t kCountryFileVersion = 2;
inline constexpr std::int32_t kMaxNearCountries = 270;  // MXCTY
inline constexpr std::int32_t kMaxCodePairs = 100;      // MAXCTY of the code table
inline constexpr std::int32_t kMaxAttributeCountries = 300;
inline constexpr std::int32_t kMaxAttributeValues = 3;
inline constexpr std::string_view kCodeAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ *+-?0123456789";

struct PairValues {
    std::array<float, 4> values{};
    std::int16_t pairClass = 0;
};

// "GEOCCD3.BIN": its own handle, whatever unit number the caller chose.
struct CountryFileState {
    BinaryFile file;
    bool loaded = false;
    std::int32_t unit = 0;
    std::int32_t countryCount = 0;
    std::int32_t headerRecords = 0;
    std::string codeList;             // 4 characters a country
    std::vector<PairValues> pairs;    // all pairs, when they are held in memory
};

struct CountryTables {
    bool codesLoaded = false;
    std::vector<std::pair<std::string, std::string>> codePairs;  // code A, code B
    bool attributesLoaded = false;
    std::int32_t valuesPerCountry = 0;
    std::vector<std::string> attributeCodes;
    std::vector<std::array<float, 3>> attributes;
};

/// The 3-character code a coordinate encodes.
std::string decodeCountryCode(float coordinate);

/// GEOCCDI: opens and loads "GEOCCD3.BIN" once per process.
void openCountryFile(std::int32_t unit);
/// GEOCCD: the values and class of a pair of codes; class 26000 for an unknown code.
PairValues pairValues(std::string_view code1, std::string_view code2);
/// GEOCCDC: the file's codes in file order.
std::vector<std::string> countryCodes();

struct NearCountries {
    std::vector<std::string> codes;
    std::vector<std::int16_t> classes;
    std::int32_t dropped = -1;  // -1: unknown code
};
/// GEOCRDN: the countries within a class limit of a country, at most `maxCount`.
NearCountries nearCountries(std::int32_t unit, bool sorted, std::string_view code, std::int32_t classLimit,
                            std::int32_t maxCount);

/// GEOCTYA: code A to code B through the code table; unknown codes come back upper-cased.
std::string translateCountry(std::string_view code);
/// GEOCTYI: decimal place item % 10 of attribute value item / 10; -2 bad item, -1 unknown code.
std::int32_t countryAttribute(std::int32_t item, std::string_view code);
/// GEOCTYR: the region character.
char countryRegion(std::string_view code);
/// GEOPINF: the plan digit for "GE85M" or "GE85N"; -1 otherwise.
std::int32_t planDigit(std::string_view planName, std::string_view code);

/// GEOC3C, GEOC6C, GEOC12C: 1-based position of the first equal code of `length` characters.
std::int32_t codePosition(const char* code, const char* list, std::int32_t count, std::size_t length);

}  // namespace geo
