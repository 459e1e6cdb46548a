#include "TvFrmT02M.h"

#include "forms/common/FormLoad.h"

namespace forms {

const ControlTable& tvFrmT02MControls()
{
    static const ControlTable table = [] {
        ControlTable t = commonControls();
        const std::string notice = "FrameNotice";
        const Colour blue = Colour::Blue;
        t.push_back(frame(notice, "", {0, -105, 11955, 4305}));
        t.push_back(frame("FrameFrg", notice, {2280, 120, 885, 870}));
        t.push_back(optionButton("OptFrg_Ge89", "FrameFrg", pixels(4, 4, 54, 16), "GE89", 40, "t_fragment", "GE89"));
        // The technical row: 1A (common), 7A1, 9D, 8BH, 8BV, 8D, 7C1, 7C2, 1E.
        t.push_back(label("Lbl_7A1_FreqStabl", notice, pixels(76, 180, 30, 14), "7A1", blue).in(kStationBlock));
        t.push_back(comboBox("Combo_7A1_FreqStabl", notice, pixels(76, 194, 90, 21), 370, "t_freq_stabl",
                             {"RELAXED", "NORMAL", "PRECISION"}).in(kStationInput));
        addPolarAndErp(t, pixels(174, 194, 46, 21), 228, 280, 196);
        t.push_back(label("Lbl_8D_PwrRatio", notice, pixels(332, 180, 30, 14), "8D", blue).in(kStationBlock));
        t.push_back(textBox("Txt_8D_Pwr_Ratio", notice, pixels(332, 196, 28, 19), 2, 410, "t_pwr_ratio")
                        .checked(Rule::Numeric, "Vision/sound power ratio").in(kStationInput));
        t.push_back(label("Lbl_7C1_TvSys", notice, pixels(368, 180, 30, 14), "7C1", blue).in(kStationBlock));
        t.push_back(textBox("Txt_7C1_TvSys", notice, pixels(368, 196, 28, 19), 2, 420, "t_tran_sys")
                        .upper().in(kStationInput));
        t.push_back(label("Lbl_7C2_ColorSys", notice, pixels(404, 180, 30, 14), "7C2", blue).in(kStationBlock));
        t.push_back(comboBox("Combo_7C2_Color_Sys", notice, pixels(404, 194, 70, 21), 430, "t_color",
                             {"NTSC", "PAL", "SECAM"}).in(kStationInput));
        t.push_back(label("Lbl_1E", notice, pixels(484, 180, 30, 14), "1E", blue).in(kStationBlock));
        t.push_back(textBox("Txt_1E_Lf", notice, pixels(484, 196, 40, 19), 4, 440, "t_oset_v_12")
                        .checked(Rule::Numeric, "Frequency offset").in(kStationInput));
        t.push_back(label("Lbl_1E_LF", notice, pixels(526, 199, 44, 14), "1/12 LF").in(kStationBlock));
        t.push_back(label("Lbl_1E_kHz_Sign", notice, pixels(570, 199, 24, 14), "  or ").in(kStationBlock));
        t.push_back(textBox("Txt_1E_kHz", notice, pixels(596, 196, 40, 19), 4, 450, "t_oset_v_khz")
                        .checked(Rule::Numeric, "Frequency offset").in(kStationInput));
        t.push_back(label("Lbl_1E_kHz", notice, pixels(638, 199, 26, 14), "kHz").in(kStationBlock));
        return t;
    }();
    return table;
}

void initTvForm(NoticeForm& form)
{
    initFormControls(form);
}

}  // namespace forms
