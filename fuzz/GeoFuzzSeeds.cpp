// Writes the seeds of the library's fuzz targets into the corpus folder given as the argument:
// the valid map's files, the damaged point files and the calls that once crashed or hung.
#include "EntryCalls.h"
#include "GeoFuzzMap.h"
#include "geolib/tools/MapFileBuilder.h"

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using geofuzz::Call;

void write(const fs::path& file, const std::string& bytes)
{
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
}

// One call of entry_point_fuzz and its arguments.
class Calls {
public:
    Calls& call(Call c)
    {
        m_bytes += char(c);
        return *this;
    }
    Calls& i16(std::int16_t v)
    {
        m_bytes += char(v & 0xff);
        m_bytes += char((v >> 8) & 0xff);
        return *this;
    }
    Calls& reals(std::initializer_list<float> values)
    {
        for (float v : values)
            for (int i = 0; i < 4; ++i)
                m_bytes += char((std::bit_cast<std::uint32_t>(v) >> (8 * i)) & 0xff);
        return *this;
    }
    Calls& text(const std::string& t)
    {
        m_bytes += t;
        return *this;
    }
    const std::string& bytes() const { return m_bytes; }

private:
    std::string m_bytes;
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fputs("usage: geo_fuzz_seeds <corpus folder>\n", stderr);
        return 2;
    }
    const fs::path corpus = argv[1];
    const auto& files = geofuzz::mapFiles();
    const float nan = std::numeric_limits<float>::quiet_NaN();

    const fs::path points = corpus / "point_file_fuzz";
    write(points / "islands.bin", files.at("GEOPNT1.BIN"));
    write(points / "zones.bin", files.at("GEOPNT12.BIN"));
    write(points / "local.bin", files.at("LCLPNT1.BIN"));
    write(points / "latitude_minus_1e9.bin", geofuzz::damagedPointFile(-1e9f, false));
    write(points / "longitude_1e30.bin", geofuzz::damagedPointFile(1e30f, true));
    write(points / "nan_point.bin", geofuzz::damagedPointFile(nan, false));

    write(corpus / "index_file_fuzz" / "islands.bin", files.at("GEOIDX1.BIN"));
    write(corpus / "index_file_fuzz" / "local.bin", files.at("LCLIDX1.BIN"));
    // A coordination area among the islands whose value lies far below 0.
    auto coordination = mapfiles::lineEntry("CND", 'D', mapfiles::squareLine(4001, {0.15f, 0.15f}, 0.01f, 2));
    mapfiles::setDataReal(coordination, 3, -1e10f);
    mapfiles::setDataReal(coordination, 4, 100);
    write(corpus / "index_file_fuzz" / "coordination_minus_1e10.bin",
          files.at("GEOIDX1.BIN") + mapfiles::indexFile({coordination}));
    write(corpus / "country_file_fuzz" / "countries.bin", files.at("GEOCCD3.BIN"));

    const fs::path entries = corpus / "entry_point_fuzz";
    const float w = geofuzz::kIslandsWindow[0], s = geofuzz::kIslandsWindow[1], e = geofuzz::kIslandsWindow[2],
                n = geofuzz::kIslandsWindow[3];
    write(entries / "map_west_1e10.bin", Calls().call(Call::Map).i16(2).reals({1e10f, s, e, n}).i16(0).bytes());
    write(entries / "flat_distance_far_latitude.bin",
          Calls().call(Call::FlatDistance).reals({0, -3.8e7f, 0.1f, -3.8e7f}).bytes());
    write(entries / "thin_nan_point.bin",
          Calls().call(Call::Thin).reals({5}).i16(5).i16(4).reals({0.1f, 0.1f, nan, nan, 0.2f, 0.2f, 0.3f, 0.3f}).bytes());
    write(entries / "move_before_first.bin", Calls().call(Call::Move).i16(-1).i16(1).i16(3).bytes());
    // Every call once with ordinary values.
    const std::initializer_list<float> square{0.1f, 0.1f, 0.2f, 0.1f, 0.2f, 0.2f, 0.1f, 0.2f, 0.1f, 0.1f};
    write(entries / "ordinary.bin",
          Calls()
              .call(Call::Map).i16(2).reals({w, s, e, n}).i16(0)
              .call(Call::Map).i16(1).reals({0.15f, 0.15f, 0, 0}).i16(300)
              .call(Call::FlatDistance).reals({0.1f, 0.2f, 0.3f, 0.4f})
              .call(Call::Distances).reals({0.1f, 0.2f, 0.3f, 0.4f})
              .call(Call::Thin).reals({5}).i16(3).i16(5).reals(square)
              .call(Call::Move).i16(2).i16(1).i16(3)
              .call(Call::Arrays).i16(2).i16(5).reals(square)
              .call(Call::Lines).i16(1).reals({50}).i16(8).reals({0.1f, 0.2f, 0.3f, 0.4f})
              .call(Call::Figures).reals({0.1f, 0.2f, 100, 0}).i16(12)
              .call(Call::Outlines).reals({0.12f, 0.12f, 0.18f, 0.18f}).i16(5).reals(square)
              .call(Call::CoordText).text("010W2030 50N1020" + std::string(64, ' '))
              .call(Call::PackedReals).i16(1).i16(2).reals({0.01f, 0.02f}).text(std::string(14 * 4 + 48, ' '))
              .bytes());
    return 0;
}
