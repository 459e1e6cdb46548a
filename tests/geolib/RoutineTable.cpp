#include "RoutineTable.h"

#include "tavu32d.h"

#include <bit>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <random>
#include <string_view>
#include <vector>

namespace routine_table {
namespace {

constexpr double kRadPerDeg = 3.14159265358979323846 / 180;

struct Point {
    float lon, lat;
};

Point deg(double lon, double lat)
{
    return {float(lon * kRadPerDeg), float(lat * kRadPerDeg)};
}

class Table {
public:
    explicit Table(const FindRoutine& find) : m_find(find) {}

    // The routine as the type its declaration gives; null when the library lacks it.
    template <class Routine>
    Routine routine(const char* plain, const char* decorated)
    {
        void* address = m_find(plain, decorated);
        Routine r = nullptr;
        std::memcpy(&r, &address, sizeof r);  // a looked-up symbol's address is the function's
        if (!r)
            m_out += std::string(plain) + " missing\n";
        return r;
    }

    void row(std::string_view name, int row) { m_out += std::string(name) + " " + number(row) + ":"; }
    void bits(float v) { m_out += " " + number(std::bit_cast<std::uint32_t>(v), 16); }
    void bits(std::int32_t v) { m_out += " " + number(v); }
    void text(const char* t, std::size_t n) { m_out += " [" + std::string(t, n) + "]"; }
    void end() { m_out += "\n"; }

    std::string result() const { return m_out; }

private:
    template <class T>
    static std::string number(T v, int base = 10)
    {
        char buf[32];
        return std::string(buf, std::to_chars(buf, buf + sizeof buf, v, base).ptr);
    }

    const FindRoutine& m_find;
    std::string m_out;
};

#define ROUTINE(name, bytes) table.routine<decltype(&name)>(#name, "_" #name "@" #bytes)

// Pairs of points: the awkward ones (same point, poles, antipodes, across 180 degrees, a few metres
// apart), then spread over the globe.
std::vector<std::pair<Point, Point>> pointPairs()
{
    std::vector<std::pair<Point, Point>> pairs = {
        {deg(0, 0), deg(0, 0)},           {deg(0, 0), deg(1, 1)},          {deg(10, 49), deg(12, 51)},
        {deg(-179.5, 10), deg(179.5, -10)}, {deg(0, 89.9), deg(180, -89.9)}, {deg(13.4, 52.5), deg(-74, 40.7)},
        {deg(0, 0), deg(180, 0)},         {deg(5, 5), deg(5.00003, 5.00002)}, {deg(0, 90), deg(45, 0)},
        {deg(-60, -30), deg(120, 30)},
    };
    std::mt19937 random(20050621);
    const auto angle = [&random](int range) { return double(int(random() % std::uint32_t(2 * range * 1000)) - range * 1000) / 1000; };
    for (int i = 0; i < 40; ++i) {
        const Point a = deg(angle(180), angle(90));
        pairs.emplace_back(a, deg(angle(180), angle(90)));
    }
    return pairs;
}

}  // namespace

std::string run(const FindRoutine& find)
{
    Table table(find);
    auto wdbunit = ROUTINE(WDBUNIT, 4);
    auto geodstr = ROUTINE(GEODSTR, 20);
    auto geodst = ROUTINE(GEODST, 20);
    auto geodst3 = ROUTINE(GEODST3, 16);
    auto geoppda = ROUTINE(GEOPPDA, 24);
    auto geopdap = ROUTINE(GEOPDAP, 24);
    auto lmf90r4 = ROUTINE(LMF90R4, 28);
    auto dap2r4 = ROUTINE(DAP2R4, 24);
    auto craddg4 = ROUTINE(CRADDG4, 12);
    auto georddg = ROUTINE(GEORDDG, 12);
    auto cdgrad4 = ROUTINE(CDGRAD4, 12);
    auto geodgrd = ROUTINE(GEODGRD, 12);
    auto geofigc = ROUTINE(GEOFIGC, 36);
    auto geopia2 = ROUTINE(GEOPIA2, 12);
    auto geoplc = ROUTINE(GEOPLC, 12);
    auto geoinm = ROUTINE(GEOINM, 12);
    auto geopim = ROUTINE(GEOPIM, 8);
    if (!(wdbunit && geodstr && geodst && geodst3 && geoppda && geopdap && lmf90r4 && dap2r4 && craddg4 && georddg &&
          cdgrad4 && geodgrd && geofigc && geopia2 && geoplc && geoinm && geopim))
        return table.result();
    std::int32_t unit = 20;
    wdbunit(&unit);

    const auto pairs = pointPairs();
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        auto [a, b] = pairs[i];
        const int r = int(i);
        float dist = 0, azimuth = 0, lon = 0, lat = 0;
        std::int32_t km = 0, az1 = 0, az2 = 0;
        geodstr(&a.lon, &a.lat, &b.lon, &b.lat, &dist);
        table.row("GEODSTR", r), table.bits(dist), table.end();
        geodst(&a.lon, &a.lat, &b.lon, &b.lat, &km);
        table.row("GEODST", r), table.bits(km), table.end();
        table.row("GEODST3", r), table.bits(geodst3(&a.lon, &a.lat, &b.lon, &b.lat)), table.end();
        geoppda(&a.lon, &a.lat, &b.lon, &b.lat, &dist, &azimuth);
        table.row("GEOPPDA", r), table.bits(dist), table.bits(azimuth), table.end();
        geopdap(&a.lon, &a.lat, &dist, &azimuth, &lon, &lat);
        table.row("GEOPDAP", r), table.bits(lon), table.bits(lat), table.end();
        lmf90r4(&a.lon, &a.lat, &b.lon, &b.lat, &km, &az1, &az2);
        table.row("LMF90R4", r), table.bits(km), table.bits(az1), table.bits(az2), table.end();
        dap2r4(&a.lon, &a.lat, &km, &az1, &lon, &lat);
        table.row("DAP2R4", r), table.bits(lon), table.bits(lat), table.end();

        // Coordinate texts both ways, of each end.
        for (Point p : {a, b}) {
            char lonFirst[15], latFirst[15];
            craddg4(&p.lon, &p.lat, lonFirst);
            georddg(&p.lon, &p.lat, latFirst);
            table.row("CRADDG4", r), table.text(lonFirst, 15), table.end();
            table.row("GEORDDG", r), table.text(latFirst, 15), table.end();
            cdgrad4(lonFirst, &lon, &lat);
            table.row("CDGRAD4", r), table.bits(lon), table.bits(lat), table.end();
            geodgrd(latFirst, &lon, &lat);
            table.row("GEODGRD", r), table.bits(lon), table.bits(lat), table.end();
        }

        // A circle polygon around the first end, and the second end and the mid-distance point
        // in it or not.
        float radius = float(1 + i * 37 % 900), start = float(i * 7 % 360);
        std::int32_t sides = std::int32_t(3 + i % 40), centre = 0, capacity = 64, count = 0;
        float ring[2 * 64];
        geofigc(&a.lon, &a.lat, &radius, &sides, &centre, &start, &capacity, ring, &count);
        table.row("GEOFIGC", r), table.bits(count);
        for (std::int32_t k = 0; k < 2 * count; ++k)
            table.bits(ring[k]);
        table.end();
        float half = radius / 2;
        geopdap(&a.lon, &a.lat, &half, &start, &lon, &lat);
        for (Point p : {b, Point{lon, lat}}) {
            float at[2] = {p.lon, p.lat};
            table.row("GEOPIA2", r), table.bits(geopia2(at, ring, &count)), table.end();
        }
    }

    // The administration at points over the written map, and the current map around them.
    for (int i = 0; i <= 24; ++i) {
        Point p = deg(7.5 + 0.2 * i, 48.7 + 0.11 * i);
        char symbol[3];
        geoplc(&p.lon, &p.lat, symbol);
        table.row("GEOPLC", i), table.text(symbol, 3), table.end();
        std::int32_t dist = 10 * i;
        geoinm(&p.lon, &p.lat, &dist);
        Point q = deg(7.5 + 0.2 * i + 0.05, 48.7 + 0.11 * i + 0.05);
        table.row("GEOPIM", i), table.bits(geopim(&q.lon, &q.lat)), table.end();
    }
    return table.result();
}

}  // namespace routine_table
