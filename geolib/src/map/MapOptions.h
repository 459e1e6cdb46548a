#pragma once

#include <cstdint>
#include <string_view>

// The option string's characters that change the map and other routines, and the map's
// counters that callers read.
namespace geo {

enum class Option : int {
    KindLLines = 1,     // not stored: switches the map's kind-L lines
    RestrictSymbol = 3, // the map takes one administration; its lines are thinned
    QuietOverflow = 4,  // an overflow abandons the map or list without a report
    FrozenMap = 5,      // a map once built stays
    PairValuesInMemory = 6,
    KindXLines = 20,
};

/// True when character `option` (1 to 20) of the option string is not '0'.
bool optionOn(Option option);

/// GEOSET: |option| > 20 does nothing; option < 0 reads character |option| into value (1 or
/// 0); 0 clears the string and the kind-L lines; 1 switches the kind-L lines; 3, 4, 5, 6 and 20
/// set their character ('1' for any non-zero value); option 3 asks for a rebuild.
void GEOSET(std::int32_t option, std::int32_t& value);
/// GEOSET3: option 3 and the administration that restricts the map.
void GEOSET3(std::int32_t value, std::string_view symbol);
/// GEOSETL: switches the kind-L lines; a map that holds pair or kind-L lines is rebuilt at once.
void GEOSETL(std::int32_t flag);
/// GEOVA1: item 1 the map generation, 4 the rebuild flag; other items leave value alone.
void GEOVA1(std::int16_t item, std::int32_t& value);

}  // namespace geo
