#include "SaveChecks.h"

#include "NoticeForm.h"
#include "NoticeScreen.h"
#include "database/ColumnFit.h"
#include "notice/FieldUtils.h"
#include "platform/Prompter.h"

#include <QLineEdit>

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

namespace forms {
namespace {

constexpr const char* kWholeNumber = "Value must be a whole number";
bool refuse(NoticeForm& form, const ControlRow& row, std::string_view message, platform::Prompter& prompter)
{
    const std::optional<BoxCheck>& check = row.check;
    if (check && ruleBeeps(check->rule))
        prompter.beep();
    prompter.message(std::string(message), check ? check->title : std::string(kCheckTitle), platform::Icon::Warning);
    form.control(row.name)->setFocus(Qt::OtherFocusReason);
    return false;
}

std::string textOf(const NoticeForm& form, const ControlRow& row)
{
    return form.control<QLineEdit>(row.name)->text().toStdString();
}

// The box of a date that is wrong: the year when it is not one, else the month, else the day;
// nullptr when the date is a day of the calendar or the boxes do not give a whole date.
const ControlRow* wrongDatePart(const NoticeForm& form, const std::array<const ControlRow*, 3>& parts)
{
    std::array<std::string, 3> text;
    for (int i = 0; i < 3; ++i) {
        if (!parts[std::size_t(i)])
            return nullptr;
        text[std::size_t(i)] = textOf(form, *parts[std::size_t(i)]);
        if (text[std::size_t(i)].empty())
            return nullptr;  // a date not given whole is not stored
    }
    const auto reads = [](const std::string& y, const std::string& m, const std::string& d) {
        return notice::isoDate(notice::joinDate(y, m, d)).has_value();
    };
    if (!reads(text[kYear], "1", "1"))
        return parts[kYear];
    if (!reads(text[kYear], text[kMonth], "1"))
        return parts[kMonth];
    return reads(text[kYear], text[kMonth], text[kDay]) ? nullptr : parts[kDay];
}

// What the wrong part of a date expects: a day is between 1 and the last day of its month.
std::string wrongDateMessage(const NoticeForm& form, const std::array<const ControlRow*, 3>& parts,
                             const ControlRow& wrong)
{
    if (&wrong == parts[kDay]) {
        const std::optional<double> year = numericValue(textOf(form, *parts[kYear]));
        const std::optional<double> month = numericValue(textOf(form, *parts[kMonth]));
        if (year && month)
            return dayRuleMessage(notice::daysInMonth(int(wholeValue(*year)), int(wholeValue(*month))));
    }
    return std::string(ruleMessage(wrong.check ? wrong.check->rule : Rule::Day));
}

}  // namespace

bool maySave(NoticeForm& form, db::Connection& conn, platform::Prompter& prompter)
{
    // Each date's boxes, in the order the form lists the dates.
    std::vector<std::pair<const notice::NoticeField*, std::array<const ControlRow*, 3>>> dates;
    for (const ControlRow* read : rowsRead(form)) {
        const ControlRow& row = *read;
        if (row.kind != Kind::TextBox)
            continue;
        if (row.field->kind == notice::ValueKind::Date) {
            auto it = std::find_if(dates.begin(), dates.end(), [&row](const auto& d) { return d.first == row.field; });
            if (it == dates.end())
                it = dates.insert(dates.end(), {row.field, {}});
            it->second[std::size_t(row.part)] = &row;
            continue;
        }
        const database::ColumnType type = database::columnTypeOf(conn, *row.field, row.part);
        if (!database::columnHolds(type, textOf(form, row)))
            return refuse(form, row, type == database::ColumnType::Integer ? kWholeNumber : ruleMessage(Rule::Numeric),
                          prompter);
    }
    for (const auto& [field, parts] : dates)
        if (const ControlRow* wrong = wrongDatePart(form, parts))
            return refuse(form, *wrong, wrongDateMessage(form, parts, *wrong), prompter);
    return true;
}

}  // namespace forms
