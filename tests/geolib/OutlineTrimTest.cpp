#include "map/OutlineTrim.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr float kDeg = 0.017453294f;

geo::Window degrees(float west, float south, float east, float north)
{
    return {west * kDeg, south * kDeg, east * kDeg, north * kDeg};
}

}  // namespace

// Points are named by letters; the result is the letters from first to last.
TEST(OutlineTrim, KeepsTheInsideAndClosesTheOutline)
{
    struct Row {
        const char* what;
        geo::Window window;
        std::vector<std::pair<char, std::pair<float, float>>> named;  // letter: lon, lat in degrees
        std::string outline;
        std::string want;
    };
    const geo::Window unit = degrees(0, 0, 1, 1);
    const std::vector<std::pair<char, std::pair<float, float>>> points = {
        {'P', {0.5f, 2}}, {'R', {0.8f, 2}}, {'Q', {0.2f, 2}}, {'X', {0.5f, 0.5f}}, {'Y', {0.2f, 0.5f}},
        {'E', {3, 0.5f}}, {'W', {-3, 0.5f}}, {'S', {0.5f, -2}}, {'A', {0.9f, 0.9f}}, {'B', {0.1f, 0.9f}},
    };
    const Row rows[] = {
        {"not closed", unit, points, "PRXYQ", "PRXYQ"},
        {"inside", unit, points, "XABX", "XABX"},
        {"retracing ends", unit, points, "PABXBAP", "BXB"},
        {"closing point beyond the north with its neighbours", unit, points, "PRXYQP", "QRXYQ"},
        {"neighbours beyond other sides", unit, points, "PEXYWP", "PEXYWP"},
        {"closing point beyond the south only", unit, points, "SRXYQS", "SRXYQS"},
        {"across 180 degrees", degrees(179, 0, -179, 1),
         {{'P', {170, 0.5f}}, {'R', {175, 0.5f}}, {'Q', {172, 0.5f}}, {'X', {179.5f, 0.5f}}, {'Y', {-179.5f, 0.5f}},
          {'E', {-170, 0.5f}}},
         "PRXYQP", "QRXYQ"},
        {"across 180 degrees, east of it", degrees(179, 0, -179, 1),
         {{'P', {-170, 0.5f}}, {'R', {-175, 0.5f}}, {'Q', {170, 0.5f}}, {'X', {179.5f, 0.5f}}, {'Y', {-179.5f, 0.5f}}},
         "PRXYQP", "PRXYQP"},
    };
    for (const Row& row : rows) {
        std::vector<float> pts;
        for (char c : row.outline) {
            for (const auto& [name, p] : row.named) {
                if (name == c) {
                    pts.push_back(p.first * kDeg);
                    pts.push_back(p.second * kDeg);
                }
            }
        }
        int32_t first = 1, last = int32_t(row.outline.size());
        geo::GEOTRIM(row.window, pts.data(), first, last);
        std::string got;
        for (int32_t k = first; k <= last; ++k) {
            for (const auto& [name, p] : row.named) {
                if (pts[std::size_t(2 * (k - 1))] == p.first * kDeg && pts[std::size_t(2 * k - 1)] == p.second * kDeg)
                    got += name;
            }
        }
        EXPECT_EQ(got, row.want) << row.what;
    }
}
