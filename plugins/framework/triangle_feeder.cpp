#include "framework/triangle_feeder.h"

#include <sched.h>

#include <system_error>
#include <utility>

namespace plugins {

int UsableProcessors() {
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0) {
        const int count = CPU_COUNT(&set);
        return count > 0 ? count : 1;
    }
    const unsigned count = std::thread::hardware_concurrency();
    return count > 0 ? static_cast<int>(count) : 1;
}

TriangleFeeder::TriangleFeeder(bool useThread, std::size_t inFlight)
    : useThread_(useThread),
      inFlight_(inFlight > 0 ? inFlight : 1),
      findHereFrom_(inFlight_ >= 3 ? inFlight_ / 3 : 1) {
    pending_.reserve(kBatch);
    pendingBuckets_.reserve(3 * kBatch);
}

TriangleFeeder::~TriangleFeeder() {
    Finish();
    if (thread_.joinable()) {
        {
            std::lock_guard<std::mutex> hold(lock_);
            stop_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
}

void TriangleFeeder::FindVertices(Batch& batch) {
    const std::size_t count = batch.triangles.size();
    batch.vertexNumbers.resize(3 * count);
    FindTriangleVertices(*batch.mesh, batch.triangles.data(), count, batch.vertexNumbers.data(),
                         batch.buckets.data());
    batch.verticesFound = true;
}

void TriangleFeeder::AddFaces(Batch& batch) {
    AddTriangleFaces(*batch.mesh, batch.vertexNumbers.data(), batch.triangles.size());
}

void TriangleFeeder::Submit() {
    if (pending_.empty()) {
        return;
    }
    if (useThread_ && !thread_.joinable() && pending_.size() == kBatch) {
        // Only work of some size is worth a thread; small imports and the
        // last part of a mesh's triangles stay on this one.
        try {
            thread_ = std::thread(&TriangleFeeder::Work, this);
        } catch (const std::system_error&) {
            useThread_ = false;
        }
    }
    if (!thread_.joinable()) {
        here_.mesh = mesh_;
        here_.triangles.swap(pending_);
        here_.buckets.swap(pendingBuckets_);
        FindVertices(here_);
        AddFaces(here_);
        here_.triangles.clear();
        here_.buckets.clear();
        pending_.swap(here_.triangles);
        pendingBuckets_.swap(here_.buckets);
        return;
    }
    std::unique_ptr<Batch> batch;
    bool findHere = false;
    {
        std::lock_guard<std::mutex> hold(lock_);
        // The vertex lookups go in batch order. This thread may do a batch's
        // lookups itself only while the other thread has none left to do
        // (it does them before adding faces); it does when that thread lags
        // behind with the faces, instead of waiting for it.
        findHere = unfound_ == 0 && queue_.size() >= findHereFrom_;
        if (!spare_.empty()) {
            batch = std::move(spare_.back());
            spare_.pop_back();
        }
    }
    if (batch == nullptr) {
        batch = std::make_unique<Batch>();
    }
    // The batch takes the collected triangles; the collecting goes on in the
    // emptied arrays of a batch done before.
    batch->mesh = mesh_;
    batch->verticesFound = false;
    batch->triangles.swap(pending_);
    batch->buckets.swap(pendingBuckets_);
    pending_.clear();
    pendingBuckets_.clear();
    pending_.reserve(kBatch);
    pendingBuckets_.reserve(3 * kBatch);
    if (findHere) {
        FindVertices(*batch);
    }
    {
        std::unique_lock<std::mutex> hold(lock_);
        changed_.wait(hold, [this] { return queue_.size() < inFlight_; });
        if (!batch->verticesFound) {
            ++unfound_;
        }
        queue_.push_back(std::move(batch));
    }
    changed_.notify_all();
}

void TriangleFeeder::Finish() {
    Submit();
    if (thread_.joinable()) {
        std::unique_lock<std::mutex> hold(lock_);
        changed_.wait(hold, [this] { return queue_.empty() && !busy_; });
    }
}

void TriangleFeeder::Work() {
    std::unique_lock<std::mutex> hold(lock_);
    for (;;) {
        changed_.wait(hold, [this] { return stop_ || !queue_.empty(); });
        if (queue_.empty()) {
            return;  // stopped, and nothing left
        }
        busy_ = true;
        // Vertex lookups first, so that the calling thread finds none left
        // to wait for when it would take the next ones itself.
        Batch* unfound = nullptr;
        for (const std::unique_ptr<Batch>& queued : queue_) {
            if (!queued->verticesFound) {
                unfound = queued.get();
                break;
            }
        }
        if (unfound != nullptr) {
            hold.unlock();
            FindVertices(*unfound);
            hold.lock();
            --unfound_;
            busy_ = false;
            changed_.notify_all();
            continue;
        }
        std::unique_ptr<Batch> batch = std::move(queue_.front());
        queue_.pop_front();
        hold.unlock();
        changed_.notify_all();  // room for another batch
        AddFaces(*batch);
        hold.lock();
        busy_ = false;
        spare_.push_back(std::move(batch));
        changed_.notify_all();
    }
}

}  // namespace plugins
