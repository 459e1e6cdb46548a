#pragma once

#include "notice/NoticeRecord.h"

#include <QString>

#include <functional>
#include <span>

class QRadioButton;
class QWidget;

// A notice record moved into the named controls of an entry form and read back.
namespace forms {

/// Form kinds: the sound-broadcasting form and the television form.
inline constexpr int kSoundKind = 1;
inline constexpr int kTvKind = 2;

/// Which form has a control.
enum class On { Both, Tv, Sound };

enum class Pad { None, Two, Three, Four };

/// Where a row is read: always, in the station block, or in the target block.
enum class Block { Head, Station, Target };

/// When a row is written (notice type) or read (polarisation in `Combo_9D_Polariz`).
enum class When { Always, TypeT02, TypeT01, TypeNotT02, PolarH, PolarV };

enum class BoxKind { Text, Combo, Date };

/// One control and the record field it shows. A date row names the prefix of its three boxes.
struct ScreenRow {
    const char* control;
    const char* field;  ///< a file key or a column of the table of notice fields
    BoxKind kind;
    On on;
    Block block;
    Pad pad;
    bool readEmpty;  ///< read even an empty box
    When when;
};

struct OptionRow {
    const char* control;
    const char* value;
    On on;
};

std::span<const ScreenRow> screenRows();
/// In reading order: the first selected gives the value.
std::span<const OptionRow> intentOptions();
std::span<const OptionRow> fragmentOptions();

/// The record field a row shows; nullptr when the table of notice fields has no such name.
std::string* screenField(const ScreenRow& row, notice::NoticeRecord& rec);

/// Box names of the lists: `Txt_11_Adm1`.. and the azimuth boxes `Txt_9EC_azm000`..
QString coordAdmBox(int slot);
QString effHgtBox(int slot);
QString attnHBox(int slot);
QString attnVBox(int slot);

/// Selects one option of a group and clears the others; its reaction runs through toggled(true).
void selectOption(QWidget& form, std::span<const OptionRow> group, const char* control);
/// Runs `react` with the option each time an option of either group becomes selected, by code
/// or by the user. Turns auto-exclusive off so that code can clear an option.
void connectOptionReactions(QWidget& form, std::function<void(QRadioButton&)> react);

/// Copies a record into the form's controls; an empty field leaves its control as it is, a
/// record whose flag is false changes nothing. The form keeps the record as the one it shows.
void writeNtcToScreen(const notice::NoticeRecord& rec, QWidget& form);
void writeCoordAdmToScreen(const notice::NoticeRecord& rec, QWidget& form);
void writeEffHgtToScreen(const notice::NoticeRecord& rec, QWidget& form);
void writeAttnHToScreen(const notice::NoticeRecord& rec, QWidget& form);
void writeAttnVToScreen(const notice::NoticeRecord& rec, QWidget& form);

/// Reads the form of `kind` into `rec`. Values the form could not show or does not read are
/// taken from the record the form was last filled from, so that an update keeps them.
void readNtcFromScreen(notice::NoticeRecord& rec, const QWidget& form, int kind);
void readCoordAdmFromScreen(notice::NoticeRecord& rec, const QWidget& form);
void readEffHgtFromScreen(notice::NoticeRecord& rec, const QWidget& form);
void readAttnHFromScreen(notice::NoticeRecord& rec, const QWidget& form);
void readAttnVFromScreen(notice::NoticeRecord& rec, const QWidget& form);

/// The record the form was last filled from, or nullptr.
const notice::NoticeRecord* shownNotice(const QWidget& form);

}  // namespace forms
