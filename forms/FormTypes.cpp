// The registry of the two entry forms: it stands above both and above the machinery they share,
// which reaches the forms only through it.
#include "forms/common/FormLoad.h"
#include "forms/common/FormTexts.h"
#include "forms/common/NoticeForm.h"
#include "forms/sound/FmFrmT01M.h"
#include "forms/tv/TvFrmT02M.h"

namespace forms {
namespace {

const FormType kFormTypes[] = {
    {kSoundForm, "FmFrmT01M", "T01", fmFrmT01MControls, setT01MToolTips, setT01MCaptions, initFmForm,
     formReactions},
    {kTvForm, "TvFrmT02M", "T02", tvFrmT02MControls, setT02MToolTips, setT02MCaptions, initTvForm,
     formReactions},
};

}  // namespace

std::span<const FormType> formTypes()
{
    return kFormTypes;
}

}  // namespace forms
