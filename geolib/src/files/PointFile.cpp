#include "PointFile.h"

#include "core/Constants.h"
#include "core/Fatal.h"
#include "state/LibraryState.h"
#include "core/Settings.h"
#include "core/Utilities.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace geo {
namespace {

constexpr std::size_t kRecordBytes = 64;
constexpr std::size_t kPointBytes = 8;
// No coordinate of a line, nor a value coded into one, reaches two turns: a value beyond it, or
// one that is not finite, is a damaged file.
constexpr double kLargestValue = 2 * double(kTwoPi);

[[noreturn]] void readFailure(const PointFormat& f)
{
    fatalMessage(f.routine, " ERROR WHILE READING FROM DISK");
}

void readHeader(const PointFormat& f, PointFileState& s)
{
    const std::size_t slots = std::size_t(f.slots);
    const std::size_t size = (f.slotsStored ? 8 : 4) + slots * (4 + 2 + f.blockRecordBytes);
    std::vector<unsigned char> bytes;
    if (!s.file.readRecords(1, kRecordBytes, size, bytes))
        readFailure(f);
    ByteReader in(bytes);
    if (f.slotsStored) {
        if (in.int32() != f.slots)
            fatalMessage(f.routine, " Data file and read routine do not match");
        s.blockCount = in.int32();
    }
    for (std::size_t b = 0; b < slots; ++b)
        s.firstIds[b] = in.int32();
    for (std::size_t b = 0; b < slots; ++b)
        s.entryCounts[b] = in.int16();
    for (std::size_t b = 0; b < slots; ++b)
        s.blockRecords[b] = f.blockRecordBytes == 2 ? in.int16() : in.int32();
    if (!f.slotsStored)
        s.blockCount = in.int32();
    // Counts beyond the arrays would send every later read out of bounds.
    if (s.blockCount < 1 || s.blockCount > f.slots)
        readFailure(f);
    for (std::size_t b = 0; b < std::size_t(s.blockCount); ++b)
        if (s.entryCounts[b] < 0 || s.entryCounts[b] > kMaxBlockEntries)
            readFailure(f);
}

void loadBlock(const PointFormat& f, PointFileState& s, std::int32_t block)
{
    const std::size_t n = kMaxBlockEntries;
    std::vector<unsigned char> bytes;
    if (!s.file.readRecords(s.blockRecords[std::size_t(block - 1)], kRecordBytes, n * (4 + 2 + f.pointRecordBytes),
                            bytes))
        readFailure(f);
    ByteReader in(bytes);
    for (std::size_t i = 0; i < n; ++i)
        s.lineIds[i] = in.int32();
    for (std::size_t i = 0; i < n; ++i)
        s.pointCounts[i] = in.int16();
    for (std::size_t i = 0; i < n; ++i)
        s.pointRecords[i] = std::int64_t(f.pointRecordBytes == 2 ? in.int16() : in.int32()) + f.pointRecordBias;
    s.currentBlock = block;
    ++s.blocksLoaded;
}

void openFile(const PointFormat& f, PointFileState& s)
{
    if (!s.file.open(locateFile(f.fileCode)))
        readFailure(f);
    readHeader(f, s);
    s.headerLoaded = true;
    loadBlock(f, s, 1);
    s.position = 0;
}

std::int32_t entries(const PointFileState& s)
{
    return s.entryCounts[std::size_t(s.currentBlock - 1)];
}

std::int32_t idAt(const PointFileState& s, std::int32_t position)
{
    return s.lineIds[std::size_t(position - 1)];
}

// Places the position on line k of its block; false when k is missing. A missing k leaves
// the position just below the place where k would stand, so that the next line is the first
// above k.
bool findLine(const PointFormat& f, PointFileState& s, std::int32_t k)
{
    std::int32_t block = 1;
    for (std::int32_t b = s.blockCount; b >= 1; --b) {
        if (s.firstIds[std::size_t(b - 1)] <= k) {
            block = b;
            break;
        }
    }
    if (block != s.currentBlock) {
        loadBlock(f, s, block);
        s.position = entries(s) / 2;
    }
    const std::int32_t n = entries(s);
    if (n < 1) {
        s.position = 0;
        return false;
    }
    if (s.position < 1)
        s.position = 1;
    if (s.position > n || idAt(s, s.position) > k)
        s.position = 1;
    while (s.position < n && idAt(s, s.position) < k)
        ++s.position;
    if (idAt(s, s.position) == k)
        return true;
    if (idAt(s, s.position) > k)
        --s.position;
    return false;
}

// Moves to the next line; true when it is the last line of the file. The test follows the move
// into the next block, so that a last block of one line delivers that line once.
bool nextLine(const PointFormat& f, PointFileState& s)
{
    ++s.position;
    if (s.currentBlock < s.blockCount && s.position > entries(s)) {
        loadBlock(f, s, s.currentBlock + 1);
        s.position = 1;
    }
    if (s.currentBlock >= s.blockCount && s.position >= entries(s)) {
        s.position = std::max(entries(s), 1);
        return true;
    }
    return false;
}

}  // namespace

PointFileState& pointFileState(const PointFormat& format)
{
    LibraryState& state = libraryState();
    if (format.fileCode == kGeoPoints2.fileCode)
        return state.geoPoints2;
    if (format.fileCode == kLocalPoints.fileCode)
        return state.localPoints;
    return state.geoPoints;
}

LineFetch readLine(const PointFormat& f, std::int32_t mode, float* points, std::int32_t capacity, std::int32_t lineId)
{
    PointFileState& s = pointFileState(f);
    if (mode != std::int32_t(FetchMode::ById) && mode != std::int32_t(FetchMode::Next))
        fatalMessage(f.routine, " THE VARIABEL  IVAL=" + rightAligned(mode, 2) + "   MUST BE 1 OR 2");
    if (!s.headerLoaded)
        openFile(f, s);

    LineFetch result;
    if (mode == std::int32_t(FetchMode::ById)) {
        result.lineId = lineId;
        if (!findLine(f, s, lineId))
            return result;
        result.flag = true;
    } else {
        result.flag = nextLine(f, s);
        if (s.position < 1 || s.position > entries(s))
            readFailure(f);  // a block without entries
        result.lineId = idAt(s, s.position);
    }

    const std::size_t at = std::size_t(s.position - 1);
    const std::int32_t n = s.pointCounts[at];
    result.count = n;
    if (n > capacity)
        fatalMessage(f.routine, " INCREASE DIMENSION FOR  CRDARR  IN CALLING ROUTINE");
    if (n < 0)
        readFailure(f);
    std::vector<unsigned char> bytes;
    if (!s.file.readRecords(s.pointRecords[at], kRecordBytes, std::size_t(n) * kPointBytes, bytes))
        readFailure(f);
    ByteReader in(bytes);
    for (std::int32_t i = 0; i < 2 * n; ++i) {
        points[i] = in.real32();
        if (!(std::fabs(double(points[i])) <= kLargestValue))
            readFailure(f);
    }
    if (f.maxLineId > 0 && result.lineId > f.maxLineId)
        fatalMessage(f.routine, " Line id" + rightAligned(result.lineId, 8) + " out of range (1-32700 ). Re-link!");
    return result;
}

std::int32_t readLineById(const PointFormat& format, std::string_view routine, std::int32_t lineId, float* points,
                          std::int32_t capacity)
{
    const LineFetch f = readLine(format, std::int32_t(FetchMode::ById), points, capacity, lineId);
    if (!f.flag)
        fatalMissingLine(routine, lineId);
    return f.count;
}

}  // namespace geo

namespace geo {

std::int32_t dataVersion()
{
    if (locateFile("XP").empty())
        return -1;
    std::vector<float> points(2 * std::size_t(kLineBufferPoints));
    const LineFetch f = readLine(kGeoPoints, std::int32_t(FetchMode::ById), points.data(), kLineBufferPoints, 1);
    if (!f.flag || f.count < 2)
        return 0;
    std::int32_t version = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::int32_t v = roundHalfAway(double(points[i]) * 1e6);
        if (v < 0 || v > 99)
            return 0;
        version = version * 100 + v;
    }
    return version;
}

}  // namespace geo
