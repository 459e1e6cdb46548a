#pragma once

#include "files/BinaryFile.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The index files "GEOIDX1.BIN" and "LCLIDX1.BIN": entries of 47 bytes, one after another.
namespace geo {

using EntryWindow = std::array<float, 4>;  // west, south, east, north

struct IndexEntry {
    std::string owner;  // 3 characters
    char kind = ' ';
    std::int32_t id = 0;
    std::int16_t firstNumber = 0;
    std::int32_t secondNumber = 0;
    char flag = ' ';
    std::array<unsigned char, 16> data{};
    EntryWindow window{};
};

inline constexpr std::int32_t kFirstMapLineId = 1000000;
inline constexpr std::int32_t kFirstCoordinationId = 4000;
inline constexpr std::int32_t kLastCoordinationId = 9999;

// "GEOIDX1.BIN": its own handle, whatever unit number the caller chose; WDBUNIT marks it closed.
struct IndexFileState {
    BinaryFile file;
    bool open = false;
    void reset();
};

struct AreaEntry {
    std::int32_t id = 0;
    std::string text;  // 6 characters: the owner and entry-data bytes 8 to 10
    char attribute = ' ';
    std::int16_t firstNumber = 0;
    std::array<unsigned char, 8> bytes{};
    EntryWindow window{};
};

struct CoordinationEntry {
    std::int32_t id = 0;
    std::int32_t value1 = 0, value2 = 0;  // entry-data items 3 and 4, rounded: 0 to 65535
    std::int16_t firstNumber = 0;
    std::array<unsigned char, 8> bytes{};
    EntryWindow window{};
};

/// GEOIXOPN: opens the index file on first use and rewinds it.
void openIndex();
/// GEOIXNXT: the next map line; false (status -1, the file rewound) at the end of the file or
/// of the map lines.
bool nextMapLine(IndexEntry& entry);
/// GEOIXAR: the next area entry (id below 4000); false at the end.
bool nextAreaEntry(AreaEntry& entry);
/// GEOIXCD: the next coordination entry (ids 4000 to 9999); false at the end. A value that
/// does not round into 0 to 65535 ends the process with the read failure report.
bool nextCoordinationEntry(CoordinationEntry& entry);

// The local region index, loaded once from "LCLIDX1.BIN".
inline constexpr std::int32_t kMaxLocalAreas = 372;  // MXALTBQ
inline constexpr std::int32_t kMaxLocalLines = 368;  // MXALIDQ

struct LocalAreaIndex {
    bool loaded = false;
    std::vector<std::int16_t> areaLines;
    std::vector<std::string> areaIds;  // 12 characters
    std::vector<char> areaAttributes;
    std::vector<std::int16_t> lineIds;
    std::vector<EntryWindow> lineWindows;
};

/// LCLRGIN: loads the local region index once per process.
void loadLocalIndex();

struct AreaLookup {
    std::string owner;  // 3 characters; blank when not found
    std::int32_t lineId = 0;
    std::int32_t index = 0;  // position in the distinct-line list, from 1; 0 when not found
};

/// The look-up of LCLUNP1 and LCLUNP2: the first table entry with the 12-character id gives
/// the owner, its line and that line's position (from 1) in the distinct lines; a line that
/// list lacks is a fatal error of `routine`.
AreaLookup findArea(std::string_view routine, std::string_view areaId, const std::vector<std::string>& tableIds,
                    const std::vector<std::int16_t>& tableLines, const std::vector<std::int16_t>& lineIds);
/// LCLUNP2: looks up a 12-character area id in the local region index.
AreaLookup findLocalArea(std::string_view areaId);

}  // namespace geo
