// The exported routines of the propagation zones.
#include "tavu32d.h"
#include "tavu32d_shapes.h"

#include "core/Shim.h"
#include "map/Propagation.h"

using namespace geo::shim;
namespace shape = geo::shape;

namespace {

constexpr float kNone[4] = {0, 0, 0, 0};

}  // namespace

extern "C" {

void TAVU_CALL GEOPRMS(int32_t* k, int32_t* status)
{
    out(status, geo::GEOPRMS(in(k)));
}

void TAVU_CALL GEOPRM(int32_t* requestKind, float* area, int32_t* dist)
{
    geo::GEOPRM(in(requestKind), area ? area : kNone, in(dist));
}

void TAVU_CALL GEOPRML(int16_t* unit, float* window, int32_t* capacity, float* points, int32_t* count,
                       int32_t* excess, int32_t* endFlag)
{
    const geo::Window w = geo::windowOf(window ? window : kNone);
    const geo::ZoneLine r =
        geo::nextZoneLine(geo::ZoneIterator::Propagation, in(unit), w, points ? in(capacity) : 0, points);
    out(endFlag, r.endFlag);
    if (r.endFlag != 0)
        return;
    out(count, r.count);
    out(excess, r.excess);
}

void TAVU_CALL GEOPRP(float* lon, float* lat, char* code)
{
    outText(code, shape::GEOPRP::code, geo::GEOPRP({in(lon), in(lat)}));
}

void TAVU_CALL GEOPRP2(float* lon, float* lat, char* code)
{
    outText(code, shape::GEOPRP2::code, geo::GEOPRP2({in(lon), in(lat)}));
}

void TAVU_CALL GEOPRCP(float* lon1, float* lat1, float* lon2, float* lat2, float* dist, int32_t* labelCount,
                       char* labels, float* lengths, float* fractions, int32_t* flag)
{
    const geo::PathSplit r = geo::GEOPRCP({in(lon1), in(lat1)}, {in(lon2), in(lat2)});
    out(flag, r.flag);
    out(dist, r.distKm);
    out(labelCount, r.labelCount);
    for (int i = 0; i < geo::kPathLabels; ++i) {
        if (lengths)
            lengths[i] = r.lengthsKm[std::size_t(i)];
        if (fractions)
            fractions[i] = r.fractions[std::size_t(i)];
        if (labels && i < r.labelCount)
            outText(labels + i * shape::GEOPRCP::labels, shape::GEOPRCP::labels, r.labels[std::size_t(i)]);
    }
}

}  // extern "C"
