#include "ControlTable.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

namespace forms {

const notice::NoticeField& noticeField(std::string_view name)
{
    for (const notice::NoticeField& f : notice::noticeFields())
        if (f.key == name || (f.key.empty() && f.columns[0] && name == f.columns[0]))
            return f;
    std::fprintf(stderr, "forms: no notice field named %.*s\n", int(name.size()), name.data());
    std::abort();
}

namespace {

ControlRow makeRow(std::string name, Kind kind, std::string container, Twips rect, std::string text = {}, int tab = 0)
{
    ControlRow row;
    row.name = std::move(name);
    row.kind = kind;
    row.container = std::move(container);
    row.rect = rect;
    row.text = std::move(text);
    row.tab = tab;
    return row;
}

}  // namespace

ControlRow&& ControlRow::checked(Rule rule, std::string_view item, std::string_view sep) &&
{
    check = BoxCheck{rule, std::string(kCheckTitle).append(sep).append(item)};
    return std::move(*this);
}

ControlRow&& ControlRow::upper() &&
{
    upperCase = true;
    return std::move(*this);
}

ControlRow&& ControlRow::in(unsigned bits) &&
{
    groups |= bits;
    return std::move(*this);
}

Twips pixels(int left, int top, int width, int height)
{
    return {left * kTwipsPerPixel, top * kTwipsPerPixel, width * kTwipsPerPixel, height * kTwipsPerPixel};
}

ControlRow textBox(std::string name, std::string container, Twips rect, int limit, int tab,
                   std::string_view field, int part)
{
    ControlRow row = makeRow(std::move(name), Kind::TextBox, std::move(container), rect, {}, tab);
    row.limit = limit;
    row.field = field.empty() ? nullptr : &noticeField(field);
    row.part = part;
    return row;
}

ControlRow label(std::string name, std::string container, Twips rect, std::string text, Colour colour)
{
    ControlRow row = makeRow(std::move(name), Kind::Label, std::move(container), rect, std::move(text));
    row.colour = colour;
    return row;
}

ControlRow comboBox(std::string name, std::string container, Twips rect, int tab, std::string_view field,
                    std::vector<std::string> items)
{
    ControlRow row = makeRow(std::move(name), Kind::ComboBox, std::move(container), rect, {}, tab);
    row.field = &noticeField(field);
    row.items = std::move(items);
    return row;
}

ControlRow optionButton(std::string name, std::string container, Twips rect, std::string caption, int tab,
                        std::string_view field, std::string value)
{
    ControlRow row = makeRow(std::move(name), Kind::OptionButton, std::move(container), rect, std::move(caption), tab);
    row.field = &noticeField(field);
    row.value = std::move(value);
    return row;
}

ControlRow frame(std::string name, std::string container, Twips rect, std::string caption, Colour colour)
{
    ControlRow row = label(std::move(name), std::move(container), rect, std::move(caption), colour);
    row.kind = Kind::Frame;
    return row;
}

ControlRow commandButton(std::string name, Twips rect, std::string caption, int tab)
{
    return makeRow(std::move(name), Kind::CommandButton, "", rect, std::move(caption), tab);
}

ControlRow checkBox(std::string name, Twips rect, std::string caption, int tab)
{
    return makeRow(std::move(name), Kind::CheckBox, "", rect, std::move(caption), tab);
}

std::string azimuthBoxName(std::string_view family, int slot)
{
    const int deg = slot * 10;
    const char digits[] = {char('0' + deg / 100), char('0' + deg / 10 % 10), char('0' + deg % 10), '\0'};
    return std::string(family) + digits;
}

namespace {

constexpr int kBoxH = 19;
constexpr int kLabelH = 14;
constexpr int kComboH = 21;

// The eight boxes of a position (longitude, then latitude: degrees, minutes, seconds,
// hemisphere) of item `item` ("4C" or "04C"), each half under its label; their checks are
// titled by the half and `of`. The labels are in `labelGroups`, the boxes in `boxGroups`.
void position(ControlTable& t, const std::string& container, const std::string& item, int longLeft, int latLeft,
              int top, int tab, const std::string& fieldStem, std::string_view of, unsigned labelGroups,
              unsigned boxGroups)
{
    const int widths[] = {30, 24, 24, 18};
    struct Half {
        const char* name;
        const char* title;
        int left;
        std::array<const char*, 4> parts;
        int limitDeg;
        Rule degrees, hemisphere;
    };
    const Half halves[] = {
        {"Long", "Longitude", longLeft, {"Deg_Long", "Min_Long", "Sec_Long", "EW"}, 3, Rule::LongitudeDegrees,
         Rule::EastOrWest},
        {"Lat", "Latitude", latLeft, {"Deg_Lat", "Min_Lat", "Sec_Lat", "NS"}, 2, Rule::LatitudeDegrees,
         Rule::NorthOrSouth}};
    for (const Half& h : halves) {
        t.push_back(label("Lbl_" + item + "_" + h.name, container, pixels(h.left, top - 16, 124, kLabelH))
                        .in(labelGroups));
        const std::string field = fieldStem + (h.name == std::string("Long") ? "long" : "lat");
        int left = h.left;
        for (int i = 0; i < 4; ++i) {
            const int limit = i == 0 ? h.limitDeg : i == 3 ? 1 : 2;
            const Rule rule = i == 0 ? h.degrees : i == 3 ? h.hemisphere : Rule::MinutesOrSeconds;
            ControlRow box = textBox("Txt_" + item + "_" + h.parts[std::size_t(i)], container,
                                     pixels(left, top, widths[i], kBoxH), limit, tab, field, i)
                                 .checked(rule, std::string(h.title).append(of))
                                 .in(boxGroups);
            box.upperCase = i == 3;  // the hemisphere's letter
            t.push_back(std::move(box));
            left += widths[i] + 2;
            tab += 10;
        }
    }
}

// The day, month and year boxes of a date ("DD", "MM", "YY" after `stem`), from `left`, each
// checked by its rule under its title of `titles`.
void date(ControlTable& t, const std::string& container, const std::string& stem, int left, int top, int tab,
          std::string_view field, Rule yearRule, const std::array<const char*, 3>& titles, unsigned groups)
{
    const char* parts[] = {"DD", "MM", "YY"};
    const Rule rules[] = {Rule::Day, Rule::Month, yearRule};
    for (int i = kDay; i <= kYear; ++i) {
        const bool year = i == kYear;
        t.push_back(textBox(stem + parts[i], container, pixels(left + 28 * i, top, year ? 40 : 24, kBoxH),
                            year ? 4 : 2, tab + 10 * i, field, i)
                        .checked(rules[i], titles[std::size_t(i)])
                        .in(groups));
    }
}

// The three azimuth frames: four columns of nine boxes, a ruler across the top.
struct AzimuthFamily {
    const char* frame;
    const char* boxes;
    const char* ruler;
    const char* caption;
    SlotList list;
    int limit;
    Twips rect;
    int columnStep;
    int boxWidth;
    const char* rulerText;
    const char* checkTitle;
    int oddSlot;  // the one slot whose check is titled `oddTitle`, or -1
    const char* oddTitle;
    unsigned frameGroups;
};

const AzimuthFamily kAzimuthFamilies[] = {
    {"Frame_9EC_EffAntHeight", "Txt_9EC_azm", "Lbl_9EC_Azm0_350", " 9EC ", SlotList::EffHgt, 5,
     {75, 4995, 4440, 4815}, 70, 48, "0 - 80           90 - 170         180 - 260        270 - 350",
     "Eff. ant. height", 26, "Eff.ant.Height", kStationBlock},
    {"Frame_9NH_AttnH", "Txt_9NHAzm", "Lbl_9NH_Azm0_350", " 9NH ", SlotList::AttnH, 4,
     {4605, 4995, 3615, 4815}, 58, 40, "0 - 80      90 - 170    180 - 260   270 - 350", "Attenuation (H)", -1, "", 0},
    {"Frame_9NV_AttnV", "Txt_9NVAzm", "Lbl_9NV_Azm0_350", " 9NV ", SlotList::AttnV, 4,
     {8340, 4980, 3615, 4815}, 58, 40, "0 - 80      90 - 170    180 - 260   270 - 350", "Attenuation (V)", -1, "", 0},
};

constexpr int kTabAzimuth = 1000;  // then 100 places per family
constexpr int kTabCoordAdm = 560;

}  // namespace

ControlTable commonControls()
{
    ControlTable t;
    const Colour blue = Colour::Blue;
    const Colour red = Colour::Red;
    const Colour darkRed = Colour::DarkRedBold;

    // The right-hand column and the remarks.
    t.push_back(label("Lbl_Filename", "", pixels(800, 6, 208, kLabelH), "", darkRed));
    t.push_back(textBox("Txt_Filename", "", pixels(800, 22, 208, kBoxH), 0, 4050));
    t.back().readOnly = true;
    t.push_back(label("Lbl_Ntc_Number", "", pixels(800, 48, 208, kLabelH), "", darkRed));
    t.push_back(commandButton("Button_Prev_Ntc", pixels(800, 64, 32, 23), "<<", 4090));
    t.push_back(textBox("Txt_Ntc_Number", "", pixels(836, 66, 100, kBoxH), 0, 4060));
    t.back().readOnly = true;
    t.push_back(commandButton("Button_Next_Ntc", pixels(940, 64, 32, 23), ">>", 4100));
    t.push_back(commandButton("Button_Next", pixels(800, 96, 120, 26), "", 4020));
    t.push_back(commandButton("Button_Finish", pixels(800, 126, 120, 26), "", 4030));
    t.push_back(commandButton("Button_Reset", pixels(800, 156, 120, 26), "", 4040));
    t.push_back(checkBox("ChkClearFields", pixels(800, 188, 210, 18), "", 4080));
    t.push_back(checkBox("ChkValidate", pixels(800, 208, 210, 18), "", 4070));
    t.push_back(label("Lbl_Notified_Rmks", "", pixels(800, 232, 208, kLabelH)));
    t.push_back(textBox("Txt_notified_Rmks", "", pixels(800, 248, 208, kBoxH), 0, 4000, "t_remarks").in(kStationData));
    t.push_back(label("Lbl_Internal_Rmks", "", pixels(800, 274, 208, kLabelH)));
    t.push_back(textBox("Txt_Internal_Rmks", "", pixels(800, 290, 208, kBoxH), 0, 4010, "int_remarks")
                    .in(kStationData));

    // The notice header: date of notification, intent, administration.
    const std::string notice = "FrameNotice";
    t.push_back(label("Lbl_DNtc", notice, pixels(8, 14, 140, kLabelH)));
    date(t, notice, "Txt_Ntc_", 8, 30, 10, "t_d_adm_ntc", Rule::NoticeYear,
         {"Date (day)", "Date (month)", "Date (year)"}, kNoticeDate);
    t.push_back(frame("FrameIntent", notice, {3360, 120, 1080, 990}));  // wide enough for "Withdraw"
    const std::pair<const char*, const char*> intents[] = {
        {"OptInt_Add", "Add"}, {"OptInt_Mod", "Mod"}, {"OptInt_Sup", "Sup"}, {"OptInt_Wdraw", "Withdraw"}};
    const char* intentValues[] = {"ADD", "MODIFY", "SUPPRESS", "WITHDRAW"};
    for (int i = 0; i < 4; ++i)
        t.push_back(optionButton(intents[i].first, "FrameIntent", pixels(2, 2 + 16 * i, 69, 16), intents[i].second,
                                 70 + 10 * i, "t_action", intentValues[i]));
    t.push_back(optionButton("OptFrg_St61", "FrameFrg", pixels(4, 21, 54, 16), "ST61", 50, "t_fragment", "ST61"));
    t.push_back(optionButton("OptFrg_A11", "FrameFrg", pixels(4, 38, 54, 16), "Art. 11", 60, "t_fragment", "NTFD_RR"));
    t.push_back(label("Lbl_B_Adm", notice, pixels(300, 14, 20, kLabelH), "B", blue));
    t.push_back(textBox("Txt_B_Adm", notice, pixels(300, 30, 34, kBoxH), 3, 120, "adm")
                    .checked(Rule::NoDigit, "Notifying administration")
                    .upper());
    t.push_back(label("Lbl_AdmRefID", notice, pixels(346, 14, 300, kLabelH)).in(kStationBlock));
    t.push_back(textBox("Txt_AdmRefID", notice, pixels(346, 30, 150, kBoxH), 20, 110, "t_adm_ref_id")
                    .in(kStationInput));

    // The target of a modification, suppression or withdrawal.
    t.push_back(frame("FrameTrg", notice, {0, 1200, 10350, 855}, "", red));
    t.push_back(label("Lbl_TrgAdmRefID", "FrameTrg", pixels(8, 16, 232, kLabelH)));
    t.push_back(textBox("Txt_TrgAdmRefID", "FrameTrg", pixels(8, 32, 150, kBoxH), 20, 150, "t_trg_adm_ref_id")
                    .in(kTargetData));
    t.push_back(label("Lbl_01A_TrgFreq", "FrameTrg", pixels(246, 16, 40, kLabelH), "0-1A", blue));
    t.push_back(textBox("Txt_01A_TrgFreq", "FrameTrg", pixels(246, 32, 50, kBoxH), 6, 160, "t_trg_freq_assgn")
                    .checked(Rule::Numeric, "0-1a Target frequency", " / ").in(kTargetData));
    t.push_back(label("Lbl_FreqUnit", "FrameTrg", pixels(298, 35, 36, kLabelH), "[MHz]"));
    t.push_back(label("Lbl_04C", "FrameTrg", pixels(342, 35, 30, kLabelH), "0-4C", blue));
    position(t, "FrameTrg", "04C", 376, 506, 32, 170, "t_trg_", " of target", 0, kTargetData);

    // The station: site row, technical row (own to each form), antenna row.
    t.push_back(label("Lbl_3A1_CallSign", notice, pixels(8, 142, 30, kLabelH), "3A1", blue).in(kStationBlock));
    t.push_back(textBox("Txt_3A1_CallSign", notice, pixels(8, 157, 72, kBoxH), 10, 130, "t_call_sign")
                    .upper().in(kStationInput));
    t.push_back(label("Lbl_3A2_StationID", notice, pixels(86, 142, 30, kLabelH), "3A2", blue).in(kStationBlock));
    t.push_back(textBox("Txt_3A2_StationID", notice, pixels(86, 157, 108, kBoxH), 20, 140, "t_station_id")
                    .upper().in(kStationInput));
    t.push_back(label("Lbl_4A_Sitename", notice, pixels(200, 142, 30, kLabelH), "4A", blue).in(kStationBlock));
    t.push_back(textBox("Txt_4A_SiteName", notice, pixels(200, 157, 150, kBoxH), 30, 250, "t_site_name")
                    .upper().in(kStationInput));
    t.push_back(label("Lbl_4B_GeoArea", notice, pixels(356, 142, 30, kLabelH), "4B", blue).in(kStationBlock));
    t.push_back(textBox("Txt_4B_GeoArea", notice, pixels(356, 157, 32, kBoxH), 3, 260, "t_ctry")
                    .checked(Rule::NoDigit, "Geographical Area")
                    .upper().in(kStationInput));
    t.push_back(label("Lbl_4C", notice, pixels(394, 160, 20, kLabelH), "4C", blue).in(kStationBlock));
    position(t, notice, "4C", 416, 530, 157, 270, "t_", "", kStationBlock, kStationInput);
    t.push_back(label("Lbl_9EA_SiteAlt", notice, pixels(690, 142, 30, kLabelH), "9EA", blue).in(kStationBlock));
    t.push_back(textBox("Txt_9EA_SiteAlt", notice, pixels(690, 157, 46, kBoxH), 5, 350, "t_site_alt")
                    .checked(Rule::Numeric, "Site altitude").in(kStationInput));
    t.push_back(label("Lbl_1A_FreqAssgn", notice, pixels(8, 180, 30, kLabelH), "1A", blue).in(kStationBlock));
    t.push_back(textBox("Txt_1A_FreqAssgn", notice, pixels(8, 196, 60, kBoxH), 6, 360, "t_freq_assgn")
                    .checked(Rule::Numeric, "1a Assigned frequency").in(kStationInput));
    t.push_back(label("Lbl_9_AntDir", notice, pixels(8, 222, 30, kLabelH), "9", blue).in(kStationBlock));
    t.push_back(comboBox("Combo_9_AntDir", notice, pixels(8, 237, 52, kComboH), 460, "zel_ant_dir", {"D", "ND"})
                    .in(kStationInput));
    t.push_back(label("Lbl_9E_AntHgt", notice, pixels(72, 222, 30, kLabelH), "9E", blue).in(kStationBlock));
    t.push_back(textBox("Txt_9E_AntHgt", notice, pixels(72, 238, 34, kBoxH), 3, 470, "t_hgt_agl")
                    .checked(Rule::Numeric, "Height of antenna").in(kStationInput));
    t.push_back(label("Lbl_9E_unit", notice, pixels(108, 241, 22, kLabelH), "[m]").in(kStationBlock));
    t.push_back(label("Lbl_9EB_Eff_hgtmax", notice, pixels(138, 222, 30, kLabelH), "9EB", blue).in(kStationBlock));
    t.push_back(textBox("Txt_9EB_Eff_hgtmax", notice, pixels(138, 238, 46, kBoxH), 5, 480, "t_eff_hgtmax")
                    .checked(Rule::Numeric, "Max effective Ant. height").in(kStationInput));
    t.push_back(label("Lbl_9EB_unit", notice, pixels(186, 241, 22, kLabelH), "[m]").in(kStationBlock));

    // Items used under Article 11 only.
    const std::string a11 = "Frame_A11_Only";
    t.push_back(frame(a11, notice, {4035, 3390, 7920, 915}, "", red));
    t.push_back(label("Lbl_12A_OpAgcy", a11, pixels(8, 17, 30, kLabelH), "12A", blue).in(kStationBlock));
    t.push_back(textBox("Txt_12A_OpAgcy", a11, pixels(8, 33, 36, kBoxH), 3, 490, "t_op_agcy")
                    .checked(Rule::Numeric, "Operating agency").in(kOpData));
    t.push_back(label("Lbl_12B_AddrCde", a11, pixels(54, 17, 30, kLabelH), "12B", blue).in(kStationBlock));
    t.push_back(textBox("Txt_12B_AddrCde", a11, pixels(54, 33, 28, kBoxH), 2, 500, "t_addr_code")
                    .checked(Rule::NotNumeric, "responsible Administration")
                    .upper().in(kOpData));
    t.push_back(label("Lbl_10B_Ophh", a11, pixels(94, 36, 28, kLabelH), "10B", blue).in(kStationBlock));
    t.push_back(label("Lbl_10B_OphhFr", a11, pixels(124, 17, 76, kLabelH)).in(kStationBlock));
    t.push_back(textBox("Txt_10B_Ophhfr", a11, pixels(124, 33, 42, kBoxH), 4, 510, "t_op_hh_fr")
                    .checked(Rule::Hours, "Operating hours").in(kOpData));
    t.push_back(label("Lbl_10B_OphhTo", a11, pixels(204, 17, 76, kLabelH)).in(kStationBlock));
    t.push_back(textBox("Txt_10B_Ophhto", a11, pixels(204, 33, 42, kBoxH), 4, 520, "t_op_hh_to")
                    .checked(Rule::Hours, "Operating hours").in(kOpData));
    t.push_back(label("Lbl_2C", a11, pixels(296, 36, 22, kLabelH), "2C", blue).in(kStationBlock));
    const char* inUse = "Date of bringing into use";
    date(t, a11, "Txt_2C_", 320, 33, 530, "t_d_inuse", Rule::InUseYear, {inUse, inUse, inUse}, kOpData);

    // Item 11: twelve coordination administrations in one row.
    t.push_back(frame("FrameCoord", "", {0, 4170, 11970, 810}).in(kStationBlock));
    t.push_back(label("Lbl_11_CoordAdm", "FrameCoord", pixels(8, 5, 620, kLabelH)));
    for (int i = 0; i < 12; ++i) {
        ControlRow box = textBox("Txt_11_Adm" + std::to_string(i + 1), "FrameCoord",
                                 pixels(8 + 40 * i, 24, 34, kBoxH), 3, kTabCoordAdm + 10 * i)
                                 .checked(Rule::NotNumeric, "Coordination Adm code")
                                 .upper()
                                 .in(kStationData);
        box.list = SlotList::CoordAdm;
        box.slot = i;
        t.push_back(std::move(box));
    }

    // Items 9EC, 9NH and 9NV: one box for every 10 degrees.
    int family = 0;
    for (const AzimuthFamily& a : kAzimuthFamilies) {
        t.push_back(frame(a.frame, "", a.rect, a.caption, blue).in(a.frameGroups));
        t.push_back(label(a.ruler, a.frame, pixels(8, 16, a.rect.width / kTwipsPerPixel - 16, kLabelH), a.rulerText));
        for (int slot = 0; slot < notice::kAzimuthSlots; ++slot) {
            ControlRow box = textBox(azimuthBoxName(a.boxes, slot), a.frame,
                                     pixels(10 + a.columnStep * (slot / 9), 34 + 31 * (slot % 9), a.boxWidth, kBoxH),
                                     a.limit, kTabAzimuth + 100 * family + slot)
                                 .checked(Rule::Numeric, slot == a.oddSlot ? a.oddTitle : a.checkTitle);
            box.toolTip = std::to_string(slot * 10) + "°";
            box.list = a.list;
            box.slot = slot;
            t.push_back(std::move(box));
        }
        ++family;
    }
    return t;
}

void addPolarAndErp(ControlTable& t, Twips polar, int erpHLeft, int erpVLeft, int erpTop)
{
    const std::string notice = "FrameNotice";
    const int labelTop = erpTop - 16;
    t.push_back(label("Lbl_9D_Polariz", notice, pixels(polar.left / kTwipsPerPixel, labelTop, 30, kLabelH), "9D",
                      Colour::Blue).in(kStationBlock));
    t.push_back(comboBox("Combo_9D_Polariz", notice, polar, 380, "t_polar", {"H", "V", "M"}).in(kStationInput));
    t.push_back(label("Lbl_8BH_Erp_H", notice, pixels(erpHLeft, labelTop, 30, kLabelH), "8BH", Colour::Blue)
                    .in(kStationBlock));
    t.push_back(textBox("Txt_8BH_Erp_H", notice, pixels(erpHLeft, erpTop, 44, kBoxH), 5, 390, "t_erp_h_dbw")
                    .checked(Rule::Numeric, "Radiated power").in(kStationInput));
    t.push_back(label("Lbl_8BV_Erp_V", notice, pixels(erpVLeft, labelTop, 30, kLabelH), "8BV", Colour::Blue)
                    .in(kStationBlock));
    t.push_back(textBox("Txt_8BV_Erp_V", notice, pixels(erpVLeft, erpTop, 44, kBoxH), 5, 400, "t_erp_v_dbw")
                    .checked(Rule::Numeric, "Radiated power").in(kStationInput));
}

const ControlRow* findRow(const ControlTable& table, std::string_view name)
{
    for (const ControlRow& row : table)
        if (row.name == name)
            return &row;
    return nullptr;
}

std::vector<const ControlRow*> tabOrder(const ControlTable& table)
{
    std::vector<const ControlRow*> order;
    for (const ControlRow& row : table)
        if (row.tab > 0)
            order.push_back(&row);
    std::stable_sort(order.begin(), order.end(),
                     [](const ControlRow* a, const ControlRow* b) { return a->tab < b->tab; });
    return order;
}

}  // namespace forms
