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
    if (!rec.target.flag)
        return;
    for (const TargetField& t : targetFields())
        for (int part = 0; part < partCount(t.target); ++part) {
            const std::string& from = valueOf(t.target, rec, part);
            if (from.empty())
                continue;
            const int width = padWidth(t.own, part);
            fieldOf(t.own, rec, part) = width ? padZeros(from, width) : from;
        }
}

}  // namespace notice
