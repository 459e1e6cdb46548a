#include "Validators.h"

#include "notice/FieldUtils.h"
#include "platform/NumberText.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace forms {
namespace {

// The rules on a whole value take it as a 16-bit number; a larger one fails them all.
template <bool (*check)(std::int16_t)>
bool wholeValuePasses(const std::string& text)
{
    const std::optional<double> value = numericValue(text);
    if (!value)
        return false;
    const double whole = wholeValue(*value);
    if (!(whole >= std::numeric_limits<std::int16_t>::min() && whole <= std::numeric_limits<std::int16_t>::max()))
        return false;
    return check(std::int16_t(whole));
}

template <int kMax>
bool valueInRange(const std::string& text)
{
    const std::optional<double> value = numericValue(text);
    return value && *value >= 0 && *value <= kMax;
}

// The day box's warning; the whole rule takes a day of any month.
const std::string kAnyDay = dayRuleMessage(31);

struct RuleDef {
    Rule rule;
    bool (*passes)(const std::string&);
    std::string_view message;
};

const RuleDef kRules[] = {
    {Rule::Numeric, [](const std::string& t) { return numericValue(t).has_value(); }, "Value must be numerical"},
    {Rule::NotNumeric, [](const std::string& t) { return !numericValue(t); }, "Value must have only characters"},
    {Rule::NoDigit, notice::hasNoDigit, "Value must have only characters"},
    {Rule::Day, wholeValuePasses<notice::isValidDay>, kAnyDay},
    {Rule::Month, wholeValuePasses<notice::isValidMonth>, "Value should be between [1,12]"},
    {Rule::NoticeYear, wholeValuePasses<notice::isValidNtcYear>, "Invalid year in date of notice"},
    {Rule::InUseYear, wholeValuePasses<notice::isValidInUseYear>, "The year must be entered as YYYY"},
    {Rule::Hours, wholeValuePasses<notice::isValidHHMM>, "Value must be between [0000,2400]"},
    {Rule::LatitudeDegrees, valueInRange<90>, "Value must be between [0,90]"},
    {Rule::LongitudeDegrees, valueInRange<180>, "Value must be between [0,180]"},
    {Rule::MinutesOrSeconds, valueInRange<59>, "Value must be between [0,59]"},
    {Rule::NorthOrSouth, notice::isNorthSouth, "Value can only be N or S"},
    {Rule::EastOrWest, notice::isEastWest, "Value can only be E or W"},
};

const RuleDef& defOf(Rule rule)
{
    for (const RuleDef& d : kRules)
        if (d.rule == rule)
            return d;
    return kRules[0];
}

}  // namespace

std::string dayRuleMessage(int lastDay)
{
    return "Value should be between [1," + std::to_string(lastDay) + "]";
}

double wholeValue(double value)
{
    return std::nearbyint(value);  // the default rounding mode sends a half to the even neighbour
}

bool rulePasses(Rule rule, const std::string& text)
{
    return defOf(rule).passes(text);
}

std::string_view ruleMessage(Rule rule)
{
    return defOf(rule).message;
}

bool ruleBeeps(Rule rule)
{
    return rule == Rule::Day;
}

}  // namespace forms
