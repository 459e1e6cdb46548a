#include "FmVisibility.h"

namespace forms {

const VisibilityGroups& fmVisibilityGroups()
{
    static const VisibilityGroups groups{
        {"Frame_9EC_EffAntHeight", "Txt_AdmRefID", "Txt_3A1_CallSign", "Txt_3A2_StationID", "Txt_4A_SiteName",
         "Txt_4B_GeoArea", "Txt_4C_Deg_Lat", "Txt_4C_Deg_Long", "Txt_4C_EW", "Txt_4C_Min_Lat", "Txt_4C_Min_Long",
         "Txt_4C_NS", "Txt_4C_Sec_Lat", "Txt_4C_Sec_Long", "Txt_9EA_SiteAlt", "Txt_1A_FreqAssgn", "Txt_70_BDWdth",
         "Combo_9D_Polariz", "Txt_8BH_Erp_H", "Txt_8BV_Erp_V", "Txt_7D_TranSys", "Combo_9_AntDir", "Txt_9E_AntHgt",
         "Txt_9EB_Eff_hgtmax", "FrameCoord", "Lbl_10B_Ophh", "Lbl_10B_OphhFr", "Lbl_10B_OphhTo", "Lbl_12A_OpAgcy",
         "Lbl_12B_AddrCde", "Lbl_1A_FreqAssgn", "Lbl_2C", "Lbl_3A1_CallSign", "Lbl_3A2_StationID",
         "Lbl_4A_Sitename", "Lbl_4B_GeoArea", "Lbl_4C", "Lbl_4C_Lat", "Lbl_4C_Long", "Lbl_7A0_BDWdth_unit",
         "Lbl_7A0_Bdwdth", "Lbl_7D_TranSys", "Lbl_8BH_Erp_H", "Lbl_8BV_Erp_V", "Lbl_9_AntDir", "Lbl_9D_Polariz",
         "Lbl_9E_AntHgt", "Lbl_9E_unit", "Lbl_9EA_SiteAlt", "Lbl_9EB_Eff_hgtmax", "Lbl_9EB_unit", "Lbl_AdmRefID"},
        {"Txt_AdmRefID", "Txt_3A1_CallSign", "Txt_3A2_StationID", "Txt_4A_SiteName", "Txt_4B_GeoArea",
         "Txt_4C_Deg_Lat", "Txt_4C_Deg_Long", "Txt_4C_EW", "Txt_4C_Min_Lat", "Txt_4C_Min_Long", "Txt_4C_NS",
         "Txt_4C_Sec_Lat", "Txt_4C_Sec_Long", "Txt_9EA_SiteAlt", "Txt_1A_FreqAssgn", "Txt_70_BDWdth",
         "Combo_9D_Polariz", "Txt_8BH_Erp_H", "Txt_8BV_Erp_V", "Txt_7D_TranSys", "Combo_9_AntDir", "Txt_9E_AntHgt",
         "Txt_9EB_Eff_hgtmax", "Txt_11_Adm1", "Txt_11_Adm10", "Txt_11_Adm11", "Txt_11_Adm12", "Txt_11_Adm2",
         "Txt_11_Adm3", "Txt_11_Adm4", "Txt_11_Adm5", "Txt_11_Adm6", "Txt_11_Adm7", "Txt_11_Adm8", "Txt_11_Adm9",
         "Txt_notified_Rmks", "Txt_Internal_Rmks"},
    };
    return groups;
}

}  // namespace forms
