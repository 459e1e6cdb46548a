#pragma once

#include "NoticeRecord.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

// The keys of a NOTICE section: the field each fills and how it is read.
namespace notice {

enum class ValueKind {
    Text,        // stored by the duplicate rule
    Longitude,   // sign and DDDMM[SS], cut into four parts
    Latitude,    // sign and DDMM[SS], cut into four parts
    Time,        // HH:MM held as HHMM
    NoticeType,  // also sets the station class
    Remarks,     // repeated lines joined with ";"
    IntRemarks,  // a later line replaces an earlier one
    CoordSelf,   // starts as "FALSE", so duplicates are told by the line, not the field
    ContourId,   // allotment slot, or the contour's id in a DA1 notice
    NbTestPts,   // sizes the contour's point list
};

// Parts of the record a key marks as holding data.
enum FlagBits : unsigned {
    kFlagTarget = 1u << 0,
    kFlagOpPeriod = 1u << 1,
    kFlagZel = 1u << 2,
    kFlagConv = 1u << 3,
    kFlagConvCoord = 1u << 4,
    kFlagAllotment = 1u << 5,
    kFlagContour = 1u << 6,
};

using TextField = std::string& (*)(NoticeRecord&);
// Degrees, minutes, seconds, hemisphere.
using CoordFields = std::array<std::string*, 4> (*)(NoticeRecord&);

struct NoticeKey {
    std::string_view key;  // lower case where the file's key starts with "t"
    ValueKind kind;
    bool upper;
    unsigned flags;
    TextField field;    // text kinds
    CoordFields coord;  // coordinate kinds
};

/// Every key of the NOTICE section.
std::span<const NoticeKey> noticeKeys();

/// The key whose name equals `key` without regard to case, or nullptr.
const NoticeKey* findNoticeKey(const std::string& key);

/// Sets the flags that `bits` names.
void setFlags(NoticeRecord& rec, unsigned bits);

}  // namespace notice
