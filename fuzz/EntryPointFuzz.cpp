// Calls the text and array entry points with arbitrary values, as a caller that keeps to the
// arrays' sizes but not to the values' ranges would.
#include "EntryCalls.h"
#include "GeoFuzzMap.h"
#include "tavu32d.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

using geofuzz::Call;
using geofuzz::kMostPoints;

constexpr int kRoom = 16 * kMostPoints;  // points in each output array

// The arguments of the calls, in input order; missing bytes read as 0.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool more() const { return m_at < m_size; }
    std::uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }
    std::int16_t i16() { return std::int16_t(std::uint16_t(byte() | byte() << 8)); }
    float real()
    {
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i)
            v |= std::uint32_t(byte()) << (8 * i);
        return std::bit_cast<float>(v);
    }
    std::int32_t count() { return std::clamp<std::int32_t>(i16(), -2, kMostPoints); }
    std::vector<float> points(std::int32_t n)
    {
        std::vector<float> p(2 * std::size_t(kRoom));
        for (std::int32_t i = 0; i < 2 * n; ++i)
            p[std::size_t(i)] = real();
        return p;
    }
    void text(char* out, std::size_t length)
    {
        for (std::size_t i = 0; i < length; ++i)
            out[i] = char(byte());
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

void callMap(Input& in)
{
    std::int32_t kind = in.i16() == 1 ? 1 : 2;
    float place[4] = {in.real(), in.real(), in.real(), in.real()};
    std::int32_t radius = in.i16();
    GEOMAP(&kind, place, &radius);
    char symbol[3];
    GEOPLC(&place[0], &place[1], symbol);
    GEOPIM(&place[0], &place[1]);
}

void callDistances(Input& in)
{
    float lon1 = in.real(), lat1 = in.real(), lon2 = in.real(), lat2 = in.real(), dist = 0, azimuth = 0;
    GEODSTR(&lon1, &lat1, &lon2, &lat2, &dist);
    GEOPPDA(&lon1, &lat1, &lon2, &lat2, &dist, &azimuth);
    std::int32_t km = 0, az1 = 0, az2 = 0;
    LMF90R4(&lon1, &lat1, &lon2, &lat2, &km, &az1, &az2);
    float along = lon2, towards = lat2, lon = 0, lat = 0;
    GEOPDAP(&lon1, &lat1, &along, &towards, &lon, &lat);
}

void callThin(Input& in)
{
    float tolerance = in.real();
    std::int32_t least = in.i16(), n = in.count();
    std::vector<float> p = in.points(n), out(p.size());
    std::int32_t kept = 0;
    GEOSM1(&tolerance, &least, p.data(), &n, out.data(), &kept);
}

void callMove(Input& in)
{
    // The caller's range lies in its array: first..last and their targets within 1..64.
    std::vector<float> p(2 * std::size_t(kMostPoints), 1.0f);
    std::int16_t shift = in.i16(), first = in.i16(), last = in.i16();
    if (last > kMostPoints || last + shift > kMostPoints || first + shift > kMostPoints)
        return;
    GEOMV8(&shift, &first, p.data(), &last);
}

void callArrays(Input& in)
{
    std::int16_t unit = in.i16();
    std::int32_t n = in.count();
    std::vector<float> p = in.points(n), copy(p.size());
    GEOCP8B(p.data(), copy.data(), &n);
    GEOSWP8(copy.data(), &n);
    std::int16_t n16 = std::int16_t(n);
    GEORDXX(&unit, copy.data(), &n16);
    std::int32_t left = n;
    GEODBLD(p.data(), &left);
    float limit = p[0];
    left = n;
    GEOCDCP(&limit, p.data(), &left);
}

void callLines(Input& in)
{
    std::int32_t mode = in.i16();
    float step = in.real();
    std::int32_t n = in.count();
    float lon1 = in.real(), lat1 = in.real(), lon2 = in.real(), lat2 = in.real();
    std::vector<float> out(2 * std::size_t(kRoom));
    GEOADP(&lon1, &lat1, &lon2, &lat2, &n, out.data());
    GEOGCL(&lon1, &lat1, &lon2, &lat2, &n, out.data());
    std::int32_t capacity = kRoom, count = std::max(n, 0);
    GEOAXP(&mode, &step, &capacity, out.data(), &count);
    std::vector<float> again(out.size());
    std::int32_t m = std::min(count, kRoom), status = 0, made = 0;
    GEOLOP(&m, out.data(), &mode, &step, &capacity, again.data(), &made, &status);
}

void callFigures(Input& in)
{
    float lon = in.real(), lat = in.real(), radius = in.real(), azimuth = in.real();
    std::int32_t sides = in.i16(), centre = 1, capacity = kRoom, count = 0;
    std::vector<float> out(2 * std::size_t(kRoom));
    GEOFIGC(&lon, &lat, &radius, &sides, &centre, &azimuth, &capacity, out.data(), &count);
    float window[4];
    GEOSQR(&lon, &lat, &radius, window);
}

void callOutlines(Input& in)
{
    float window[4] = {in.real(), in.real(), in.real(), in.real()};
    std::int32_t n = in.count();
    std::vector<float> p = in.points(n);
    float bounds[4] = {};
    GEOWND(p.data(), &n, bounds);
    float at[2] = {window[0], window[1]};
    GEOPIA2(at, p.data(), &n);
    std::int16_t n16 = std::int16_t(n);
    std::int32_t ring = 1, capacity = kRoom, count = 0, complete = 0;
    std::vector<std::int32_t> pairs(2 * std::size_t(kRoom));
    std::vector<float> crossings(2 * std::size_t(kRoom));
    GEOC1L(p.data(), &n16, &ring, &capacity, pairs.data(), crossings.data(), &count, &complete);
    float nearLon = 0, nearLat = 0, dist = 0, azimuth = 0;
    GEODTL(&at[0], &at[1], p.data(), &n, &nearLon, &nearLat, &dist, &azimuth);
    std::vector<float> q = p;
    std::int32_t m = std::max(n, 0), flag = 0;
    GEOCTW2(window, &capacity, q.data(), &m, &flag);
    m = std::max(n, 0);
    GEOCTW(window, &capacity, bounds, p.data(), &m, &flag);
}

void callCoordText(Input& in)
{
    char text[80];
    in.text(text, sizeof text);
    float lon = 0, lat = 0;
    std::int32_t valid = 0, length = 80;
    char fixed[15];
    std::copy_n(text, 15, fixed);
    CDGRAD4(fixed, &lon, &lat);
    GEODGRD(fixed, &lon, &lat);
    CRDCHK1(fixed, &valid);
    std::copy_n(text, 15, fixed);
    CRDCHK2(fixed, &valid);
    CRDUNPN(text, &lon, &lat, &valid, &length);
    CRADDG4(&lon, &lat, fixed);
    GEORDDG(&lon, &lat, fixed);
}

void callPackedReals(Input& in)
{
    std::int32_t mode = in.i16() == 1 ? 1 : 2, count = std::clamp<std::int32_t>(in.i16(), -1, 16);
    std::array<float, 16> values{};
    for (float& v : values)
        v = in.real();
    char packed[3 * 16];
    in.text(packed, sizeof packed);
    GEOR3CH(&mode, &count, values.data(), packed);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    geofuzz::useValidMap();
    Input in(data, size);
    geofuzz::runFresh([&in] {
        while (in.more()) {
            switch (Call(in.byte() % geofuzz::kCallCount)) {
            case Call::Map:
                callMap(in);
                break;
            case Call::FlatDistance: {
                float lon1 = in.real(), lat1 = in.real(), lon2 = in.real(), lat2 = in.real();
                GEODST3(&lon1, &lat1, &lon2, &lat2);
                break;
            }
            case Call::Distances:
                callDistances(in);
                break;
            case Call::Thin:
                callThin(in);
                break;
            case Call::Move:
                callMove(in);
                break;
            case Call::Arrays:
                callArrays(in);
                break;
            case Call::Lines:
                callLines(in);
                break;
            case Call::Figures:
                callFigures(in);
                break;
            case Call::Outlines:
                callOutlines(in);
                break;
            case Call::CoordText:
                callCoordText(in);
                break;
            case Call::PackedReals:
            case Call::Count:
                callPackedReals(in);
                break;
            }
        }
    });
    return 0;
}
