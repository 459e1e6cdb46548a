#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The border, internal and coast lines of a country pair, handed out one a call.
namespace geo {

// The remembered pair and its list of lines.
struct BorderLineList {
    std::string country1 = "   ", country2 = "   ";
    std::vector<std::int32_t> lines;
    std::size_t next = 0;  // the line handed out next
    char kind = ' ';
    bool built = false;
};

struct BorderLine {
    std::int32_t status = 0;  // 1 no line of the pair, 2 the line cut to the capacity
    bool end = false;         // past the last line: nothing else is set
    std::int32_t lineId = 0;
    std::int32_t count = 0;
    char kind = ' ';
};

/// GEOBCI: the next line of kind 'B' between the two countries, 'I' of one country given twice,
/// or 'C' of country 1 when country 2 is blank; codes are compared upper-cased. At most
/// `capacity` points are written to `points`, in `unit` (1 radians, 2 degrees, 3 seconds).
/// More than 670 lines, or a line missing from the point file, end the process.
BorderLine GEOBCI(std::int16_t unit, std::string_view country1, std::string_view country2, std::int32_t capacity,
                  float* points);

}  // namespace geo
