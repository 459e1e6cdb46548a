#include "Lookups.h"

#include "database/sqlite/Connection.h"
#include "database/sqlite/Statement.h"
#include "notice/ErrorNumbers.h"
#include "notice/FieldUtils.h"
#include "platform/Report.h"

#include <charconv>
#include <cmath>

namespace database {
namespace {

// Runs a query of keys; Found with the first row's key when any row matches.
Lookup firstKey(db::Connection& conn, db::Statement& st, const char* column, std::int32_t& key)
{
    if (const db::Step step = st.step(); step != db::Step::Row)
        return step == db::Step::Failed ? Lookup::Failed : Lookup::NotFound;
    const auto value = st.integer(column);
    if (!value) {
        conn.fail(notice::kErrInvalidNull, std::string("Invalid use of Null in ") + column);
        return Lookup::Failed;
    }
    key = std::int32_t(*value);
    return Lookup::Found;
}

}  // namespace

std::optional<double> parseNumber(const std::string& text)
{
    std::string t = notice::trimValue(text);
    if (t.starts_with('+'))
        t.erase(0, 1);
    if (t.empty())
        return std::nullopt;
    double value = 0;
    const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), value, std::chars_format::fixed);
    if (ec != std::errc() || end != t.data() + t.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<std::int16_t> parseInt16(const std::string& text)
{
    const auto value = parseNumber(text);
    if (!value)
        return std::nullopt;
    const double rounded = std::nearbyint(*value);  // halves to even
    if (rounded < -32768 || rounded > 32767)
        return std::nullopt;
    return std::int16_t(rounded);
}

namespace {

// The leading numeric part of a text, as text ("" when there is none).
std::string leadingPart(const std::string& text)
{
    std::size_t i = text.find_first_not_of(' ');
    std::string number;
    if (i == std::string::npos)
        return number;
    if (text[i] == '+' || text[i] == '-')
        number += text[i++];
    bool point = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && !point)
            point = true;
        else if (c < '0' || c > '9')
            break;
        number += c;
    }
    return number;
}

}  // namespace

double leadingNumber(const std::string& text)
{
    return parseNumber(leadingPart(text)).value_or(0.0);
}

std::optional<std::int16_t> leadingInt16(const std::string& text)
{
    const std::string number = leadingPart(text);
    if (!parseNumber(number))
        return std::int16_t(0);
    return parseInt16(number);
}

Lookup findSameFreqCoordAdm(const std::string& freq, const std::string& longDeg, const std::string& longMin,
                            const std::string& longSec, const std::string& longEW, const std::string& latDeg,
                            const std::string& latMin, const std::string& latSec, const std::string& latNS,
                            const std::string& adm, std::int32_t& key, db::Connection& conn)
{
    const auto f = parseNumber(freq);
    const auto seconds = [](const std::string& s) {
        return notice::trimValue(s).empty() ? std::optional<std::int16_t>(0) : parseInt16(s);
    };
    const std::optional<std::int16_t> parts[] = {parseInt16(longDeg), parseInt16(longMin), seconds(longSec),
                                                 parseInt16(latDeg),  parseInt16(latMin),  seconds(latSec)};
    if (!f)
        return Lookup::NotChecked;
    for (const auto& p : parts)
        if (!p)
            return Lookup::NotChecked;
    // A notice stored without seconds has Null there.
    db::Statement st(conn,
                     "SELECT terrakey FROM fmtv_terra WHERE freq_assgn = CAST(? AS REAL) AND long_deg = ? AND long_min = ?"
                     " AND IFNULL(long_sec, 0) = ? AND long_ew = ? AND lat_deg = ? AND lat_min = ?"
                     " AND IFNULL(lat_sec, 0) = ? AND lat_ns = ? AND adm = ? ORDER BY terrakey LIMIT 1");
    // The text, so that SQLite turns it into the same number as it did the stored one.
    std::string freqText = notice::trimValue(freq);
    if (freqText.starts_with('+'))
        freqText.erase(0, 1);
    st.bind(1, freqText)
        .bind(2, std::int64_t(*parts[0]))
        .bind(3, std::int64_t(*parts[1]))
        .bind(4, std::int64_t(*parts[2]))
        .bind(5, longEW)
        .bind(6, std::int64_t(*parts[3]))
        .bind(7, std::int64_t(*parts[4]))
        .bind(8, std::int64_t(*parts[5]))
        .bind(9, latNS)
        .bind(10, adm);
    return firstKey(conn, st, "terrakey", key);
}

Lookup findSameAdmRefId(const std::string& admRefId, const std::string& adm, std::int32_t& key,
                        db::Connection& conn)
{
    db::Statement st(conn,
                     "SELECT terrakey FROM fmtv_terra WHERE adm_ref_id = ? AND adm = ? ORDER BY terrakey LIMIT 1");
    st.bind(1, admRefId).bind(2, adm);
    return firstKey(conn, st, "terrakey", key);
}

Lookup getLastTerraKey(db::Connection& conn, std::int32_t& key)
{
    db::Statement st(conn, "SELECT terrakey FROM Fmtv_keys ORDER BY rowid LIMIT 1");
    std::int32_t next = 0;
    const Lookup found = firstKey(conn, st, "terrakey", next);
    if (found == Lookup::Found)
        key = next - 1;
    return found;
}

Lookup findContour(std::int16_t contourId, const std::string& ctry, const std::string& adm,
                   std::int32_t& contourKey, bool& abort, std::string& question, db::Connection& conn,
                   bool& hasPoints, std::int16_t newNbTestPts, platform::Report& report)
{
    db::Statement st(conn,
                     "SELECT contourkey, nb_test_pts FROM zel_contour WHERE contour_id = ?"
                     " AND IFNULL(ctry, '') = ? COLLATE NOCASE AND IFNULL(adm, '') = ? COLLATE NOCASE"
                     " ORDER BY contourkey");
    st.bind(1, std::int64_t(contourId)).bind(2, ctry).bind(3, adm);
    int rows = 0;
    std::optional<std::int64_t> key;
    bool pointsKnown = false;
    std::string storedPoints;
    db::Step step;
    while ((step = st.step()) == db::Step::Row) {
        if (++rows == 1) {
            key = st.integer("contourkey");
            pointsKnown = !st.isNull("nb_test_pts");
            storedPoints = st.text("nb_test_pts");
        }
    }
    if (step == db::Step::Failed)
        return Lookup::Failed;
    question.clear();
    if (rows == 0) {
        abort = false;
        return Lookup::NotFound;
    }
    if (rows > 1) {
        report.message("Problem : Contour ID is not unique !! Please consult the adminstrator", platform::kAppTitle,
                         platform::Icon::None);
        abort = true;
        return Lookup::NotFound;
    }
    if (!key) {
        conn.fail(notice::kErrInvalidNull, "Invalid use of Null in contourkey");
        return Lookup::Failed;
    }
    hasPoints = pointsKnown;
    if (hasPoints) {
        const std::string id = std::to_string(contourId);
        question = "Do you want to overwrite : \r\nContour ID : " + id + " defined with " + storedPoints +
                   " test points  WITH\r\nContour ID : " + id + " defined with " + std::to_string(newNbTestPts) +
                   " test points ?";
    }
    contourKey = std::int32_t(*key);
    abort = false;
    return Lookup::Found;
}

Lookup contourHasPoints(std::int32_t contourKey, db::Connection& conn)
{
    db::Statement st(conn, "SELECT 1 FROM zel_contour_pt WHERE contourkey = ? LIMIT 1");
    st.bind(1, std::int64_t(contourKey));
    switch (st.step()) {
    case db::Step::Row: return Lookup::Found;
    case db::Step::Done: return Lookup::NotFound;
    case db::Step::Failed: break;
    }
    return Lookup::Failed;
}

bool getNoticeType(std::int32_t terrakey, db::Connection& conn, std::string& type)
{
    db::Statement st(conn, "SELECT notice_typ FROM fmtv_terra WHERE terrakey = ?");
    st.bind(1, std::int64_t(terrakey));
    if (const db::Step step = st.step(); step != db::Step::Row || st.isNull(0))
        return step == db::Step::Failed
                   ? false
                   : conn.fail(notice::kErrInvalidNull, "No notice type stored for notice " + std::to_string(terrakey));
    type = st.text(0);
    return true;
}

}  // namespace database
