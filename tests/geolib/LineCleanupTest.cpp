#include "tavu32d.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using Point = std::array<float, 2>;

std::vector<Point> points(const std::vector<float>& flat, int32_t n)
{
    std::vector<Point> out;
    for (int32_t k = 0; k < n; ++k)
        out.push_back({flat[2 * k], flat[2 * k + 1]});
    return out;
}

struct Stretches {
    std::vector<int32_t> ends;
    std::vector<std::string> codes;
    std::vector<std::array<int32_t, 2>> pairs;
};

// Random stretches along a line of rising end positions, with few different codes.
Stretches randomStretches(std::mt19937& rng)
{
    Stretches s;
    int32_t end = 0;
    const int n = 1 + int(rng() % 30);
    for (int k = 0; k < n; ++k) {
        end += 1 + int32_t(rng() % 20);
        s.ends.push_back(end);
        s.codes.push_back(std::string(1, char('A' + rng() % 3)) + "B" + (rng() % 4 ? " " : "C"));
        s.pairs.push_back({int32_t(rng() % 1000), -end});
    }
    return s;
}

void expectTidy(const Stretches& in, const Stretches& out, int32_t least)
{
    ASSERT_FALSE(out.ends.empty());
    EXPECT_EQ(out.ends.back(), in.ends.back()) << "the line ends where it did";
    for (std::size_t k = 0; k < out.ends.size(); ++k) {
        if (k + 1 < out.ends.size()) {
            EXPECT_NE(out.codes[k], out.codes[k + 1]) << "neighbours " << k;
        }
        if (out.ends.size() > 1) {
            EXPECT_GE(out.ends[k] - (k ? out.ends[k - 1] : 0), least) << "stretch " << k;
        }
        const auto from = std::find(in.ends.begin(), in.ends.end(), out.ends[k]);
        ASSERT_NE(from, in.ends.end()) << "an end position is kept from the input";
        if (!out.pairs.empty()) {
            EXPECT_EQ(out.pairs[k], in.pairs[std::size_t(from - in.ends.begin())]) << "the pair travels with its end";
        }
    }
}

}  // namespace

TEST(LineCleanup, RepeatedPointsAreRemovedAndOtherLinesLeftAlone)
{
    std::mt19937 rng(5);
    for (int c = 0; c < 200; ++c) {
        std::vector<float> p;
        const int n = int(rng() % 40);
        for (int k = 0; k < n; ++k) {
            if (k && c % 2 && rng() % 3 == 0)
                p.insert(p.end(), {p[p.size() - 2], p[p.size() - 1]});
            else
                p.insert(p.end(), {float(rng() % 5) * 0.1f, float(rng() % 3) * 0.1f});
        }
        auto want = points(p, n);
        want.erase(std::unique(want.begin(), want.end()), want.end());
        int32_t count = n;
        GEODBLD(p.data(), &count);
        EXPECT_EQ(points(p, count), want);
    }
    std::vector<float> big(2 * 40000, 0.5f);  // beyond the longest line: untouched
    int32_t n = 40000;
    GEODBLD(big.data(), &n);
    EXPECT_EQ(n, 40000);
}

TEST(LineCleanup, StretchesMergeEqualNeighboursAndAbsorbShortOnes)
{
    std::mt19937 rng(44);
    for (int c = 0; c < 500; ++c) {
        const Stretches in = randomStretches(rng);
        const int32_t least = int32_t(rng() % 15);
        SCOPED_TRACE(c);

        // Values: one number per code.
        std::map<std::string, int32_t> valueOf;
        std::vector<int32_t> entries;
        for (std::size_t k = 0; k < in.ends.size(); ++k)
            entries.insert(entries.end(), {in.ends[k], valueOf.emplace(in.codes[k], int32_t(valueOf.size())).first->second});
        int32_t n = int32_t(in.ends.size()), leastLength = least;
        GEOSM2(entries.data(), &n, &leastLength);
        Stretches out2;
        for (int32_t k = 0; k < n; ++k) {
            out2.ends.push_back(entries[2 * k]);
            out2.codes.push_back(std::to_string(entries[2 * k + 1]));
        }
        expectTidy(in, out2, least);

        std::vector<int32_t> pairs, ends = in.ends;
        std::string codes;
        for (std::size_t k = 0; k < in.ends.size(); ++k) {
            pairs.insert(pairs.end(), in.pairs[k].begin(), in.pairs[k].end());
            codes += in.codes[k];
        }
        n = int32_t(in.ends.size());
        GEOSM4(pairs.data(), ends.data(), codes.data(), &n, &leastLength);
        Stretches out4;
        for (int32_t k = 0; k < n; ++k) {
            out4.ends.push_back(ends[k]);
            out4.codes.push_back(codes.substr(3 * std::size_t(k), 3));
            out4.pairs.push_back({pairs[2 * k], pairs[2 * k + 1]});
        }
        expectTidy(in, out4, least);
        EXPECT_EQ(out4.ends, out2.ends) << "values and codes that match alike give the same stretches";
    }
}
