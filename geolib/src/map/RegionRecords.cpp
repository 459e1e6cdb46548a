#include "map/RegionRecords.h"

#include <algorithm>

namespace geo {

namespace {

constexpr RegionLine kGroup1[] = {
    {7350038, true},  {7350037, true},  {7350040, false}, {7350041, false}, {7350042, false}, {7350032, true},
    {7350030, true},  {5006490, true},  {5005890, true},  {5005880, false}, {5005810, false}, {5005812, false},
    {5005811, false}, {7350020, false}, {5005830, false}, {5030060, false}, {5030061, false}, {5030062, false},
    {5002360, false}, {5002361, false}, {5002362, false}, {5002363, false}, {5002370, false}, {5002610, false},
    {5002620, false}, {5002630, false}, {7350010, true},  {7350051, true},  {7350064, false}};
constexpr RegionLine kGroup2[] = {{7350050, true}, {7350063, true}};
constexpr RegionLine kGroup3[] = {{7350051, false}, {7350052, false}, {7350065, false}};
constexpr RegionLine kGroup4[] = {{7350050, true},  {7350036, false}, {7350040, false}, {7350041, false},
                                  {7350042, false}, {7350033, false}, {7350055, true},  {7350054, true},
                                  {7350053, true},  {7350062, true}};
constexpr RegionLine kGroup5[] = {
    {7350031, false}, {7350030, true},  {5006490, true},  {5005890, true},  {5005880, false}, {5005810, false},
    {5005812, false}, {5005811, false}, {7350020, false}, {5005830, false}, {5030060, false}, {5030061, false},
    {5030062, false}, {5002360, false}, {5002361, false}, {5002362, false}, {5002363, false}, {5002370, false},
    {5002610, false}, {5002620, false}, {5002630, false}, {7350010, true},  {7350052, false}, {7350066, false}};
constexpr RegionLine kGroup6[] = {{7350053, false}, {7350054, false}, {7350055, false}, {7350061, false}};

constexpr RegionGroup kGroups[] = {{1, kGroup1}, {1, kGroup2}, {2, kGroup3}, {2, kGroup4}, {3, kGroup5}, {3, kGroup6}};

struct RegionCode {
    std::string_view code;
    std::int16_t region;
};

constexpr RegionCode kRegionCodes[] = {{"R1 ", 1}, {"RG1", 1}, {"XR1", 1}, {"R2 ", 2}, {"RG2", 2},
                                       {"XR2", 2}, {"R3 ", 3}, {"RG3", 3}, {"XR3", 3}};

constexpr std::int32_t kFixedLines[] = {5002360, 5002361, 5002362, 5002363, 5002370, 5002610, 5002620, 5002630,
                                        5005810, 5005811, 5005812, 5005830, 5005880, 5005890, 5006490, 5030060,
                                        5030061, 5030062, 7350010, 7350020, 7350030, 7350040, 7350041, 7350042,
                                        7350050, 7350051, 7350052, 7350053, 7350054, 7350055};

}  // namespace

std::span<const RegionGroup> regionGroups()
{
    return kGroups;
}

std::int16_t regionOf(std::string_view code)
{
    const auto* r = std::find_if(std::begin(kRegionCodes), std::end(kRegionCodes),
                                 [&](const RegionCode& c) { return c.code == code; });
    return r == std::end(kRegionCodes) ? 0 : r->region;
}

std::span<const std::int32_t> fixedLineList()
{
    return kFixedLines;
}

void RegionState::reset()
{
    countryWindowArmed = false;
    lineRequestArmed = false;
    countryWindow = CountryWindow{};
    lineRequest = LineRequest{};
    lineWalk = LineWalk{};
    outlineWalk = OutlineWalk{};
}

}  // namespace geo
