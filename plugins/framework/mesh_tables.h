// The hashed lookup tables of a mesh in table form.
//
// Each table merges equal entries and numbers entries in the order they were
// first added. The vertex table finds points through a fixed number of hash
// buckets (set once from the capacity hint, never rehashed) whose chains
// list the newest point first, so among several nearly equal points the
// newest one wins; it must keep exactly this bucket function and chain
// order, because they decide which points merge and so how vertices and
// faces are numbered, and files written from a mesh depend on both. Faces
// and edges are found by their vertex numbers exactly, which no index
// layout can change (key_index.h).
//
// Accessors taking an entry number return -1 (and write nothing) for a
// number outside 0 .. Count() - 1.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>

#include "framework/bucket_heads.h"
#include "framework/key_index.h"
#include "framework/table_array.h"
#include "framework/vector3d.h"

namespace plugins {

// Continues the hash seed over length bytes: h = seed; for each byte, read as
// a signed 8-bit value, h = h * 31 + byte (mod 2^32). Returns h mod buckets.
// A key of several pieces is hashed piece by piece, each piece seeded with
// the previous result. With 0 buckets h is returned as it is.
std::uint32_t HashBytes(std::uint32_t seed, const void* bytes, std::size_t length,
                        std::uint32_t buckets);

// One entry of a chain kept as an index array: a value and the index of the
// next entry, or -1 at the end.
struct ChainNode {
    std::int32_t value;
    std::int32_t next;
};

// The faces that use one vertex, newest first, each once.
class FaceChain {
  public:
    class Iterator {
      public:
        Iterator(const ChainNode* nodes, std::int32_t at) : nodes_(nodes), at_(at) {}
        int operator*() const { return nodes_[at_].value; }
        Iterator& operator++() {
            at_ = nodes_[at_].next;
            return *this;
        }
        bool operator==(const Iterator& other) const { return at_ == other.at_; }
        bool operator!=(const Iterator& other) const { return at_ != other.at_; }

      private:
        const ChainNode* nodes_;
        std::int32_t at_;
    };

    FaceChain() = default;
    FaceChain(const ChainNode* nodes, std::int32_t first) : nodes_(nodes), first_(first) {}

    Iterator begin() const { return {nodes_, first_}; }
    Iterator end() const { return {nodes_, -1}; }
    bool empty() const { return first_ < 0; }

  private:
    const ChainNode* nodes_ = nullptr;
    std::int32_t first_ = -1;
};

// The distinct points of a mesh, and per point the faces that use it.
class VertexTable {
  public:
    // floor(2n * 7 / 10) buckets (in 32-bit unsigned arithmetic), at least
    // 2048. A hint of 0 counts as 1; one above 2^31 - 1 ends the process.
    // Memory grows with the points stored, not with the hint.
    explicit VertexTable(std::uint64_t n);
    VertexTable(const VertexTable&) = delete;
    VertexTable& operator=(const VertexTable&) = delete;
    static void* operator new(std::size_t size) { return SafeAlloc(size); }
    static void operator delete(void* block) {
        if (block != nullptr) SafeFree(block);
    }

    // The number of the newest stored point in p's bucket that is
    // NearlyEqual to p; otherwise stores p under the next number. Points
    // within the tolerance that fall into different buckets stay apart.
    int FindOrAdd(const Vector3d& p) { return FindOrAdd(p, BucketOf(p)); }
    int Get(int i, Vector3d& point) const {
        if (i < 0 || i >= count_) {
            return -1;
        }
        point = points_[static_cast<std::size_t>(i)];
        return 0;
    }
    int Count() const { return count_; }

    // Puts face at the front of vertex's face list unless it is there already.
    int AddFaceRef(int face, int vertex);
    // The faces of vertex, newest first; empty for a number out of range.
    // The chain stays valid until the next AddFaceRef.
    FaceChain FaceList(int vertex) const;

    // Every point times factor, component by component. The lookup index is
    // not rebuilt: points added afterwards may not merge with moved ones.
    void ScalePoints(double factor);
    // Exchanges the two coordinates that mode names in every point. The
    // lookup index is not rebuilt.
    void SwapPointAxes(SwapMode mode);

    // Lookups in two steps, for callers that start several at once so that
    // their memory accesses overlap: the bucket of a key, a hint to fetch
    // it, and the lookup in the bucket that BucketOf gave for that key.
    std::uint32_t BucketOf(const Vector3d& p) const { return BucketOf(p, buckets_.Count()); }
    // The bucket count of a table made with hint n, and the bucket of p in
    // any table of that many buckets: a caller that looks the same point up
    // in several tables of one hint, or many times, hashes it once.
    static std::uint32_t BucketCount(std::uint64_t n);
    static std::uint32_t BucketOf(const Vector3d& p, std::uint32_t buckets);
    std::uint32_t BucketCount() const { return buckets_.Count(); }
    void Prefetch(std::uint32_t bucket) const { buckets_.Prefetch(bucket); }
    int FindOrAdd(const Vector3d& p, std::uint32_t bucket);
    // The newest point of a bucket (-1 for none), without taking a slot for
    // the bucket: what a lookup there compares first, to fetch ahead.
    std::int32_t Newest(std::uint32_t bucket) const { return buckets_.Peek(bucket); }
    void PrefetchPoint(int i) const {
        if (i >= 0) __builtin_prefetch(&points_[static_cast<std::size_t>(i)]);
    }

    // The face lists are kept apart from the points: the functions below
    // touch only the lists, the lookups above only the points, so one
    // thread may add face references while another looks points up
    // (AddTriangleFaces and FindTriangleVertices). vertex must be a number
    // the table gave out (0 <= vertex < Count() at that time); these do not
    // check it against Count().
    //
    // Fetches the head of vertex's face list.
    void PrefetchFaceList(int vertex) const {
        if (static_cast<std::size_t>(vertex) < firstFaceRef_.capacity()) {
            __builtin_prefetch(&firstFaceRef_[static_cast<std::size_t>(vertex)]);
        }
    }
    // AddFaceRef without the range check.
    void AddFaceRefUnchecked(int face, int vertex);
    // AddFaceRef for a face known not to be in vertex's list (a face the
    // face table has just stored), which needs no search of the list.
    void AddNewFaceRef(int face, int vertex);

    // Point i without a range check (0 <= i < Count()).
    const Vector3d& Point(int i) const {
        assert(i >= 0 && i < count_);
        return points_[static_cast<std::size_t>(i)];
    }
    // Bytes held by the table's arrays, for reports.
    std::size_t HeldBytes() const;

  private:
    void Grow();
    // Makes room in the list heads for vertex; new heads are empty.
    void ReserveFaceList(int vertex);

    mesh_detail::TableArray<Vector3d> points_;
    mesh_detail::TableArray<std::int32_t> nextInBucket_;
    mesh_detail::TableArray<std::int32_t> firstFaceRef_;
    mesh_detail::BucketHeads buckets_;
    mesh_detail::TableArray<ChainNode> faceRefs_;
    int count_ = 0;
    int faceRefCount_ = 0;
};

struct FaceVertices {
    int k0;
    int k1;
    int k2;
};

// A face: its vertex numbers in stored winding, and the edges
// (k0, k1), (k1, k2), (k2, k0) as they were recorded when it was added.
struct FaceRecord {
    std::int32_t k[3];
    std::int32_t edge[3];
};

// The distinct triangles of a mesh by vertex number.
class FaceTable {
  public:
    // The hint n only has to be valid: one above 2^31 - 1 ends the process.
    // Memory grows with the faces stored.
    explicit FaceTable(std::uint64_t n);
    FaceTable(const FaceTable&) = delete;
    FaceTable& operator=(const FaceTable&) = delete;
    static void* operator new(std::size_t size) { return SafeAlloc(size); }
    static void operator delete(void* block) {
        if (block != nullptr) SafeFree(block);
    }

    // The number of the face over the same three vertex numbers in any order
    // (either winding); otherwise stores (a, b, c) as given under the next
    // number.
    int FindOrAdd(int a, int b, int c) { return FindOrAdd(a, b, c, KeyHash(a, b, c)); }
    int Get(int i, FaceVertices& face) const {
        if (i < 0 || i >= count_) {
            return -1;
        }
        const FaceRecord& f = faces_[static_cast<std::size_t>(i)];
        face = FaceVertices{f.k[0], f.k[1], f.k[2]};
        return 0;
    }
    int Count() const { return count_; }
    // Reverses face i by exchanging k0 and k1; ignores a number out of range.
    void Flip(int i);
    // Records the edge numbers of face i; ignores a number out of range.
    void SetEdges(int i, int e1, int e2, int e3);

    // Lookups in steps, as in VertexTable: the hash of a key (the same for
    // the three numbers in any order), a hint to fetch its chain, the first
    // face of the chain (-1 for none) to fetch that too, and the lookup.
    static std::uint64_t KeyHash(int a, int b, int c);
    void Prefetch(std::uint64_t hash) const { index_.Prefetch(hash); }
    std::int32_t Newest(std::uint64_t hash) const { return index_.First(hash); }
    // Fetches face i and its link in the chain (i may be -1).
    void PrefetchRecord(int i) const {
        if (i >= 0) __builtin_prefetch(&faces_[static_cast<std::size_t>(i)]);
        index_.PrefetchNext(i);
    }
    int FindOrAdd(int a, int b, int c, std::uint64_t hash);

    // Face i without a range check (0 <= i < Count()).
    const FaceRecord& Record(int i) const {
        assert(i >= 0 && i < count_);
        return faces_[static_cast<std::size_t>(i)];
    }
    std::size_t HeldBytes() const;

  private:
    mesh_detail::TableArray<FaceRecord> faces_;
    mesh_detail::KeyIndex index_;
    int count_ = 0;
};

struct EdgeVertices {
    int k0;
    int k1;
};

// The two faces recorded for an edge, -1 where there is none.
struct EdgeFaces {
    int f0;
    int f1;
};

struct EdgeRecord {
    std::int32_t k0;
    std::int32_t k1;
    std::int32_t f0;
    std::int32_t f1;
};

// The distinct edges of a mesh, and per edge up to two of its faces.
class EdgeTable {
  public:
    // As for FaceTable, the hint only has to be valid.
    explicit EdgeTable(std::uint64_t n);
    EdgeTable(const EdgeTable&) = delete;
    EdgeTable& operator=(const EdgeTable&) = delete;
    static void* operator new(std::size_t size) { return SafeAlloc(size); }
    static void operator delete(void* block) {
        if (block != nullptr) SafeFree(block);
    }

    // The number of the edge between a and b in either direction; otherwise
    // stores (a, b) as given, without faces, under the next number.
    int FindOrAdd(int a, int b) { return FindOrAdd(a, b, KeyHash(a, b)); }
    int Get(int i, EdgeVertices& edge) const;
    int Faces(int i, EdgeFaces& faces) const;
    // Records face in the first free slot of edge; when both are taken, the
    // face replaces the second one.
    int AddFace(int face, int edge);
    int Count() const { return count_; }

    // Lookups in steps, as in FaceTable.
    static std::uint64_t KeyHash(int a, int b);
    void Prefetch(std::uint64_t hash) const { index_.Prefetch(hash); }
    std::int32_t Newest(std::uint64_t hash) const { return index_.First(hash); }
    void PrefetchRecord(int i) const {
        if (i >= 0) __builtin_prefetch(&edges_[static_cast<std::size_t>(i)]);
        index_.PrefetchNext(i);
    }
    int FindOrAdd(int a, int b, std::uint64_t hash);

    // Edge i without a range check (0 <= i < Count()).
    const EdgeRecord& Record(int i) const {
        assert(i >= 0 && i < count_);
        return edges_[static_cast<std::size_t>(i)];
    }
    std::size_t HeldBytes() const;

  private:
    mesh_detail::TableArray<EdgeRecord> edges_;
    mesh_detail::KeyIndex index_;
    int count_ = 0;
};

}  // namespace plugins
