#include "framework/mesh_tables.h"

#include <algorithm>
#include <cstring>

namespace plugins {

using mesh_detail::CheckedHint;

namespace {

// Room for entries before a table's first growth. The hint sizes the
// buckets, not the entries: it tells how large the whole file is, not how
// much of it one mesh takes, so the entries start small and double.
constexpr std::size_t kFirstEntries = 4;

}  // namespace

namespace {

inline std::uint32_t HashStep(std::uint32_t h, std::uint32_t byte) {
    // Each byte counts as a signed 8-bit value widened to 32 bits.
    const auto widened = static_cast<std::uint32_t>(
        static_cast<std::int32_t>(static_cast<std::int8_t>(static_cast<std::uint8_t>(byte))));
    return h * 31u + widened;
}

// Powers of 31 modulo 2^32: n steps of h = h * 31 + byte fold into
// h * 31^n + sum(byte_i * 31^(n-1-i)), whose products are independent of
// each other instead of one long chain of multiplications.
constexpr std::uint32_t kPow31[9] = {1u,        31u,        961u,        29791u,     923521u,
                                     28629151u, 887503681u, 1742810335u, 2487512833u};

inline std::uint32_t Widen(std::uint64_t bits, int byte) {
    return static_cast<std::uint32_t>(static_cast<std::int32_t>(
        static_cast<std::int8_t>(static_cast<std::uint8_t>(bits >> (8 * byte)))));
}

// A double as its 8 bytes in little-endian order, whatever the host's order.
inline std::uint32_t HashDouble(std::uint32_t seed, double value, std::uint32_t buckets) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    std::uint32_t h = seed * kPow31[8];
    for (int i = 0; i < 8; ++i) {
        h += Widen(bits, i) * kPow31[7 - i];
    }
    return h % buckets;
}

// An int as its 4 bytes in little-endian order.
inline std::uint32_t HashInt(std::uint32_t seed, std::int32_t value, std::uint32_t buckets) {
    const auto bits = static_cast<std::uint32_t>(value);
    std::uint32_t h = seed * kPow31[4];
    for (int i = 0; i < 4; ++i) {
        h += Widen(bits, i) * kPow31[3 - i];
    }
    return h % buckets;
}

std::uint32_t AtLeast2048(std::uint32_t buckets) {
    return std::max<std::uint32_t>(buckets, 2048u);
}

void Sort3(std::int32_t& a, std::int32_t& b, std::int32_t& c) {
    if (a > b) std::swap(a, b);
    if (b > c) std::swap(b, c);
    if (a > b) std::swap(a, b);
}

inline bool InRange(int i, int count) {
    return i >= 0 && i < count;
}

}  // namespace

std::uint32_t HashBytes(std::uint32_t seed, const void* bytes, std::size_t length,
                        std::uint32_t buckets) {
    const auto* p = static_cast<const unsigned char*>(bytes);
    std::uint32_t h = seed;
    for (std::size_t i = 0; i < length; ++i) {
        h = HashStep(h, p[i]);
    }
    return buckets != 0 ? h % buckets : h;
}

// ---------------------------------------------------------------------------

VertexTable::VertexTable(std::uint64_t n) : buckets_(BucketCount(n)) {
    points_.Resize(kFirstEntries);
    nextInBucket_.Resize(kFirstEntries);
    firstFaceRef_.Resize(kFirstEntries);
    firstFaceRef_.Fill(-1);
    faceRefs_.Resize(kFirstEntries * 3);
}

std::uint32_t VertexTable::BucketCount(std::uint64_t n) {
    return AtLeast2048(static_cast<std::uint32_t>(CheckedHint(n)) * 2u * 7u / 10u);
}

std::uint32_t VertexTable::BucketOf(const Vector3d& p, std::uint32_t buckets) {
    assert(buckets > 0);
    std::uint32_t h = HashDouble(0, p.x, buckets);
    h = HashDouble(h, p.y, buckets);
    return HashDouble(h, p.z, buckets);
}

void VertexTable::Grow() {
    points_.Grow();
    nextInBucket_.Resize(points_.capacity());
}

int VertexTable::FindOrAdd(const Vector3d& p, std::uint32_t bucket) {
    std::int32_t& head = buckets_.Slot(bucket);
    for (std::int32_t i = head; i >= 0; i = nextInBucket_[i]) {
        if (NearlyEqual(points_[i], p)) {
            return i;
        }
    }
    if (static_cast<std::size_t>(count_) == points_.capacity()) {
        Grow();
    }
    const int index = count_++;
    points_[index] = p;
    nextInBucket_[index] = head;
    head = index;
    return index;
}

int VertexTable::AddFaceRef(int face, int vertex) {
    if (!InRange(vertex, count_)) {
        return -1;
    }
    AddFaceRefUnchecked(face, vertex);
    return 0;
}

void VertexTable::ReserveFaceList(int vertex) {
    const std::size_t old = firstFaceRef_.capacity();
    const auto needed = static_cast<std::size_t>(vertex) + 1;
    if (needed <= old) {
        return;
    }
    firstFaceRef_.Resize(std::max(needed, 2 * old));
    for (std::size_t i = old; i < firstFaceRef_.capacity(); ++i) {
        firstFaceRef_[i] = -1;
    }
}

void VertexTable::AddFaceRefUnchecked(int face, int vertex) {
    ReserveFaceList(vertex);
    for (std::int32_t at = firstFaceRef_[vertex]; at >= 0; at = faceRefs_[at].next) {
        if (faceRefs_[at].value == face) {
            return;
        }
    }
    AddNewFaceRef(face, vertex);
}

void VertexTable::AddNewFaceRef(int face, int vertex) {
    ReserveFaceList(vertex);
    if (static_cast<std::size_t>(faceRefCount_) == faceRefs_.capacity()) {
        faceRefs_.Grow();
    }
    const int node = faceRefCount_++;
    faceRefs_[node] = ChainNode{face, firstFaceRef_[vertex]};
    firstFaceRef_[vertex] = node;
}

FaceChain VertexTable::FaceList(int vertex) const {
    if (!InRange(vertex, count_) || static_cast<std::size_t>(vertex) >= firstFaceRef_.capacity()) {
        return {};
    }
    return {faceRefs_.data(), firstFaceRef_[vertex]};
}

void VertexTable::ScalePoints(double factor) {
    for (int i = 0; i < count_; ++i) {
        points_[i] = Scale(points_[i], factor);
    }
}

void VertexTable::SwapPointAxes(SwapMode mode) {
    if (mode == SwapMode::None) {
        return;
    }
    for (int i = 0; i < count_; ++i) {
        SwapCoordinates(points_[i], mode);
    }
}

std::size_t VertexTable::HeldBytes() const {
    return points_.capacity() * sizeof(Vector3d) + nextInBucket_.capacity() * 4 +
           firstFaceRef_.capacity() * 4 + buckets_.HeldBytes() +
           faceRefs_.capacity() * sizeof(ChainNode);
}

// ---------------------------------------------------------------------------

FaceTable::FaceTable(std::uint64_t n) {
    CheckedHint(n);
    faces_.Resize(kFirstEntries);
}

std::uint64_t FaceTable::KeyHash(int a, int b, int c) {
    std::int32_t s0 = a;
    std::int32_t s1 = b;
    std::int32_t s2 = c;
    Sort3(s0, s1, s2);
    return mesh_detail::MixKey(static_cast<std::uint32_t>(s0), static_cast<std::uint32_t>(s1),
                               static_cast<std::uint32_t>(s2));
}

int FaceTable::FindOrAdd(int a, int b, int c, std::uint64_t hash) {
    std::int32_t s0 = a;
    std::int32_t s1 = b;
    std::int32_t s2 = c;
    Sort3(s0, s1, s2);

    for (std::int32_t i = index_.First(hash); i >= 0; i = index_.Next(i)) {
        std::int32_t t0 = faces_[i].k[0];
        std::int32_t t1 = faces_[i].k[1];
        std::int32_t t2 = faces_[i].k[2];
        Sort3(t0, t1, t2);
        if (t0 == s0 && t1 == s1 && t2 == s2) {
            return i;
        }
    }
    if (static_cast<std::size_t>(count_) == faces_.capacity()) {
        faces_.Grow();
    }
    const int index = count_++;
    faces_[index] = FaceRecord{{a, b, c}, {-1, -1, -1}};
    index_.Link(index, hash, [this](std::int32_t i) {
        const FaceRecord& f = faces_[static_cast<std::size_t>(i)];
        return KeyHash(f.k[0], f.k[1], f.k[2]);
    });
    return index;
}

void FaceTable::Flip(int i) {
    if (InRange(i, count_)) {
        std::swap(faces_[i].k[0], faces_[i].k[1]);
    }
}

void FaceTable::SetEdges(int i, int e1, int e2, int e3) {
    if (InRange(i, count_)) {
        faces_[i].edge[0] = e1;
        faces_[i].edge[1] = e2;
        faces_[i].edge[2] = e3;
    }
}

std::size_t FaceTable::HeldBytes() const {
    return faces_.capacity() * sizeof(FaceRecord) + index_.HeldBytes();
}

// ---------------------------------------------------------------------------

EdgeTable::EdgeTable(std::uint64_t n) {
    CheckedHint(n);
    edges_.Resize(kFirstEntries * 2);
}

std::uint64_t EdgeTable::KeyHash(int a, int b) {
    return mesh_detail::MixKey(static_cast<std::uint32_t>(std::min(a, b)),
                               static_cast<std::uint32_t>(std::max(a, b)));
}

int EdgeTable::FindOrAdd(int a, int b, std::uint64_t hash) {
    const std::int32_t lo = std::min(a, b);
    const std::int32_t hi = std::max(a, b);

    for (std::int32_t i = index_.First(hash); i >= 0; i = index_.Next(i)) {
        const EdgeRecord& e = edges_[i];
        if (std::min(e.k0, e.k1) == lo && std::max(e.k0, e.k1) == hi) {
            return i;
        }
    }
    if (static_cast<std::size_t>(count_) == edges_.capacity()) {
        edges_.Grow();
    }
    const int index = count_++;
    edges_[index] = EdgeRecord{a, b, -1, -1};
    index_.Link(index, hash, [this](std::int32_t i) {
        const EdgeRecord& e = edges_[static_cast<std::size_t>(i)];
        return KeyHash(e.k0, e.k1);
    });
    return index;
}

int EdgeTable::Get(int i, EdgeVertices& edge) const {
    if (!InRange(i, count_)) {
        return -1;
    }
    edge = EdgeVertices{edges_[i].k0, edges_[i].k1};
    return 0;
}

int EdgeTable::Faces(int i, EdgeFaces& faces) const {
    if (!InRange(i, count_)) {
        return -1;
    }
    faces = EdgeFaces{edges_[i].f0, edges_[i].f1};
    return 0;
}

int EdgeTable::AddFace(int face, int edge) {
    if (!InRange(edge, count_)) {
        return -1;
    }
    EdgeRecord& e = edges_[edge];
    if (e.f0 == -1) {
        e.f0 = face;
    } else {
        e.f1 = face;
    }
    return 0;
}

std::size_t EdgeTable::HeldBytes() const {
    return edges_.capacity() * sizeof(EdgeRecord) + index_.HeldBytes();
}

}  // namespace plugins
