// Triangles on their way into the tables of meshes, added with two threads
// where the machine has a processor to spare.
//
// The calling thread collects the triangles in batches, which a second
// thread adds to the tables, batch after batch: it looks the corners up in
// the vertex table (FindTriangleVertices) and adds the faces, edges and face
// lists (AddTriangleFaces). So whatever makes the triangles (a reader
// parsing and cutting polygons) runs beside the table work. When the second
// thread falls behind, the calling thread does the vertex lookups of the
// next batches itself, in batch order, while the other adds the faces of
// earlier ones: the two halves touch disjoint parts of a mesh. Each mesh
// gets its triangles in the order they were given, so the tables come out
// exactly as AddTriangle one by one builds them. With a single usable
// processor, or when no thread can be started, the batches are added on the
// calling thread.
//
// A feeder is used from one thread. Until Finish returns, the meshes that
// triangles were given for belong to the feeder: nobody else may read or
// change them.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "framework/mesh.h"

namespace plugins {

// Processors this process may run on (at least 1).
int UsableProcessors();

class TriangleFeeder {
  public:
    // Batches handed to the thread and not yet done, at most (about 100 KB
    // each). Files give their triangles in bursts: an OBJ file lists an
    // object's points, which make no triangles, before its faces. The queue
    // is deep enough for the thread to go on with the faces of one burst
    // while the reader reads the points before the next, instead of the
    // reader waiting for the thread during the faces and the thread idling
    // during the points.
    static constexpr std::size_t kInFlight = 48;

    // With useThread false both halves always run on the calling thread.
    // inFlight (at least 1) bounds the batches handed to the thread. Once a
    // third of that many wait for it (16 of the 48), the calling thread does
    // the vertex lookups of the next batch itself, when the thread has none
    // to do: a reader that cuts polygons has about as much work of its own
    // as the thread has with the faces, so it takes some over only once the
    // thread lags well behind, not at every burst of faces.
    explicit TriangleFeeder(bool useThread = UsableProcessors() > 1,
                            std::size_t inFlight = kInFlight);
    ~TriangleFeeder();
    TriangleFeeder(const TriangleFeeder&) = delete;
    TriangleFeeder& operator=(const TriangleFeeder&) = delete;

    // Adds t to mesh (which must be in table form), eventually.
    void Add(Mesh3d& mesh, const Triangle3d& t) {
        std::uint32_t buckets[3] = {0, 0, 0};
        if (mesh.vertices != nullptr) {
            buckets[0] = mesh.vertices->BucketOf(t.P0);
            buckets[1] = mesh.vertices->BucketOf(t.P1);
            buckets[2] = mesh.vertices->BucketOf(t.P2);
        }
        Add(mesh, t, buckets);
    }
    // The same for a caller that knows the corners' buckets in mesh's
    // vertex table (VertexTable::BucketOf), as a reader does that hashes
    // each point of its file once.
    void Add(Mesh3d& mesh, const Triangle3d& t, const std::uint32_t buckets[3]) {
        if (&mesh != mesh_ || pending_.size() == kBatch) {
            Submit();
            mesh_ = &mesh;
        }
        pending_.push_back(t);
        pendingBuckets_.insert(pendingBuckets_.end(), buckets, buckets + 3);
    }

    // Returns when every triangle given so far is in its mesh.
    void Finish();

  private:
    static constexpr std::size_t kBatch = 1024;

    struct Batch {
        Mesh3d* mesh = nullptr;
        std::vector<Triangle3d> triangles;
        std::vector<std::uint32_t> buckets;  // three per triangle
        std::vector<std::int32_t> vertexNumbers;
        bool verticesFound = false;  // vertexNumbers hold the lookups
    };

    // The two halves of adding a batch to its mesh.
    static void FindVertices(Batch& batch);
    static void AddFaces(Batch& batch);

    void Submit();
    void Work();

    bool useThread_;
    std::size_t inFlight_;
    std::size_t findHereFrom_;  // see the constructor
    Mesh3d* mesh_ = nullptr;
    std::vector<Triangle3d> pending_;
    std::vector<std::uint32_t> pendingBuckets_;  // three per pending triangle

    Batch here_;  // the batch added on this thread, without a second one

    std::thread thread_;
    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<Batch>> queue_;  // for the thread, in order
    std::vector<std::unique_ptr<Batch>> spare_;
    bool busy_ = false;  // the thread is working on a batch
    // Batches queued or being worked on whose vertex lookups are not done.
    std::size_t unfound_ = 0;
    bool stop_ = false;
};

}  // namespace plugins
