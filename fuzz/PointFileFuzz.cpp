// Feeds arbitrary bytes to the library as each of its point files in turn, and fetches, walks
// and maps the lines of the islands' index from them.
#include "GeoFuzzMap.h"
#include "tavu32d.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr std::int32_t kCapacity = 7001;
constexpr int kMostCalls = 600;  // more than the lines of any input of the fuzzer's length

using Fetch = void(TAVU_CALL*)(int16_t*, float*, int32_t*, int32_t*, int32_t*, int32_t*);

void fetchEach(Fetch byId, Fetch next, const std::vector<std::int32_t>& ids)
{
    std::vector<float> points(2 * std::size_t(kCapacity));
    for (std::int32_t id : ids) {
        for (std::int16_t unit = 1; unit <= 3; ++unit) {
            std::int32_t capacity = kCapacity, count = 0, found = 0;
            byId(&unit, points.data(), &capacity, &id, &count, &found);
        }
    }
    if (!next)
        return;
    for (int call = 0; call < kMostCalls; ++call) {
        std::int16_t unit = 1;
        std::int32_t capacity = kCapacity, id = 0, count = 0, last = 0;
        next(&unit, points.data(), &capacity, &id, &count, &last);
        if (last & 1)
            break;
    }
}

void mapAndWalk()
{
    std::int32_t version = 0;
    GEOCFD(&version);
    geofuzz::mapIslands();
    for (float lon : {0.1f, 0.15f, 0.2f}) {
        float lat = 0.1f;
        char symbol[3];
        GEOPLC(&lon, &lat, symbol);
    }
    geofuzz::walkIslandLines();
    float lon = 0.12f, lat = 0.12f;
    std::int32_t maxDist = 500, coastKm = 0, azimuth = 0;
    char country[3];
    GEODW(&lon, &lat, &maxDist, country, &coastKm, &azimuth);
    char code[3] = {'G', '0', '1'}, translated[3], region = ' ';
    GEOCTYA(code, translated);
    GEOCTYR(code, &region);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::int32_t> ids{1, 2, 3, 100, geofuzz::kIslandLine, geofuzz::kIslandLine + 2};

    geofuzz::writeDataFile("GEOPNT1.BIN", bytes);
    geofuzz::runFresh([&] { fetchEach(GEOLIN, GEONXT, ids); });
    geofuzz::runFresh(mapAndWalk);
    geofuzz::writeDataFile("GEOPNT1.BIN", geofuzz::mapFiles().at("GEOPNT1.BIN"));

    geofuzz::writeDataFile("GEOPNT12.BIN", bytes);
    geofuzz::runFresh([&] { fetchEach(GEOLIN2, nullptr, {2, 3, 10, 11}); });
    geofuzz::writeDataFile("GEOPNT12.BIN", geofuzz::mapFiles().at("GEOPNT12.BIN"));

    geofuzz::writeDataFile("LCLPNT1.BIN", bytes);
    geofuzz::runFresh([&] {
        fetchEach(LCLLIN, LCLNXT, {1, 2, 32701});
        std::vector<float> points(2 * std::size_t(kCapacity));
        std::int16_t unit = 1;
        char symbol[12] = {'G', '0', '0', 'L', 'O', 'C', '0', '0', '1', '0', '0', '0'};
        std::int32_t capacity = kCapacity, id = 0, count = 0, leftOut = 0;
        LCLGAL(&unit, symbol, points.data(), &capacity, &id, &count, &leftOut);
    });
    geofuzz::writeDataFile("LCLPNT1.BIN", geofuzz::mapFiles().at("LCLPNT1.BIN"));
    return 0;
}
