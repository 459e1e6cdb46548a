#pragma once

#include "NoticeRecord.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

// Every field of a notice once: the key of the NOTICE section that fills it, how it is read,
// and the table and column that store it.
namespace notice {

enum class ValueKind {
    Text,        // stored by the duplicate rule
    Date,        // as Text; written in ISO form
    Longitude,   // sign and DDDMM[SS], cut into four parts
    Latitude,    // sign and DDMM[SS], cut into four parts
    Time,        // HH:MM held as HHMM
    NoticeType,  // also sets the station class
    Remarks,     // repeated lines joined with ";"
    IntRemarks,  // a later line replaces an earlier one
    CoordSelf,   // starts as "FALSE", so duplicates are told by the line, not the field
    ContourId,   // allotment slot, or the contour's id in a DA1 notice
    NbTestPts,   // sizes the contour's point list
    Count,       // a whole number, stored by the duplicate rule
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

// Where a field is stored.
enum class Table { None, Terra, Target, Elements };

// How a stored value comes back: as stored, trimmed, or trimmed and upper-cased. The number
// parts of a coordinate are zero-padded to their width; `form` is that of its hemisphere.
enum class ReadForm { AsStored, Trim, Upper };

// When the writer writes a field, in the table's order.
enum class Written {
    Never,
    Lead,          // before the notice's number
    Always,
    Target,        // with a target
    Position,      // frequency and site of the notice types that carry them
    OpAgency,      // of a notice notified under the Radio Regulations
    OpPeriod,      // and its operating period, when given
    Digital,       // with a digital part
    AllotmentIds,  // the allotment's sub-area slots, in the digital part
};

using TextField = std::string& (*)(NoticeRecord&);
// Degrees, minutes, seconds, hemisphere.
using CoordFields = std::array<std::string*, 4> (*)(NoticeRecord&);

struct NoticeField {
    std::string_view key;  // lower case where the file's key starts with "t"; "" for none
    ValueKind kind;
    bool upper;
    unsigned flags;
    TextField field;    // text kinds
    CoordFields coord;  // coordinate kinds
    Table table;
    std::array<const char*, 4> columns;  // one, or a coordinate's four parts as `coord` orders them
    ReadForm form;
    Written written;
};

/// Every field, with or without a key of the NOTICE section.
std::span<const NoticeField> noticeFields();

/// A field, or one part of a coordinate field.
std::string& fieldOf(const NoticeField& f, NoticeRecord& rec, int part = 0);
/// The value of a field, or of one part of a coordinate field.
const std::string& valueOf(const NoticeField& f, const NoticeRecord& rec, int part = 0);

/// The field whose key equals `key` without regard to case, or nullptr.
const NoticeField* findNoticeKey(std::string_view key);

/// How many parts a field has: four for a coordinate, else one.
int partCount(const NoticeField& f);
/// The digits a coordinate's number part is zero-padded to: 3 for the degrees of a longitude,
/// 2 for the other numbers; 0 for a hemisphere and for any other field.
int padWidth(const NoticeField& f, int part);

// A field of the target and the notice's own field that it identifies: a suppression or a
// withdrawal takes its own reference, frequency and site from its target.
struct TargetField {
    const NoticeField& target;
    const NoticeField& own;
};
std::span<const TargetField> targetFields();

/// Sets the flags that `bits` names.
void setFlags(NoticeRecord& rec, unsigned bits);

}  // namespace notice
