#include "map/LineWindow.h"

#include "coords/CoordText.h"
#include "core/Fatal.h"
#include "state/LibraryState.h"
#include "core/Utilities.h"
#include "files/IndexFile.h"
#include "files/PointFile.h"
#include "geometry/LineCleanup.h"
#include "geometry/Polylines.h"
#include "geometry/Clipping.h"
#include "map/CurrentMap.h"
#include "map/MapOptions.h"

#include <algorithm>
#include <cmath>

namespace geo {

namespace {

RegionState& regions()
{
    return libraryState().regions;
}

std::int32_t fetch(std::int32_t lineId, float* points, std::int32_t capacity)
{
    return readLineById(kGeoPoints, "GEOLIW", lineId, points, capacity);
}

// The line cut to the request window unless it lies in it; 0 when no point stays in it.
std::int32_t fitToWindow(const Window& w, float* points, std::int32_t capacity, std::int32_t n)
{
    if (windowInWindow(boundingWindow(points, n), w))
        return n;
    n = cutOutlineToWindow(1, w, points, capacity, n);
    return GEOPIWF(1, points, std::int16_t(n), w) > 0 ? n : 0;
}

// Mode 0: the next qualifying line of the index file.
RequestLine nextIndexLine(const LineRequest& q, LineWalk& walk, float* points, std::int32_t capacity)
{
    for (IndexEntry e; nextMapLine(e);) {
        if ((!q.countries.empty() && !contains(q.countries, e.owner)) || !windowsOverlap(entryWindow(e), q.window))
            continue;
        if (std::string_view("ICLR").find(e.kind) == std::string_view::npos) {
            if (contains(walk.handedOut, e.id))
                continue;
            if (std::int32_t(walk.handedOut.size()) >= kMaxHandedOutLines)
                fatalLimit("GEOLIW", "LSTLOK", kMaxHandedOutLines);
            walk.handedOut.push_back(e.id);
        }
        std::int32_t n = fetch(e.id, points, capacity);
        if (e.kind == 'X' && !optionOn(Option::KindXLines))
            continue;
        if (q.distanceKm > kLeastThinningKm) {
            if (n > kLineBufferPoints)
                fatalBlockLimit("GEOLIW", "MAXWRK", kLineBufferPoints, "GEOQ91");
            std::vector<float> thin(2 * std::size_t(n));
            const std::int32_t m = thinLine(q.distanceKm, kThinnedLeastPoints, points, n, thin.data());
            if (m < n) {
                std::copy_n(thin.begin(), 2 * m, points);
                n = m;
            }
        }
        if ((n = fitToWindow(q.window, points, capacity, n)) > 0)
            return {e.id, n, e.kind, false};
    }
    walk.handedOut.clear();
    return {0, 0, ' ', true};
}

// Mode 1: the next line of the fixed list that reaches the window, densified.
RequestLine nextFixedLine(LineRequest& q, float* points, std::int32_t capacity)
{
    while (q.workCount < std::int16_t(q.fixedLines.size())) {
        const std::int32_t id = q.fixedLines[std::size_t(q.workCount++)];
        std::int32_t n = fetch(id, points, capacity);
        if (!windowsOverlap(boundingWindow(points, n), q.window) || (n = fitToWindow(q.window, points, capacity, n)) == 0)
            continue;
        densify(0, kRegionStepKm, capacity, points, n);
        return {id, n, ' ', false};
    }
    q.workCount = 0;
    return {0, 0, ' ', true};
}

}  // namespace

void GEODWD(const Window& w, float distKm, const std::vector<std::string>& codes)
{
    RegionState& s = regions();
    openIndex();
    LineRequest& q = s.lineRequest;
    q = LineRequest{};
    q.window = w;
    s.lineRequestArmed = true;
    if (std::fabs(double(w.east) - double(w.west)) < double(kRadPerSecond)) {
        q.window.west = -kPi;
        q.window.east = kPi;
    }
    q.distanceKm = std::fabs(distKm);
    for (const std::string& given : codes) {
        const std::string code = given == "   " ? "---" : given;
        if (contains(q.countries, code))
            continue;
        if (std::int32_t(q.countries.size()) >= kMaxWindowCountries)
            fatalBlockLimit("GEODWD", "MXCTYW", kMaxWindowCountries, "GEOQ31");
        q.countries.push_back(code);
    }
    if (!q.countries.empty() && q.countries.front() == "R13") {
        q.fixedFlag = 1;
        q.fixedLines.assign(fixedLineList().begin(), fixedLineList().end());
    }
    // A new request starts a new walk from the rewound index file.
    s.lineWalk.started = true;
    s.lineWalk.handedOut.clear();
}

RequestLine GEOLIW(std::int16_t unitCode, float* points, std::int32_t capacity)
{
    RegionState& s = regions();
    if (!s.lineWalk.started) {
        s.lineWalk.started = true;
        openIndex();
    }
    const RequestLine r = s.lineRequest.fixedFlag == 1 ? nextFixedLine(s.lineRequest, points, capacity)
                                                       : nextIndexLine(s.lineRequest, s.lineWalk, points, capacity);
    convertUnits(unitCode, points, std::int16_t(r.count));
    return r;
}

}  // namespace geo
