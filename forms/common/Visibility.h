#pragma once

#include <string_view>

// Showing, hiding and clearing fixed groups of an entry form's controls. Both forms have the
// same frames, options and azimuth boxes; the other groups are what the rows of the form's
// control table say.
namespace forms {

class NoticeForm;

void hideFrameA11(NoticeForm& form);
void showFrameA11(NoticeForm& form);
void hideFrameTrg(NoticeForm& form);
void showFrameTrg(NoticeForm& form);
void hideFrameAttnH(NoticeForm& form);
void showFrameAttnH(NoticeForm& form);
void hideFrameAttnV(NoticeForm& form);
void showFrameAttnV(NoticeForm& form);

/// Hides (shows) the Article 11 frame, both attenuation frames and the station block.
void hideStationBlock(NoticeForm& form);
void showStationBlock(NoticeForm& form);

/// Empty the operating data, the target data and the three azimuth rows.
void clearOpData(NoticeForm& form);
void clearTargetData(NoticeForm& form);
void clearAttnH(NoticeForm& form);
void clearAttnV(NoticeForm& form);
void clearEffHgt(NoticeForm& form);

/// Turns the fragment options off and empties the notification date.
void clearFrgAndDate(NoticeForm& form);
/// Empties the station data; its two antenna lists go back to their empty item, so the
/// antenna rule runs.
void clearStationData(NoticeForm& form);
/// The station data cleared, then the intent options off.
void clearIntent(NoticeForm& form);
void showAllBlocks(NoticeForm& form);
/// Everything but the administration, the notification date and the fragment emptied and
/// every block shown.
void resetForm(NoticeForm& form);

/// Shows or hides the two attenuation frames as the antenna directivity and polarisation
/// require; never clears a box.
void applyAntennaRule(NoticeForm& form);

/// What the form shows after the user or the program chooses the intent or fragment option,
/// or an item of an antenna list, named `control`; any other control changes nothing.
void applyChoice(NoticeForm& form, std::string_view control);

}  // namespace forms
