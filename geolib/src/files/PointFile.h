#pragma once

#include "files/BinaryFile.h"

#include <array>
#include <cstdint>
#include <string_view>

// The three point files: a header of index blocks, blocks of up to 500 line entries (id, point
// count, point record) and the points of each line in 64-byte records.
namespace geo {

inline constexpr std::int32_t kMaxBlockEntries = 500;
inline constexpr std::int32_t kLineBufferPoints = 7001;  // the library's own line buffer
inline constexpr std::int32_t kMaxLocalLineId = 32700;

struct PointFormat {
    std::string_view fileCode;      // for the file search
    std::string_view routine;       // named in its fatal reports
    std::int32_t slots;             // index blocks the header holds
    bool slotsStored;               // the header starts with the slot count
    std::size_t blockRecordBytes;   // block records in the header
    std::size_t pointRecordBytes;   // point records in a block
    std::int32_t pointRecordBias;   // added to a stored point record
    std::int32_t maxLineId;         // 0: no limit
};

inline constexpr PointFormat kGeoPoints{"P", "GEODAR", 15, false, 2, 2, 32768, 0};
inline constexpr PointFormat kGeoPoints2{"P2", "GEODAR2", 30, true, 4, 4, 0, 0};
inline constexpr PointFormat kLocalPoints{"LP", "LCLDAR", 15, false, 2, 2, 32768, kMaxLocalLineId};

// One point file's reader state: header in memory, one block cached, one position that both
// modes move.
struct PointFileState {
    BinaryFile file;
    bool headerLoaded = false;
    std::int32_t blockCount = 0;
    std::array<std::int32_t, 30> firstIds{};
    std::array<std::int32_t, 30> entryCounts{};
    std::array<std::int32_t, 30> blockRecords{};
    std::int32_t currentBlock = 0;  // from 1
    std::int32_t position = 0;      // from 1; 0 before the first entry
    std::array<std::int32_t, kMaxBlockEntries> lineIds{};
    std::array<std::int32_t, kMaxBlockEntries> pointCounts{};
    std::array<std::int64_t, kMaxBlockEntries> pointRecords{};
    std::int64_t blocksLoaded = 0;  // block reads since the file was opened
};

enum class FetchMode : std::int32_t { ById = 1, Next = 2 };

struct LineFetch {
    bool flag = false;        // by id: found; next: the last line of the file
    std::int32_t lineId = 0;  // next: the line returned
    std::int32_t count = 0;   // points written (set when a line is delivered)
};

/// GEODAR, GEODAR2, LCLDAR: fetches a line in radians into `points` (capacity in points). By id
/// a missing line leaves count and points untouched. Every fault is fatal.
LineFetch readLine(const PointFormat& format, std::int32_t mode, float* points, std::int32_t capacity,
                   std::int32_t lineId);

/// Reads line `lineId` by id into `points` and returns its point count; a missing line is a
/// fatal error of `routine`.
std::int32_t readLineById(const PointFormat& format, std::string_view routine, std::int32_t lineId, float* points,
                          std::int32_t capacity);

/// The reader state of a format's file.
PointFileState& pointFileState(const PointFormat& format);

}  // namespace geo

namespace geo {

/// GEOCFD: the version coded in line 1 of "GEOPNT1.BIN"; -1 without the file, 0 without a valid
/// version.
std::int32_t dataVersion();

}  // namespace geo
