#pragma once

#include "platform/NumberText.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The checks an entry form runs on a box as the user leaves it, and the boxes whose typed
// letters become capitals.
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
    std::string box;
    Rule rule;
    std::string title;
};

using BoxChecks = std::vector<BoxCheck>;

using platform::numericValue;

/// The value rounded to the nearest whole number, a half to the even one.
double wholeValue(double value);

/// Whether the text, as held, passes the rule.
bool rulePasses(Rule rule, const std::string& text);

/// The message shown when the rule fails.
std::string_view ruleMessage(Rule rule);

/// Whether a failure of the rule sounds the beep first.
bool ruleBeeps(Rule rule);

/// The checks both entry forms make, each form adding its own.
BoxChecks commonBoxChecks();

/// The boxes of both forms whose typed letters become capitals.
std::vector<std::string> commonUpperCasedBoxes();

}  // namespace forms
