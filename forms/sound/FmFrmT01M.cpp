#include "FmFrmT01M.h"

#include "forms/common/FormLoad.h"

namespace forms {

const ControlTable& fmFrmT01MControls()
{
    static const ControlTable table = [] {
        ControlTable t = commonControls();
        const std::string notice = "FrameNotice";
        const Colour blue = Colour::Blue;
        t.push_back(frame(notice, "", {0, -90, 11955, 4305}));
        t.push_back(frame("FrameFrg", notice, {2280, 120, 885, 840}));
        t.push_back(optionButton("OptFrg_Ge84", "FrameFrg", pixels(4, 4, 54, 16), "GE84", 40, "t_fragment", "GE84"));
        // The technical row: 1A (common), 7A0, 9D, 8BH, 8BV, 7D.
        t.push_back(label("Lbl_7A0_Bdwdth", notice, pixels(98, 180, 30, 14), "7A0", blue).in(kStationBlock));
        t.push_back(textBox("Txt_70_BDWdth", notice, {1470, 2940, 615, 285}, 3, 370, "t_bdwdth")
                        .checked(Rule::Numeric, "Necessary  Bandwidth").in(kStationInput));
        t.push_back(label("Lbl_7A0_BDWdth_unit", notice, pixels(141, 199, 26, 14), "kHz").in(kStationBlock));
        addPolarAndErp(t, {2880, 2910, 690, 315}, 271, 377, 196);
        t.push_back(label("Lbl_7D_TranSys", notice, pixels(485, 180, 30, 14), "7D", blue).in(kStationBlock));
        t.push_back(textBox("Txt_7D_TranSys", notice, {7275, 2940, 465, 285}, 2, 410, "t_tran_sys")
                        .checked(Rule::Numeric, "Transmission System").in(kStationInput));
        return t;
    }();
    return table;
}

void initFmForm(NoticeForm& form)
{
    initFormControls(form);
}

}  // namespace forms
