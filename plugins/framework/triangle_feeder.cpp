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

TriangleFeeder::TriangleFeeder(bool useThread) : useThread_(useThread) {
    pending_.reserve(kBatch);
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

void TriangleFeeder::Submit() {
    if (pending_.empty()) {
        return;
    }
    std::unique_ptr<Batch> batch;
    if (useThread_ && !thread_.joinable() && pending_.size() == kBatch) {
        // Only work of some size is worth a thread; small imports and the
        // last part of a mesh's triangles stay on this one.
        try {
            thread_ = std::thread(&TriangleFeeder::Work, this);
        } catch (const std::system_error&) {
            useThread_ = false;
        }
    }
    if (thread_.joinable()) {
        std::unique_lock<std::mutex> hold(lock_);
        changed_.wait(hold, [this] { return queue_.size() < kInFlight; });
        if (!spare_.empty()) {
            batch = std::move(spare_.back());
            spare_.pop_back();
        }
    }
    if (batch == nullptr) {
        batch = std::make_unique<Batch>();
    }
    batch->mesh = mesh_;
    batch->count = pending_.size();
    batch->vertexNumbers.resize(3 * pending_.size());
    FindTriangleVertices(*mesh_, pending_.data(), pending_.size(), batch->vertexNumbers.data());
    pending_.clear();
    if (!thread_.joinable()) {
        AddTriangleFaces(*batch->mesh, batch->vertexNumbers.data(), batch->count);
        return;
    }
    {
        std::lock_guard<std::mutex> hold(lock_);
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
        std::unique_ptr<Batch> batch = std::move(queue_.front());
        queue_.pop_front();
        busy_ = true;
        hold.unlock();
        changed_.notify_all();  // room for another batch
        AddTriangleFaces(*batch->mesh, batch->vertexNumbers.data(), batch->count);
        hold.lock();
        busy_ = false;
        spare_.push_back(std::move(batch));
        changed_.notify_all();
    }
}

}  // namespace plugins
