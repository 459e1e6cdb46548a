#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace db { class Connection; }
namespace platform { class Report; }

// Look-ups over the stored notices. They run inside the caller's transaction, if any, and
// report nothing themselves: a failure comes back as Lookup::Failed with the connection's error.
namespace database {

// NotChecked: the values given cannot be compared, so nothing was looked up.
enum class Lookup { NotFound, Found, Failed, NotChecked };

/// A stored notice with the same frequency, site coordinates and administration; the lowest
/// key wins. NotChecked when the frequency, degrees, minutes or seconds are not numbers (empty
/// seconds count as 0).
Lookup findSameFreqCoordAdm(const std::string& freq, const std::string& longDeg, const std::string& longMin,
                            const std::string& longSec, const std::string& longEW, const std::string& latDeg,
                            const std::string& latMin, const std::string& latSec, const std::string& latNS,
                            const std::string& adm, std::int32_t& key, db::Connection& conn);

/// A stored notice with the same administration reference and administration; the lowest key wins.
Lookup findSameAdmRefId(const std::string& admRefId, const std::string& adm, std::int32_t& key,
                        db::Connection& conn);

/// The notice key handed out last (the stored next key minus one).
Lookup getLastTerraKey(db::Connection& conn, std::int32_t& key);

/// The stored contour of that id, country and administration (Null and "" alike). Found when
/// exactly one matches: its key, whether it has points, and for one with points the question
/// whether to overwrite it. Several matches are shown as a problem and set `abort`.
Lookup findContour(std::int16_t contourId, const std::string& ctry, const std::string& adm,
                   std::int32_t& contourKey, bool& abort, std::string& question, db::Connection& conn,
                   bool& hasPoints, std::int16_t newNbTestPts, platform::Report& report);

/// Whether the contour has stored test points.
Lookup contourHasPoints(std::int32_t contourKey, db::Connection& conn);

/// The notice type exactly as stored; false when the notice is missing or its type Null.
[[nodiscard]] bool getNoticeType(std::int32_t terrakey, db::Connection& conn, std::string& type);

/// A text as a number the way the look-ups read it: blanks around it allowed, a point as the
/// decimal separator; nothing when it is not a number.
std::optional<double> parseNumber(const std::string& text);
/// A text rounded to a 16-bit whole number (halves to even); nothing when it is not a number
/// or out of range.
std::optional<std::int16_t> parseInt16(const std::string& text);

/// The leading number of a text: blanks, a sign, digits and a decimal point are read up to the
/// first other character; no number gives 0.
double leadingNumber(const std::string& text);

/// The leading number of a text, as a 16-bit whole number (halves to even): blanks, a sign,
/// digits and a decimal point are read up to the first other character; no number gives 0.
/// Nothing when it is out of range.
std::optional<std::int16_t> leadingInt16(const std::string& text);

}  // namespace database
