#pragma once

#include "Validators.h"
#include "notice/NoticeFields.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The controls of an entry form, one row each: the builder makes the widgets from these rows and
// the record transfer loops over them.
namespace forms {

enum class Kind { TextBox, Label, ComboBox, OptionButton, CheckBox, Frame, CommandButton };

enum class Colour { Plain, Blue, Red, DarkRedBold };

// The record's slot lists that rows of generated boxes show.
enum class SlotList { None, CoordAdm, EffHgt, AttnH, AttnV };

inline constexpr int kTwipsPerPixel = 15;

// The groups that the form's procedures show, hide or empty together, as bits of a row's
// `groups`; each procedure goes through its group in table order.
enum Group : unsigned {
    kStationBlock = 1u << 0,  // hidden and shown with the station
    kStationData = 1u << 1,   // text boxes emptied, lists set to item 0, with the station
    kOpData = 1u << 2,        // the operating data, emptied together
    kTargetData = 1u << 3,    // the target's data, emptied together
    kNoticeDate = 1u << 4,    // the date of notification, emptied with the fragment
};
// A station's input control: hidden and emptied with the station.
inline constexpr unsigned kStationInput = kStationBlock | kStationData;


struct Twips {
    int left = 0, top = 0, width = 0, height = 0;
};

struct ControlRow {
    std::string name;       // the widget's objectName
    Kind kind = Kind::Label;
    std::string container;  // the frame it sits in; "" for the form itself
    Twips rect;             // relative to the container
    int limit = 0;          // most characters the user may type; 0 for no limit
    bool readOnly = false;  // a text box that shows what the user cannot change
    std::optional<BoxCheck> check;  // none for a box not checked
    bool upperCase = false;         // typed letters become capitals
    unsigned groups = 0;            // the Group bits the control belongs to
    std::string text;       // design-time caption
    std::string toolTip;    // design-time tool tip
    Colour colour = Colour::Plain;
    int tab = 0;            // place in the tab order; 0 for none
    // The record field the control shows, where it shows one. `part` is the coordinate part as
    // the field orders them (degrees, minutes, seconds, hemisphere) or the date part (day,
    // month, year). An option button stands for `value` of its field.
    const notice::NoticeField* field = nullptr;
    int part = 0;
    std::string value;
    SlotList list = SlotList::None;  // or a slot of one of the record's lists
    int slot = 0;
    std::vector<std::string> items;  // a combo box's list, filled at load after an empty item

    /// The row checked by `rule`, its warning titled "Prevalidation Error" + `sep` + `item`.
    ControlRow&& checked(Rule rule, std::string_view item, std::string_view sep = " - ") &&;
    /// The row with typed letters made capitals.
    ControlRow&& upper() &&;
    /// The row in the groups `bits` (Group values or-ed together).
    ControlRow&& in(unsigned bits) &&;
};

using ControlTable = std::vector<ControlRow>;

enum DatePart { kDay = 0, kMonth = 1, kYear = 2 };

// Row makers for the tables. `field` names a notice field as noticeField() finds it.
Twips pixels(int left, int top, int width, int height);
ControlRow textBox(std::string name, std::string container, Twips rect, int limit, int tab,
                   std::string_view field = {}, int part = 0);
ControlRow label(std::string name, std::string container, Twips rect, std::string text = {},
                 Colour colour = Colour::Plain);
ControlRow comboBox(std::string name, std::string container, Twips rect, int tab, std::string_view field,
                    std::vector<std::string> items);
ControlRow optionButton(std::string name, std::string container, Twips rect, std::string caption, int tab,
                        std::string_view field, std::string value);
ControlRow frame(std::string name, std::string container, Twips rect, std::string caption = {},
                 Colour colour = Colour::Plain);
ControlRow commandButton(std::string name, Twips rect, std::string caption, int tab);
ControlRow checkBox(std::string name, Twips rect, std::string caption, int tab);

/// Adds the polarisation list and the two ERP boxes, with their labels, which each form places
/// on its own technical row: the list at `polar`, the boxes at `erpHLeft` and `erpVLeft`, `erpTop`
/// (pixels), each label above its control.
void addPolarAndErp(ControlTable& table, Twips polar, int erpHLeft, int erpVLeft, int erpTop);

/// The rows both forms share.
ControlTable commonControls();

/// The field whose file key, or else whose stored column, is `name`; stops the program when
/// none is, as that is a fault of the tables.
const notice::NoticeField& noticeField(std::string_view name);

/// The row named `name`, or nullptr.
const ControlRow* findRow(const ControlTable& table, std::string_view name);

/// The rows that have a tab place, in tab order.
std::vector<const ControlRow*> tabOrder(const ControlTable& table);

/// The box name of azimuth slot `slot` (0 to 35) in a family such as "Txt_9NHAzm".
std::string azimuthBoxName(std::string_view family, int slot);

}  // namespace forms
