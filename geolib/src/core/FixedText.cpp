#include "FixedText.h"

#include <algorithm>

namespace geo {

std::string fromFixed(const char* text, long length)
{
    if (!text || length < 1)
        return {};
    return std::string(text, std::size_t(length));
}

void toFixed(char* text, long length, std::string_view value)
{
    if (!text || length < 1)
        return;
    const std::size_t n = std::min(std::size_t(length), value.size());
    std::copy_n(value.data(), n, text);
    std::fill(text + n, text + length, ' ');
}

std::string_view trimRight(std::string_view text)
{
    const auto last = text.find_last_not_of(' ');
    return last == std::string_view::npos ? std::string_view() : text.substr(0, last + 1);
}

bool isBlank(std::string_view text)
{
    return trimRight(text).empty();
}

}  // namespace geo
