#pragma once

#include "forms/common/FormLoad.h"
#include "forms/common/NoticeForm.h"
#include "forms/common/Validators.h"
#include "forms/common/Visibility.h"

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace testing_support {

// What a test needs to know of one entry form to run the same body on both forms.
struct FormCase {
    int kind;
    const char* name;                 // the form's object name
    const char* ownFragment;          // the fragment option only this form has
    int otherKind;
    std::vector<const char*> lists;   // its combo boxes
    std::vector<const char*> ownStation;  // station controls only this form has
    std::vector<const char*> ownUnchecked;  // its own boxes without a validator
    // The body of a NOTICE section this form shows, an ADD at `site`.
    std::string (*notice)(const std::string& site);

    // Its checks and answers to choices, as the program puts them on the form.
    forms::FormReactions reactions() const { return forms::formTypeOf(kind)->reactions(); }
};

inline std::string televisionAdd(const std::string& site)
{
    return "t_notice_type = T02\nt_action = ADD\nt_fragment = GE89\nt_ctry = F\nt_site_name = " + site +
           "\nt_freq_assgn = 479.25\nt_long = +0044930\nt_lat = +454530\nt_polar = H\n";
}

inline std::string soundAdd(const std::string& site)
{
    return "t_notice_type = T01\nt_action = ADD\nt_fragment = GE84\nt_ctry = F\nt_site_name = " + site +
           "\nt_freq_assgn = 98.5\nt_long = +0044930\nt_lat = +454530\nt_polar = H\n";
}

inline const std::vector<FormCase>& formCases()
{
    static const std::vector<FormCase> cases = {
        {forms::kTvForm, "TvFrmT02M", "OptFrg_Ge89", forms::kSoundForm,
         {"Combo_7A1_FreqStabl", "Combo_7C2_Color_Sys", "Combo_9_AntDir", "Combo_9D_Polariz"},
         {"Combo_7A1_FreqStabl", "Txt_8D_Pwr_Ratio", "Txt_7C1_TvSys", "Combo_7C2_Color_Sys", "Txt_1E_Lf",
          "Txt_1E_kHz", "Lbl_1E", "Lbl_1E_kHz", "Lbl_1E_kHz_Sign", "Lbl_1E_LF", "Lbl_7A1_FreqStabl",
          "Lbl_7C1_TvSys", "Lbl_7C2_ColorSys", "Lbl_8D_PwrRatio"},
         {"Txt_7C1_TvSys"}, televisionAdd},
        {forms::kSoundForm, "FmFrmT01M", "OptFrg_Ge84", forms::kTvForm,
         {"Combo_9_AntDir", "Combo_9D_Polariz"},
         {"Txt_70_BDWdth", "Txt_7D_TranSys", "Lbl_7A0_Bdwdth", "Lbl_7A0_BDWdth_unit", "Lbl_7D_TranSys"},
         {}, soundAdd},
    };
    return cases;
}

inline const FormCase& formCase(int kind)
{
    for (const FormCase& c : formCases())
        if (c.kind == kind)
            return c;
    return formCases().front();
}

inline void PrintTo(const FormCase& c, std::ostream* out) { *out << c.name; }

// Names a parameterised test after the form it runs on.
struct FormCaseName {
    template <class Info>
    std::string operator()(const Info& info) const
    {
        return info.param.name;
    }
};

}  // namespace testing_support
