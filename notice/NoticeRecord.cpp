#include "NoticeRecord.h"

#include "FieldUtils.h"
#include "NoticeFields.h"

namespace notice {

void initFlaggedPair(FlaggedPair& pair)
{
    pair = FlaggedPair{};
}

void initCoordParts(CoordParts& coord)
{
    coord = CoordParts{};
}

void initTargetRef(TargetRef& target)
{
    target = TargetRef{};
}

void initAdmList(AdmList& list)
{
    list = AdmList{};
}

void initConv(ConvPoint& conv)
{
    conv.flag = false;
    conv.conv_freq_assgn.clear();
    initCoordParts(conv.coord);
}

void initAllotment(Allotment& allotment)
{
    allotment = Allotment{};
}

void initContour(Contour& contour)
{
    contour.flag = false;
    contour.contour_id.clear();
    contour.nb_test_pts.clear();
    contour.points.assign(2, FlaggedPair{});
}

namespace {

// Empties every field that `table` stores, and those the writer writes as `written`.
void clearFields(NoticeRecord& rec, Table table, Written written)
{
    for (const NoticeField& f : noticeFields())
        if (f.table == table || f.written == written)
            for (int part = 0; part < (f.coord ? 4 : 1); ++part)
                fieldOf(f, rec, part).clear();
}

}  // namespace

void initZelElements(ZEL04Elements& zel)
{
    NoticeRecord holder;  // the digital part's fields are addressed through a record
    holder.zel = std::move(zel);
    clearFields(holder, Table::Elements, Written::Never);
    zel = std::move(holder.zel);
    zel.flag = false;
    zel.coord_self = "FALSE";
    initAdmList(zel.coordA);
    initAdmList(zel.coordO);
    initConv(zel.conv);
    initAllotment(zel.allotment);
    initContour(zel.contour);
}

void clearNtcAdm(NoticeRecord& rec)
{
    rec.adm.clear();
}

void initNtcMain(NoticeRecord& rec)
{
    // The notice's own row and both remarks.
    std::string adm = std::move(rec.adm);
    clearFields(rec, Table::Terra, Written::Lead);
    rec.adm = std::move(adm);
    rec.flag = false;
}

void initNotice(NoticeRecord& rec)
{
    initNtcMain(rec);
    initTargetRef(rec.target);
    initFlaggedPair(rec.opPeriod);
    initAdmList(rec.coordAdm);
    for (int k = 0; k < kAzimuthSlots; ++k) {
        initFlaggedPair(rec.attnV[k]);
        initFlaggedPair(rec.attnH[k]);
        initFlaggedPair(rec.effHgt[k]);
    }
    initZelElements(rec.zel);
}

void copyTargetToNtc(NoticeRecord& rec)
{
    const TargetRef& t = rec.target;
    if (!t.flag)
        return;
    struct Copy { const std::string& from; std::string& to; int width; };
    const Copy copies[] = {
        {t.adm_ref_id, rec.adm_ref_id, 0}, {t.freq_assgn, rec.freq_assgn, 0},
        {t.long_deg, rec.long_deg, 3},     {t.long_min, rec.long_min, 2},
        {t.long_sec, rec.long_sec, 2},     {t.long_ew, rec.long_ew, 0},
        {t.lat_deg, rec.lat_deg, 2},       {t.lat_min, rec.lat_min, 2},
        {t.lat_sec, rec.lat_sec, 2},       {t.lat_ns, rec.lat_ns, 0},
    };
    for (const Copy& c : copies)
        if (!c.from.empty())
            c.to = c.width ? padZeros(c.from, c.width) : c.from;
}

}  // namespace notice
