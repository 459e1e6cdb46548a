#include "NoticeGridQuery.h"

#include "database/sqlite/Statement.h"

namespace database {

const std::array<const char*, kGridColumns>& gridColumnNames()
{
    static constexpr std::array<const char*, kGridColumns> kNames = {
        "terrakey", "fragment", "adm_ref_id", "intent",  "notice_typ", "adm",
        "freq_assgn", "stn_cls", "site_name", "Longitude", "Latitude"};
    return kNames;
}

std::string ntcGridQuery()
{
    // A missing part shows as nothing, as the rest of the coordinate still means something.
    return "SELECT terrakey, fragment, adm_ref_id, intent, notice_typ, adm, freq_assgn, stn_cls, site_name,"
           " IFNULL(long_deg, '') || '° ' || IFNULL(long_min, '') || '´ ' || IFNULL(long_sec, '') || '´´ ' ||"
           " IFNULL(long_ew, '') AS Longitude,"
           " IFNULL(lat_deg, '') || '° ' || IFNULL(lat_min, '') || '´ ' || IFNULL(lat_sec, '') || '´´ ' ||"
           " IFNULL(lat_ns, '') AS Latitude"
           " FROM fmtv_terra ORDER BY terrakey";
}

std::string_view GridRows::cell(std::size_t row, int column) const
{
    const std::size_t at = row * kGridColumns + std::size_t(column);
    const std::size_t start = at == 0 ? 0 : m_ends[at - 1];
    return std::string_view(m_text).substr(start, m_ends[at] - start);
}

void GridRows::clear()
{
    m_text.clear();
    m_ends.clear();
}

void GridRows::add(std::string_view text)
{
    m_text.append(text);
    m_ends.push_back(m_text.size());
}

bool loadGridRows(db::Connection& conn, GridRows& rows)
{
    rows.clear();
    db::Statement st(conn, ntcGridQuery());
    std::string room;
    db::Step step;
    while ((step = st.step()) == db::Step::Row)
        for (int c = 0; c < kGridColumns; ++c)
            rows.add(st.textView(c, room));
    return step == db::Step::Done;
}

bool countContourNotices(db::Connection& conn, std::int64_t& count)
{
    db::Statement st(conn, "SELECT count(*) FROM zel_contour WHERE nb_test_pts IS NOT NULL");
    if (st.step() != db::Step::Row)
        return false;
    count = st.integer(0).value_or(0);
    return true;
}

}  // namespace database
