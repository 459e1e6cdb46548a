#include "LineCleanup.h"

#include "core/Constants.h"

#include <algorithm>
#include <cmath>

namespace geo {

void removeRepeatedPoints(float* p, std::int32_t& n)
{
    if (n < 2 || n > 32768)
        return;
    std::int32_t kept = 1;
    for (std::int32_t k = 1; k < n; ++k) {
        if (p[2 * k] == p[2 * kept - 2] && p[2 * k + 1] == p[2 * kept - 1])
            continue;
        p[2 * kept] = p[2 * k];
        p[2 * kept + 1] = p[2 * k + 1];
        ++kept;
    }
    n = kept;
}

template <class Key>
void tidyStretches(std::vector<Stretch<Key>>& s, std::int32_t leastLength)
{
    for (;;) {
        // A stretch merges into the next one when their keys are equal.
        std::vector<Stretch<Key>> merged;
        for (std::size_t k = 0; k < s.size(); ++k)
            if (k + 1 == s.size() || !(s[k].key == s[k + 1].key))
                merged.push_back(s[k]);
        s.swap(merged);
        if (s.size() < 2)
            return;
        std::size_t shortest = 0;
        std::int64_t shortestLength = 0;
        for (std::size_t k = 0; k < s.size(); ++k) {
            const std::int64_t length = std::int64_t(s[k].end) - (k ? s[k - 1].end : 0);
            if (k == 0 || length < shortestLength)
                shortest = k, shortestLength = length;
        }
        if (shortestLength >= leastLength)
            return;
        s[shortest].key = s[shortest + 1 < s.size() ? shortest + 1 : shortest - 1].key;
    }
}

template void tidyStretches<std::int32_t>(std::vector<Stretch<std::int32_t>>&, std::int32_t);
template void tidyStretches<Code>(std::vector<Stretch<Code>>&, std::int32_t);

}  // namespace geo
