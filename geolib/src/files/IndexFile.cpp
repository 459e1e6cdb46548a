#include "IndexFile.h"

#include "core/Fatal.h"
#include "state/LibraryState.h"
#include "core/Settings.h"
#include "core/Utilities.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace geo {
namespace {

constexpr std::size_t kEntryBytes = 47;
constexpr std::int32_t kMostCoordinationValue = 65535;

[[noreturn]] void readFailure(std::string_view routine)
{
    fatalMessage(routine, " ERROR WHILE READING FROM DISK");
}

// Reads the next whole entry; a short piece at the end counts as the end of the file.
bool readEntry(BinaryFile& file, IndexEntry& e)
{
    std::vector<unsigned char> bytes;
    if (!file.readNext(kEntryBytes, bytes))
        return false;
    ByteReader in(bytes);
    e.owner = in.text(3);
    e.kind = in.text(1)[0];
    e.id = in.int32();
    e.firstNumber = in.int16();
    e.secondNumber = in.int32();
    e.flag = in.text(1)[0];
    std::copy_n(bytes.begin() + 15, 16, e.data.begin());
    in.skip(16);
    for (float& edge : e.window)
        edge = in.real32();
    return true;
}

IndexFileState& openedIndex()
{
    IndexFileState& s = libraryState().indexFile;
    if (!s.open) {
        if (!s.file.open(locateFile("I")))
            readFailure("GEOIXOPN");
        s.open = true;
    }
    return s;
}

// The next entry of "GEOIDX1.BIN" that `wanted` accepts; false at the end, the file rewound.
template <typename Wanted>
bool nextEntry(IndexEntry& e, Wanted wanted)
{
    IndexFileState& s = openedIndex();
    while (readEntry(s.file, e)) {
        if (wanted(e))
            return true;
    }
    s.file.rewind();
    return false;
}

float dataReal(const IndexEntry& e, std::size_t item)
{
    std::vector<unsigned char> bytes(e.data.begin(), e.data.end());
    ByteReader in(bytes, 4 * (item - 1));
    return in.real32();
}

// Items 3 and 4 of a coordination entry, rounded, lie in 0 to 65535: any other value (NaN too)
// is a damaged file.
std::int32_t coordinationValue(const IndexEntry& e, std::size_t item)
{
    const double value = dataReal(e, item);
    const std::int32_t rounded = roundHalfAway(value);
    if (std::isnan(value) || rounded < 0 || rounded > kMostCoordinationValue)
        readFailure("GEOIXCD");
    return rounded;
}

}  // namespace

void IndexFileState::reset()
{
    file.close();
    open = false;
}

void openIndex()
{
    openedIndex().file.rewind();
}

bool nextMapLine(IndexEntry& entry)
{
    IndexEntry e;
    if (!nextEntry(e, [](const IndexEntry&) { return true; }))
        return false;
    if (e.id < kFirstMapLineId) {
        libraryState().indexFile.file.rewind();
        return false;
    }
    entry = e;
    return true;
}

bool nextAreaEntry(AreaEntry& out)
{
    IndexEntry e;
    if (!nextEntry(e, [](const IndexEntry& x) { return x.id < kFirstCoordinationId; }))
        return false;
    out.id = e.id;
    out.text = e.owner + std::string(e.data.begin() + 8, e.data.begin() + 11);
    out.attribute = char(e.data[12]);
    out.firstNumber = e.firstNumber;
    std::copy_n(e.data.begin(), 8, out.bytes.begin());
    out.window = e.window;
    return true;
}

bool nextCoordinationEntry(CoordinationEntry& out)
{
    IndexEntry e;
    if (!nextEntry(e, [](const IndexEntry& x) { return x.id >= kFirstCoordinationId && x.id <= kLastCoordinationId; }))
        return false;
    out.id = e.id;
    out.value1 = coordinationValue(e, 3);
    out.value2 = coordinationValue(e, 4);
    out.firstNumber = e.firstNumber;
    std::copy_n(e.data.begin(), 8, out.bytes.begin());
    out.window = e.window;
    return true;
}

void loadLocalIndex()
{
    LocalAreaIndex& t = libraryState().localIndex;
    if (t.loaded)
        return;
    t = LocalAreaIndex{};
    BinaryFile file;  // its own handle, closed after loading
    if (!file.open(locateFile("LI")))
        readFailure("LCLRGIN");
    for (IndexEntry e; readEntry(file, e);) {
        if (e.kind != 'A')
            continue;
        if (e.id > kMaxLocalLineId)
            fatalMessage("LCLRGIN", " Line id" + rightAligned(e.id, 8) + " out of range (1-32700 ). Re-link!");
        if (std::int32_t(t.areaLines.size()) >= kMaxLocalAreas)
            fatalBlockLimit("LCLRGIN", "MXALTBQ", kMaxLocalAreas, "GEOQ28");
        const auto line = std::int16_t(e.id);
        t.areaLines.push_back(line);
        t.areaIds.push_back(e.owner + std::string(e.data.begin(), e.data.begin() + 9));
        t.areaAttributes.push_back(char(e.data[12]));
        if (std::find(t.lineIds.begin(), t.lineIds.end(), line) != t.lineIds.end())
            continue;
        if (std::int32_t(t.lineIds.size()) >= kMaxLocalLines)
            fatalBlockLimit("LCLRGIN", "MXALIDQ", kMaxLocalLines, "GEOQ28");
        t.lineIds.push_back(line);
        t.lineWindows.push_back(e.window);
    }
    t.loaded = true;
}

AreaLookup findArea(std::string_view routine, std::string_view areaId, const std::vector<std::string>& tableIds,
                    const std::vector<std::int16_t>& tableLines, const std::vector<std::int16_t>& lineIds)
{
    AreaLookup r;
    const auto area = std::find(tableIds.begin(), tableIds.end(), areaId);
    if (area == tableIds.end())
        return r;
    const std::size_t i = std::size_t(area - tableIds.begin());
    r.owner = areaId.substr(0, 3);
    r.lineId = tableLines[i];
    if (i < lineIds.size() && lineIds[i] == r.lineId) {
        r.index = std::int32_t(i + 1);
        return r;
    }
    const auto line = std::find(lineIds.begin(), lineIds.end(), tableLines[i]);
    if (line == lineIds.end())
        fatalNoAllotment(routine, areaId);
    r.index = std::int32_t(line - lineIds.begin() + 1);
    return r;
}

AreaLookup findLocalArea(std::string_view areaId)
{
    const LocalAreaIndex& t = libraryState().localIndex;
    return findArea("LCLUNP2", areaId, t.areaIds, t.areaLines, t.lineIds);
}

}  // namespace geo
