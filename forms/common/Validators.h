#pragma once

#include "platform/NumberText.h"

#include <optional>
#include <string>
#include <string_view>

// The rules an entry form checks a box by as the user leaves it.
namespace forms {

enum class Rule {
    Numeric,
    NotNumeric,
    NoDigit,
    Day,
    Month,
    NoticeYear,
    InUseYear,
    Hours,
    LatitudeDegrees,
    LongitudeDegrees,
    MinutesOrSeconds,
    NorthOrSouth,
    EastOrWest,
};

// One box's check: its rule and the title of the message shown when the rule fails.
struct BoxCheck {
    Rule rule;
    std::string title;
};

// The title of a check's warning begins so; alone, it titles a box without a check.
inline constexpr std::string_view kCheckTitle = "Prevalidation Error";

using platform::numericValue;

/// The value rounded to the nearest whole number, a half to the even one.
double wholeValue(double value);

/// Whether the text, as held, passes the rule.
bool rulePasses(Rule rule, const std::string& text);

/// The message shown when the rule fails.
std::string_view ruleMessage(Rule rule);

/// The day box's warning, for a month of `lastDay` days: "Value should be between [1,<lastDay>]".
std::string dayRuleMessage(int lastDay);

/// Whether a failure of the rule sounds the beep first.
bool ruleBeeps(Rule rule);

}  // namespace forms
