#include "iobwrite/mesh_parts.h"

#include <cassert>
#include <unordered_map>
#include <utility>

namespace plugins::iobwrite {

namespace {

// Gathers one part; the maps find its points and edges by vertex numbers.
class PartBuilder {
  public:
    explicit PartBuilder(std::uint32_t limit) : limit_(limit) {}

    // Whether the triangle fits without passing the limit.
    bool Fits(const std::array<std::uint32_t, 3>& t) const {
        std::size_t newPoints = 0;
        std::size_t newEdges = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            newPoints += point_of_.count(t[k]) == 0 ? 1 : 0;
            newEdges += edge_of_.count(EdgeKey(t[k], t[(k + 1) % 3])) == 0 ? 1 : 0;
        }
        return part_.points.size() + newPoints <= limit_ &&
               part_.edges.size() + newEdges <= limit_ && part_.faces.size() + 1 <= limit_;
    }

    void Add(const std::array<std::uint32_t, 3>& t) {
        std::array<std::uint32_t, 3> edges{};
        for (std::size_t k = 0; k < 3; ++k) {
            edges[k] = Edge(t[k], t[(k + 1) % 3]);
        }
        part_.faces.push_back(edges);
    }

    bool Empty() const { return part_.faces.empty(); }

    MeshPart Take() {
        MeshPart taken = std::move(part_);
        part_ = MeshPart{};
        point_of_.clear();
        edge_of_.clear();
        return taken;
    }

  private:
    static std::uint64_t EdgeKey(std::uint32_t a, std::uint32_t b) {
        return a < b ? (std::uint64_t{a} << 32) | b : (std::uint64_t{b} << 32) | a;
    }

    std::uint32_t Point(std::uint32_t vertex) {
        auto [at, added] = point_of_.try_emplace(vertex, part_.points.size());
        if (added) {
            part_.points.push_back(vertex);
        }
        return at->second;
    }

    std::uint32_t Edge(std::uint32_t a, std::uint32_t b) {
        auto [at, added] = edge_of_.try_emplace(EdgeKey(a, b), part_.edges.size());
        if (added) {
            part_.edges.push_back({Point(a), Point(b)});
        }
        return at->second;
    }

    std::uint32_t limit_;
    MeshPart part_;
    std::unordered_map<std::uint32_t, std::uint32_t> point_of_;
    std::unordered_map<std::uint64_t, std::uint32_t> edge_of_;
};

}  // namespace

std::vector<MeshPart> SplitIntoParts(const std::vector<std::array<std::uint32_t, 3>>& triangles,
                                     std::uint32_t limit) {
    assert(limit >= 3);
    std::vector<MeshPart> parts;
    PartBuilder builder(limit);
    for (const auto& t : triangles) {
        assert(t[0] != t[1] && t[1] != t[2] && t[2] != t[0]);
        if (!builder.Fits(t)) {
            parts.push_back(builder.Take());
        }
        builder.Add(t);
    }
    if (!builder.Empty()) {
        parts.push_back(builder.Take());
    }
    return parts;
}

}  // namespace plugins::iobwrite
