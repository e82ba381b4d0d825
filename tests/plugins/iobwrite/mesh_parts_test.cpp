// Cutting a mesh into objects within Imagine's 16-bit counts.
#include "iobwrite/mesh_parts.h"

#include <algorithm>
#include <set>
#include <utility>

#include <gtest/gtest.h>

#include "iob_fixtures.h"

namespace plugins {

namespace {

using iobwrite::MeshPart;
using iobwrite::SplitIntoParts;

// Every part stays within the limit, lists each of its edges once, and its
// faces, followed round their edges, give back the triangles in order and
// winding.
TEST(MeshPartsTest, PartsStayWithinTheLimitAndGiveBackEveryTriangle) {
    const auto triangles = iobtest::GridFaces(12, 9);
    for (std::uint32_t limit : {3u, 10u, 64u, 1000u}) {
        const std::vector<MeshPart> parts = SplitIntoParts(triangles, limit);
        std::vector<std::array<std::uint32_t, 3>> back;
        for (const MeshPart& part : parts) {
            EXPECT_LE(part.points.size(), limit);
            EXPECT_LE(part.edges.size(), limit);
            EXPECT_LE(part.faces.size(), limit);
            std::set<std::pair<std::uint32_t, std::uint32_t>> edges;
            for (const auto& e : part.edges) {
                EXPECT_TRUE(edges.insert(std::minmax(part.points[e[0]], part.points[e[1]])).second)
                    << "an edge listed twice";
            }
            for (const auto& f : part.faces) {
                std::array<std::uint32_t, 3> t{};
                for (std::size_t k = 0; k < 3; ++k) {
                    const auto& e = part.edges[f[k]];
                    const auto& next = part.edges[f[(k + 1) % 3]];
                    // Edge k starts at corner k: the point it does not share
                    // with edge k + 1.
                    t[k] = part.points[e[0] == next[0] || e[0] == next[1] ? e[1] : e[0]];
                }
                back.push_back(t);
            }
        }
        EXPECT_EQ(back, triangles) << "limit " << limit;
        EXPECT_EQ(parts.size() > 1, limit < 1000u) << "limit " << limit;
    }
}

}  // namespace

}  // namespace plugins
