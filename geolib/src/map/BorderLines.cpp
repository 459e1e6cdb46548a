#include "BorderLines.h"

#include "coords/CoordText.h"
#include "core/Constants.h"
#include "core/Fatal.h"
#include "state/LibraryState.h"
#include "core/Utilities.h"
#include "files/IndexFile.h"
#include "files/PointFile.h"

#include <algorithm>

namespace geo {
namespace {

std::string upper(std::string_view code)
{
    std::string s(code);
    s.resize(3, ' ');
    upperCase437(s.data(), long(s.size()));
    return s;
}

// The lines of the pair's kind from the index: a border needs an entry under each country.
void buildList(BorderLineList& l)
{
    l.kind = l.country2 == "   " ? 'C' : l.country1 == l.country2 ? 'I' : 'B';
    std::vector<std::int32_t> lines, hits;
    openIndex();
    IndexEntry e;
    while (nextMapLine(e)) {
        if (e.kind != l.kind || (e.owner != l.country1 && e.owner != l.country2))
            continue;
        auto at = std::find(lines.begin(), lines.end(), e.id);
        if (at == lines.end()) {
            if (std::int32_t(lines.size()) >= kMaxHandedOutLines)
                fatalLimit("GEOBCI", "LSTLOK", kMaxHandedOutLines);
            lines.push_back(e.id);
            hits.push_back(0);
            at = lines.end() - 1;
        }
        hits[std::size_t(at - lines.begin())] += int(e.owner == l.country1) + int(e.owner == l.country2);
    }
    const std::int32_t needed = l.kind == 'B' ? 2 : 1;
    l.lines.clear();
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (hits[i] >= needed)
            l.lines.push_back(lines[i]);
    l.next = 0;
    l.built = true;
}

}  // namespace

BorderLine GEOBCI(std::int16_t unit, std::string_view country1, std::string_view country2, std::int32_t capacity,
                  float* points)
{
    BorderLineList& l = libraryState().borderLines;
    BorderLine r;
    const std::string c1 = upper(country1), c2 = upper(country2);
    if (c1 != l.country1 || c2 != l.country2) {
        l.country1 = c1;
        l.country2 = c2;
        l.built = false;
    }
    if (!l.built) {
        buildList(l);
        if (l.lines.empty())
            r.status = 1;
    }
    if (l.next >= l.lines.size()) {
        l.built = false;
        r.end = true;
        return r;
    }
    r.lineId = l.lines[l.next++];
    r.kind = l.kind;
    float* buffer = libraryState().map.lineBuffer.data();
    const std::int32_t n = readLineById(kGeoPoints, "GEOBCI", r.lineId, buffer, kLineBufferPoints);
    r.count = std::min(n, std::max(capacity, 0));
    if (n > r.count)
        r.status = 2;
    std::copy_n(buffer, 2 * r.count, points);
    convertUnits(unit, points, std::int16_t(r.count));
    return r;
}

}  // namespace geo
