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

enum class Station { Describes, Ends };

struct IntentRule {
    std::string_view intent;
    Station station;
};

constexpr IntentRule kIntents[] = {
    {"ADD", Station::Describes},
    {"MODIFY", Station::Describes},
    {"SUPPRESS", Station::Ends},
    {"WITHDRAW", Station::Ends},
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

bool intentIs(std::string_view intent, Station station)
{
    const IntentRule* rule = find(kIntents, intent, &IntentRule::intent);
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

bool describesStation(std::string_view intent) { return intentIs(intent, Station::Describes); }
bool endsStation(std::string_view intent) { return intentIs(intent, Station::Ends); }

std::string convFrequency(std::string text)
{
    std::replace(text.begin(), text.end(), ',', '.');
    return text;
}

}  // namespace notice
