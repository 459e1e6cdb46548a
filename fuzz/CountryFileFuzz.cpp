// Feeds arbitrary bytes to the library as its country coordinate file and reads its codes,
// pairs and near countries.
#include "GeoFuzzMap.h"
#include "tavu32d.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    geofuzz::writeDataFile("GEOCCD3.BIN", std::string(reinterpret_cast<const char*>(data), size));
    for (char keepPairs : {'0', '1'}) {
        geofuzz::runFresh([keepPairs] {
            // Option 6 keeps a small file's pairs in memory.
            std::int32_t option = 6, value = keepPairs == '1' ? 1 : 0;
            GEOSET(&option, &value);
            std::int32_t unit = 30;
            GEOCCDI(&unit);
            char codes[3 * 300];
            std::int32_t maximum = 300, count = 0, excess = 0;
            GEOCCDC(codes, &maximum, &count, &excess);
            for (const char* pair : {"G00G01", "G01G00", "G02G02", "XXXG00"}) {
                char a[3] = {pair[0], pair[1], pair[2]}, b[3] = {pair[3], pair[4], pair[5]};
                float v1 = 0, v2 = 0, v3 = 0, v4 = 0;
                std::int16_t pairClass = 0;
                GEOCCD(a, b, &v1, &v2, &v3, &v4, &pairClass);
            }
            for (std::int32_t sorted : {0, 1}) {
                char code[3] = {'G', '0', '1'}, near[3 * 300];
                std::int32_t classLimit = 30000, maxCount = 300, found = 0, dropped = 0;
                std::int16_t classes[300];
                GEOCRDN(&unit, &sorted, code, &classLimit, &maxCount, near, classes, &found, &dropped);
            }
        });
    }
    return 0;
}
