// Feeds arbitrary bytes to the library as its index files, the global and the local one, and
// builds maps, walks lines, looks up areas and lists coordination areas through them.
#include "GeoFuzzMap.h"
#include "tavu32d.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr std::int32_t kCapacity = 7001;

void mapAndLookUp()
{
    geofuzz::mapIslands();
    float place[4] = {geofuzz::kIslandsWindow[0], geofuzz::kIslandsWindow[1], geofuzz::kIslandsWindow[2],
                      geofuzz::kIslandsWindow[3]};
    float lon = 0.15f, lat = 0.15f;
    char symbol[3];
    GEOPLC(&lon, &lat, symbol);
    std::int32_t circleKm = 800;
    GEOINM(&lon, &lat, &circleKm);
    GEOPLC(&lon, &lat, symbol);

    std::vector<float> points(2 * std::size_t(kCapacity));
    std::int16_t unit = 1;
    char area[6] = {'G', '0', '0', 'A', '0', '1'};
    std::int32_t capacity = kCapacity, id = 0, count = 0, leftOut = 0;
    GEOAAL(&unit, area, points.data(), &capacity, &id, &count, &leftOut);
    char local[12] = {'G', '0', '0', 'L', 'O', 'C', '0', '0', '1', '0', '0', '0'};
    LCLGAL(&unit, local, points.data(), &capacity, &id, &count, &leftOut);

    char codes[3 * 20];
    std::int32_t codeCapacity = 20, found = 0, complete = 0;
    GEOACW(&place[0], &place[1], &place[2], &place[3], &codeCapacity, codes, &found, &complete);
    std::int32_t maxDist = 500, coastKm = 0, azimuth = 0;
    char country[3];
    GEODW(&lon, &lat, &maxDist, country, &coastKm, &azimuth);
    std::int32_t windowKind = 2, noDist = 0;
    CNDMAP(&windowKind, place, &noDist);
}

void walkLines()
{
    geofuzz::walkIslandLines();
    float w = 0, s = 0, e = 0, n = 0;
    std::int32_t codeCount = 1;
    char code[3] = {'G', '0', '1'};
    GEOCWI(&codeCount, code, &w, &s, &e, &n);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    geofuzz::writeDataFile("GEOIDX1.BIN", bytes);
    geofuzz::writeDataFile("LCLIDX1.BIN", bytes);
    geofuzz::runFresh(mapAndLookUp);
    geofuzz::runFresh(walkLines);
    return 0;
}
