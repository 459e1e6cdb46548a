#include "geolib/tools/MapFileBuilder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace mapfiles {
namespace {

constexpr std::size_t kRecord = 64;
constexpr std::size_t kBlockEntries = 500;
constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZ *+-?0123456789";

// Little-endian bytes, written field by field.
class Writer {
public:
    void i16(std::int32_t v) { bytes(std::uint32_t(v), 2); }
    void i32(std::int32_t v) { bytes(std::uint32_t(v), 4); }
    void r32(float v)
    {
        std::uint32_t u;
        std::memcpy(&u, &v, 4);
        bytes(u, 4);
    }
    void text(std::string_view t, std::size_t length)
    {
        std::string s(t.substr(0, std::min(t.size(), length)));
        s.resize(length, ' ');
        m_out += s;
    }
    void padTo(std::size_t size) { m_out.resize(std::max(m_out.size(), size), '\0'); }
    std::size_t size() const { return m_out.size(); }
    std::string& str() { return m_out; }

private:
    void bytes(std::uint32_t v, int n)
    {
        for (int i = 0; i < n; ++i)
            m_out += char((v >> (8 * i)) & 0xff);
    }
    std::string m_out;
};

std::size_t recordsFor(std::size_t bytes)
{
    return (bytes + kRecord - 1) / kRecord;
}

Point point(float lon, float lat)
{
    return Point{lon, lat};
}

}  // namespace

std::string pointFile(PointLayout layout, const std::vector<std::vector<Line>>& blocks, const PointFileFaults& faults)
{
    const bool zones = layout == PointLayout::Zones;
    const std::size_t slots = zones ? 30 : 15;
    const std::size_t recordBytes = zones ? 4 : 2;
    const std::size_t headerBytes = (zones ? 8 : 4) + slots * (4 + 2 + recordBytes);
    const std::size_t blockBytes = kBlockEntries * (4 + 2 + recordBytes);

    // Records: the header, the blocks, then the points of every line.
    std::vector<std::int64_t> blockRecords;
    std::int64_t next = 1 + std::int64_t(recordsFor(headerBytes));
    for (std::size_t b = 0; b < blocks.size(); ++b, next += std::int64_t(recordsFor(blockBytes)))
        blockRecords.push_back(next);
    std::vector<std::vector<std::int64_t>> pointRecords;
    for (const auto& block : blocks) {
        pointRecords.emplace_back();
        for (const Line& line : block) {
            pointRecords.back().push_back(next);
            next += std::int64_t(recordsFor(line.points.size() * 8));
        }
    }
    const auto blockRecord = [&](std::size_t b) {
        return faults.blockRecord && std::size_t(faults.blockRecord->first) == b + 1 ? faults.blockRecord->second
                                                                                     : std::int32_t(blockRecords[b]);
    };
    const auto entryCount = [&](std::size_t b) {
        if (faults.entryCount && std::size_t(faults.entryCount->first) == b + 1)
            return faults.entryCount->second;
        return b < blocks.size() ? std::int32_t(blocks[b].size()) : 0;
    };

    Writer w;
    const std::int32_t blockCount = faults.blockCount.value_or(std::int32_t(blocks.size()));
    if (zones) {
        w.i32(faults.slots.value_or(30));
        w.i32(blockCount);
    }
    for (std::size_t b = 0; b < slots; ++b)
        w.i32(b < blocks.size() && !blocks[b].empty() ? blocks[b].front().id : 0);
    for (std::size_t b = 0; b < slots; ++b)
        w.i16(entryCount(b));
    for (std::size_t b = 0; b < slots; ++b) {
        const std::int32_t r = b < blocks.size() ? blockRecord(b) : 0;
        zones ? w.i32(r) : w.i16(r);
    }
    if (!zones)
        w.i32(blockCount);

    for (std::size_t b = 0; b < blocks.size(); ++b) {
        w.padTo(std::size_t(blockRecords[b] - 1) * kRecord);
        const auto& lines = blocks[b];
        for (std::size_t i = 0; i < kBlockEntries; ++i)
            w.i32(i < lines.size() ? lines[i].id : 0);
        for (std::size_t i = 0; i < kBlockEntries; ++i)
            w.i16(i < lines.size() ? std::int32_t(lines[i].points.size()) : 0);
        for (std::size_t i = 0; i < kBlockEntries; ++i) {
            std::int64_t r = i < lines.size() ? pointRecords[b][i] : 0;
            if (!zones)
                r -= 32768;
            const auto& f = faults.pointRecord;
            if (f && std::size_t(f->block) == b + 1 && std::size_t(f->entry) == i + 1)
                r = f->stored;
            zones ? w.i32(std::int32_t(r)) : w.i16(std::int32_t(r));
        }
    }
    for (std::size_t b = 0; b < blocks.size(); ++b) {
        for (std::size_t i = 0; i < blocks[b].size(); ++i) {
            w.padTo(std::size_t(pointRecords[b][i] - 1) * kRecord);
            for (const Point& p : blocks[b][i].points) {
                w.r32(p.lon);
                w.r32(p.lat);
            }
        }
    }
    w.padTo(std::size_t(next - 1) * kRecord);
    std::string out = std::move(w.str());
    if (faults.length)
        out.resize(*faults.length);
    return out;
}

IndexEntry lineEntry(std::string_view owner, char kind, const Line& line)
{
    IndexEntry e;
    e.owner = std::string(owner.substr(0, 3)) + std::string(3 - std::min<std::size_t>(owner.size(), 3), ' ');
    e.kind = kind;
    e.id = line.id;
    e.secondNumber = line.id;
    e.flag = '1';
    if (line.points.empty())
        return e;
    e.window = {line.points[0].lon, line.points[0].lat, line.points[0].lon, line.points[0].lat};
    for (const Point& p : line.points) {
        e.window[0] = std::min(e.window[0], p.lon);
        e.window[1] = std::min(e.window[1], p.lat);
        e.window[2] = std::max(e.window[2], p.lon);
        e.window[3] = std::max(e.window[3], p.lat);
    }
    const Point& first = line.points.front();
    const Point& last = line.points.back();
    setDataReal(e, 1, first.lon);
    setDataReal(e, 2, first.lat);
    setDataReal(e, 3, last.lon);
    setDataReal(e, 4, last.lat);
    return e;
}

std::vector<IndexEntry> ringEntries(std::string_view owner, char kind, const std::vector<Line>& lines,
                                    const std::vector<bool>& reversed)
{
    std::vector<IndexEntry> ring;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        IndexEntry e = lineEntry(owner, kind, lines[i]);
        e.secondNumber = lines[(i + 1) % lines.size()].id;
        e.flag = i < reversed.size() && reversed[i] ? '0' : '1';
        ring.push_back(e);
    }
    return ring;
}

void setData(IndexEntry& entry, std::size_t offset, std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size() && offset + i < entry.data.size(); ++i)
        entry.data[offset + i] = static_cast<unsigned char>(bytes[i]);
}

void setDataReal(IndexEntry& entry, int item, float value)
{
    Writer w;
    w.r32(value);
    setData(entry, std::size_t(item - 1) * 4, w.str());
}

std::string indexFile(const std::vector<IndexEntry>& entries, std::optional<std::size_t> length)
{
    Writer w;
    for (const IndexEntry& e : entries) {
        w.text(e.owner, 3);
        w.text(std::string(1, e.kind), 1);
        w.i32(e.id);
        w.i16(e.firstNumber);
        w.i32(e.secondNumber);
        w.text(std::string(1, e.flag), 1);
        w.str().append(reinterpret_cast<const char*>(e.data.data()), e.data.size());
        for (const float edge : e.window)
            w.r32(edge);
    }
    std::string out = std::move(w.str());
    if (length)
        out.resize(*length);
    return out;
}

std::string countryFile(const std::vector<std::string>& codes, const std::function<CountryPair(int a, int b)>& pair,
                        std::int16_t version)
{
    constexpr std::size_t kCountryRecord = 18;
    const int n = int(codes.size());
    const std::size_t listRecords = (codes.size() * 4 + kCountryRecord - 1) / kCountryRecord;
    Writer w;
    w.i16(version);
    w.i16(n);
    w.i16(std::int32_t(1 + listRecords));
    w.padTo(kCountryRecord);
    for (const std::string& code : codes)
        w.text(code, 4);
    w.padTo(kCountryRecord * (1 + listRecords));
    for (int a = 1; a <= n; ++a) {
        for (int b = a + 1; b <= n; ++b) {
            const CountryPair p = pair(a, b);
            for (const float v : p.values)
                w.r32(v);
            w.i16(p.pairClass);
        }
    }
    return std::move(w.str());
}

float codeCoordinate(std::string_view code)
{
    std::int32_t v = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        const char c = i < code.size() ? code[i] : ' ';
        v = v * 100 + std::int32_t(kAlphabet.find(c) + 1);
    }
    return float(double(v) * 1e-7);
}

float wholeCoordinate(std::int32_t value)
{
    return float(double(value) * 1e-7);
}

std::vector<float> textCoordinates(std::string_view text)
{
    std::vector<float> out;
    for (std::size_t at = 0; at < text.size(); at += 3) {
        std::int32_t v = 0;
        for (std::size_t i = at; i < at + 3; ++i)
            v = v * 100 + (i < text.size() ? static_cast<unsigned char>(text[i]) : ' ') - 32;
        out.push_back(wholeCoordinate(v));
    }
    return out;
}

Line versionLine(std::int32_t version)
{
    const auto digits = [version](int place) { return float(double(version / place % 100) * 1e-6); };
    return Line{1, {point(digits(1000000), digits(10000)), point(digits(100), digits(1))}};
}

Line attributeLine(std::int32_t valuesPerCountry, const std::vector<CountryAttributes>& countries)
{
    Line line{2, {point(float(double(valuesPerCountry) * 1e-4), 0)}};
    for (const CountryAttributes& c : countries) {
        line.points.push_back(point(codeCoordinate(c.code), c.values[0]));
        line.points.push_back(point(c.values[1], c.values[2]));
    }
    return line;
}

Line codeLine(const std::vector<std::pair<std::string, std::string>>& pairs)
{
    Line line{3, {point(0, 0)}};
    for (const auto& [a, b] : pairs)
        line.points.push_back(point(codeCoordinate(a), codeCoordinate(b)));
    line.points.push_back(point(codeCoordinate("***"), codeCoordinate("***")));
    return line;
}

Line zoneHeaderLine(const std::vector<ZoneKind>& kinds)
{
    Line line{2, {}};
    for (const ZoneKind& k : kinds) {
        line.points.push_back(point(wholeCoordinate(k.firstIndexLine), wholeCoordinate(k.indexLineCount)));
        line.points.push_back(point(float(double(k.defaults[0]) * 1e-7), float(double(k.defaults[1]) * 1e-7)));
    }
    return line;
}

Line zoneIndexLine(std::int32_t id, const std::vector<ZoneIndexEntry>& entries)
{
    Line line{id, {}};
    for (const ZoneIndexEntry& e : entries) {
        line.points.push_back(point(wholeCoordinate(e.lineId), 0));
        line.points.push_back(point(float(double(e.values[0]) * 1e-7), float(double(e.values[1]) * 1e-7)));
        line.points.push_back(point(e.window[0], e.window[1]));
        line.points.push_back(point(e.window[2], e.window[3]));
    }
    return line;
}

Line directoryLine(const std::vector<std::pair<std::int32_t, std::int32_t>>& lists)
{
    Line line{3, {}};
    for (const auto& [first, count] : lists)
        line.points.push_back(point(wholeCoordinate(first), wholeCoordinate(count)));
    return line;
}

Line listLine(std::int32_t id, const std::vector<ListEntry>& entries)
{
    Line line{id, {}};
    for (const ListEntry& e : entries) {
        std::string name = e.name.substr(0, 18);
        name.resize(18, ' ');
        const std::vector<float> text = textCoordinates(name);
        line.points.push_back(point(wholeCoordinate(e.lineId), wholeCoordinate(e.pointCount)));
        for (std::size_t i = 0; i < text.size(); i += 2)
            line.points.push_back(point(text[i], text[i + 1]));
    }
    return line;
}

std::string settingsFile(std::string_view dataFolder, std::string_view localFolder)
{
    return "[TAVU]\r\nTAVU_DataFileDir=" + std::string(dataFolder) + "\r\nLocal_DataFileDir=" + std::string(localFolder) +
           "\r\n";
}

Line evenLine(std::int32_t id, Point from, Point to, int count)
{
    Line line{id, {}};
    for (int i = 0; i < count; ++i) {
        const double t = count > 1 ? double(i) / (count - 1) : 0.0;
        line.points.push_back({float(from.lon + t * (double(to.lon) - from.lon)),
                               float(from.lat + t * (double(to.lat) - from.lat))});
    }
    return line;
}

Line squareLine(std::int32_t id, Point centre, float halfSize, int perSide)
{
    const float w = centre.lon - halfSize, e = centre.lon + halfSize;
    const float s = centre.lat - halfSize, n = centre.lat + halfSize;
    const Point corners[5] = {{w, s}, {e, s}, {e, n}, {w, n}, {w, s}};
    Line line{id, {}};
    for (int side = 0; side < 4; ++side) {
        Line part = evenLine(id, corners[side], corners[side + 1], perSide + 1);
        line.points.insert(line.points.end(), part.points.begin(), part.points.end() - 1);
    }
    line.points.push_back(corners[0]);
    return line;
}

namespace {

constexpr double kRadPerDegree = 3.14159265358979323846 / 180;

std::vector<std::vector<Line>> sortedBlocks(std::vector<Line> lines)
{
    std::sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) { return a.id < b.id; });
    std::vector<std::vector<Line>> blocks;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i % kBlockEntries == 0)
            blocks.emplace_back();
        blocks.back().push_back(lines[i]);
    }
    return blocks;
}

}  // namespace

std::string mainPointFile(std::vector<Line> lines)
{
    return pointFile(PointLayout::Main, sortedBlocks(std::move(lines)));
}

std::vector<Line> tableLines(const std::vector<std::int32_t>& ids, const std::vector<Line>& probes, Point standIn)
{
    std::vector<Line> lines;
    for (std::int32_t id : ids) {
        const auto probe = std::find_if(probes.begin(), probes.end(), [id](const Line& l) { return l.id == id; });
        lines.push_back(probe != probes.end() ? *probe : Line{id, {standIn}});
    }
    return lines;
}

Line rainVersionLine(std::int32_t id, std::int32_t seconds)
{
    return Line{id, {point(0, float(double(seconds) * kRadPerDegree / 3600))}};
}

std::vector<Line> namedLists(std::int32_t firstListLine, const std::vector<std::vector<ListEntry>>& lists)
{
    constexpr std::size_t kEntriesPerLine = 250;
    std::vector<std::pair<std::int32_t, std::int32_t>> directory;
    std::vector<Line> lines;
    std::int32_t id = firstListLine;
    for (const auto& list : lists) {
        const std::int32_t first = id;
        for (std::size_t at = 0; at < list.size(); at += kEntriesPerLine) {
            const std::size_t end = std::min(list.size(), at + kEntriesPerLine);
            lines.push_back(listLine(id++, std::vector<ListEntry>(list.begin() + std::ptrdiff_t(at),
                                                                  list.begin() + std::ptrdiff_t(end))));
        }
        directory.emplace_back(first, id - first);
    }
    lines.insert(lines.begin(), directoryLine(directory));
    return lines;
}

std::string zonePointFile(std::vector<Line> lines)
{
    return pointFile(PointLayout::Zones, sortedBlocks(std::move(lines)));
}

MapData islandGrid(int count, int columns, Point southWest, float step, float halfSize, int perSide, int owners,
                   std::int32_t firstId)
{
    MapData map;
    for (int i = 0; i < count; ++i) {
        const Point centre{southWest.lon + step * float(i % columns), southWest.lat + step * float(i / columns)};
        map.lines.push_back(squareLine(firstId + i, centre, halfSize, perSide));
        const int owner = i % owners;
        const std::string symbol{'G', char('0' + owner / 10), char('0' + owner % 10)};
        map.entries.push_back(lineEntry(symbol, 'I', map.lines.back()));
    }
    return map;
}

namespace {

Point degrees(double lon, double lat)
{
    return {float(lon * kRadPerDegree), float(lat * kRadPerDegree)};
}

// A line through the corners (degrees), a point every tenth of a degree.
Line pathLine(std::int32_t id, const std::vector<std::pair<double, double>>& corners)
{
    Line line{id, {degrees(corners[0].first, corners[0].second)}};
    for (std::size_t i = 1; i < corners.size(); ++i) {
        const auto [lon0, lat0] = corners[i - 1];
        const auto [lon1, lat1] = corners[i];
        const int steps = std::max(1, int(std::lround(std::max(std::fabs(lon1 - lon0), std::fabs(lat1 - lat0)) * 10)));
        for (int k = 1; k <= steps; ++k) {
            const double t = double(k) / steps;
            line.points.push_back(degrees(lon0 + t * (lon1 - lon0), lat0 + t * (lat1 - lat0)));
        }
    }
    return line;
}

Line boxLine(std::int32_t id, double west, double south, double east, double north)
{
    return pathLine(id, {{west, south}, {east, south}, {east, north}, {west, north}, {west, south}});
}

}  // namespace

AreaDistanceMap areaDistanceMap()
{
    AreaDistanceMap m;
    const Line border = pathLine(1000001, {{10, 0}, {10, 10}});
    const Line westCoast = pathLine(1000002, {{10, 10}, {0, 10}, {0, 0}, {10, 0}});
    const Line eastCoast = pathLine(1000003, {{10, 0}, {20, 0}, {20, 10}, {10, 10}});
    const Line island = boxLine(1000004, 4, -6, 6, -4);
    m.global.lines = {border, westCoast, eastCoast, island};
    auto ring = [&](std::string_view owner, const std::vector<std::pair<Line, char>>& parts, const std::vector<bool>& reversed) {
        std::vector<Line> lines;
        for (const auto& p : parts)
            lines.push_back(p.first);
        auto entries = ringEntries(owner, ' ', lines, reversed);
        for (std::size_t i = 0; i < entries.size(); ++i)
            entries[i].kind = parts[i].second;
        m.global.entries.insert(m.global.entries.end(), entries.begin(), entries.end());
    };
    ring("AAA", {{border, 'B'}, {westCoast, 'C'}}, {false, false});
    ring("BBB", {{eastCoast, 'C'}, {border, 'B'}}, {false, true});
    ring("AAA", {{island, 'I'}}, {false});
    Line aaa = border;
    aaa.points.insert(aaa.points.end(), westCoast.points.begin() + 1, westCoast.points.end());
    Line bbb = eastCoast;
    bbb.points.insert(bbb.points.end(), border.points.rbegin() + 1, border.points.rend());
    m.countryOutlines = {aaa, bbb};

    const std::vector<Line> areas = {boxLine(101, 2, 4, 4, 6), boxLine(102, 14, 4, 16, 6),
                                     boxLine(103, 8.1, -1.9, 11.9, 3.1), boxLine(104, 16.5, 7, 17.5, 8)};
    m.symbols = {{"AAA001", "AAALOCAL0001"}, {"BBB001", "BBBLOCAL0001"}, {"AAA002", "AAALOCAL0002"},
                 {"AAA003", "AAALOCAL0003"}};
    for (std::size_t i = 0; i < areas.size(); ++i) {
        const auto& [symbol, localId] = m.symbols[i];
        m.global.lines.push_back(areas[i]);
        IndexEntry e = lineEntry(symbol.substr(0, 3), 'A', areas[i]);
        setData(e, 8, symbol.substr(3, 3));
        setData(e, 12, "M");
        m.global.entries.push_back(e);
        m.localLines.push_back(areas[i]);
        IndexEntry l = lineEntry(localId.substr(0, 3), 'A', areas[i]);
        setData(l, 0, localId.substr(3));
        setData(l, 12, "L");
        m.localEntries.push_back(l);
    }
    return m;
}

}  // namespace mapfiles
