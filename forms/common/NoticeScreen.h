#pragma once

#include "ControlTable.h"
#include "notice/NoticeRecord.h"

#include <functional>
#include <vector>

class QRadioButton;

// A notice record moved into the named controls of an entry form and read back. Each control
// that shows a field names it in the form's control table; the rules below apply per field.
namespace forms {

class NoticeForm;

/// Runs `react` with the option each time an option becomes selected, by code or by the user.
void connectOptionReactions(NoticeForm& form, std::function<void(QRadioButton&)> react);

/// Fills each empty box of the station's reference, frequency and coordinates from the
/// matching box of the target.
void copyTargetToStationBoxes(NoticeForm& form);

/// When the user turns a suppression or withdrawal into an addition or a modification, the
/// station's empty identification boxes take the target's values.
void connectIntentChange(NoticeForm& form);

/// Copies a record into the form's controls; an empty field leaves its control as it is, a
/// record whose flag is false changes nothing. The form keeps the record as the one it shows.
void writeNtcToScreen(const notice::NoticeRecord& rec, NoticeForm& form);
void writeCoordAdmToScreen(const notice::NoticeRecord& rec, NoticeForm& form);
void writeEffHgtToScreen(const notice::NoticeRecord& rec, NoticeForm& form);
void writeAttnHToScreen(const notice::NoticeRecord& rec, NoticeForm& form);
void writeAttnVToScreen(const notice::NoticeRecord& rec, NoticeForm& form);

/// Reads the controls that the form of `kind` (kSoundForm or kTvForm) has into `rec`. Values
/// the form could not show, and station values a suppression or withdrawal does not read, come
/// from the record the form was last filled from, so that an update keeps them.
void readNtcFromScreen(notice::NoticeRecord& rec, const NoticeForm& form, int kind);
void readCoordAdmFromScreen(notice::NoticeRecord& rec, const NoticeForm& form);
void readEffHgtFromScreen(notice::NoticeRecord& rec, const NoticeForm& form);
void readAttnHFromScreen(notice::NoticeRecord& rec, const NoticeForm& form);
void readAttnVFromScreen(notice::NoticeRecord& rec, const NoticeForm& form);

/// The boxes and lists whose values readNtcFromScreen reads under the intent and polarisation
/// the form shows, in the form's order.
std::vector<const ControlRow*> rowsRead(const NoticeForm& form);

}  // namespace forms
