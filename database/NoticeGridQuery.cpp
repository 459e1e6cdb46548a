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

bool loadGridRows(db::Connection& conn, std::vector<GridRow>& rows)
{
    rows.clear();
    db::Statement st(conn, ntcGridQuery());
    db::Step step;
    while ((step = st.step()) == db::Step::Row) {
        GridRow row;
        for (int c = 0; c < kGridColumns; ++c)
            row[std::size_t(c)] = st.text(c);
        rows.push_back(std::move(row));
    }
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
