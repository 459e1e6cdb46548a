#include "NoticeRules.h"

#include <algorithm>

namespace notice {
namespace {

enum class Group { Analogue, DigitalAssignment, Allotment, Contour, Target };

struct TypeRule {
    std::string_view type;
    Group group;
    std::string_view stationClass;
};

constexpr TypeRule kTypes[] = {
    {"T01", Group::Analogue, "BC"},          {"T02", Group::Analogue, "BT"},
    {"DS1", Group::DigitalAssignment, "BC"}, {"DT1", Group::DigitalAssignment, "BT"},
    {"DS2", Group::Allotment, "BC"},         {"DT2", Group::Allotment, "BT"},
    {"DA1", Group::Contour, ""},             {kTargetType, Group::Target, ""},
};

struct PolarRule {
    std::string_view polar;
    bool horizontal;
    bool vertical;
    bool known;
};

constexpr PolarRule kPolarisations[] = {
    {"H", true, false, true},
    {"V", false, true, true},
    {"M", true, true, true},
    {"U", true, true, false},
};

// Only a directional antenna has patterns; an unknown directivity is taken as none.
struct DirectivityRule {
    std::string_view antDir;
    bool patterns;
};

constexpr DirectivityRule kDirectivities[] = {
    {"D", true},
    {"ND", false},
};

enum class Station { Describes, Ends };

struct IntentRule {
    std::string_view intent;
    Station station;
    bool target;         // acts on a stored station, which the target names
    bool dropsPosition;  // a digital assignment's file leaves out its frequency and site
};

constexpr IntentRule kIntents[] = {
    {"ADD", Station::Describes, false, false},
    {"MODIFY", Station::Describes, true, false},
    {"SUPPRESS", Station::Ends, true, true},
    {"WITHDRAW", Station::Ends, true, false},
};

template <class Rule, std::size_t N>
const Rule* find(const Rule (&rules)[N], std::string_view code, std::string_view Rule::*key)
{
    const auto it = std::find_if(std::begin(rules), std::end(rules), [&](const Rule& r) { return r.*key == code; });
    return it == std::end(rules) ? nullptr : it;
}

bool inGroup(std::string_view type, Group group)
{
    const TypeRule* rule = find(kTypes, type, &TypeRule::type);
    return rule && rule->group == group;
}

const PolarRule* polarRule(std::string_view polar) { return find(kPolarisations, polar, &PolarRule::polar); }

bool hasPatterns(std::string_view antDir)
{
    const DirectivityRule* rule = find(kDirectivities, antDir, &DirectivityRule::antDir);
    return rule && rule->patterns;
}

bool polarHas(std::string_view polar, Component component)
{
    return component == Component::Horizontal ? carriesHorizontal(polar) : carriesVertical(polar);
}

const IntentRule* intentRule(std::string_view intent) { return find(kIntents, intent, &IntentRule::intent); }

bool intentIs(std::string_view intent, Station station)
{
    const IntentRule* rule = intentRule(intent);
    return rule && rule->station == station;
}

}  // namespace

bool isAnalogue(std::string_view type) { return inGroup(type, Group::Analogue); }
bool isDigital(std::string_view type) { return isDigitalAssignment(type) || isAllotment(type); }
bool isDigitalAssignment(std::string_view type) { return inGroup(type, Group::DigitalAssignment); }
bool isAllotment(std::string_view type) { return inGroup(type, Group::Allotment); }
bool isContour(std::string_view type) { return inGroup(type, Group::Contour); }
bool carriesTarget(std::string_view type) { return inGroup(type, Group::Target); }

bool carriesAntenna(std::string_view type)
{
    return !isAllotment(type) && !carriesTarget(type) && !isContour(type);
}

std::string_view stationClass(std::string_view type)
{
    const TypeRule* rule = find(kTypes, type, &TypeRule::type);
    return rule ? rule->stationClass : std::string_view();
}

bool carriesHorizontal(std::string_view polar)
{
    const PolarRule* rule = polarRule(polar);
    return rule && rule->horizontal;
}

bool carriesVertical(std::string_view polar)
{
    const PolarRule* rule = polarRule(polar);
    return rule && rule->vertical;
}

bool carriesBoth(std::string_view polar) { return carriesHorizontal(polar) && carriesVertical(polar); }

bool isKnownPolarisation(std::string_view polar)
{
    const PolarRule* rule = polarRule(polar);
    return rule && rule->known;
}

bool carriesPattern(std::string_view polar, std::string_view antDir, Component component)
{
    return hasPatterns(antDir) && polarHas(polar, component);
}

bool rewritesPattern(std::string_view polar, std::string_view antDir, Component component)
{
    return !hasPatterns(antDir) || carriesPattern(polar, antDir, component);
}

bool describesStation(std::string_view intent) { return intentIs(intent, Station::Describes); }
bool endsStation(std::string_view intent) { return intentIs(intent, Station::Ends); }

bool hasTarget(std::string_view intent)
{
    const IntentRule* rule = intentRule(intent);
    return !rule || rule->target;
}

bool dropsPosition(std::string_view intent)
{
    const IntentRule* rule = intentRule(intent);
    return rule && rule->dropsPosition;
}

std::string convFrequency(std::string text)
{
    std::replace(text.begin(), text.end(), ',', '.');
    return text;
}

}  // namespace notice
