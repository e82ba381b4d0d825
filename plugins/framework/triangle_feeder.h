// Triangles on their way into the tables of meshes, added with two threads
// where the machine has a processor to spare.
//
// The calling thread looks the corners up in the vertex tables
// (FindTriangleVertices); a second thread adds the faces, edges and face
// lists (AddTriangleFaces), one batch behind. The two halves touch disjoint
// parts of a mesh, and each mesh gets its triangles in the order they were
// given, so the tables come out exactly as AddTriangle one by one builds
// them. With a single usable processor, or when no thread can be started,
// both halves run on the calling thread.
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
    // With useThread false both halves always run on the calling thread.
    explicit TriangleFeeder(bool useThread = UsableProcessors() > 1);
    ~TriangleFeeder();
    TriangleFeeder(const TriangleFeeder&) = delete;
    TriangleFeeder& operator=(const TriangleFeeder&) = delete;

    // Adds t to mesh (which must be in table form), eventually.
    void Add(Mesh3d& mesh, const Triangle3d& t) {
        if (&mesh != mesh_ || pending_.size() == kBatch) {
            Submit();
            mesh_ = &mesh;
        }
        pending_.push_back(t);
    }

    // Returns when every triangle given so far is in its mesh.
    void Finish();

  private:
    static constexpr std::size_t kBatch = 1024;
    // Batches handed to the thread and not yet done, at most.
    static constexpr std::size_t kInFlight = 4;

    struct Batch {
        Mesh3d* mesh = nullptr;
        std::vector<std::int32_t> vertexNumbers;
        std::size_t count = 0;
    };

    void Submit();
    void Work();

    bool useThread_;
    Mesh3d* mesh_ = nullptr;
    std::vector<Triangle3d> pending_;

    std::thread thread_;
    std::mutex lock_;
    std::condition_variable changed_;
    std::deque<std::unique_ptr<Batch>> queue_;  // for the thread, in order
    std::vector<std::unique_ptr<Batch>> spare_;
    bool busy_ = false;  // the thread is adding a batch it took
    bool stop_ = false;
};

}  // namespace plugins
